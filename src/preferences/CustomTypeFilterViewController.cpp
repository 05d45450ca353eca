#include "preferences/CustomTypeFilterViewController.h"

#include "base/UserInterface.h"
#include "settings/CommonFuncs.h"
#include "settings/TypeCatalog.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

QString text(const char* key) { return CommonFuncs::getLocalizedStringForKey(QLatin1String(key)); }

} // namespace

// ---------------------------------------------------------------- the sheet

CustomTypeFilterSheet::CustomTypeFilterSheet(UserInterface& ui, QWidget* parent) : QDialog(parent), ui_(ui)
{
    setWindowModality(Qt::WindowModal);
    setWindowTitle(text("ID_CUSTOM_FILTER"));
    txtFilterName_ = new QLineEdit;
    txtFileTypes_ = new QLineEdit;
    txtFileTypes_->setMinimumWidth(300);
    btnSaveFilter_ = new QPushButton;
    btnSaveFilter_->setDefault(true);
    btnCancelFilter_ = new QPushButton(text("ID_CANCEL"));
    auto* form = new QFormLayout;
    form->addRow(text("ID_COLUMN_NAME"), txtFilterName_);
    form->addRow(text("ID_FILE_TYPES"), txtFileTypes_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnCancelFilter_);
    buttons->addWidget(btnSaveFilter_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    connect(btnSaveFilter_, &QPushButton::clicked, this, &CustomTypeFilterSheet::btnSaveFilterTapped);
    connect(btnCancelFilter_, &QPushButton::clicked, this, &QDialog::reject);
}

void CustomTypeFilterSheet::beginAdd()
{
    mode_ = CustomFilterSheet::Mode::Add;
    txtFilterName_->clear();
    txtFileTypes_->clear();
    txtFilterName_->setEnabled(true);
    btnSaveFilter_->setText(text("ID_ADD"));
    open();
    txtFilterName_->setFocus();
}

void CustomTypeFilterSheet::beginEdit(const QString& name, const QString& types)
{
    mode_ = CustomFilterSheet::Mode::Edit;
    txtFilterName_->setText(name);
    txtFileTypes_->setText(types);
    txtFilterName_->setEnabled(false);
    btnSaveFilter_->setText(text("ID_SAVE"));
    open();
    txtFileTypes_->setFocus();
}

void CustomTypeFilterSheet::btnSaveFilterTapped()
{
    const QString alert = CustomFilterSheet::save(mode_, txtFilterName_->text(), txtFileTypes_->text());
    if (!alert.isEmpty()) {
        ui_.alert(CommonFuncs::getLocalizedStringForKey(alert), QString());
        return;
    }
    accept();
    Q_EMIT saved();
}

// ---------------------------------------------------------------- the pane

CustomTypeFilterViewController::CustomTypeFilterViewController(UserInterface& ui, QWidget* parent)
    : PreferencePaneView(parent), ui_(ui)
{
    tblCustomFilter_ = new QTableWidget(0, 2);
    tblCustomFilter_->setHorizontalHeaderLabels({text("ID_COLUMN_NAME"), text("ID_FILE_TYPES")});
    tblCustomFilter_->horizontalHeader()->setStretchLastSection(true);
    tblCustomFilter_->horizontalHeader()->resizeSection(0, 240);
    tblCustomFilter_->verticalHeader()->hide();
    tblCustomFilter_->verticalHeader()->setDefaultSectionSize(22);
    tblCustomFilter_->setSelectionBehavior(QAbstractItemView::SelectRows);
    tblCustomFilter_->setSelectionMode(QAbstractItemView::SingleSelection);
    tblCustomFilter_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblCustomFilter_->setAlternatingRowColors(true);
    tblCustomFilter_->setWordWrap(false);

    btnAddNewFilter_ = new QPushButton(text("ID_ADD"));
    btnEdit_ = new QPushButton(text("ID_EDIT"));
    btnDeleteFilter_ = new QPushButton(text("ID_DELETE"));
    btnResetDefault_ = new QPushButton(text("ID_RESET_DEFAULT"));
    btnEdit_->setEnabled(false);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnAddNewFilter_);
    buttons->addWidget(btnEdit_);
    buttons->addWidget(btnDeleteFilter_);
    buttons->addStretch(1);
    buttons->addWidget(btnResetDefault_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 16, 20, 16);
    layout->addWidget(tblCustomFilter_, 1);
    layout->addLayout(buttons);

    sheet_ = new CustomTypeFilterSheet(ui_, this);
    connect(sheet_, &CustomTypeFilterSheet::saved, this, &CustomTypeFilterViewController::readCustomTypeFilter);
    connect(tblCustomFilter_, &QTableWidget::itemSelectionChanged, this,
            [this] { btnEdit_->setEnabled(!tblCustomFilter_->selectedItems().isEmpty()); });
    connect(tblCustomFilter_, &QTableWidget::cellDoubleClicked, this, &CustomTypeFilterViewController::btnEditTapped);
    connect(btnAddNewFilter_, &QPushButton::clicked, sheet_, &CustomTypeFilterSheet::beginAdd);
    connect(btnEdit_, &QPushButton::clicked, this, &CustomTypeFilterViewController::btnEditTapped);
    connect(btnDeleteFilter_, &QPushButton::clicked, this, &CustomTypeFilterViewController::btnDeleteFilterTapped);
    connect(btnResetDefault_, &QPushButton::clicked, this, &CustomTypeFilterViewController::btnResetDefaultTapped);
    readCustomTypeFilter();
}

void CustomTypeFilterViewController::readCustomTypeFilter()
{
    const QList<CustomTypeFilterRow> rows = CustomTypeFilter::readCustomTypeFilter();
    tblCustomFilter_->clearSelection();
    tblCustomFilter_->setRowCount(int(rows.size()));
    for (int row = 0; row < rows.size(); ++row) {
        tblCustomFilter_->setItem(row, 0, new QTableWidgetItem(rows[row].filter));
        tblCustomFilter_->setItem(row, 1, new QTableWidgetItem(rows[row].types));
    }
    btnEdit_->setEnabled(false);
}

QString CustomTypeFilterViewController::selectedName() const
{
    const QList<QTableWidgetItem*> selected = tblCustomFilter_->selectedItems();
    if (selected.isEmpty())
        return {};
    const QTableWidgetItem* name = tblCustomFilter_->item(selected.first()->row(), 0);
    return name ? name->text() : QString();
}

void CustomTypeFilterViewController::btnEditTapped()
{
    const QList<QTableWidgetItem*> selected = tblCustomFilter_->selectedItems();
    if (selected.isEmpty())
        return;
    const int row = selected.first()->row();
    sheet_->beginEdit(tblCustomFilter_->item(row, 0)->text(), tblCustomFilter_->item(row, 1)->text());
}

void CustomTypeFilterViewController::btnDeleteFilterTapped()
{
    const QString alert = CustomFilterSheet::deleteFilter(selectedName());
    if (!alert.isEmpty()) {
        ui_.alert(CommonFuncs::getLocalizedStringForKey(alert), QString());
        return;
    }
    readCustomTypeFilter();
}

void CustomTypeFilterViewController::btnResetDefaultTapped()
{
    CustomFilterSheet::reset();
    readCustomTypeFilter();
}
