#pragma once

#include <QObject>
#include <QPointer>

class AppDelegate;
class DockPopover;
class QAction;
class QMenu;
class QSystemTrayIcon;
class QWidget;
class TFoldInfo;

// The way into the popover from outside the main window. Where the desktop has a status
// area it is a tray icon: a left click opens the popover beside it, its context menu holds
// Help, Preferences and Quit, and a scan that ends while the main window is hidden or
// minimised shows a notification. Where there is none (GNOME without an indicator
// extension, offscreen, a bare X server) the main window gets a "Summary" action that
// opens the same popover under its toolbar button, so nothing is lost on such desktops.
class TrayController : public QObject {
    Q_OBJECT
public:
    // `mainWindow` and `popover` must outlive this object.
    TrayController(AppDelegate& controller, QWidget* mainWindow, DockPopover& popover, QObject* parent = nullptr);

    // True when a tray icon is shown; false when the Summary action stands in for it.
    bool hasTrayIcon() const { return tray_ != nullptr; }
    // The action for the main window's toolbar; null when the tray icon is shown.
    QAction* summaryAction() const { return summaryAction_; }
    // Opens the popover under a widget (the toolbar button of the Summary action).
    void showPopoverUnder(QWidget* anchor);
    // Shows, raises and activates the main window, also after it was minimised or hidden.
    void openAppFromBackground();
    // Builds a tray icon even where the desktop reports no status area (tests).
    void forceTrayIcon();

Q_SIGNALS:
    void preferencesRequested();
    void helpRequested();
    void quitRequested();

private:
    void createTrayIcon();
    void scanFinished(TFoldInfo* root);

    AppDelegate& controller_;
    QPointer<QWidget> mainWindow_;
    DockPopover& popover_;
    QSystemTrayIcon* tray_ = nullptr;
    QMenu* trayMenu_ = nullptr;
    QAction* summaryAction_ = nullptr;
};
