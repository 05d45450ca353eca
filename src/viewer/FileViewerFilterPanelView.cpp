#include "viewer/FileViewerFilterPanelView.h"

#include "settings/CommonFuncs.h"
#include "settings/GeneralLib.h"
#include "settings/SettingsStore.h"
#include "viewer/core/FileViewerWindowController.h"

#include <QButtonGroup>
#include <QCalendarWidget>
#include <QComboBox>
#include <QDateEdit>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace {

using SizeField = FileViewerWindowController::SizeField;

QString text(const char* key) { return CommonFuncs::getLocalizedStringForKey(QLatin1String(key)); }

QComboBox* popUp(std::initializer_list<const char*> keys)
{
    auto* box = new QComboBox;
    for (const char* key : keys)
        box->addItem(text(key));
    return box;
}

QComboBox* unitPopUp() { return popUp({"ID_BYTES", "ID_KB", "ID_MB", "ID_GB"}); }

QLineEdit* numberField()
{
    auto* field = new QLineEdit;
    field->setAlignment(Qt::AlignRight);
    field->setMinimumWidth(56);
    return field;
}

QDateEdit* dayField()
{
    auto* edit = new QDateEdit;
    edit->setCalendarPopup(true);
    edit->setDisplayFormat(QStringLiteral("MM/dd/yyyy"));
    return edit;
}

// Selects an item without telling anyone: the value came from the settings.
void showIndex(QComboBox* box, int index)
{
    const QSignalBlocker quiet(box);
    box->setCurrentIndex(index >= 0 && index < box->count() ? index : 0);
}

void showText(QLineEdit* field, const QString& value)
{
    if (field->text() == value)
        return;
    const QSignalBlocker quiet(field);
    field->setText(value);
}

void showDay(QDateEdit* edit, const QString& day)
{
    const QDateTime date = CommonFuncs::dateFromDateOnlyString(day);
    const QDate shown = date.isValid() ? date.date() : QDate::currentDate();
    if (edit->date() == shown)
        return;
    const QSignalBlocker quiet(edit);
    edit->setDate(shown);
}

// Tells the controller when a date field's calendar opens or closes.
class CalendarWatcher : public QObject {
public:
    CalendarWatcher(QObject* parent, std::function<void()> shown, std::function<void()> hidden)
        : QObject(parent), shown_(std::move(shown)), hidden_(std::move(hidden))
    {
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show)
            shown_();
        else if (event->type() == QEvent::Hide)
            hidden_();
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> shown_;
    std::function<void()> hidden_;
};

} // namespace

FileViewerFilterPanelView::FileViewerFilterPanelView(FileViewerWindowController& controller, QWidget* parent)
    : QWidget(parent), controller_(controller)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(makeNameBox());
    layout->addWidget(makeSizeBox());
    layout->addWidget(makeDateBox());
    layout->addWidget(makeTopBox());
    layout->addStretch(1);

    btnRemoveFilter_ = new QPushButton(text("ID_RESET"));
    btnApplyFilter_ = new QPushButton(text("ID_APPLY"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnRemoveFilter_);
    buttons->addWidget(btnApplyFilter_);
    layout->addLayout(buttons);

    connectControls();
    showStoredValues();
    setDateFieldsEnabled(controller_.datePickersEnabled());
}

QWidget* FileViewerFilterPanelView::makeNameBox()
{
    auto* box = new QGroupBox(text("ID_FILE_NAME"));
    txtFieldFileName_ = new QLineEdit;
    txtFieldFileName_->setClearButtonEnabled(true);
    auto* layout = new QVBoxLayout(box);
    layout->addWidget(txtFieldFileName_);
    return box;
}

QWidget* FileViewerFilterPanelView::makeSizeBox()
{
    auto* box = new QGroupBox(text("ID_SIZE"));
    matrixRadioButton_ = new QButtonGroup(this);
    auto* any = new QRadioButton(text("ID_ANY_SIZE"));
    auto* between = new QRadioButton(text("ID_BETWEEN"));
    auto* compare = new QRadioButton(text("ID_COMPARED_WITH"));
    matrixRadioButton_->addButton(any, 0);
    matrixRadioButton_->addButton(between, 1);
    matrixRadioButton_->addButton(compare, 2);

    txtFieldFileSizeFrom_ = numberField();
    txtFieldFileSizeTo_ = numberField();
    popUpBtnSizeUnitForFilter_ = unitPopUp();
    popUpBtnComparisionOperator_ = popUp({"ID_EQUAL_TO", "ID_LESS_THAN", "ID_LESS_THAN_OR_EQUAL_TO", "ID_GREATER_THAN",
                                          "ID_GREATER_THAN_OR_EQUAL_TO"});
    txtFieldFileSizeCompare_ = numberField();
    popUpBtnSizeUnitForComparision_ = unitPopUp();

    auto* grid = new QGridLayout(box);
    grid->setColumnMinimumWidth(0, 18);
    grid->addWidget(any, 0, 0, 1, 4);
    grid->addWidget(between, 1, 0, 1, 4);
    auto* range = new QHBoxLayout;
    range->addWidget(txtFieldFileSizeFrom_, 1);
    range->addWidget(new QLabel(text("ID_AND")));
    range->addWidget(txtFieldFileSizeTo_, 1);
    range->addWidget(popUpBtnSizeUnitForFilter_);
    grid->addLayout(range, 2, 1, 1, 3);
    grid->addWidget(compare, 3, 0, 1, 4);
    grid->addWidget(popUpBtnComparisionOperator_, 4, 1, 1, 3);
    auto* value = new QHBoxLayout;
    value->addWidget(txtFieldFileSizeCompare_, 1);
    value->addWidget(popUpBtnSizeUnitForComparision_);
    grid->addLayout(value, 5, 1, 1, 3);
    return box;
}

QWidget* FileViewerFilterPanelView::makeDateBox()
{
    auto* box = new QGroupBox(text("ID_DATE"));
    popUpBtnDateType_ = popUp({"ID_ACCESSED", "ID_MODIFIED", "ID_COLUMN_CREATED", "ID_NONE"});
    dpFilterDateFrom_ = dayField();
    dpFilterDateTo_ = dayField();
    auto* grid = new QGridLayout(box);
    grid->addWidget(popUpBtnDateType_, 0, 0, 1, 2);
    grid->addWidget(new QLabel(text("ID_FROM")), 1, 0);
    grid->addWidget(dpFilterDateFrom_, 1, 1);
    grid->addWidget(new QLabel(text("ID_TO")), 2, 0);
    grid->addWidget(dpFilterDateTo_, 2, 1);
    grid->setColumnStretch(1, 1);
    return box;
}

QWidget* FileViewerFilterPanelView::makeTopBox()
{
    auto* box = new QGroupBox(text("ID_SHOW_TOP"));
    popUpBtnTopFilesCount_ = new QComboBox;
    for (int count : FileViewerWindowController::topFilesCountChoices())
        popUpBtnTopFilesCount_->addItem(count == 0 ? text("ID_ALL") : QString::number(count), count);
    auto* layout = new QVBoxLayout(box);
    layout->addWidget(popUpBtnTopFilesCount_);
    return box;
}

void FileViewerFilterPanelView::connectSizeField(QLineEdit* field, int which)
{
    connect(field, &QLineEdit::textChanged, this, [this, field, which](const QString& changed) {
        const QString checked = controller_.controlTextDidChange(SizeField(which), changed);
        showText(field, checked);
    });
}

void FileViewerFilterPanelView::connectControls()
{
    FileViewerWindowController* c = &controller_;
    connect(txtFieldFileName_, &QLineEdit::textChanged, c, &FileViewerWindowController::setFileNameForFilter);
    connect(txtFieldFileName_, &QLineEdit::returnPressed, c, &FileViewerWindowController::btnApplyFilterTapped);
    connectSizeField(txtFieldFileSizeFrom_, int(SizeField::From));
    connectSizeField(txtFieldFileSizeTo_, int(SizeField::To));
    connectSizeField(txtFieldFileSizeCompare_, int(SizeField::Compare));
    connect(matrixRadioButton_, &QButtonGroup::idClicked, c, &FileViewerWindowController::radioBtnSizeTypeTapped);
    connect(popUpBtnSizeUnitForFilter_, &QComboBox::currentIndexChanged, c,
            &FileViewerWindowController::popUpSizeUnitForBetweenChangedIndex);
    connect(popUpBtnComparisionOperator_, &QComboBox::currentIndexChanged, c,
            &FileViewerWindowController::popUpComparisionOperatorChangedIndex);
    connect(popUpBtnSizeUnitForComparision_, &QComboBox::currentIndexChanged, c,
            &FileViewerWindowController::popUpSizeUnitForComparisionWithOperatorChangedIndex);
    connect(popUpBtnDateType_, &QComboBox::currentIndexChanged, c,
            &FileViewerWindowController::popUpDateTypeChangedIndex);
    connect(popUpBtnTopFilesCount_, &QComboBox::currentIndexChanged, this,
            [this](int index) { controller_.popUpTopFilesChangedIndex(index, popUpBtnTopFilesCount_->itemText(index)); });
    connect(dpFilterDateFrom_, &QDateEdit::dateChanged, this,
            [this](QDate day) { controller_.dpChooseDateFrom(QDateTime(day, QTime(0, 0))); });
    connect(dpFilterDateTo_, &QDateEdit::dateChanged, this,
            [this](QDate day) { controller_.dpChooseDateTo(QDateTime(day, QTime(0, 0))); });
    connect(btnApplyFilter_, &QPushButton::clicked, c, &FileViewerWindowController::btnApplyFilterTapped);
    connect(btnRemoveFilter_, &QPushButton::clicked, c, &FileViewerWindowController::btnRemoveFilterTapped);

    connect(c, &FileViewerWindowController::filterPanelChanged, this, &FileViewerFilterPanelView::showStoredValues);
    connect(c, &FileViewerWindowController::datePickersEnabledChanged, this,
            &FileViewerFilterPanelView::setDateFieldsEnabled);
    connect(c, &FileViewerWindowController::datePickerChanged, this, [this](FileViewerWindowController::DatePicker shown) {
        using P = FileViewerWindowController::DatePicker;
        if (shown != P::From)
            dpFilterDateFrom_->calendarWidget()->window()->hide();
        if (shown != P::To)
            dpFilterDateTo_->calendarWidget()->window()->hide();
    });

    // A calendar opening is the date button's press; closing it without a pick hides it.
    auto* watchFrom = new CalendarWatcher(
        this, [c] { c->btnSelectDateFromTapped(); }, [c] {
            if (c->shownDatePicker() == FileViewerWindowController::DatePicker::From)
                c->hideDatePickers();
        });
    auto* watchTo = new CalendarWatcher(
        this, [c] { c->btnSelectDateToTapped(); }, [c] {
            if (c->shownDatePicker() == FileViewerWindowController::DatePicker::To)
                c->hideDatePickers();
        });
    dpFilterDateFrom_->calendarWidget()->window()->installEventFilter(watchFrom);
    dpFilterDateTo_->calendarWidget()->window()->installEventFilter(watchTo);
}

void FileViewerFilterPanelView::showStoredValues()
{
    using namespace SettingsKeys;
    const FileViewerFilterValues v = controller_.filterValues();
    showText(txtFieldFileName_, v.fileName);
    {
        const QSignalBlocker quiet(matrixRadioButton_);
        if (QAbstractButton* cell = matrixRadioButton_->button(v.sizeFilterType))
            cell->setChecked(true);
    }
    showText(txtFieldFileSizeFrom_, v.fileSizeMin);
    showText(txtFieldFileSizeTo_, v.fileSizeMax);
    showIndex(popUpBtnSizeUnitForFilter_, v.sizeUnitForFilter);
    showIndex(popUpBtnComparisionOperator_, v.comparisionOperator);
    showText(txtFieldFileSizeCompare_, v.fileSizeForComparision);
    showIndex(popUpBtnSizeUnitForComparision_, v.sizeUnitForComparision);
    showIndex(popUpBtnDateType_, v.dateTypeForFilter);
    showDay(dpFilterDateFrom_, v.dateFrom);
    showDay(dpFilterDateTo_, v.dateTo);
    showIndex(popUpBtnTopFilesCount_, popUpBtnTopFilesCount_->findData(v.topFilteredFileCount));
}

void FileViewerFilterPanelView::setDateFieldsEnabled(bool enabled)
{
    dpFilterDateFrom_->setEnabled(enabled);
    dpFilterDateTo_->setEnabled(enabled);
}

void FileViewerFilterPanelView::hideDatePickers() { controller_.hideDatePickers(); }
