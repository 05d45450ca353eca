#include "preferences/DisplayUnitViewController.h"

#include "settings/CommonFuncs.h"
#include "settings/GeneralLib.h"
#include "settings/Log.h"
#include "settings/SettingsStore.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

QString text(const char* key) { return CommonFuncs::getLocalizedStringForKey(QLatin1String(key)); }

// The pop-ups' items, one per display unit code, in code order.
const char* const kUnitKeys[] = {"ID_AUTOMATIC", "ID_BYTES", "ID_KB", "ID_MB", "ID_GB"};

// The settings key of each pop-up's code.
const QLatin1String kUnitSettings[] = {SettingsKeys::allDiskReports, SettingsKeys::diskReportSummary,
                                       SettingsKeys::folderTree};

QComboBox* unitPopUp()
{
    auto* box = new QComboBox;
    for (std::size_t i = 0; i < std::size(kUnitKeys); ++i)
        box->addItem(QString());
    return box;
}

} // namespace

DisplayUnitViewController::DisplayUnitViewController(Delegate delegate, QWidget* parent)
    : PreferencePaneView(parent), delegate_(std::move(delegate))
{
    popUpBtnAllDiskReports_ = unitPopUp();
    popUpBtnDiskReportSummary_ = unitPopUp();
    popUpBtnFolderTree_ = unitPopUp();
    stprDecimalPlaces_ = new QSpinBox;
    stprDecimalPlaces_->setRange(0, 9);
    btnResetDefault_ = new QPushButton;
    lblAllDiskReports_ = new QLabel;
    lblDiskReportSummary_ = new QLabel;
    lblFolderTree_ = new QLabel;
    lblDecimalPlaces_ = new QLabel;

    auto* form = new QFormLayout;
    form->setLabelAlignment(Qt::AlignRight);
    form->addRow(lblAllDiskReports_, popUpBtnAllDiskReports_);
    form->addRow(lblDiskReportSummary_, popUpBtnDiskReportSummary_);
    form->addRow(lblFolderTree_, popUpBtnFolderTree_);
    form->addRow(lblDecimalPlaces_, stprDecimalPlaces_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnResetDefault_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 20, 24, 16);
    layout->addLayout(form);
    layout->addStretch(1);
    layout->addLayout(buttons);

    QComboBox* const popUps[] = {popUpBtnAllDiskReports_, popUpBtnDiskReportSummary_, popUpBtnFolderTree_};
    for (int code = 0; code < 3; ++code)
        connect(popUps[code], &QComboBox::activated, this, [this, code](int index) { unitChosen(code, index); });
    connect(stprDecimalPlaces_, &QSpinBox::valueChanged, this, &DisplayUnitViewController::stprDecimalPlacesTapped);
    connect(btnResetDefault_, &QPushButton::clicked, this, &DisplayUnitViewController::btnResetDefaultTapped);

    convertUIAccordingToLocale();
    showStoredValues();
}

void DisplayUnitViewController::convertUIAccordingToLocale()
{
    lblAllDiskReports_->setText(text("ID_ALL_DISKS_REPORT"));
    lblDiskReportSummary_->setText(text("ID_DISK_REPORT_SUMMARY"));
    lblFolderTree_->setText(text("ID_FOLDER_TREE"));
    lblDecimalPlaces_->setText(text("ID_DECIMAL_PLACES"));
    btnResetDefault_->setText(text("ID_RESET_DEFAULT"));
    for (QComboBox* box : {popUpBtnAllDiskReports_, popUpBtnDiskReportSummary_, popUpBtnFolderTree_})
        for (int i = 0; i < box->count(); ++i)
            box->setItemText(i, text(kUnitKeys[i]));
}

void DisplayUnitViewController::showStoredValues()
{
    QComboBox* const popUps[] = {popUpBtnAllDiskReports_, popUpBtnDiskReportSummary_, popUpBtnFolderTree_};
    for (int code = 0; code < 3; ++code) {
        const QSignalBlocker quiet(popUps[code]);
        const int stored = int(SettingsStore::integerForKey(kUnitSettings[code]));
        popUps[code]->setCurrentIndex(stored >= 0 && stored < popUps[code]->count() ? stored : 0);
    }
    const QSignalBlocker quiet(stprDecimalPlaces_);
    stprDecimalPlaces_->setValue(int(SettingsStore::integerForKey(SettingsKeys::decimalPlaces)));
}

void DisplayUnitViewController::viewWillAppear()
{
    convertUIAccordingToLocale();
    showStoredValues();
}

void DisplayUnitViewController::unitChosen(int code, int index)
{
    SettingsStore::setValue(kUnitSettings[code], index);
    tellDelegate(code);
}

void DisplayUnitViewController::stprDecimalPlacesTapped(int places)
{
    SettingsStore::setValue(SettingsKeys::decimalPlaces, places);
    tellDelegate(3);
}

void DisplayUnitViewController::btnResetDefaultTapped()
{
    GeneralLib::resetDefaultDisplayUnitSettings();
    showStoredValues();
    tellDelegate(4);
}

bool DisplayUnitViewController::commitEditing()
{
    stprDecimalPlaces_->interpretText();
    return true;
}

void DisplayUnitViewController::tellDelegate(int code)
{
    if (delegate_)
        delegate_(code);
}
