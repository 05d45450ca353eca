#pragma once

#include "reports/GroupFilter.h"
#include "reports/RangeNodes.h"
#include "reports/ReportRows.h"
#include "settings/TypeCatalog.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <utility>
#include <vector>

// The filtering and grouping engine behind every report: flattens a folder into its files,
// makes filters (tests on one node), groups file lists into report rows and picks the top
// files. Class operations only, plus two process-wide tables built from the type catalog;
// main thread only.
//
// Groupings take a list of file nodes and return new rows; the input is never changed.
// Where a report partitions files (each file to the first group that takes it) the result
// is computed by finding each file's group directly (a bucket index, a hash of the
// extension or kind) rather than by testing group after group; the rows, their order and
// the order of the files in them are the same as the group-by-group evaluation gives.
class PredicatesLib {
public:
    // A test on one node. Non-const because the permission test may read the node's
    // attribute dictionary (FileAttributes).
    using Filter = std::function<bool(TFoldInfo&)>;
    using NamedGroup = std::pair<QString, GroupFilter>;

    // Time field codes.
    enum TimeField { CreationTime = 0, ModificationTime = 1, AccessTime = 2 };

    // ---- the catalog tables ----

    // Makes the tables follow every load of the type catalog (TypeCatalog's loaded
    // handler) and builds them now from the groups already loaded. Safe to call again.
    static void connectToCatalog();
    // readAllExtensionsFromFile: reads the catalog file and rebuilds both tables from it
    // (an unreadable file gives an empty all-groups table and six overview filters that
    // take nothing).
    static void readAllExtensionsFromFile();
    // Rebuilds both tables from the given groups: one filter per group in the all-groups
    // table; the six overview groups from the groups named by the texts of
    // "ID_DOCUMENT_FILES", "ID_IMAGE_FILES", "ID_AUDIO_FILES", "ID_VIDEO_FILES",
    // "ID_FINANCIAL_FILES" and "ID_EBOOKS" (a missing one takes nothing).
    static void setCatalogGroups(const TypeGroups& groups);
    // The all-groups table in the catalog's stored order (the first of two groups of one
    // name wins), and the filter stored under a name (null when none).
    static const std::vector<NamedGroup>& allGroups();
    static const GroupFilter* groupFilterNamed(const QString& name);
    // The overview table: six names and filters, in the order above.
    static const std::vector<NamedGroup>& overviewGroups();

    // ---- flattening ----

    // prepareFilesArray: every file beneath the folder, depth first: a folder's own files
    // (and application bundles, each as one file with its totals computed first) in
    // SubList order, then the files of each subfolder in SubList order.
    static NodeList prepareFilesArray(TFoldInfo* folder);
    // getAppsArray: every application bundle beneath the folder: a folder's applications
    // in SubList order, then those beneath each of its folders (bundles included).
    static NodeList getAppsArray(TFoldInfo* folder);

    // ---- filters ----

    // upper != 0: lower <= cSize <= upper; upper == 0: cSize >= lower.
    static Filter predicateForRange(std::uint64_t lower, std::uint64_t endRange);
    // cSize >= the big-file threshold of the settings (GeneralLib::getSizeForBigFile).
    static Filter predicateForBigSizeFiles();
    // cSize == 0.
    static Filter predicateForZeroByteFile();
    // Strictly older than the old-file moment (written with six decimals, as the filter
    // text holds it): on lMTime when "oldFilesFilterType" is not 0, else on lATime.
    static Filter predicateForOldFiles();
    // lower <= second of the day < upper, on the chosen time field.
    static Filter predicateForTimeRangeOn(int timeField, double startRange, double endRange);
    // The date range test on the chosen time field.
    static Filter predicateForDateRangeOn(int timeField, const DateRangeNode& dateRange);
    // fType like[c] kind: no regard to case; "*" matches any run, "?" any one character.
    static Filter predicateForFileTypeBasedOnKind(const QString& kind);
    // 292: permissions equal 0444 (a failed read fails); otherwise that item flag is set.
    static Filter predicateForFileAttribute(std::uint32_t attribute);
    // The group filter of lower-case extensions.
    static GroupFilter predicateForExtnArray(const QStringList& extensions);

    // ---- the tests behind the filters ----

    static double timeOf(const TFoldInfo& node, int timeField);
    // (t truncated to whole seconds + offset) modulo 86400, in 0..86399; -1 for a time that
    // is not finite.
    static int secondOfDay(double time, int offsetFromUtc);
    // The like[c] comparison of a text with a pattern.
    static bool isLike(const QString& text, const QString& pattern);

    // ---- groupings ----

    // Partition over the 18 size buckets.
    static std::vector<TSizeInfo> predicatesForSizeFilter(const NodeList& files);
    // Partition over the 24 hours, on the time field, with the process's time zone offset
    // (CommonFuncs::localTimeZoneOffset) or the one given.
    static std::vector<TTimeInfo> predicatesForTimeFilter(const NodeList& files, int time);
    static std::vector<TTimeInfo> predicatesForTimeFilter(const NodeList& files, int time, int offsetFromUtc);
    // Overlap over the 11 date buckets built now, or over the buckets given.
    static std::vector<TDateInfo> predicatesForDateFilter(const NodeList& files, int time);
    static std::vector<TDateInfo> predicatesForDateFilter(const NodeList& files, int time,
                                                          const std::vector<DateRangeNode>& buckets);
    // Partition over the input's distinct kinds in order of first occurrence (distinct by
    // exact text; each kind's filter ignores case, so of two kinds that differ only by case
    // the first takes the files of both).
    static std::vector<TExtInfo> predicatesForFileTypeFilterBasedOnFileKind(const NodeList& files);
    // The attribute kinds in order, overlapping, "Normal Files" only from files no earlier
    // row took, stopping once every file is taken; then a rest row ("ID_NONE").
    static std::vector<TAttrInfo> predicatesForAttributeFilter(const NodeList& files);
    // Partition over the catalog's groups (names in the order of the catalog file, read
    // again now; filters from the all-groups table), a rest row ("ID_OTHERS"), then the big,
    // old and zero-byte rows over the whole input, each when it has files.
    static std::vector<TSpInfo> predicatesForCustomTypeFilter(const NodeList& files);
    // Partition over the six overview groups, a row for each even when empty, then a rest
    // row ("ID_OTHER_FILES") when files are left.
    static std::vector<TSpInfo> predicatesForOverView(const NodeList& files);
    // Ownership is not grouped: always absent.
    static std::optional<std::vector<TOwnerInfo>> getOwnerShipForFiles(const NodeList& files);
    // The files of the group named by the text of "ID_JUNK_FILES" that may be deleted, in
    // input order; empty when the table has no such group.
    static NodeList getObsoleteFiles(const NodeList& files);
    // The 100 largest files (cSize, largest first) / the 100 least recently accessed
    // (lATime, earliest first); all when fewer. Ties keep input order.
    static NodeList getTop100FilesBySize(const NodeList& files);
    static NodeList getTop100OldestFiles(const NodeList& files);

    // ---- sorting ----

    // Sorts nodes in place by the descriptor's field name (see tfoldInfoFields); an unknown
    // key leaves the list unchanged and returns false.
    static bool sortWithSortDescriptor(NodeList& nodes, const SortDescriptor& descriptor);
};
