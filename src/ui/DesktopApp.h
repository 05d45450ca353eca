#pragma once

#include "app/TimerScheduler.h"
#include "ui/GuiUserInterface.h"

#include <QObject>

#include <memory>

class AppDelegate;
class DockPopover;
class MainWindow;
class TrayController;

// The desktop application assembled: the dialogs and timers the controller asks through,
// the controller itself and the main window, created in the order launching needs (the
// settings and catalogs are read before any window exists). Owns all of them.
class DesktopApp : public QObject {
    Q_OBJECT
public:
    struct Options {
        // Shows the start-up dialog 1.2 s after launch (off when a path is given to scan).
        bool startupDialogAtLaunch = true;
    };

    explicit DesktopApp(Options options, QObject* parent = nullptr);
    ~DesktopApp() override;

    // Shows the main window and runs the launch steps (volumes, support folder, the
    // deferred start-up dialog).
    void launch();
    // Starts a scan of the folder at once; false when the controller refused it.
    bool scanAtLaunch(const QString& path);

    AppDelegate& app() { return *app_; }
    MainWindow& window() { return *window_; }
    GuiUserInterface& ui() { return ui_; }
    DockPopover& popover() { return *popover_; }
    TrayController& tray() { return *tray_; }

protected:
    // The main window becoming active again applies what the preferences changed meanwhile.
    bool eventFilter(QObject* watched, QEvent* event) override;

Q_SIGNALS:
    // The application is to end (the main window closed, or the start-up dialog was closed
    // before anything was scanned). main() quits the event loop on it.
    void quitRequested();

private:
    // The file viewer, the preferences and the tray popover, wired to the main window.
    void connectSecondaryWindows();
    void openHelp();

    Options options_;
    GuiUserInterface ui_;
    TimerScheduler scheduler_;
    std::unique_ptr<AppDelegate> app_;
    std::unique_ptr<MainWindow> window_;
    std::unique_ptr<DockPopover> popover_;
    TrayController* tray_ = nullptr;
};
