#include "ui/DesktopApp.h"

#include "app/AppDelegate.h"
#include "ui/IconProvider.h"
#include "ui/MainWindow.h"

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
}

DesktopApp::~DesktopApp()
{
    // The window's views refer to the controller: they go first.
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
