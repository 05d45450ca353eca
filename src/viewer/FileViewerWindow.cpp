#include "viewer/FileViewerWindow.h"

#include "app/AppDelegate.h"
#include "settings/CommonFuncs.h"
#include "settings/GeneralLib.h"
#include "ui/icons/IconProvider.h"
#include "viewer/FileViewerFilterPanelView.h"
#include "viewer/FileViewerTableModel.h"
#include "viewer/core/FileViewerWindowController.h"

#include <QApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

using MenuCommand = FileViewerWindowController::MenuCommand;

QString text(const char* key) { return CommonFuncs::getLocalizedStringForKey(QLatin1String(key)); }

// Draws the check box and name of a node that may not be deleted as disabled, while the row
// stays selectable.
class NameDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        if (index.data(FileViewerTableModel::NonDeletableRole).toBool())
            option->state &= ~QStyle::State_Enabled;
    }
};

// Keeps a window where it is while the viewer runs: a move is undone at once.
class WindowPin : public QObject {
public:
    explicit WindowPin(QWidget* window) : window_(window)
    {
        if (window_) {
            position_ = window_->pos();
            window_->installEventFilter(this);
        }
    }
    ~WindowPin() override
    {
        if (window_)
            window_->removeEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == window_ && event->type() == QEvent::Move && window_->pos() != position_)
            window_->move(position_);
        return QObject::eventFilter(watched, event);
    }

private:
    QPointer<QWidget> window_;
    QPoint position_;
};

QFrame* separator()
{
    auto* line = new QFrame;
    line->setFrameShape(QFrame::VLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

} // namespace

FileViewerWindow::FileViewerWindow(FileViewerWindowController& controller, QWidget* parent)
    : QDialog(parent), controller_(controller)
{
    setWindowTitle(controller_.titleText());
    setSizeGripEnabled(true);

    filterPanel_ = new FileViewerFilterPanelView(controller_);
    filterPanel_->setFixedWidth(280);
    auto* body = new QHBoxLayout;
    body->addWidget(makeTable(), 1);
    body->addWidget(filterPanel_);

    btnClose_ = new QPushButton(text("ID_CLOSE"));
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(makeStatusLine(), 1);
    bottom->addSpacing(16);
    bottom->addWidget(btnClose_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(makeHeader());
    layout->addWidget(makeToolBar());
    layout->addLayout(body, 1);
    layout->addLayout(bottom);

    connectController();
    showStatusLine();
    showToolBarState(controller_.toolBarButtonsEnabled());
    resize(1180, 640);

    // The file-name field takes the keyboard, caret at the end of its text.
    filterPanel_->fileNameField()->setFocus();
    filterPanel_->fileNameField()->end(false);
}

FileViewerWindow::~FileViewerWindow() = default;

QWidget* FileViewerWindow::makeHeader()
{
    lblHeaderTitle_ = new QLabel(controller_.titleText());
    QFont font = lblHeaderTitle_->font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 1.3);
    lblHeaderTitle_->setFont(font);
    lblHeaderTitle_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return lblHeaderTitle_;
}

QToolBar* FileViewerWindow::makeToolBar()
{
    toolBar_ = new QToolBar;
    toolBar_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    toolBar_->setIconSize(QSize(24, 24));
    const auto add = [this](const QIcon& icon, const char* key, void (FileViewerWindowController::*slot)()) {
        QAction* action = toolBar_->addAction(icon, text(key));
        connect(action, &QAction::triggered, &controller_, slot);
        return action;
    };
    btnDeleteFiles_ = add(ActionIcons::trash(), "ID_DELETE", &FileViewerWindowController::btnDeleteFilesTapped);
    btnCopyFiles_ = add(ActionIcons::copy(), "ID_COPY", &FileViewerWindowController::btnCopyFilesTapped);
    btnMoveFiles_ = add(ActionIcons::move(), "ID_MOVE", &FileViewerWindowController::btnMoveFilesTapped);
    btnZipFiles_ = add(ActionIcons::zip(), "ID_ZIP", &FileViewerWindowController::btnZipFilesTapped);
    return toolBar_;
}

QTableView* FileViewerWindow::makeTable()
{
    model_ = new FileViewerTableModel(controller_, this);
    tableView_ = new QTableView;
    tableView_->setModel(model_);
    tableView_->setItemDelegateForColumn(0, new NameDelegate(tableView_));
    tableView_->setSelectionBehavior(QAbstractItemView::SelectRows);
    tableView_->setSelectionMode(QAbstractItemView::SingleSelection);
    tableView_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tableView_->setAlternatingRowColors(true);
    tableView_->setShowGrid(false);
    tableView_->setWordWrap(false);
    tableView_->setTextElideMode(Qt::ElideMiddle);
    tableView_->verticalHeader()->hide();
    tableView_->verticalHeader()->setDefaultSectionSize(22);
    tableView_->setContextMenuPolicy(Qt::CustomContextMenu);
    QFont font = tableView_->font();
    font.setPointSize(font.pointSize() > 0 ? std::min(font.pointSize(), 10) : 10);
    tableView_->setFont(font);

    QHeaderView* header = tableView_->horizontalHeader();
    header->setStretchLastSection(true);
    header->setSectionsMovable(false);
    const int widths[] = {220, 280, 150, 80, 90, 170, 170, 170, 110};
    for (int column = 0; column < model_->columnCount(); ++column)
        header->resizeSection(column, widths[column]);

    // The remembered order shows as the header's indicator; enabling sorting applies it.
    const SortDescriptor remembered = GeneralLib::sortDescriptor(SortSetting::ForFileViewer);
    sortColumn_ = FileViewerTableModel::columnForSortKey(remembered.key);
    sortOrder_ = remembered.ascending ? Qt::AscendingOrder : Qt::DescendingOrder;
    header->setSortIndicator(sortColumn_, sortOrder_);
    tableView_->setSortingEnabled(true);
    connect(header, &QHeaderView::sortIndicatorChanged, this, &FileViewerWindow::sortIndicatorChanged);
    return tableView_;
}

void FileViewerWindow::sortIndicatorChanged(int column, Qt::SortOrder order)
{
    if (FileViewerWindowController::sortKeyForColumn(FileViewerTableModel::columnIdentifiers().value(column)).isEmpty()) {
        // A column without a node field keeps the previous order, and shows it.
        const QSignalBlocker quiet(tableView_->horizontalHeader());
        tableView_->horizontalHeader()->setSortIndicator(sortColumn_, sortOrder_);
        return;
    }
    sortColumn_ = column;
    sortOrder_ = order;
}

QWidget* FileViewerWindow::makeStatusLine()
{
    lblSize_ = new QLabel;
    lblSizeOnDisk_ = new QLabel;
    lblFilesCount_ = new QLabel;
    auto* line = new QWidget;
    auto* layout = new QHBoxLayout(line);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    // Laid out from the right edge: count, size on disk, size, 10 apart, a separator 4 to
    // the left of the count and of the size on disk.
    layout->addStretch(1);
    layout->addWidget(lblSize_);
    layout->addSpacing(6);
    layout->addWidget(separator());
    layout->addSpacing(4);
    layout->addWidget(lblSizeOnDisk_);
    layout->addSpacing(6);
    layout->addWidget(separator());
    layout->addSpacing(4);
    layout->addWidget(lblFilesCount_);
    return line;
}

void FileViewerWindow::connectController()
{
    FileViewerWindowController* c = &controller_;
    connect(c, &FileViewerWindowController::statusLineChanged, this, &FileViewerWindow::showStatusLine);
    connect(c, &FileViewerWindowController::toolBarButtonsChanged, this, &FileViewerWindow::showToolBarState);
    connect(c, &FileViewerWindowController::closeRequested, this, &QDialog::accept);
    connect(btnClose_, &QPushButton::clicked, c, &FileViewerWindowController::btnCloseTapped);
    connect(tableView_, &QTableView::clicked, c, &FileViewerWindowController::singleClickedTableFilesViewer);
    connect(tableView_, &QTableView::doubleClicked, this,
            [this](const QModelIndex& index) { controller_.doubleClickedTableFilesViewer(index.row()); });
    connect(tableView_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        const QModelIndex index = tableView_->indexAt(at);
        QMenu* menu = contextMenuForRow(index.isValid() ? index.row() : -1);
        menu->exec(tableView_->viewport()->mapToGlobal(at));
        delete menu;
    });
}

QMenu* FileViewerWindow::contextMenuForRow(int row)
{
    auto* menu = new QMenu(this);
    // The commands act on the node the menu was opened on, whatever the table does meanwhile.
    TFoldInfo* node = controller_.nodeAt(row);
    FileViewerWindowController* c = &controller_;
    const auto add = [this, menu, row](const char* key, MenuCommand command, auto&& run) {
        QAction* action = menu->addAction(text(key));
        action->setEnabled(controller_.validateMenuItem(command, row));
        connect(action, &QAction::triggered, &controller_, run);
    };
    add("ID_SHOW_IN_FILE_MANAGER", MenuCommand::ShowInFinder, [c, node] { c->showInFinderMenuOption(node); });
    add("ID_OPEN", MenuCommand::Open, [c, node] { c->openFileMenuOption(node); });
    add("ID_PREVIEW", MenuCommand::Preview, [c, node] { c->previewFileMenuOption(node); });
    add("ID_MOVE_TO_TRASH", MenuCommand::MoveToTrash, [c, node] { c->moveToTrashFileMenuOption(node); });
    menu->addSeparator();
    add("ID_SELECT_ALL", MenuCommand::SelectAll, [c] { c->selectAllFileMenuOption(); });
    add("ID_UNSELECT_ALL", MenuCommand::UnSelectAll, [c] { c->unSelectAllFileMenuOption(); });
    return menu;
}

QList<QAction*> FileViewerWindow::toolBarActions() const
{
    return {btnDeleteFiles_, btnCopyFiles_, btnMoveFiles_, btnZipFiles_};
}

void FileViewerWindow::showStatusLine()
{
    lblSize_->setText(controller_.statusSizeText());
    lblSizeOnDisk_->setText(controller_.statusSizeOnDiskText());
    lblFilesCount_->setText(controller_.statusCountText());
}

void FileViewerWindow::showToolBarState(bool enabled)
{
    for (QAction* action : toolBarActions())
        action->setEnabled(enabled);
}

void FileViewerWindow::centreOver(const QWidget* other)
{
    centreOn_ = other;
    centred_ = !other;
    const QRect area = other ? other->frameGeometry()
                             : (screen() ? screen()->availableGeometry() : QRect(QPoint(), size()));
    QRect frame = frameGeometry();
    frame.moveCenter(area.center());
    move(frame.topLeft());
}

void FileViewerWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!centred_ && centreOn_) {
        centreOver(centreOn_);
        centred_ = true;
    }
}

void FileViewerWindow::done(int result)
{
    controller_.windowWillClose();
    QDialog::done(result);
}

void FileViewerWindow::runModal(AppDelegate& app, QWidget* mainWindow)
{
    FileViewerWindowController* controller = app.fileViewer();
    if (!controller)
        return;
    {
        const WindowPin pin(mainWindow);
        FileViewerWindow window(*controller, mainWindow);
        window.setWindowModality(Qt::ApplicationModal);
        window.centreOver(mainWindow);
        window.exec();
    }
    app.closeFileViewer();
}
