#pragma once

#include "base/FieldTable.h"
#include "base/FolderScanOptions.h"

#include <QLatin1String>
#include <QList>
#include <QString>
#include <QVariantMap>

#include <array>
#include <cstdint>

// Names of the settings keys (the keys of the per-user store).
namespace SettingsKeys {
// Display units (Display Unit pane).
inline constexpr QLatin1String allDiskReports{"allDiskReports"};
inline constexpr QLatin1String diskReportSummary{"diskReportSummary"};
inline constexpr QLatin1String folderTree{"folderTree"};
inline constexpr QLatin1String decimalPlaces{"decimalPlaces"};
// Misc filters (Misc. Filter pane).
inline constexpr QLatin1String bigFilesSize{"bigFilesSize"};
inline constexpr QLatin1String bigFilesSizeUnit{"bigFilesSizeUnit"};
inline constexpr QLatin1String oldFilesSearchTimeLimit{"oldFilesSearchTimeLimit"};
inline constexpr QLatin1String oldFilesTimeUnit{"oldFilesTimeUnit"};
inline constexpr QLatin1String oldFilesFilterType{"oldFilesFilterType"};
inline constexpr QLatin1String showEmptyFolders{"showEmptyFolders"};
// Scan options (shown in the Misc. Filter pane; read when a scan starts).
inline constexpr QLatin1String scanHiddenFolders{"scanHiddenFolders"};
inline constexpr QLatin1String stayOnOneFileSystem{"stayOnOneFileSystem"};
// File viewer filter: six integers ...
inline constexpr QLatin1String sizeFilterType{"sizeFilterType"};
inline constexpr QLatin1String sizeUnitForFilter{"sizeUnitForFilter"};
inline constexpr QLatin1String comparisionOperatorForFilter{"comparisionOperatorForFilter"};
inline constexpr QLatin1String dateTypeForFilter{"dateTypeForFilter"};
inline constexpr QLatin1String sizeUnitForComparisionFilter{"sizeUnitForComparisionFilter"};
inline constexpr QLatin1String topFilteredFileCount{"topFilteredFileCount"};
// ... and six texts.
inline constexpr QLatin1String fileNameForFilter{"fileNameForFilter"};
inline constexpr QLatin1String fileSizeMinForFilter{"fileSizeMinForFilter"};
inline constexpr QLatin1String fileSizeMaxForFilter{"fileSizeMaxForFilter"};
inline constexpr QLatin1String fileSizeForComparision{"fileSizeForComparision"};
inline constexpr QLatin1String dateFromForFilter{"dateFromForFilter"};
inline constexpr QLatin1String dateToForFilter{"dateToForFilter"};
// Others.
inline constexpr QLatin1String savedPaths{"savedPaths"};
inline constexpr QLatin1String preferencesSelectedItem{"PreferencesWindowControllerSelectedItemIdentifier"};
inline constexpr QLatin1String scanpathNag{"scanpath_nag"};
} // namespace SettingsKeys

// The ten remembered sort orders, one per report table.
enum class SortSetting {
    TopFiles,           // "sortDescriptorTopFiles", default "cSize"
    FileExplorer,       // "sortDescriptorFileExplorer", default "cSize"
    FileSize,           // "sortDescriptorFileSize", default "Size"
    FileType,           // "sortDescriptorFileType", default "Size"
    ObsoleteFile,       // "sortDescriptorObsoleteFile", default "cSize"
    FileDate,           // "sortDescriptorFileDate", default "Size"
    Apps,               // "sortDescriptorApps", default "cSize"
    CustomType,         // "sortDescriptorCustomType", default "Size"
    AllFolderSubFolder, // "sortDescriptorAllFolderSubFolder", default "Size"
    ForFileViewer,      // "sortDescriptorForFileViewer", default "cSize"
};
inline constexpr int kSortSettingCount = 10;

// An opaque chart colour; components 0 to 1.
struct ChartColor {
    double red = 0, green = 0, blue = 0;
    bool operator==(const ChartColor&) const = default;
};

// Report codes: the current report index shared by the main window, reports and actions.
namespace ReportIndex {
constexpr int FileExplorer = 0, FileTypes = 1, Attributes = 2, SizeRanges = 3, DateRanges = 4,
              TimeOfDay = 5, Ownership = 6, CustomTypes = 7, AllFolders = 8, Applications = 9,
              Overview = 10, ObsoleteFiles = 11;
} // namespace ReportIndex

// The process-wide copy of the settings that reports, predicates and views read (they
// never read the store). Filled by GeneralLib::readRegistry and the refreshers.
struct SettingsCache {
    // Display units.
    std::int32_t allDiskReports = 0;
    std::int32_t diskReportSummary = 0;
    std::int32_t folderTree = 0;
    std::int32_t decimalPlaces = 2;
    // Misc filters.
    std::int64_t oldFilesSearchTimeLimit = 6;
    std::int64_t oldFilesTimeUnit = 1;
    std::int64_t oldFilesFilterType = 1;
    std::int64_t bigFilesSizeUnit = 0;
    std::int64_t bigFilesSize = 50;
    bool showEmptyFolders = false;
    // File viewer filter.
    std::int32_t sizeFilterType = 0;
    std::int32_t sizeUnitForFilter = 1;
    std::int32_t comparisionOperatorForFilter = 0;
    std::int32_t dateTypeForFilter = 3;
    std::int32_t sizeUnitForComparisionFilter = 1;
    std::int32_t topFilteredFileCount = 0;
    // Sort orders, indexed by SortSetting.
    std::array<SortDescriptor, kSortSettingCount> sortDescriptors;
    // The chart palette (seven colours after readRegistry).
    QList<ChartColor> chartColors;
    // The current report index (ReportIndex).
    int currentReportIndex = ReportIndex::Overview;
};

// Settings defaults, the settings cache and the thresholds derived from it.
class GeneralLib {
public:
    // ---- the cache ----
    static const SettingsCache& cache();
    static SortDescriptor sortDescriptor(SortSetting which);
    // Replaces a cached sort order (the report views do when the user sorts); stored by
    // writeSortDescriptions.
    static void setSortDescriptor(SortSetting which, const SortDescriptor& descriptor);
    static void setCurrentReportIndex(int index);
    // Overrides of the cached display-unit values for this process only (quorvel-cli's
    // --unit and --decimals); nothing is stored.
    static void overrideDisplayUnitSettings(int allDiskReports, int diskReportSummary, int folderTree,
                                            int decimalPlaces);

    // The settings key and the default sort key ("cSize" or "Size") of a sort order.
    static QString sortSettingKey(SortSetting which);
    static QString defaultSortKey(SortSetting which);

    // ---- start-up ----

    // Registers the defaults of the display unit, misc and file viewer keys (in memory,
    // nothing written), stores a descending default descriptor under every sort key that
    // has no value yet, then creates "exclusion.plist" in the documents folder when it is
    // missing.
    static void registerUserDefaultsForSettings();
    // The registration map (display unit, misc, scan option and file viewer keys with their
    // defaults).
    static QVariantMap defaultSettings();
    // Stores the default descending descriptor under one sort key when it has no value.
    static void setDefaultSortDescriptor(SortSetting which);
    // Fills the cache: display units, misc, sort orders, file viewer; then the palette
    // (emptied first, seven colours) and the current report index (the overview).
    static void readRegistry();

    // ---- refreshers: re-read one group of keys into the cache ----
    static void refreshDisplayUnitSettings();
    static void refreshMiscSettings();
    static void refreshFileViewerFilterComponents();
    // A missing or unreadable value gives a descending descriptor on the default key.
    static void refreshSortDescription();

    // getSortDescriptionForKey:sortAscending: a new descriptor on the property key.
    static SortDescriptor getSortDescriptionForKey(const QString& key, bool sortAscending);
    // Stores every cached sort order under its key (logs "writeSortDescriptions").
    static void writeSortDescriptions();

    // ---- resets ----
    // Stores the four display unit defaults, then refreshes them (logs its name).
    static void resetDefaultDisplayUnitSettings();
    // Stores the six misc defaults and the two scan options' (both off, as the pane shows
    // them together), then refreshes the cache (logs its name).
    static void resetDefaultMiscSettings();
    // Stores the twelve file viewer filter keys with their defaults (no refresh).
    static void setDefaultSettingsForFileViewerFilter();

    // ---- derived values ----

    // The scan options as stored now ("scanHiddenFolders", "stayOnOneFileSystem"; both off
    // by default). Read from the store, not the cache, when a scan starts.
    static FolderScanOptions folderScanOptions();

    // The big-files threshold in bytes from the cache: "bigFilesSize" x 1000000 for unit 0
    // (MB), x 1000000000 for unit 1 (GB), 10000000 for any other unit. A negative size counts
    // as 0; a product beyond 64 bits is capped.
    static std::uint64_t getSizeForBigFile();
    // The old-files moment as an absolute time: now minus "oldFilesSearchTimeLimit" days
    // (unit 0, 86400 s), months (1, 2592000 s) or years (2, 31536000 s). A unit outside 0..2
    // counts as months, the default unit. The second form takes "now" as an absolute time.
    static double getTimeIntervalForOldFile();
    static double getTimeIntervalForOldFile(double now);
    // getSizeForFilterInByteFor:forUnit: the number's integer value (a text's leading
    // integer part) times 1 (unit 0), 1000 (1), 1000000 (2) or 1000000000 (3); 0 for any
    // other unit. Products beyond 64 bits are capped.
    static std::int64_t getSizeForFilterInByteFor(const QVariant& number, int forUnit);
};
