#include "ui/MainWindow.h"

#include "app/AppDelegate.h"
#include "settings/GeneralLib.h"
#include "settings/Log.h"
#include "settings/SettingsStore.h"
#include "ui/FlowLayout.h"
#include "ui/FolderTreeView.h"
#include "ui/GuiUserInterface.h"
#include "ui/icons/IconProvider.h"
#include "ui/ProgressSheet.h"
#include "ui/ReportNames.h"
#include "ui/StartupDialog.h"
#include "ui/StatusBarPanel.h"
#include "ui/UiTexts.h"
#include "ui/VolumeTableModel.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QFileInfo>
#include <QHeaderView>
#include <QSettings>
#include <QSplitter>
#include <QStackedLayout>
#include <QStatusBar>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#if __has_include("ui/reports/ReportPanels.h")
#include "ui/reports/ReportPanels.h"
#define QUORVEL_HAS_REPORT_PANELS 1
#endif

namespace {

// Where the window remembers its geometry, splitters and column widths: a file of its own
// beside the settings, so the settings keep only what the person chose.
QSettings windowStateSettings()
{
    return QSettings(QFileInfo(SettingsStore::filePath()).absolutePath() + QStringLiteral("/WindowState.conf"),
                     QSettings::IniFormat);
}

} // namespace

MainWindow::MainWindow(AppDelegate& app, GuiUserInterface& ui, QWidget* parent)
    : QMainWindow(parent), app_(app), ui_(ui)
{
    setObjectName(QStringLiteral("mainWindow"));
    setWindowTitle(QCoreApplication::applicationName());
    setWindowIcon(IconProvider::shared().programIcon());
    ui_.setParentWindow(this);

    buildToolBar();
    mainSplitter_ = new QSplitter(Qt::Horizontal);
    mainSplitter_->setObjectName(QStringLiteral("mainSplitter"));
    mainSplitter_->addWidget(buildLeftPane());
    mainSplitter_->addWidget(buildReportPane());
    mainSplitter_->setStretchFactor(1, 1);
    mainSplitter_->setChildrenCollapsible(false);
    setCentralWidget(mainSplitter_);

    statusPanel_ = new StatusBarPanel(app_);
    statusBar()->addWidget(statusPanel_, 1);
    statusBar()->setSizeGripEnabled(true);

    progressSheet_ = new ProgressSheet(app_, this);
    waitingPanel_ = new ReportWaitingPanel(this);
    resize(1280, 800);
    connectController();
    restoreWindowState();
    refreshTabButtons();
}

MainWindow::~MainWindow() = default;

QWidget* MainWindow::buildLeftPane()
{
    volumeModel_ = new VolumeTableModel(app_, this);
    volumeTable_ = new QTableView;
    volumeTable_->setObjectName(QStringLiteral("volumeTable"));
    volumeTable_->setModel(volumeModel_);
    volumeTable_->setItemDelegateForColumn(VolumeTableModel::UsageColumn, new LevelBarDelegate(volumeTable_));
    volumeTable_->setSelectionBehavior(QAbstractItemView::SelectRows);
    volumeTable_->setSelectionMode(QAbstractItemView::SingleSelection);
    volumeTable_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    volumeTable_->verticalHeader()->hide();
    volumeTable_->setShowGrid(false);
    volumeTable_->setWordWrap(false);
    volumeTable_->horizontalHeader()->setSectionResizeMode(VolumeTableModel::DriveColumn, QHeaderView::Stretch);
    volumeTable_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    volumeTable_->verticalHeader()->setDefaultSectionSize(24);
    volumeTable_->horizontalHeader()->setHighlightSections(false);
    volumeTable_->setColumnWidth(VolumeTableModel::CapacityColumn, 70);
    volumeTable_->setColumnWidth(VolumeTableModel::UsageColumn, 90);
    volumeTable_->setColumnWidth(VolumeTableModel::FreeColumn, 70);
    connect(volumeTable_, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
        const auto& drives = app_.arrDiskDrive();
        if (index.isValid() && std::size_t(index.row()) < drives.size())
            app_.scanForDrive(drives[std::size_t(index.row())]);
    });

    folderTree_ = new FolderTreeView(app_);
    leftSplitter_ = new QSplitter(Qt::Vertical);
    leftSplitter_->setObjectName(QStringLiteral("leftSplitter"));
    leftSplitter_->addWidget(volumeTable_);
    leftSplitter_->addWidget(folderTree_);
    leftSplitter_->setStretchFactor(1, 1);
    leftSplitter_->setChildrenCollapsible(false);
    return leftSplitter_;
}

QWidget* MainWindow::buildReportPane()
{
    // Tab buttons in the order a person reads them; ids are the report indexes.
    static const std::pair<int, const char*> kTabs[] = {
        {ReportIndex::Overview, "ID_TAB_OVERVIEW"},       {ReportIndex::FileExplorer, "ID_TAB_FILE_EXPLORER"},
        {ReportIndex::FileTypes, "ID_TAB_FILE_TYPES"},    {ReportIndex::SizeRanges, "ID_TAB_SIZES"},
        {ReportIndex::DateRanges, "ID_TAB_DATES"},        {ReportIndex::TimeOfDay, "ID_TAB_TIMES"},
        {ReportIndex::Attributes, "ID_TAB_ATTRIBUTES"},   {ReportIndex::Ownership, "ID_TAB_OWNERSHIP"},
        {ReportIndex::CustomTypes, "ID_TAB_CUSTOM_TYPES"}, {ReportIndex::AllFolders, "ID_TAB_ALL_FOLDERS"},
        {ReportIndex::Applications, "ID_TAB_APPS"},       {ReportIndex::ObsoleteFiles, "ID_TAB_OBSOLETE_FILES"}};

    auto* pane = new QWidget;
    // The tabs wrap onto a second row in a narrow window, so every report stays in sight.
    auto* tabBar = new QWidget;
    tabBar->setObjectName(QStringLiteral("reportTabs"));
    auto* tabRows = new FlowLayout(tabBar, 2);
    tabRows->setContentsMargins(3, 3, 3, 3);
    QSizePolicy tabPolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    tabPolicy.setHeightForWidth(true);
    tabBar->setSizePolicy(tabPolicy);
    // The current tab is disabled (pressing it again does nothing) yet reads as chosen.
    tabBar->setStyleSheet(QStringLiteral(
        "QToolButton { padding: 3px 7px; border: 1px solid transparent; border-radius: 4px; }"
        "QToolButton:hover { border-color: palette(mid); }"
        "QToolButton:checked:disabled { background: palette(highlight); color: palette(highlighted-text); }"));
    tabs_ = new QButtonGroup(this);
    tabs_->setExclusive(false);
    for (const auto& [index, key] : kTabs) {
        auto* button = new QToolButton;
        button->setText(uiText(key));
        button->setCheckable(true);
        button->setAutoRaise(true);
        button->setObjectName(QStringLiteral("tab_") + ReportNames::nameOf(index));
        tabs_->addButton(button, index);
        tabRows->addWidget(button);
    }
    connect(tabs_, &QButtonGroup::idClicked, this, [this](int index) { showReport(index); });

    reportArea_ = new QWidget;
    reportArea_->setObjectName(QStringLiteral("reportArea"));
    reportStack_ = new QStackedLayout(reportArea_);
#ifdef QUORVEL_HAS_REPORT_PANELS
    setReportArea(new ReportPanels(app_, reportArea_));
#endif
    auto* layout = new QVBoxLayout(pane);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(tabBar);
    layout->addWidget(reportArea_, 1);
    return pane;
}

void MainWindow::buildToolBar()
{
    toolBar_ = addToolBar(uiText("ID_TOOLBAR"));
    toolBar_->setObjectName(QStringLiteral("mainToolBar"));
    toolBar_->setMovable(false);
    toolBar_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    toolBar_->setIconSize(QSize(24, 24));
    auto add = [this](Command command, const QIcon& icon, const char* key, auto slot) {
        QAction* action = toolBar_->addAction(icon, uiText(key));
        action->setObjectName(QStringLiteral("action%1").arg(int(command)));
        connect(action, &QAction::triggered, this, slot);
        commands_[std::size_t(command)] = action;
        return action;
    };
    add(Command::Trash, ActionIcons::trash(), "ID_MOVE_TO_TRASH", [this] { app_.btnDeleteFilesTapped(); });
    add(Command::Copy, ActionIcons::copy(), "ID_COPY", [this] { app_.btnCopyFilesTapped(); });
    add(Command::Move, ActionIcons::move(), "ID_MOVE", [this] { app_.btnMoveFilesTapped(); });
    add(Command::Zip, ActionIcons::zip(), "ID_ZIP", [this] { app_.btnZipFilesTapped(); });
    toolBar_->addSeparator();
    add(Command::SelectFolder, ActionIcons::selectFolder(), "ID_SCAN", [this] {
        qvlog(QStringLiteral("btnSelectFileSearchTapped:"));
        showStartupDialog();
    });
    add(Command::Rescan, ActionIcons::rescan(), "ID_RESCAN", [this] { app_.btnRefreshScanTreeTapped(); });
    add(Command::RemoveFromTree, ActionIcons::removeFromTree(), "ID_REMOVE_FROM_TREE",
        [this] { app_.btnRemoveFolderFromScanTreeTapped(); });
    auto* spacer = new QWidget;
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    toolBar_->addWidget(spacer);
    add(Command::Settings, ActionIcons::settings(), "ID_SETTINGS", [this] {
        qvlog(QStringLiteral("btnSettingsTapped:"));
        Q_EMIT settingsRequested();
    });
    action(Command::SelectFolder)->setToolTip(uiText("ID_SELECT_FOLDER_TO_SCAN"));
    for (Command command : {Command::Trash, Command::Copy, Command::Move, Command::Zip})
        action(command)->setEnabled(app_.fileActionButtonsEnabled());
    for (Command command : {Command::Rescan, Command::RemoveFromTree})
        action(command)->setEnabled(app_.refreshAndRemoveButtonsEnabled());
}

void MainWindow::connectController()
{
    connect(&app_, &AppDelegate::fileActionButtonsChanged, this, [this](bool enabled) {
        for (Command command : {Command::Trash, Command::Copy, Command::Move, Command::Zip})
            action(command)->setEnabled(enabled);
    });
    connect(&app_, &AppDelegate::treeButtonsChanged, this, [this](bool enabled) {
        action(Command::Rescan)->setEnabled(enabled);
        action(Command::RemoveFromTree)->setEnabled(enabled);
    });
    connect(&app_, &AppDelegate::startupDialogRequested, this, [this] {
        if (startupDialogAtLaunch_ && !app_.isScanning())
            showStartupDialog();
    });
    connect(&app_, &AppDelegate::progressWindowOpened, this, [this] { progressSheet_->showFor(app_.progressWC()); });
    connect(&app_, &AppDelegate::progressWindowClosed, this, [this] { progressSheet_->dismiss(); });
    connect(&app_, &AppDelegate::reportProgressOpened, this, [this] {
        refreshTabButtons();
        waitingPanel_->adjustSize();
        waitingPanel_->move(geometry().center() - waitingPanel_->rect().center());
        waitingPanel_->show();
    });
    connect(&app_, &AppDelegate::reportProgressClosed, this, [this] { waitingPanel_->hide(); });
    connect(&app_, &AppDelegate::reportShown, this, [this] { refreshTabButtons(); });
    connect(&app_, &AppDelegate::fileViewerRequested, this, &MainWindow::onFileViewerRequested);
    connect(&app_, &AppDelegate::scanFinished, this, [this](TFoldInfo* root) {
        if (root)
            setWindowTitle(QCoreApplication::applicationName() + QStringLiteral(" — ") + root->sPath());
    });
}

void MainWindow::refreshTabButtons()
{
    const int current = app_.currentReportIndex();
    for (QAbstractButton* button : tabs_->buttons()) {
        const int index = tabs_->id(button);
        const bool isCurrent = index == current;
        button->setChecked(isCurrent);
        button->setEnabled(app_.isTabButtonEnabled(index) && !isCurrent);
    }
}

bool MainWindow::showReport(int index)
{
    if (!tabs_->button(index))
        return false;
    qvlog(QStringLiteral("report tab %1").arg(ReportNames::nameOf(index)));
    app_.reportButtonTapped(index);
    refreshTabButtons();
    return true;
}

bool MainWindow::showReportByName(const QString& name)
{
    const int index = ReportNames::indexOf(name);
    if (index < 0)
        return false;
#ifdef QUORVEL_HAS_REPORT_PANELS
    if (auto* panels = qobject_cast<ReportPanels*>(reportStack_->currentWidget()))
        panels->showReportByName(name);
#endif
    return showReport(index);
}

QAction* MainWindow::action(Command command) const { return commands_[std::size_t(command)]; }

QAbstractButton* MainWindow::reportTabButton(int index) const { return tabs_->button(index); }

void MainWindow::addToolBarAction(QAction* action)
{
    // Added commands go before the settings button, which stays last.
    toolBar_->insertAction(commands_[std::size_t(Command::Settings)], action);
}

void MainWindow::setFileViewerHandler(FileViewerHandler handler) { fileViewerHandler_ = std::move(handler); }

void MainWindow::onFileViewerRequested(const NodeList& files, const QString& title)
{
    if (fileViewerHandler_) {
        fileViewerHandler_(files, title);
        return;
    }
    qvlog(QStringLiteral("file viewer requested: \"%1\" with %2 files (no viewer window yet)").arg(title).arg(files.size()));
}

void MainWindow::setReportArea(QWidget* panels)
{
    while (QWidget* old = reportStack_->currentWidget()) {
        reportStack_->removeWidget(old);
        old->deleteLater();
    }
    if (panels) {
        reportStack_->addWidget(panels);
        reportStack_->setCurrentWidget(panels);
    }
}

void MainWindow::showStartupDialog()
{
    if (!startupDialog_) {
        startupDialog_ = new StartupDialog(app_, ui_, this);
        connect(startupDialog_, &StartupDialog::quitRequested, this, &MainWindow::quitRequested);
    }
    startupDialog_->present();
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (!closing_) {
        closing_ = true;
        saveWindowState();
        app_.windowWillClose(); // the sort orders are written; the controller asks to quit
    }
    event->accept();
}

void MainWindow::saveWindowState() const
{
    QSettings settings = windowStateSettings();
    settings.setValue(QStringLiteral("mainWindow/geometry"), saveGeometry());
    settings.setValue(QStringLiteral("mainWindow/mainSplitter"), mainSplitter_->saveState());
    settings.setValue(QStringLiteral("mainWindow/leftSplitter"), leftSplitter_->saveState());
    settings.setValue(QStringLiteral("mainWindow/volumeColumns"), volumeTable_->horizontalHeader()->saveState());
    settings.setValue(QStringLiteral("mainWindow/treeColumns"), folderTree_->header()->saveState());
    settings.sync();
}

void MainWindow::restoreWindowState()
{
    QSettings settings = windowStateSettings();
    // First run: a third of the width for the volumes and the tree, a small volume table.
    mainSplitter_->setSizes({width() * 27 / 100, width() * 73 / 100});
    leftSplitter_->setSizes({140, height() - 140});
    if (settings.contains(QStringLiteral("mainWindow/geometry")))
        restoreGeometry(settings.value(QStringLiteral("mainWindow/geometry")).toByteArray());
    mainSplitter_->restoreState(settings.value(QStringLiteral("mainWindow/mainSplitter")).toByteArray());
    leftSplitter_->restoreState(settings.value(QStringLiteral("mainWindow/leftSplitter")).toByteArray());
    volumeTable_->horizontalHeader()->restoreState(settings.value(QStringLiteral("mainWindow/volumeColumns")).toByteArray());
    folderTree_->header()->restoreState(settings.value(QStringLiteral("mainWindow/treeColumns")).toByteArray());
}
