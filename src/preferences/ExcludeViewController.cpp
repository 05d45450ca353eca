#include "preferences/ExcludeViewController.h"

#include "settings/CommonFuncs.h"
#include "ui/icons/IconProvider.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace {

QString text(const char* key) { return CommonFuncs::getLocalizedStringForKey(QLatin1String(key)); }

QString chooseWithDialog(QWidget* parent, bool folder)
{
    QFileDialog dialog(parent);
    dialog.setFileMode(folder ? QFileDialog::Directory : QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::ShowDirsOnly, folder);
    dialog.setOption(QFileDialog::ReadOnly, true); // no folder creation
    dialog.setLabelText(QFileDialog::Accept, text("ID_SELECT"));
    dialog.setWindowModality(Qt::WindowModal);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}

void fill(QListWidget* table, const QStringList& paths, bool folders)
{
    const QSignalBlocker quiet(table);
    table->clear();
    for (const QString& path : paths)
        new QListWidgetItem(IconProvider::shared().iconForPath(path, folders && !QFileInfo(path).isFile()), path, table);
}

} // namespace

ExcludeViewController::ExcludeViewController(QWidget* parent) : PreferencePaneView(parent), chooser_(chooseWithDialog)
{
    btnResetDefault_ = new QPushButton(text("ID_RESET_DEFAULT"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnResetDefault_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 16, 20, 16);
    layout->addWidget(makeSection("ID_FOLDERS", tblExcludePaths_, btnAddPath_, btnRemovePath_), 3);
    layout->addWidget(makeSection("ID_FILES", tblExcludeFiles_, btnAddFile_, btnRemoveFile_), 2);
    layout->addLayout(buttons);

    connect(tblExcludePaths_, &QListWidget::currentRowChanged, this, [this] { rowSelected(tblExcludePaths_); });
    connect(tblExcludeFiles_, &QListWidget::currentRowChanged, this, [this] { rowSelected(tblExcludeFiles_); });
    connect(btnAddPath_, &QPushButton::clicked, this, &ExcludeViewController::btnAddPath);
    connect(btnAddFile_, &QPushButton::clicked, this, &ExcludeViewController::btnAddFile);
    connect(btnRemovePath_, &QPushButton::clicked, this, &ExcludeViewController::btnRemovePath);
    connect(btnRemoveFile_, &QPushButton::clicked, this, &ExcludeViewController::btnRemoveFile);
    connect(btnResetDefault_, &QPushButton::clicked, this, &ExcludeViewController::btnResetDefaultTapped);
    showLists();
}

QWidget* ExcludeViewController::makeSection(const char* titleKey, QListWidget*& table, QPushButton*& add,
                                            QPushButton*& remove)
{
    auto* box = new QGroupBox(text(titleKey));
    table = new QListWidget;
    table->setIconSize(QSize(16, 16));
    table->setAlternatingRowColors(true);
    add = new QPushButton(IconProvider::shared().themeIcon(QStringLiteral("list-add"), QStyle::SP_FileDialogNewFolder), QString());
    remove = new QPushButton(IconProvider::shared().themeIcon(QStringLiteral("list-remove"), QStyle::SP_TrashIcon), QString());
    add->setToolTip(text("ID_ADD"));
    remove->setToolTip(text("ID_REMOVE"));
    remove->setEnabled(false);
    auto* side = new QVBoxLayout;
    side->addWidget(add);
    side->addWidget(remove);
    side->addStretch(1);
    auto* row = new QHBoxLayout(box);
    row->addWidget(table, 1);
    row->addLayout(side);
    return box;
}

void ExcludeViewController::showLists()
{
    fill(tblExcludePaths_, editor_.excludedPaths(), true);
    fill(tblExcludeFiles_, editor_.excludedFiles(), false);
    selectedRow_ = -1;
    btnRemovePath_->setEnabled(false);
    btnRemoveFile_->setEnabled(false);
}

void ExcludeViewController::rowSelected(QListWidget* table)
{
    QListWidget* other = table == tblExcludePaths_ ? tblExcludeFiles_ : tblExcludePaths_;
    selectedRow_ = table->currentRow();
    {
        const QSignalBlocker quiet(other);
        other->setCurrentRow(-1);
        other->clearSelection();
    }
    (table == tblExcludePaths_ ? btnRemovePath_ : btnRemoveFile_)->setEnabled(selectedRow_ >= 0);
    (table == tblExcludePaths_ ? btnRemoveFile_ : btnRemovePath_)->setEnabled(false);
}

void ExcludeViewController::btnAddPath()
{
    const QString path = chooser_(this, true);
    if (path.isEmpty())
        return;
    editor_.addExcludePath(path);
    showLists();
}

void ExcludeViewController::btnAddFile()
{
    const QString path = chooser_(this, false);
    if (path.isEmpty())
        return;
    editor_.addExcludeFile(path);
    showLists();
}

void ExcludeViewController::btnRemovePath()
{
    editor_.removeExcludePathAtIndex(selectedRow_);
    showLists();
}

void ExcludeViewController::btnRemoveFile()
{
    editor_.removeExcludeFileAtIndex(selectedRow_);
    showLists();
}

void ExcludeViewController::btnResetDefaultTapped()
{
    editor_.resetToDefaults();
    showLists();
}
