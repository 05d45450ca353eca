// PredicatesLib: groupings by size, time of day, date, kind and attribute.

#include "reports/PredicatesLib.h"

#include "reports/FileAttributes.h"
#include "reports/ReportRanges.h"
#include "settings/CommonFuncs.h"

#include <QHash>

#include <bit>

namespace {

// Drops the rows that took no file, keeping the order of the others.
template <class Row>
std::vector<Row> withoutEmptyRows(std::vector<Row>&& rows)
{
    std::erase_if(rows, [](const Row& row) { return row.Files == 0; });
    return std::move(rows);
}

bool hasWildcard(const QString& kind) { return kind.contains(u'*') || kind.contains(u'?'); }

// For each distinct kind (in order of first occurrence), the index of the first kind whose
// filter takes it: with no wildcard among the kinds that is the first kind equal to it
// without regard to case; otherwise the like[c] test is applied kind against kind.
std::vector<int> firstMatchingKind(const std::vector<QString>& kinds)
{
    std::vector<int> group(kinds.size());
    const bool literal = std::any_of(kinds.begin(), kinds.end(), hasWildcard);
    if (!literal) {
        QHash<QString, int> firstByFold;
        for (std::size_t i = 0; i < kinds.size(); ++i) {
            const QString fold = kinds[i].toCaseFolded();
            const auto it = firstByFold.constFind(fold);
            group[i] = it == firstByFold.constEnd() ? int(i) : *it;
            if (it == firstByFold.constEnd())
                firstByFold.insert(fold, int(i));
        }
        return group;
    }
    for (std::size_t i = 0; i < kinds.size(); ++i)
        for (std::size_t k = 0; k <= i; ++k)
            if (PredicatesLib::isLike(kinds[i], kinds[k])) {
                group[i] = int(k);
                break;
            }
    return group;
}

} // namespace

std::vector<TSizeInfo> PredicatesLib::predicatesForSizeFilter(const NodeList& files)
{
    const std::vector<SizeRangeNode> buckets = ReportRanges::getFileSizeRangeArray();
    std::vector<TSizeInfo> rows(buckets.size());
    for (std::size_t b = 0; b < buckets.size(); ++b) {
        rows[b].label = buckets[b].title();
        rows[b].SrNo = buckets[b].srNo();
    }
    for (TFoldInfo* node : files)
        for (std::size_t b = 0; b < buckets.size(); ++b)
            if (buckets[b].contains(node->cSize())) {
                addNodeToRow(rows[b], node);
                break;
            }
    return withoutEmptyRows(std::move(rows));
}

std::vector<TTimeInfo> PredicatesLib::predicatesForTimeFilter(const NodeList& files, int time)
{
    return predicatesForTimeFilter(files, time, CommonFuncs::localTimeZoneOffset());
}

std::vector<TTimeInfo> PredicatesLib::predicatesForTimeFilter(const NodeList& files, int time, int offsetFromUtc)
{
    const std::vector<TimeRangeNode> buckets = ReportRanges::getFileTimeRangeArray();
    std::vector<TTimeInfo> rows(buckets.size());
    for (std::size_t h = 0; h < buckets.size(); ++h) {
        rows[h].label = buckets[h].title();
        rows[h].SrNo = buckets[h].srNo();
    }
    // Bucket h covers [h * 3600, (h + 1) * 3600): the hour is the bucket.
    for (TFoldInfo* node : files) {
        const int s = secondOfDay(timeOf(*node, time), offsetFromUtc);
        if (s < 0)
            continue;
        TTimeInfo& row = rows[std::size_t(s / 3600)];
        addNodeToRow(row, node);
    }
    return withoutEmptyRows(std::move(rows));
}

std::vector<TDateInfo> PredicatesLib::predicatesForDateFilter(const NodeList& files, int time)
{
    return predicatesForDateFilter(files, time, ReportRanges::getFileDateRangeArray());
}

std::vector<TDateInfo> PredicatesLib::predicatesForDateFilter(const NodeList& files, int time,
                                                              const std::vector<DateRangeNode>& buckets)
{
    std::vector<TDateInfo> rows(buckets.size());
    for (std::size_t b = 0; b < buckets.size(); ++b) {
        rows[b].label = buckets[b].title();
        rows[b].SrNo = buckets[b].srNo();
    }
    // A file lies in several rows: count first, so each list is allocated once.
    std::vector<double> times(files.size());
    std::vector<std::size_t> counts(buckets.size(), 0);
    for (std::size_t i = 0; i < files.size(); ++i) {
        times[i] = timeOf(*files[i], time);
        for (std::size_t b = 0; b < buckets.size(); ++b)
            counts[b] += buckets[b].contains(times[i]) ? 1 : 0;
    }
    for (std::size_t b = 0; b < buckets.size(); ++b)
        rows[b].nodes.reserve(counts[b]);
    for (std::size_t i = 0; i < files.size(); ++i)
        for (std::size_t b = 0; b < buckets.size(); ++b)
            if (buckets[b].contains(times[i]))
                addNodeToRow(rows[b], files[i]);
    return withoutEmptyRows(std::move(rows));
}

std::vector<TExtInfo> PredicatesLib::predicatesForFileTypeFilterBasedOnFileKind(const NodeList& files)
{
    // Distinct kinds by interned id (one id per exact text), in order of first occurrence.
    std::vector<int> slotOfId(std::size_t(1) << 16, -1);
    std::vector<QString> kinds;
    for (const TFoldInfo* node : files) {
        int& slot = slotOfId[node->kindId()];
        if (slot < 0) {
            slot = int(kinds.size());
            kinds.push_back(node->fType());
        }
    }
    const std::vector<int> group = firstMatchingKind(kinds);
    std::vector<TExtInfo> rows(kinds.size());
    for (std::size_t i = 0; i < kinds.size(); ++i)
        rows[i].label = kinds[i];
    for (TFoldInfo* node : files) {
        TExtInfo& row = rows[std::size_t(group[std::size_t(slotOfId[node->kindId()])])];
        addNodeToRow(row, node);
    }
    return withoutEmptyRows(std::move(rows));
}

std::vector<TAttrInfo> PredicatesLib::predicatesForAttributeFilter(const NodeList& files)
{
    const std::vector<AttributeKind> kinds = ReportRanges::getFileAttributeArray();
    // Which kinds each file has, tested once per file and kind.
    std::vector<std::uint32_t> masks(files.size(), 0);
    const Filter readOnly = predicateForFileAttribute(kReadonlyPermissions);
    for (std::size_t i = 0; i < files.size(); ++i) {
        const std::uint32_t flags = files[i]->itemAttrInfo().flags;
        for (std::size_t k = 0; k < kinds.size(); ++k) {
            const bool has = kinds[k].number == kReadonlyPermissions ? readOnly(*files[i])
                                                                     : (flags & kinds[k].number) != 0;
            if (has)
                masks[i] |= 1u << k;
        }
    }

    // One pass puts each file into the rows of its kinds. Every kind but the last takes
    // from the whole input; the last, "Normal Files", only files that no earlier kind took;
    // the rest row what no kind took. A file is taken by the first kind it has, and the
    // report stops before a kind once every file is taken.
    const std::size_t last = kinds.size() - 1; // getFileAttributeArray ends with "Normal Files"
    const std::uint32_t earlierKinds = (1u << last) - 1;
    std::vector<TAttrInfo> candidates(kinds.size() + 1);
    std::vector<std::size_t> firstTakenBy(kinds.size() + 1, 0);
    for (std::size_t i = 0; i < files.size(); ++i) {
        std::uint32_t early = masks[i] & earlierKinds;
        std::size_t first = early ? std::size_t(std::countr_zero(early)) : (masks[i] >> last & 1u) ? last : last + 1;
        if (!early) {
            TAttrInfo& row = candidates[first];
            addNodeToRow(row, files[i]);
        }
        for (; early; early &= early - 1) {
            TAttrInfo& row = candidates[std::size_t(std::countr_zero(early))];
            addNodeToRow(row, files[i]);
        }
        ++firstTakenBy[first];
    }

    std::vector<TAttrInfo> rows;
    std::size_t remaining = files.size();
    for (std::size_t k = 0; k <= last && remaining > 0; ++k) {
        if (candidates[k].Files > 0) {
            candidates[k].label = kinds[k].label;
            rows.push_back(std::move(candidates[k]));
        }
        remaining -= firstTakenBy[k];
    }
    if (remaining > 0) {
        TAttrInfo& rest = candidates[last + 1];
        rest.label = CommonFuncs::getLocalizedStringForKey(QStringLiteral("ID_NONE"));
        rows.push_back(std::move(rest));
    }
    return rows;
}
