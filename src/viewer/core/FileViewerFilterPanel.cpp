// The file viewer's filter panel: its values live in the settings store (the six numbers
// also in the settings cache, which the filter reads), the result in the viewer's lists.

#include "viewer/core/FileViewerWindowController.h"

#include "base/UserInterface.h"
#include "scan/TFoldInfo.h"
#include "settings/CommonFuncs.h"
#include "settings/GeneralLib.h"
#include "settings/Log.h"
#include "settings/SettingsStore.h"
#include "settings/TextFormat.h"

namespace {

QString text(const char* key) { return CommonFuncs::getLocalizedStringForKey(QLatin1String(key)); }

QString stored(QLatin1String key) { return SettingsStore::stringForKey(key); }

// A date label's text: the stored day, or today when none (or none readable) is stored.
QString dateLabelText(QLatin1String key)
{
    const QString day = stored(key).trimmed();
    if (CommonFuncs::dateFromDateOnlyString(day).isValid())
        return day;
    return CommonFuncs::dateStringOnlyFromDate(QDateTime::currentDateTime());
}

QLatin1String keyOf(FileViewerWindowController::SizeField field)
{
    using F = FileViewerWindowController::SizeField;
    switch (field) {
    case F::From: return SettingsKeys::fileSizeMinForFilter;
    case F::To: return SettingsKeys::fileSizeMaxForFilter;
    case F::Compare: break;
    }
    return SettingsKeys::fileSizeForComparision;
}

void logIndex(const char* action, int index)
{
    qvlog(TextFormat::format(QLatin1String(action) + QStringLiteral("%ld"), {index}));
}

} // namespace

FileViewerFilterValues FileViewerWindowController::filterValues() const
{
    using namespace SettingsKeys;
    const SettingsCache& c = GeneralLib::cache();
    FileViewerFilterValues v;
    v.fileName = stored(fileNameForFilter);
    v.sizeFilterType = c.sizeFilterType;
    v.fileSizeMin = stored(fileSizeMinForFilter);
    v.fileSizeMax = stored(fileSizeMaxForFilter);
    v.sizeUnitForFilter = c.sizeUnitForFilter;
    v.comparisionOperator = c.comparisionOperatorForFilter;
    v.fileSizeForComparision = stored(fileSizeForComparision);
    v.sizeUnitForComparision = c.sizeUnitForComparisionFilter;
    v.dateTypeForFilter = c.dateTypeForFilter;
    v.dateFrom = lblDateFrom_;
    v.dateTo = lblDateTo_;
    v.topFilteredFileCount = c.topFilteredFileCount;
    return v;
}

void FileViewerWindowController::storeFilterValue(const QString& key, const QVariant& value)
{
    SettingsStore::setValue(key, value);
    GeneralLib::refreshFileViewerFilterComponents();
}

void FileViewerWindowController::setFileNameForFilter(const QString& name)
{
    SettingsStore::setValue(SettingsKeys::fileNameForFilter, name);
}

QString FileViewerWindowController::controlTextDidChange(SizeField field, const QString& changed)
{
    const QString checked = FileViewerFilter::numberCheckedText(changed);
    SettingsStore::setValue(keyOf(field), checked);
    if (checked != changed)
        Q_EMIT sizeFieldTextChanged(field, checked);
    return checked;
}

// ---------------------------------------------------------------- radio group and pop-ups

void FileViewerWindowController::radioBtnSizeTypeTapped(int tag)
{
    logIndex("radioBtnSizeTypeTapped:", tag);
    setSelectedIndexForRadioButtons(tag);
}

void FileViewerWindowController::setSelectedIndexForRadioButtons(int tag)
{
    storeFilterValue(SettingsKeys::sizeFilterType, tag);
}

void FileViewerWindowController::popUpSizeUnitForBetweenChangedIndex(int index)
{
    storeFilterValue(SettingsKeys::sizeUnitForFilter, index);
    logIndex("popUpSizeUnitForBetweenChangedIndex:", index);
}

void FileViewerWindowController::popUpComparisionOperatorChangedIndex(int index)
{
    storeFilterValue(SettingsKeys::comparisionOperatorForFilter, index);
    logIndex("popUpComparisionOperatorChangedIndex:", index);
}

void FileViewerWindowController::popUpSizeUnitForComparisionWithOperatorChangedIndex(int index)
{
    storeFilterValue(SettingsKeys::sizeUnitForComparisionFilter, index);
    logIndex("popUpSizeUnitForComparisionWithOperatorChangedIndex:", index);
}

void FileViewerWindowController::popUpDateTypeChangedIndex(int index)
{
    storeFilterValue(SettingsKeys::dateTypeForFilter, index);
    Q_EMIT datePickersEnabledChanged(datePickersEnabled());
    logIndex("popUpDateTypeChangedIndex:", index);
}

void FileViewerWindowController::popUpTopFilesChangedIndex(int index, const QString& title)
{
    const int count = index == 0 ? 0 : title.trimmed().toInt();
    storeFilterValue(SettingsKeys::topFilteredFileCount, count);
    logIndex("popUpTopFilesChangedIndex:", count);
}

QList<int> FileViewerWindowController::topFilesCountChoices() { return {0, 10, 25, 50, 100, 500, 1000}; }

bool FileViewerWindowController::datePickersEnabled() const { return GeneralLib::cache().dateTypeForFilter != 3; }

// ---------------------------------------------------------------- date pickers

void FileViewerWindowController::showDatePicker(DatePicker picker)
{
    if (picker == shownDatePicker_)
        return;
    shownDatePicker_ = picker;
    Q_EMIT datePickerChanged(picker);
}

void FileViewerWindowController::btnSelectDateFromTapped() { showDatePicker(DatePicker::From); }
void FileViewerWindowController::btnSelectDateToTapped() { showDatePicker(DatePicker::To); }
void FileViewerWindowController::hideDatePickers() { showDatePicker(DatePicker::None); }
void FileViewerWindowController::singleClickedTableFilesViewer() { hideDatePickers(); }

void FileViewerWindowController::dpChooseDateFrom(const QDateTime& date)
{
    qvlog(QStringLiteral("dpChooseDateFrom:") + date.toString(Qt::ISODate));
    lblDateFrom_ = CommonFuncs::dateStringOnlyFromDate(date);
    SettingsStore::setValue(SettingsKeys::dateFromForFilter, lblDateFrom_);
    hideDatePickers();
    Q_EMIT filterPanelChanged();
}

void FileViewerWindowController::dpChooseDateTo(const QDateTime& date)
{
    qvlog(QStringLiteral("dpChooseDateTo:") + date.toString(Qt::ISODate));
    lblDateTo_ = CommonFuncs::dateStringOnlyFromDate(date);
    SettingsStore::setValue(SettingsKeys::dateToForFilter, lblDateTo_);
    hideDatePickers();
    Q_EMIT filterPanelChanged();
}

// ---------------------------------------------------------------- apply and reset

void FileViewerWindowController::btnApplyFilterTapped()
{
    if (!FileViewerFilter::hasRequiredSizeValues(filterValues())) {
        ui_.alert(text("ID_SIZE_MUST_SPECIFIED"), QString());
    } else {
        isFilteredResult_ = true;
        applyFilterOnSelectedParameter();
    }
    checkItemsForSelection();
}

void FileViewerWindowController::applyFilterOnSelectedParameter()
{
    arrFilteredFiles_ = FileViewerFilter::filteredNodes(arrFilesList_, filterValues());
    // Without a match the full list is the table's source again, and the table must say so
    // before anyone acts on a row.
    if (arrFilteredFiles_.empty())
        isFilteredResult_ = false;
    Q_EMIT tableReloaded();
    setFilesTotalSizeAndCount();
    if (!isFilteredResult_)
        ui_.alert(text("ID_FILE_NOT_FOUND"), QString());
}

void FileViewerWindowController::btnRemoveFilterTapped()
{
    isFilteredResult_ = false;
    for (TFoldInfo* node : arrFilteredFiles_)
        node->setStateAtViewer(0);
    arrFilteredFiles_.clear(); // a second reset must not uncheck these rows again
    checkItemsForSelection();
    Q_EMIT tableReloaded();
    setFilesTotalSizeAndCount();
    GeneralLib::setDefaultSettingsForFileViewerFilter();
    GeneralLib::refreshFileViewerFilterComponents();
    readValuesForFilterOpration();
}

void FileViewerWindowController::readValuesForFilterOpration()
{
    qvlog(QStringLiteral("readValuesForFilterOpration"));
    lblDateFrom_ = dateLabelText(SettingsKeys::dateFromForFilter);
    lblDateTo_ = dateLabelText(SettingsKeys::dateToForFilter);
    setFilesTotalSizeAndCount();
    Q_EMIT datePickersEnabledChanged(datePickersEnabled());
    Q_EMIT filterPanelChanged();
}
