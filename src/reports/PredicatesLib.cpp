// PredicatesLib: the catalog tables, flattening, filters and sorting.

#include "reports/PredicatesLib.h"

#include "reports/FileAttributes.h"
#include "scan/AnalysisLib.h"
#include "scan/TFoldInfoFields.h"
#include "settings/CommonFuncs.h"
#include "settings/GeneralLib.h"

#include <QHash>

#include <cmath>

namespace {

struct CatalogTables {
    std::vector<PredicatesLib::NamedGroup> allGroups;
    QHash<QString, int> byName;
    std::vector<PredicatesLib::NamedGroup> overview;
};

CatalogTables& tables()
{
    static CatalogTables t;
    return t;
}

constexpr const char* kOverviewKeys[] = {"ID_DOCUMENT_FILES", "ID_IMAGE_FILES",     "ID_AUDIO_FILES",
                                         "ID_VIDEO_FILES",    "ID_FINANCIAL_FILES", "ID_EBOOKS"};

// A folder's files (and application bundles, each as one file with its totals computed
// first) in SubList order, then the files of each subfolder, depth first. The folders still
// to visit wait on a stack, so a tree of any depth is flattened without recursion.
void appendFiles(TFoldInfo* folder, NodeList& out)
{
    std::vector<TFoldInfo*> pending{folder};
    while (!pending.empty()) {
        const std::span<TFoldInfo* const> children = pending.back()->SubList();
        pending.pop_back();
        for (TFoldInfo* child : children) {
            if (child->isFolder() && !child->isApp())
                continue;
            if (child->isApp())
                AnalysisLib().ReadFoldersForTreeExplorer(std::span<TFoldInfo* const>(&child, 1));
            out.push_back(child);
        }
        for (auto it = children.rbegin(); it != children.rend(); ++it) // the first on top
            if ((*it)->isFolder() && !(*it)->isApp())
                pending.push_back(*it);
    }
}

// A folder's applications in SubList order, then those beneath each of its folders
// (bundles included), depth first, without recursion.
void appendApps(TFoldInfo* folder, NodeList& out)
{
    std::vector<TFoldInfo*> pending{folder};
    while (!pending.empty()) {
        const std::span<TFoldInfo* const> children = pending.back()->SubList();
        pending.pop_back();
        for (TFoldInfo* child : children)
            if (child->isApp())
                out.push_back(child);
        for (auto it = children.rbegin(); it != children.rend(); ++it)
            if ((*it)->isFolder())
                pending.push_back(*it);
    }
}

// Glob match of folded texts: '*' any run, '?' any one code unit.
bool wildcardMatch(QStringView text, QStringView pattern)
{
    qsizetype t = 0, p = 0, starP = -1, starT = 0;
    while (t < text.size()) {
        if (p < pattern.size() && (pattern[p] == u'?' || pattern[p] == text[t])) {
            ++t;
            ++p;
        } else if (p < pattern.size() && pattern[p] == u'*') {
            starP = p++;
            starT = t;
        } else if (starP >= 0) {
            p = starP + 1;
            t = ++starT;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'*')
        ++p;
    return p == pattern.size();
}

} // namespace

// ---- the catalog tables ----

void PredicatesLib::connectToCatalog()
{
    TypeCatalog::setGroupsLoadedHandler([](const TypeGroups& groups) { setCatalogGroups(groups); });
    setCatalogGroups(TypeCatalog::loadedGroups());
}

void PredicatesLib::readAllExtensionsFromFile()
{
    setCatalogGroups(TypeCatalog::readCatalogFile().value_or(TypeGroups()));
}

void PredicatesLib::setCatalogGroups(const TypeGroups& groups)
{
    CatalogTables fresh;
    for (const TypeGroup& group : groups) {
        if (fresh.byName.contains(group.name))
            continue;
        fresh.byName.insert(group.name, int(fresh.allGroups.size()));
        fresh.allGroups.emplace_back(group.name, predicateForExtnArray(group.extensions));
    }
    for (const char* key : kOverviewKeys) {
        const QString name = CommonFuncs::getLocalizedStringForKey(QString::fromLatin1(key));
        const auto it = fresh.byName.constFind(name);
        fresh.overview.emplace_back(name, it == fresh.byName.constEnd() ? GroupFilter()
                                                                        : fresh.allGroups[std::size_t(*it)].second);
    }
    tables() = std::move(fresh);
}

const std::vector<PredicatesLib::NamedGroup>& PredicatesLib::allGroups() { return tables().allGroups; }

const GroupFilter* PredicatesLib::groupFilterNamed(const QString& name)
{
    const auto it = tables().byName.constFind(name);
    return it == tables().byName.constEnd() ? nullptr : &tables().allGroups[std::size_t(*it)].second;
}

const std::vector<PredicatesLib::NamedGroup>& PredicatesLib::overviewGroups()
{
    if (tables().overview.empty())
        setCatalogGroups(TypeGroups());
    return tables().overview;
}

// ---- flattening ----

NodeList PredicatesLib::prepareFilesArray(TFoldInfo* folder)
{
    NodeList out;
    if (!folder)
        return out;
    if (folder->bRead() || folder->isRoot())
        out.reserve(std::size_t(std::max<std::int64_t>(0, folder->cFiles())));
    appendFiles(folder, out);
    return out;
}

NodeList PredicatesLib::getAppsArray(TFoldInfo* folder)
{
    NodeList out;
    if (folder)
        appendApps(folder, out);
    return out;
}

// ---- filters ----

PredicatesLib::Filter PredicatesLib::predicateForRange(std::uint64_t lower, std::uint64_t endRange)
{
    if (endRange == 0)
        return [lower](TFoldInfo& n) { return n.cSize() >= lower; };
    return [lower, endRange](TFoldInfo& n) { return lower <= n.cSize() && n.cSize() <= endRange; };
}

PredicatesLib::Filter PredicatesLib::predicateForBigSizeFiles()
{
    const std::uint64_t threshold = GeneralLib::getSizeForBigFile();
    return [threshold](TFoldInfo& n) { return n.cSize() >= threshold; };
}

PredicatesLib::Filter PredicatesLib::predicateForZeroByteFile()
{
    return [](TFoldInfo& n) { return n.cSize() == 0; };
}

PredicatesLib::Filter PredicatesLib::predicateForOldFiles()
{
    // The moment goes into the filter as text with six decimals; compare with that value.
    const double moment = QString::number(GeneralLib::getTimeIntervalForOldFile(), 'f', 6).toDouble();
    if (GeneralLib::cache().oldFilesFilterType != 0)
        return [moment](TFoldInfo& n) { return n.lMTime() < moment; };
    return [moment](TFoldInfo& n) { return n.lATime() < moment; };
}

PredicatesLib::Filter PredicatesLib::predicateForTimeRangeOn(int timeField, double startRange, double endRange)
{
    const int offset = CommonFuncs::localTimeZoneOffset();
    return [=](TFoldInfo& n) {
        const int s = secondOfDay(timeOf(n, timeField), offset);
        return s >= 0 && startRange <= s && s < endRange;
    };
}

PredicatesLib::Filter PredicatesLib::predicateForDateRangeOn(int timeField, const DateRangeNode& dateRange)
{
    return [timeField, dateRange](TFoldInfo& n) { return dateRange.contains(timeOf(n, timeField)); };
}

PredicatesLib::Filter PredicatesLib::predicateForFileTypeBasedOnKind(const QString& kind)
{
    return [kind](TFoldInfo& n) { return isLike(n.fType(), kind); };
}

PredicatesLib::Filter PredicatesLib::predicateForFileAttribute(std::uint32_t attribute)
{
    if (attribute == kReadonlyPermissions)
        return [](TFoldInfo& n) { return FileAttributes::isReadOnly(n); };
    return [attribute](TFoldInfo& n) { return (n.itemAttrInfo().flags & attribute) != 0; };
}

GroupFilter PredicatesLib::predicateForExtnArray(const QStringList& extensions) { return GroupFilter(extensions); }

// ---- the tests behind the filters ----

double PredicatesLib::timeOf(const TFoldInfo& node, int timeField)
{
    switch (timeField) {
    case ModificationTime: return node.lMTime();
    case AccessTime: return node.lATime();
    default: return node.cTime();
    }
}

int PredicatesLib::secondOfDay(double time, int offsetFromUtc)
{
    if (!std::isfinite(time))
        return -1;
    double s = std::fmod(std::trunc(time) + double(offsetFromUtc), 86400.0);
    if (s < 0)
        s += 86400.0;
    return s >= 86400.0 ? 0 : int(s);
}

bool PredicatesLib::isLike(const QString& text, const QString& pattern)
{
    return wildcardMatch(text.toCaseFolded(), pattern.toCaseFolded());
}

// ---- sorting ----

namespace {

// Sorting on a number field with the keys read once per node instead of twice per
// comparison: the same stable order as the field table's comparison, several times faster
// on the long lists (all files of a folder).
template <class Key>
void sortByNumber(NodeList& nodes, bool ascending, Key (*key)(const TFoldInfo&))
{
    std::vector<std::pair<Key, TFoldInfo*>> keyed;
    keyed.reserve(nodes.size());
    for (TFoldInfo* node : nodes)
        keyed.emplace_back(key(*node), node);
    if (ascending)
        std::stable_sort(keyed.begin(), keyed.end(),
                         [](const auto& a, const auto& b) { return threeWay(a.first, b.first) < 0; });
    else
        std::stable_sort(keyed.begin(), keyed.end(),
                         [](const auto& a, const auto& b) { return threeWay(a.first, b.first) > 0; });
    for (std::size_t i = 0; i < nodes.size(); ++i)
        nodes[i] = keyed[i].second;
}

bool sortByNumberField(NodeList& nodes, const SortDescriptor& d)
{
    QStringView name = d.key;
    if (name.startsWith(u"self."))
        name = name.mid(5);
    const bool up = d.ascending;
    if (name == u"cSize")
        sortByNumber<std::uint64_t>(nodes, up, [](const TFoldInfo& n) { return n.cSize(); });
    else if (name == u"cASize")
        sortByNumber<std::uint64_t>(nodes, up, [](const TFoldInfo& n) { return n.cASize(); });
    else if (name == u"lATime")
        sortByNumber<double>(nodes, up, [](const TFoldInfo& n) { return n.lATime(); });
    else if (name == u"lMTime")
        sortByNumber<double>(nodes, up, [](const TFoldInfo& n) { return n.lMTime(); });
    else if (name == u"cTime")
        sortByNumber<double>(nodes, up, [](const TFoldInfo& n) { return n.cTime(); });
    else
        return false;
    return true;
}

} // namespace

bool PredicatesLib::sortWithSortDescriptor(NodeList& nodes, const SortDescriptor& descriptor)
{
    if (nodes.size() > 64 && sortByNumberField(nodes, descriptor))
        return true;
    return sortByDescriptor(nodes, descriptor, tfoldInfoFields());
}
