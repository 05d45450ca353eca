#pragma once

#include <QDialog>
#include <QPointer>

class AppDelegate;
class FileViewerFilterPanelView;
class FileViewerTableModel;
class FileViewerWindowController;
class QAction;
class QLabel;
class QMenu;
class QPushButton;
class QTableView;
class QToolBar;

// The file viewer window: the header with the report row's title, the toolbar (trash, copy,
// move, zip of the checked files), the table of files, the filter panel beside it, the
// status line and the close button. It shows what its controller says and forwards every
// action to it; confirmations, the destination chooser and failure alerts come from the
// controller through the application's UserInterface. The controller must outlive the
// window.
class FileViewerWindow : public QDialog {
    Q_OBJECT
public:
    explicit FileViewerWindow(FileViewerWindowController& controller, QWidget* parent = nullptr);
    ~FileViewerWindow() override;

    // Runs the controller's open viewer application-modal over the main window (centred on
    // it, which cannot be moved meanwhile), then lets the application controller release
    // it. Nothing happens when no viewer is open.
    static void runModal(AppDelegate& app, QWidget* mainWindow);

    // Centres the window over another one (over the screen when there is none), again when
    // it is shown and its frame is known.
    void centreOver(const QWidget* other);

    // The parts, for tests and screenshots.
    QLabel* headerLabel() const { return lblHeaderTitle_; }
    QTableView* table() const { return tableView_; }
    FileViewerTableModel* model() const { return model_; }
    FileViewerFilterPanelView* filterPanel() const { return filterPanel_; }
    QToolBar* toolBar() const { return toolBar_; }
    QList<QAction*> toolBarActions() const;
    QLabel* sizeLabel() const { return lblSize_; }
    QLabel* sizeOnDiskLabel() const { return lblSizeOnDisk_; }
    QLabel* countLabel() const { return lblFilesCount_; }
    // The context menu for a table row (-1: none), its entries enabled as the controller
    // says; the caller owns it.
    QMenu* contextMenuForRow(int row);

protected:
    void done(int result) override;
    void showEvent(QShowEvent* event) override;

private:
    QWidget* makeHeader();
    QToolBar* makeToolBar();
    QTableView* makeTable();
    QWidget* makeStatusLine();
    void connectController();
    void showStatusLine();
    void showToolBarState(bool enabled);
    void sortIndicatorChanged(int column, Qt::SortOrder order);

    FileViewerWindowController& controller_;
    FileViewerTableModel* model_ = nullptr;
    QLabel* lblHeaderTitle_ = nullptr;
    QToolBar* toolBar_ = nullptr;
    QAction* btnDeleteFiles_ = nullptr;
    QAction* btnCopyFiles_ = nullptr;
    QAction* btnMoveFiles_ = nullptr;
    QAction* btnZipFiles_ = nullptr;
    QTableView* tableView_ = nullptr;
    FileViewerFilterPanelView* filterPanel_ = nullptr;
    QLabel* lblSize_ = nullptr;
    QLabel* lblSizeOnDisk_ = nullptr;
    QLabel* lblFilesCount_ = nullptr;
    QPushButton* btnClose_ = nullptr;
    QPointer<const QWidget> centreOn_;
    bool centred_ = false;
    int sortColumn_ = -1;
    Qt::SortOrder sortOrder_ = Qt::DescendingOrder;
};
