#pragma once

#include <QList>
#include <QMainWindow>
#include <QPointer>

class AppDelegate;
class PreferencePaneView;
class QActionGroup;
class QPropertyAnimation;
class UserInterface;

// The preferences window: a toolbar of four panes (Display Unit, Exclude, Custom Filter,
// Misc. Filter), the selected pane's view below it, the title following the pane's label.
// The selected pane is remembered in the settings; switching panes animates the window to
// the new pane's size around its top edge and horizontal centre, and the pane's view is
// put in after the animation. One window serves the whole run (sharedWindow).
class PreferencesWindowController : public QMainWindow {
    Q_OBJECT
public:
    PreferencesWindowController(AppDelegate& app, UserInterface& ui, QWidget* parent = nullptr);
    ~PreferencesWindowController() override;

    // The settings button: clears both change flags, then shows the one preferences window,
    // created on the first press and reused afterwards.
    static PreferencesWindowController* btnSettingsTapped(AppDelegate& app, UserInterface& ui);
    // The window made by btnSettingsTapped, or null before the first press.
    static PreferencesWindowController* sharedWindow();

    // The main window became active: applies the Custom Filter and Misc. Filter changes
    // collected meanwhile, then clears both flags.
    static void applyPendingChanges(AppDelegate& app);

    const QList<PreferencePaneView*>& viewControllers() const { return panes_; }
    int selectedIndex() const { return selected_; }
    PreferencePaneView* selectedViewController() const;
    // The pane with that identifier, or null.
    PreferencePaneView* viewControllerWithIdentifier(const QString& identifier) const;
    // setSelectedViewController: remembers the pane and switches to it (animated when the
    // window is shown).
    void setSelectedViewController(PreferencePaneView* pane);
    void selectPaneAt(int index);

    // The duration of the last resize animation in milliseconds (0 before any).
    int lastResizeDuration() const { return lastResizeDuration_; }
    QPropertyAnimation* resizeAnimation() const { return animation_; }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void makeToolBar();
    // resizeWindowForContentSize:duration: the window's content takes the size, the top
    // edge and horizontal centre staying where they are.
    void resizeWindowForContentSize(const QSize& size, int durationMs);
    QRect frameForContentSize(const QSize& size) const;
    void insertSelectedView();
    void showPaneTitle();

    AppDelegate& app_;
    QList<PreferencePaneView*> panes_;
    QActionGroup* paneActions_ = nullptr;
    QWidget* content_ = nullptr;
    QPropertyAnimation* animation_ = nullptr;
    int selected_ = -1;
    int lastResizeDuration_ = 0;
    bool loaded_ = false;
};
