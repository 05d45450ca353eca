#include "ui/DesktopApp.h"

#include "app/AppDelegate.h"
#include "ui/icons/IconProvider.h"
#include "preferences/PreferencesWindowController.h"
#include "settings/Log.h"
#include "ui/MainWindow.h"
#include "ui/popover/DockPopover.h"
#include "ui/popover/TrayController.h"
#include "viewer/FileViewerWindow.h"

#include <QAction>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QToolBar>
#include <QUrl>

DesktopApp::DesktopApp(Options options, QObject* parent)
    : QObject(parent), options_(options), app_(std::make_unique<AppDelegate>(ui_, scheduler_))
{
    IconProvider::setUpIconTheme();
    app_->loadSettingsAndCatalogs();
    window_ = std::make_unique<MainWindow>(*app_, ui_);
    window_->setStartupDialogAtLaunch(options_.startupDialogAtLaunch);
    connect(app_.get(), &AppDelegate::quitRequested, this, &DesktopApp::quitRequested);
    // Closed before any scan: the window closes, which saves its state and quits.
    connect(window_.get(), &MainWindow::quitRequested, window_.get(), &QWidget::close);
    connectSecondaryWindows();
}

void DesktopApp::connectSecondaryWindows()
{
    // The viewer opens once the controller holds it, after the double-click has returned.
    window_->setFileViewerHandler([](const NodeList&, const QString&) {});
    connect(app_.get(), &AppDelegate::fileViewerOpened, this,
            [this] { FileViewerWindow::runModal(*app_, window_.get()); }, Qt::QueuedConnection);

    auto showPreferences = [this] { PreferencesWindowController::btnSettingsTapped(*app_, ui_); };
    connect(window_.get(), &MainWindow::settingsRequested, this, showPreferences);
    window_->installEventFilter(this);

    popover_ = std::make_unique<DockPopover>(*app_, scheduler_);
    tray_ = new TrayController(*app_, window_.get(), *popover_, this);
    connect(tray_, &TrayController::preferencesRequested, this, showPreferences);
    connect(tray_, &TrayController::helpRequested, this, &DesktopApp::openHelp);
    connect(tray_, &TrayController::quitRequested, window_.get(), &QWidget::close);
    if (QAction* summary = tray_->summaryAction()) {
        window_->addToolBarAction(summary);
        connect(summary, &QAction::triggered, this,
                [this, summary] { tray_->showPopoverUnder(window_->mainToolBar()->widgetForAction(summary)); });
    }
}

bool DesktopApp::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == window_.get() && event->type() == QEvent::WindowActivate)
        PreferencesWindowController::applyPendingChanges(*app_);
    return QObject::eventFilter(watched, event);
}

void DesktopApp::openHelp()
{
    // The README beside an installed program, or at the top of a source tree's build.
    const QDir bin(QCoreApplication::applicationDirPath());
    for (const QString& candidate : {bin.filePath(QStringLiteral("../share/doc/quorvel/README.md")),
                                     bin.filePath(QStringLiteral("../README.md"))}) {
        if (QFileInfo::exists(candidate)) {
            QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(candidate).canonicalFilePath()));
            return;
        }
    }
    qvlog(QStringLiteral("help: no README found next to %1").arg(bin.path()));
}

DesktopApp::~DesktopApp()
{
    // The window's views refer to the controller: they go first.
    delete tray_;
    popover_.reset();
    window_.reset();
    app_.reset();
}

void DesktopApp::launch()
{
    window_->show();
    app_->awakeFromNib();
    app_->applicationDidFinishLaunching();
}

bool DesktopApp::scanAtLaunch(const QString& path) { return app_->setParsingPath(path); }
