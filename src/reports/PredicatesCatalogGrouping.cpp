// PredicatesLib: groupings by type catalog group, the obsolete files and the top lists.

#include "reports/PredicatesLib.h"

#include "settings/CommonFuncs.h"

#include <QSet>

#include <queue>

namespace {

QString text(const char* key) { return CommonFuncs::getLocalizedStringForKey(QString::fromLatin1(key)); }

TSpInfo spRow(const QString& label)
{
    TSpInfo row;
    row.label = label;
    return row;
}

// Partition of the files over groups tried in order: one row per group (empty ones
// included), and the files no group took.
struct GroupPartition {
    std::vector<TSpInfo> rows;
    TSpInfo rest;
};

GroupPartition partitionByGroups(const NodeList& files, const std::vector<PredicatesLib::NamedGroup>& groups)
{
    GroupPartition out;
    ExtensionIndex index;
    for (std::size_t g = 0; g < groups.size(); ++g) {
        index.add(groups[g].second, int(g));
        out.rows.push_back(spRow(groups[g].first));
    }
    for (TFoldInfo* node : files) {
        const int g = index.groupOf(*node);
        TSpInfo& row = g < 0 ? out.rest : out.rows[std::size_t(g)];
        addNodeToRow(row, node);
    }
    return out;
}

// An overlap row over the whole input; added only when it takes a file.
void addOverlapRow(std::vector<TSpInfo>& rows, const NodeList& files, const QString& label,
                   const PredicatesLib::Filter& filter)
{
    TSpInfo row = spRow(label);
    for (TFoldInfo* node : files)
        if (filter(*node))
            addNodeToRow(row, node);
    if (row.Files > 0)
        rows.push_back(std::move(row));
}

// The catalog's group names in the order of the file (read again now) that the all-groups
// table holds a filter for, each once.
std::vector<PredicatesLib::NamedGroup> customGroupsInFileOrder()
{
    std::vector<PredicatesLib::NamedGroup> groups;
    const std::optional<TypeGroups> file = TypeCatalog::readCatalogFile();
    if (!file)
        return groups;
    QSet<QString> seen;
    for (const TypeGroup& group : *file) {
        const GroupFilter* filter = PredicatesLib::groupFilterNamed(group.name);
        if (filter && !seen.contains(group.name)) {
            seen.insert(group.name);
            groups.emplace_back(group.name, *filter);
        }
    }
    return groups;
}

// The `limit` best files under `better` (a strict order), best first; of equal files the
// earlier in the input wins.
template <class Better>
NodeList topFiles(const NodeList& files, std::size_t limit, Better better)
{
    using Entry = std::pair<TFoldInfo*, std::size_t>;
    const auto isBetter = [&](const Entry& a, const Entry& b) {
        if (better(*a.first, *b.first))
            return true;
        if (better(*b.first, *a.first))
            return false;
        return a.second < b.second;
    };
    // A heap whose top is the worst of the best so far.
    std::priority_queue<Entry, std::vector<Entry>, decltype(isBetter)> heap(isBetter);
    for (std::size_t i = 0; i < files.size(); ++i) {
        const Entry entry{files[i], i};
        if (heap.size() < limit) {
            heap.push(entry);
        } else if (isBetter(entry, heap.top())) {
            heap.pop();
            heap.push(entry);
        }
    }
    NodeList out(heap.size());
    for (std::size_t i = out.size(); i > 0; --i) {
        out[i - 1] = heap.top().first;
        heap.pop();
    }
    return out;
}

} // namespace

std::vector<TSpInfo> PredicatesLib::predicatesForCustomTypeFilter(const NodeList& files)
{
    std::vector<TSpInfo> rows;
    if (files.empty())
        return rows;
    GroupPartition partition = partitionByGroups(files, customGroupsInFileOrder());
    for (TSpInfo& row : partition.rows)
        if (row.Files > 0)
            rows.push_back(std::move(row));
    if (partition.rest.Files > 0) {
        partition.rest.label = text("ID_OTHERS");
        rows.push_back(std::move(partition.rest));
    }
    addOverlapRow(rows, files, text("ID_BIG_SIZE_FILES"), predicateForBigSizeFiles());
    addOverlapRow(rows, files, text("ID_OLDEST_FILES"), predicateForOldFiles());
    addOverlapRow(rows, files, text("ID_ZERO_SIZE_FILES"), predicateForZeroByteFile());
    return rows;
}

std::vector<TSpInfo> PredicatesLib::predicatesForOverView(const NodeList& files)
{
    GroupPartition partition = partitionByGroups(files, overviewGroups());
    if (partition.rest.Files > 0) {
        partition.rest.label = text("ID_OTHER_FILES");
        partition.rows.push_back(std::move(partition.rest));
    }
    return std::move(partition.rows);
}

std::optional<std::vector<TOwnerInfo>> PredicatesLib::getOwnerShipForFiles(const NodeList&) { return std::nullopt; }

NodeList PredicatesLib::getObsoleteFiles(const NodeList& files)
{
    NodeList out;
    const GroupFilter* junk = groupFilterNamed(text("ID_JUNK_FILES"));
    if (!junk)
        return out;
    for (TFoldInfo* node : files)
        if (!node->isNonDeleteableFile() && junk->matches(*node))
            out.push_back(node);
    return out;
}

NodeList PredicatesLib::getTop100FilesBySize(const NodeList& files)
{
    return topFiles(files, 100, [](const TFoldInfo& a, const TFoldInfo& b) { return a.cSize() > b.cSize(); });
}

NodeList PredicatesLib::getTop100OldestFiles(const NodeList& files)
{
    return topFiles(files, 100, [](const TFoldInfo& a, const TFoldInfo& b) { return a.lATime() < b.lATime(); });
}
