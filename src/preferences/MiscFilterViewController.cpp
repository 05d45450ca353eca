#include "preferences/MiscFilterViewController.h"

#include "settings/CommonFuncs.h"
#include "settings/GeneralLib.h"
#include "settings/PreferencePanes.h"
#include "settings/SettingsStore.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

QString text(const char* key) { return CommonFuncs::getLocalizedStringForKey(QLatin1String(key)); }

QComboBox* popUp(std::initializer_list<const char*> keys)
{
    auto* box = new QComboBox;
    for (const char* key : keys)
        box->addItem(text(key));
    return box;
}

QSpinBox* stepper()
{
    auto* box = new QSpinBox;
    box->setRange(0, 999999);
    box->setAlignment(Qt::AlignRight);
    box->setMinimumWidth(90);
    return box;
}

void showIndex(QComboBox* box, std::int64_t index)
{
    const QSignalBlocker quiet(box);
    box->setCurrentIndex(index >= 0 && index < box->count() ? int(index) : 0);
}

} // namespace

MiscFilterViewController::MiscFilterViewController(QWidget* parent) : PreferencePaneView(parent)
{
    btnShowEmptyFolder_ = new QCheckBox(text("ID_SHOW_EMPTY_FOLDERS"));
    btnResetDefault_ = new QPushButton(text("ID_RESET_DEFAULT"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnResetDefault_);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 20, 24, 16);
    layout->addWidget(makeBigFilesBox());
    layout->addWidget(makeOldFilesBox());
    layout->addWidget(btnShowEmptyFolder_);
    layout->addWidget(makeScanBox());
    layout->addStretch(1);
    layout->addLayout(buttons);

    namespace K = SettingsKeys;
    connect(stprBiggerFiles_, &QSpinBox::valueChanged, this, [this](int v) { store(K::bigFilesSize, v); });
    connect(popUpBtnBiggerFiles_, &QComboBox::activated, this, [this](int i) { store(K::bigFilesSizeUnit, i); });
    connect(stprOldFiles_, &QSpinBox::valueChanged, this, [this](int v) { store(K::oldFilesSearchTimeLimit, v); });
    connect(popUpBtnOldFileAccMod_, &QComboBox::activated, this, [this](int i) { store(K::oldFilesFilterType, i); });
    connect(popUpBtnTimeUnit_, &QComboBox::activated, this, [this](int i) { store(K::oldFilesTimeUnit, i); });
    connect(btnShowEmptyFolder_, &QCheckBox::toggled, this, [this](bool on) { store(K::showEmptyFolders, on); });
    // The next scan reads these from the store; nothing else needs to know.
    connect(btnScanHiddenFolders_, &QCheckBox::toggled, this,
            [](bool on) { SettingsStore::setValue(K::scanHiddenFolders, on); });
    connect(btnStayOnOneFileSystem_, &QCheckBox::toggled, this,
            [](bool on) { SettingsStore::setValue(K::stayOnOneFileSystem, on); });
    connect(btnResetDefault_, &QPushButton::clicked, this, &MiscFilterViewController::btnResetDefaultTapped);
    showStoredValues();
}

QWidget* MiscFilterViewController::makeBigFilesBox()
{
    auto* box = new QGroupBox(text("ID_BIG_FILES_FILTER"));
    stprBiggerFiles_ = stepper();
    popUpBtnBiggerFiles_ = popUp({"ID_MB", "ID_GB"});
    auto* row = new QHBoxLayout(box);
    row->addWidget(new QLabel(text("ID_SEARCH_FOR_FILES_BIGGER_THAN")));
    row->addWidget(stprBiggerFiles_);
    row->addWidget(popUpBtnBiggerFiles_);
    row->addStretch(1);
    return box;
}

QWidget* MiscFilterViewController::makeOldFilesBox()
{
    auto* box = new QGroupBox(text("ID_OLD_FILES_FILTER"));
    popUpBtnOldFileAccMod_ = popUp({"ID_ACCESSED", "ID_MODIFIED"});
    stprOldFiles_ = stepper();
    popUpBtnTimeUnit_ = popUp({"ID_DAY", "ID_MONTHS", "ID_YEARS"});
    auto* row = new QHBoxLayout(box);
    row->addWidget(new QLabel(text("ID_SEARCH_FOR_FILES_NOT")));
    row->addWidget(popUpBtnOldFileAccMod_);
    row->addWidget(new QLabel(text("ID_FOR_MORE_THEN")));
    row->addWidget(stprOldFiles_);
    row->addWidget(popUpBtnTimeUnit_);
    row->addStretch(1);
    return box;
}

QWidget* MiscFilterViewController::makeScanBox()
{
    auto* box = new QGroupBox(text("ID_SCAN_OPTIONS"));
    btnScanHiddenFolders_ = new QCheckBox(text("ID_SCAN_HIDDEN_FOLDERS"));
    btnStayOnOneFileSystem_ = new QCheckBox(text("ID_STAY_ON_ONE_FILE_SYSTEM"));
    auto* column = new QVBoxLayout(box);
    column->addWidget(btnScanHiddenFolders_);
    column->addWidget(btnStayOnOneFileSystem_);
    return box;
}

void MiscFilterViewController::showStoredValues()
{
    namespace K = SettingsKeys;
    {
        const QSignalBlocker quiet(stprBiggerFiles_);
        stprBiggerFiles_->setValue(int(SettingsStore::integerForKey(K::bigFilesSize)));
    }
    {
        const QSignalBlocker quiet(stprOldFiles_);
        stprOldFiles_->setValue(int(SettingsStore::integerForKey(K::oldFilesSearchTimeLimit)));
    }
    showIndex(popUpBtnBiggerFiles_, SettingsStore::integerForKey(K::bigFilesSizeUnit));
    showIndex(popUpBtnOldFileAccMod_, SettingsStore::integerForKey(K::oldFilesFilterType));
    showIndex(popUpBtnTimeUnit_, SettingsStore::integerForKey(K::oldFilesTimeUnit));
    const auto showChecked = [](QCheckBox* box, QLatin1String key) {
        const QSignalBlocker quiet(box);
        box->setChecked(SettingsStore::integerForKey(key) != 0);
    };
    showChecked(btnShowEmptyFolder_, K::showEmptyFolders);
    showChecked(btnScanHiddenFolders_, K::scanHiddenFolders);
    showChecked(btnStayOnOneFileSystem_, K::stayOnOneFileSystem);
}

void MiscFilterViewController::store(QLatin1String key, const QVariant& value)
{
    SettingsStore::setValue(key, value);
    PreferenceChangeFlags::setMiscChanged();
}

void MiscFilterViewController::btnResetDefaultTapped()
{
    GeneralLib::resetDefaultMiscSettings();
    PreferenceChangeFlags::setMiscChanged();
    showStoredValues();
}

bool MiscFilterViewController::commitEditing()
{
    stprBiggerFiles_->interpretText();
    stprOldFiles_->interpretText();
    return true;
}
