// Temporary bodies so that the declared interfaces link while they are being finished.
#include "settings/CommonFuncs.h"
#include "settings/GeneralLib.h"
#include "settings/SettingsStore.h"
#include "settings/TextFormat.h"
#include "settings/TypeCatalog.h"

QString FormatArg::text() const { return {}; }
std::int64_t FormatArg::toSigned() const { return 0; }
std::uint64_t FormatArg::toUnsigned() const { return 0; }
double FormatArg::toDouble() const { return 0; }
QString TextFormat::format(const QString& f, std::initializer_list<FormatArg>) { return f; }

QVariant SettingsStore::value(const QString&) { return {}; }
QVariant SettingsStore::storedValue(const QString&) { return {}; }
bool SettingsStore::isStored(const QString&) { return false; }
bool SettingsStore::setValue(const QString&, const QVariant&) { return false; }
bool SettingsStore::remove(const QString&) { return false; }
void SettingsStore::registerDefaults(const QVariantMap&) {}
QVariant SettingsStore::registeredDefault(const QString&) { return {}; }
std::int64_t SettingsStore::integerForKey(const QString&) { return 0; }
QString SettingsStore::stringForKey(const QString&) { return QString(""); }
std::int64_t SettingsStore::toInteger(const QVariant&) { return 0; }
QString SettingsStore::filePath() { return {}; }
bool SettingsStore::clearAll() { return false; }

QVariant CommonFuncs::standardObjectForKey(const QString&) { return {}; }
bool CommonFuncs::setStandardObject(const QVariant&, const QString&) { return false; }
bool CommonFuncs::archivedObject(const SortDescriptor&, const QString&) { return false; }
std::optional<SortDescriptor> CommonFuncs::unarchiveObjectForKey(const QString&) { return {}; }
QByteArray CommonFuncs::archiveSortDescriptor(const SortDescriptor&) { return {}; }
std::optional<SortDescriptor> CommonFuncs::unarchiveSortDescriptor(const QByteArray&) { return {}; }
QString CommonFuncs::getLocalizedStringForKey(const QString&) { return QString("(null)"); }
void CommonFuncs::loadLanguageDict() {}
QString CommonFuncs::replaceOccuranceOfSpecialCharacter(const QString& t) { return t; }
bool CommonFuncs::hasLocalizedStringForKey(const QString&) { return false; }
QStringList CommonFuncs::localizedStringKeys() { return {}; }
QStringList CommonFuncs::missingLocalizedStringKeys() { return {}; }
float CommonFuncs::unitBase() { return 1000; }
void CommonFuncs::setUnitBase(float) {}
QString CommonFuncs::sizeUnitFor(int, std::uint64_t) { return {}; }
QString CommonFuncs::unitForSize(std::uint64_t) { return {}; }
QString CommonFuncs::sizeUnitInKB(std::uint64_t) { return {}; }
QString CommonFuncs::sizeUnitInMB(std::uint64_t) { return {}; }
QString CommonFuncs::sizeUnitInGB(std::uint64_t) { return {}; }
QString CommonFuncs::unitForSizeDriveSize(std::uint64_t) { return {}; }
QString CommonFuncs::sizeWithFractionDigits(double) { return {}; }
QString CommonFuncs::numberWithFractionDigits(double, int) { return {}; }
QString CommonFuncs::roundingNumber(double) { return {}; }
std::uint64_t CommonFuncs::denominator(std::uint64_t v) { return v ? v : 1; }
QDateTime CommonFuncs::dateFromAbsoluteTime(double) { return {}; }
double CommonFuncs::absoluteTimeFromDate(const QDateTime&) { return 0; }
double CommonFuncs::absoluteTimeNow() { return 0; }
QString CommonFuncs::getFomattedDateString(const QDateTime&) { return {}; }
QString CommonFuncs::dateStringOnlyFromDate(const QDateTime&) { return {}; }
QDateTime CommonFuncs::dateFromDateOnlyString(const QString&) { return {}; }
QString CommonFuncs::getDateTimeComponent(const QString&, const QDateTime&) { return {}; }
QDateTime CommonFuncs::dateWithYear(int, int, int, int, int, int) { return {}; }
QDateTime CommonFuncs::firstDateFromDateBeforeMonth(const QDateTime&, int) { return {}; }
QDateTime CommonFuncs::firstDateFromDateBeforeYear(const QDateTime&, int) { return {}; }
double CommonFuncs::getTimeIntervalForDateOnlyBefore(double) { return 0; }
double CommonFuncs::getTimeIntervalForDateOnlyBefore(double, const QDateTime&) { return 0; }
int CommonFuncs::localTimeZoneOffset() { return 0; }
void CommonFuncs::takeLocalTimeZoneOffset() {}
bool CommonFuncs::strExist(const QString&) { return false; }
bool CommonFuncs::isItemHidden(const TFoldInfo*) { return false; }
QStringList CommonFuncs::getHierarchyOfPaths(const QString&) { return {}; }
bool CommonFuncs::saveBookmarkPath(const QString&) { return false; }
bool CommonFuncs::loadFromBookmarkPath(const QString&) { return false; }

namespace { SettingsCache g_cache; TypeGroups g_groups; }
const SettingsCache& GeneralLib::cache() { return g_cache; }
SortDescriptor GeneralLib::sortDescriptor(SortSetting w) { return g_cache.sortDescriptors[size_t(w)]; }
void GeneralLib::setSortDescriptor(SortSetting w, const SortDescriptor& d) { g_cache.sortDescriptors[size_t(w)] = d; }
void GeneralLib::setCurrentReportIndex(int i) { g_cache.currentReportIndex = i; }
void GeneralLib::overrideDisplayUnitSettings(int, int, int, int) {}
QString GeneralLib::sortSettingKey(SortSetting) { return {}; }
QString GeneralLib::defaultSortKey(SortSetting) { return {}; }
void GeneralLib::registerUserDefaultsForSettings() {}
QVariantMap GeneralLib::defaultSettings() { return {}; }
void GeneralLib::setDefaultSortDescriptor(SortSetting) {}
void GeneralLib::readRegistry() {}
void GeneralLib::refreshDisplayUnitSettings() {}
void GeneralLib::refreshMiscSettings() {}
void GeneralLib::refreshFileViewerFilterComponents() {}
void GeneralLib::refreshSortDescription() {}
SortDescriptor GeneralLib::getSortDescriptionForKey(const QString& k, bool a) { return {k, a}; }
void GeneralLib::writeSortDescriptions() {}
void GeneralLib::resetDefaultDisplayUnitSettings() {}
void GeneralLib::resetDefaultMiscSettings() {}
void GeneralLib::setDefaultSettingsForFileViewerFilter() {}
std::uint64_t GeneralLib::getSizeForBigFile() { return 50000000; }
double GeneralLib::getTimeIntervalForOldFile() { return 0; }
double GeneralLib::getTimeIntervalForOldFile(double) { return 0; }
std::int64_t GeneralLib::getSizeForFilterInByteFor(const QVariant&, int) { return 0; }

QString TypeCatalog::filePath() { return {}; }
const QList<TypeCatalog::DefaultGroup>& TypeCatalog::defaultGroupDefinitions() { static QList<DefaultGroup> d; return d; }
TypeGroups TypeCatalog::defaultGroups() { return {}; }
bool TypeCatalog::makeExtnFile() { return false; }
std::optional<TypeGroups> TypeCatalog::readCatalogFile(QString*) { return {}; }
void TypeCatalog::readAndUpdateGlobalsForParsing() {}
void TypeCatalog::resetCustomSettings() {}
const TypeGroups& TypeCatalog::loadedGroups() { return g_groups; }
bool TypeCatalog::lastLoadSucceeded() { return false; }
void TypeCatalog::setGroupsLoadedHandler(std::function<void(const TypeGroups&)>) {}
QList<CustomTypeFilterRow> CustomTypeFilter::readCustomTypeFilter() { return {}; }
QString CustomTypeFilter::stringObjectFromArrayOfStrings(const QStringList& e) { return e.join(QLatin1Char(',')); }
QStringList CustomTypeFilter::arrayObjectFromFilterTypeString(const QString& t) { return t.split(QLatin1Char(',')); }
bool CustomTypeFilter::isFilterExist(const QString&) { return false; }
bool CustomTypeFilter::addNewCustomTypeFilter(const QString&, const QString&) { return false; }
bool CustomTypeFilter::updateCustomTypeFilterFile(const QString&, const QString&) { return false; }
bool CustomTypeFilter::deleteCustomTypeFilter(const QString&) { return false; }
