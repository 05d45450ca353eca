#pragma once

#include "reports/ReportRows.h"

#include <QMainWindow>
#include <QPointer>

#include <array>
#include <functional>

class AppDelegate;
class FolderTreeView;
class GuiUserInterface;
class ProgressSheet;
class QAbstractButton;
class QAction;
class QButtonGroup;
class QSplitter;
class QStackedLayout;
class QTableView;
class QToolBar;
class ReportWaitingPanel;
#include "ui/StartupDialog.h"
class StatusBarPanel;
class TFoldInfo;
class VolumeTableModel;

// The main window: the volume table and the folder tree on the left, the twelve report tab
// buttons over the report area on the right, the toolbar of file and tree commands at the
// top and the status line about the selected folder at the bottom. It shows what the
// controller (AppDelegate) says and forwards every command to it; it computes nothing.
// It also hosts the sheets of the controller: the start-up dialog, the scan's progress
// sheet and the report waiting panel.
//
// Hooks for other windows:
// - addToolBarAction() puts a command at the end of the toolbar;
// - settingsRequested() is sent when the person asks for the settings;
// - setFileViewerHandler() takes over the controller's requests for the file viewer
//   (until one is set they are logged);
// - setReportArea() puts the report panels into the report area.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // The toolbar's own commands.
    enum class Command { Trash, Copy, Move, Zip, SelectFolder, Rescan, RemoveFromTree, Settings };

    MainWindow(AppDelegate& app, GuiUserInterface& ui, QWidget* parent = nullptr);
    ~MainWindow() override;

    AppDelegate& app() { return app_; }

    // ---- hooks ----
    void addToolBarAction(QAction* action);
    using FileViewerHandler = std::function<void(const NodeList& files, const QString& title)>;
    void setFileViewerHandler(FileViewerHandler handler);
    // Puts `panels` (taking ownership) into the report area, replacing what was there.
    void setReportArea(QWidget* panels);
    QWidget* reportArea() const { return reportArea_; }

    // Presses the tab of a report (index as in ReportIndex); false for an unknown index.
    bool showReport(int index);
    // The same by its command-line name ("overview", "sizes", ...); false for an unknown name.
    bool showReportByName(const QString& name);

    // Opens the start-up dialog over the window (made on first use).
    void showStartupDialog();
    // Whether the controller's start-up request after launch opens the dialog (off when a
    // folder is scanned at launch); the toolbar command opens it always.
    void setStartupDialogAtLaunch(bool show) { startupDialogAtLaunch_ = show; }

    // ---- parts, for tests and the other windows ----
    QAction* action(Command command) const;
    QAbstractButton* reportTabButton(int index) const;
    FolderTreeView* folderTree() const { return folderTree_; }
    QTableView* volumeTable() const { return volumeTable_; }
    StatusBarPanel* statusPanel() const { return statusPanel_; }
    ProgressSheet* progressSheet() const { return progressSheet_; }
    ReportWaitingPanel* reportWaitingPanel() const { return waitingPanel_; }
    StartupDialog* startupDialog() const { return startupDialog_; }
    QToolBar* mainToolBar() const { return toolBar_; }

Q_SIGNALS:
    void settingsRequested();
    // The start-up dialog was closed before anything was scanned: the application ends.
    void quitRequested();

public Q_SLOTS:
    // The controller asks for the file viewer on these files under this title.
    void onFileViewerRequested(const NodeList& files, const QString& title);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildToolBar();
    QWidget* buildLeftPane();
    QWidget* buildReportPane();
    void connectController();
    void refreshTabButtons();
    void restoreWindowState();
    void saveWindowState() const;

    AppDelegate& app_;
    GuiUserInterface& ui_;
    QToolBar* toolBar_ = nullptr;
    std::array<QAction*, 8> commands_{};
    QButtonGroup* tabs_ = nullptr;
    QSplitter* mainSplitter_ = nullptr;
    QSplitter* leftSplitter_ = nullptr;
    QTableView* volumeTable_ = nullptr;
    VolumeTableModel* volumeModel_ = nullptr;
    FolderTreeView* folderTree_ = nullptr;
    QStackedLayout* reportStack_ = nullptr;
    QWidget* reportArea_ = nullptr;
    StatusBarPanel* statusPanel_ = nullptr;
    ProgressSheet* progressSheet_ = nullptr;
    ReportWaitingPanel* waitingPanel_ = nullptr;
    QPointer<StartupDialog> startupDialog_;
    FileViewerHandler fileViewerHandler_;
    bool closing_ = false;
    bool startupDialogAtLaunch_ = true;
};
