#include "settings/GeneralLib.h"

#include "settings/CommonFuncs.h"
#include "settings/ExclusionList.h"
#include "settings/Log.h"
#include "settings/SettingsStore.h"

#include <QDateTime>

#include <algorithm>
#include <limits>

namespace {

SettingsCache& theCache()
{
    static SettingsCache cache;
    return cache;
}

struct SortSettingDef {
    const char* key;
    const char* defaultSortKey;
};
constexpr SortSettingDef kSortSettings[kSortSettingCount] = {
    {"sortDescriptorTopFiles", "cSize"},   {"sortDescriptorFileExplorer", "cSize"},
    {"sortDescriptorFileSize", "Size"},    {"sortDescriptorFileType", "Size"},
    {"sortDescriptorObsoleteFile", "cSize"}, {"sortDescriptorFileDate", "Size"},
    {"sortDescriptorApps", "cSize"},       {"sortDescriptorCustomType", "Size"},
    {"sortDescriptorAllFolderSubFolder", "Size"}, {"sortDescriptorForFileViewer", "cSize"},
};

const SortSettingDef& def(SortSetting which) { return kSortSettings[int(which)]; }

SortDescriptor defaultDescriptor(SortSetting which)
{
    return GeneralLib::getSortDescriptionForKey(QLatin1String(def(which).defaultSortKey), false);
}

QVariantMap displayUnitDefaults()
{
    using namespace SettingsKeys;
    return {{allDiskReports, 0}, {diskReportSummary, 0}, {folderTree, 0}, {decimalPlaces, 2}};
}

QVariantMap miscDefaults()
{
    using namespace SettingsKeys;
    return {{bigFilesSize, 50},       {bigFilesSizeUnit, 0}, {oldFilesSearchTimeLimit, 6},
            {oldFilesFilterType, 1}, {oldFilesTimeUnit, 1}, {showEmptyFolders, 0}};
}

QVariantMap scanOptionDefaults()
{
    using namespace SettingsKeys;
    return {{scanHiddenFolders, 0}, {stayOnOneFileSystem, 0}};
}

QVariantMap fileViewerDefaults()
{
    using namespace SettingsKeys;
    const QString empty = QLatin1String("");
    return {{sizeFilterType, 0},       {sizeUnitForFilter, 1},       {comparisionOperatorForFilter, 0},
            {dateTypeForFilter, 3},    {sizeUnitForComparisionFilter, 1}, {topFilteredFileCount, 0},
            {fileNameForFilter, empty}, {fileSizeMinForFilter, empty}, {fileSizeMaxForFilter, empty},
            {fileSizeForComparision, empty}, {dateFromForFilter, empty}, {dateToForFilter, empty}};
}

void storeAll(const QVariantMap& values)
{
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        SettingsStore::setValue(it.key(), it.value());
}

std::int32_t int32ForKey(QLatin1String key)
{
    const std::int64_t v = SettingsStore::integerForKey(key);
    return std::int32_t(std::clamp<std::int64_t>(v, std::numeric_limits<std::int32_t>::min(),
                                                 std::numeric_limits<std::int32_t>::max()));
}

// The integer a number stands for: a text's leading integer part ("12abc" and "12.9" give
// 12, "abc" gives 0), a number truncated toward zero.
std::int64_t leadingInteger(const QVariant& number)
{
    if (number.typeId() != QMetaType::QString)
        return SettingsStore::toInteger(number);
    const QString text = number.toString().trimmed();
    qsizetype end = (text.startsWith(QLatin1Char('-')) || text.startsWith(QLatin1Char('+'))) ? 1 : 0;
    while (end < text.size() && text[end] >= QLatin1Char('0') && text[end] <= QLatin1Char('9'))
        ++end;
    bool ok = false;
    const qlonglong v = text.left(end).toLongLong(&ok);
    if (ok)
        return v;
    // Only digits, yet no 64-bit number: too long, so the nearest limit.
    if (end > 1 || (end == 1 && text[0].isDigit()))
        return text.startsWith(QLatin1Char('-')) ? std::numeric_limits<std::int64_t>::min()
                                                 : std::numeric_limits<std::int64_t>::max();
    return 0;
}

// a x b for a byte count, capped at the 64-bit maximum; a negative a counts as 0.
std::uint64_t cappedProduct(std::int64_t a, std::uint64_t b)
{
    if (a <= 0)
        return 0;
    const std::uint64_t ua = std::uint64_t(a);
    if (ua > std::numeric_limits<std::uint64_t>::max() / b)
        return std::numeric_limits<std::uint64_t>::max();
    return ua * b;
}

} // namespace

// ---------------------------------------------------------------- the cache

const SettingsCache& GeneralLib::cache() { return theCache(); }

SortDescriptor GeneralLib::sortDescriptor(SortSetting which) { return theCache().sortDescriptors[size_t(which)]; }

void GeneralLib::setSortDescriptor(SortSetting which, const SortDescriptor& descriptor)
{
    theCache().sortDescriptors[size_t(which)] = descriptor;
}

void GeneralLib::setCurrentReportIndex(int index) { theCache().currentReportIndex = index; }

void GeneralLib::overrideDisplayUnitSettings(int allDiskReports, int diskReportSummary, int folderTree,
                                             int decimalPlaces)
{
    SettingsCache& c = theCache();
    c.allDiskReports = allDiskReports;
    c.diskReportSummary = diskReportSummary;
    c.folderTree = folderTree;
    c.decimalPlaces = decimalPlaces;
}

QString GeneralLib::sortSettingKey(SortSetting which) { return QLatin1String(def(which).key); }

QString GeneralLib::defaultSortKey(SortSetting which) { return QLatin1String(def(which).defaultSortKey); }

// ---------------------------------------------------------------- start-up

QVariantMap GeneralLib::defaultSettings()
{
    QVariantMap all = displayUnitDefaults();
    all.insert(miscDefaults());
    all.insert(scanOptionDefaults());
    all.insert(fileViewerDefaults());
    return all;
}

void GeneralLib::setDefaultSortDescriptor(SortSetting which)
{
    const QVariant stored = SettingsStore::storedValue(sortSettingKey(which));
    if (!stored.isValid() || stored.toByteArray().isEmpty())
        CommonFuncs::archivedObject(defaultDescriptor(which), sortSettingKey(which));
}

void GeneralLib::registerUserDefaultsForSettings()
{
    const QVariantMap defaults = defaultSettings();
    for (int i = 0; i < kSortSettingCount; ++i)
        setDefaultSortDescriptor(SortSetting(i));
    SettingsStore::registerDefaults(defaults);
    ExclusionList::makeStartupExclusionFileIfMissing();
}

void GeneralLib::readRegistry()
{
    refreshDisplayUnitSettings();
    refreshMiscSettings();
    refreshSortDescription();
    refreshFileViewerFilterComponents();
    QList<ChartColor>& palette = theCache().chartColors;
    palette.clear();
    const ChartColor colours[] = {{0.467, 0.916, 1.0}, {1.0, 0.996, 0.564}, {1.0, 0.680, 0.840},
                                  {0.600, 0.871, 0.680}, {1.0, 0.707, 0.173}, {0.889, 0.338, 1.0},
                                  {0.173, 0.462, 0.738}};
    for (const ChartColor& c : colours)
        palette.append({std::min(c.red, 1.0), std::min(c.green, 1.0), std::min(c.blue, 1.0)});
    theCache().currentReportIndex = ReportIndex::Overview;
}

// ---------------------------------------------------------------- refreshers

void GeneralLib::refreshDisplayUnitSettings()
{
    using namespace SettingsKeys;
    SettingsCache& c = theCache();
    c.allDiskReports = int32ForKey(allDiskReports);
    c.diskReportSummary = int32ForKey(diskReportSummary);
    c.folderTree = int32ForKey(folderTree);
    c.decimalPlaces = int32ForKey(decimalPlaces);
}

void GeneralLib::refreshMiscSettings()
{
    using namespace SettingsKeys;
    SettingsCache& c = theCache();
    c.oldFilesSearchTimeLimit = SettingsStore::integerForKey(oldFilesSearchTimeLimit);
    c.oldFilesTimeUnit = SettingsStore::integerForKey(oldFilesTimeUnit);
    c.oldFilesFilterType = SettingsStore::integerForKey(oldFilesFilterType);
    c.bigFilesSizeUnit = SettingsStore::integerForKey(bigFilesSizeUnit);
    c.bigFilesSize = SettingsStore::integerForKey(bigFilesSize);
    c.showEmptyFolders = SettingsStore::integerForKey(showEmptyFolders) != 0;
}

void GeneralLib::refreshFileViewerFilterComponents()
{
    using namespace SettingsKeys;
    SettingsCache& c = theCache();
    c.sizeFilterType = int32ForKey(sizeFilterType);
    c.sizeUnitForFilter = int32ForKey(sizeUnitForFilter);
    c.comparisionOperatorForFilter = int32ForKey(comparisionOperatorForFilter);
    c.dateTypeForFilter = int32ForKey(dateTypeForFilter);
    c.sizeUnitForComparisionFilter = int32ForKey(sizeUnitForComparisionFilter);
    c.topFilteredFileCount = int32ForKey(topFilteredFileCount);
}

void GeneralLib::refreshSortDescription()
{
    for (int i = 0; i < kSortSettingCount; ++i) {
        const SortSetting which = SortSetting(i);
        const std::optional<SortDescriptor> stored = CommonFuncs::unarchiveObjectForKey(sortSettingKey(which));
        theCache().sortDescriptors[size_t(i)] = stored ? *stored : defaultDescriptor(which);
    }
}

SortDescriptor GeneralLib::getSortDescriptionForKey(const QString& key, bool sortAscending)
{
    return SortDescriptor{key, sortAscending};
}

void GeneralLib::writeSortDescriptions()
{
    qvlog(QStringLiteral("writeSortDescriptions"));
    for (int i = 0; i < kSortSettingCount; ++i) {
        const SortDescriptor& d = theCache().sortDescriptors[size_t(i)];
        if (!d.key.isEmpty())
            CommonFuncs::archivedObject(d, sortSettingKey(SortSetting(i)));
    }
}

// ---------------------------------------------------------------- resets

void GeneralLib::resetDefaultDisplayUnitSettings()
{
    qvlog(QStringLiteral("resetDefaultDisplayUnitSettings"));
    storeAll(displayUnitDefaults());
    refreshDisplayUnitSettings();
}

void GeneralLib::resetDefaultMiscSettings()
{
    qvlog(QStringLiteral("resetDefaultMiscSettings"));
    storeAll(miscDefaults());
    storeAll(scanOptionDefaults());
    refreshMiscSettings();
}

void GeneralLib::setDefaultSettingsForFileViewerFilter() { storeAll(fileViewerDefaults()); }

// ---------------------------------------------------------------- derived values

FolderScanOptions GeneralLib::folderScanOptions()
{
    FolderScanOptions options;
    options.scanHiddenFolders = SettingsStore::integerForKey(SettingsKeys::scanHiddenFolders) != 0;
    options.stayOnOneFileSystem = SettingsStore::integerForKey(SettingsKeys::stayOnOneFileSystem) != 0;
    return options;
}

std::uint64_t GeneralLib::getSizeForBigFile()
{
    const SettingsCache& c = theCache();
    switch (c.bigFilesSizeUnit) {
    case 0:
        return cappedProduct(c.bigFilesSize, 1000000ull);
    case 1:
        return cappedProduct(c.bigFilesSize, 1000000000ull);
    default:
        return 10000000ull;
    }
}

double GeneralLib::getTimeIntervalForOldFile() { return getTimeIntervalForOldFile(CommonFuncs::absoluteTimeNow()); }

double GeneralLib::getTimeIntervalForOldFile(double now)
{
    const SettingsCache& c = theCache();
    double unitSeconds = 2592000.0; // months; also for a unit outside 0..2
    if (c.oldFilesTimeUnit == 0)
        unitSeconds = 86400.0;
    else if (c.oldFilesTimeUnit == 2)
        unitSeconds = 31536000.0;
    return now - unitSeconds * double(c.oldFilesSearchTimeLimit);
}

std::int64_t GeneralLib::getSizeForFilterInByteFor(const QVariant& number, int forUnit)
{
    static constexpr std::int64_t kFactors[] = {1, 1000, 1000000, 1000000000};
    if (forUnit < 0 || forUnit > 3)
        return 0;
    const std::int64_t value = leadingInteger(number);
    const std::int64_t factor = kFactors[forUnit];
    if (value > std::numeric_limits<std::int64_t>::max() / factor)
        return std::numeric_limits<std::int64_t>::max();
    if (value < std::numeric_limits<std::int64_t>::min() / factor)
        return std::numeric_limits<std::int64_t>::min();
    return value * factor;
}
