#include "preferences/PreferencesWindowController.h"

#include "app/AppDelegate.h"
#include "preferences/CustomTypeFilterViewController.h"
#include "preferences/DisplayUnitViewController.h"
#include "preferences/ExcludeViewController.h"
#include "preferences/MiscFilterViewController.h"
#include "settings/CommonFuncs.h"
#include "settings/Log.h"
#include "settings/PreferencePanes.h"
#include "ui/icons/IconProvider.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QPropertyAnimation>
#include <QStyle>
#include <QTimer>
#include <QToolBar>

namespace {

QPointer<PreferencesWindowController> g_window;

QString paneLabel(int index)
{
    return CommonFuncs::getLocalizedStringForKey(PreferencePanes::panes().value(index).labelKey);
}

} // namespace

PreferencesWindowController::PreferencesWindowController(AppDelegate& app, UserInterface& ui, QWidget* parent)
    : QMainWindow(parent), app_(app)
{
    panes_ = {
        new DisplayUnitViewController([this](int code) { app_.displayUnitDidChange(code); }),
        new ExcludeViewController,
        new CustomTypeFilterViewController(ui),
        new MiscFilterViewController,
    };
    content_ = new QWidget;
    setCentralWidget(content_);
    for (PreferencePaneView* pane : panes_) {
        pane->setParent(content_);
        pane->setFixedSize(pane->paneSize());
        pane->hide();
    }
    makeToolBar();
    animation_ = new QPropertyAnimation(this, "geometry", this);
    animation_->setEasingCurve(QEasingCurve::InOutQuad);
    // Restored when the pane list is set: an unknown identifier gives the first pane.
    selected_ = PreferencePanes::selectedIndex();
    paneActions_->actions().at(selected_)->setChecked(true);
    showPaneTitle();
}

PreferencesWindowController::~PreferencesWindowController() = default;

void PreferencesWindowController::makeToolBar()
{
    auto* toolBar = addToolBar(QString());
    toolBar->setMovable(false);
    toolBar->setFloatable(false);
    toolBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    toolBar->setIconSize(QSize(24, 24));
    toolBar->toggleViewAction()->setVisible(false);
    setContextMenuPolicy(Qt::NoContextMenu);
    paneActions_ = new QActionGroup(this);
    paneActions_->setExclusive(true);
    for (int index = 0; index < panes_.size(); ++index) {
        const PreferencePanes::Pane& pane = PreferencePanes::panes()[index];
        QAction* action = toolBar->addAction(IconProvider::shared().themeIcon(pane.iconName, QStyle::SP_FileDialogDetailedView),
                                             paneLabel(index));
        action->setCheckable(true);
        action->setData(pane.identifier);
        paneActions_->addAction(action);
        connect(action, &QAction::triggered, this, [this, index] { selectPaneAt(index); });
    }
}

PreferencesWindowController* PreferencesWindowController::btnSettingsTapped(AppDelegate& app, UserInterface& ui)
{
    qvlog(QStringLiteral("btnSettingsTapped:"));
    PreferenceChangeFlags::clear();
    if (!g_window) {
        g_window = new PreferencesWindowController(app, ui);
        g_window->setAttribute(Qt::WA_DeleteOnClose, false);
    }
    g_window->show();
    g_window->raise();
    g_window->activateWindow();
    return g_window;
}

PreferencesWindowController* PreferencesWindowController::sharedWindow() { return g_window; }

void PreferencesWindowController::applyPendingChanges(AppDelegate& app)
{
    app.windowDidBecomeMain(PreferenceChangeFlags::miscChanged(), PreferenceChangeFlags::customFilterChanged());
    PreferenceChangeFlags::clear();
}

PreferencePaneView* PreferencesWindowController::selectedViewController() const { return panes_.value(selected_); }

PreferencePaneView* PreferencesWindowController::viewControllerWithIdentifier(const QString& identifier) const
{
    for (int i = 0; i < panes_.size(); ++i)
        if (PreferencePanes::panes()[i].identifier == identifier)
            return panes_[i];
    return nullptr;
}

void PreferencesWindowController::selectPaneAt(int index) { setSelectedViewController(panes_.value(index)); }

void PreferencesWindowController::setSelectedViewController(PreferencePaneView* pane)
{
    const int index = int(panes_.indexOf(pane));
    if (index < 0)
        return;
    PreferencePanes::storeSelectedIdentifier(PreferencePanes::panes()[index].identifier);
    if (!loaded_ || index == selected_) {
        selected_ = index;
        paneActions_->actions().at(index)->setChecked(true);
        showPaneTitle();
        return;
    }
    PreferencePaneView* old = selectedViewController();
    selected_ = index;
    if (old) {
        old->viewWillDisappear();
        old->hide();
        old->viewDidDisappear();
    }
    pane->viewWillAppear();
    const QSize from = old ? old->paneSize() : content_->size();
    const int duration = int(PreferencePanes::resizeDuration(from, pane->paneSize()) * 1000 + 0.5);
    resizeWindowForContentSize(pane->paneSize(), duration);
    QTimer::singleShot(duration + 20, this, [this, pane] {
        if (selectedViewController() == pane)
            insertSelectedView();
    });
    paneActions_->actions().at(index)->setChecked(true);
    showPaneTitle();
}

QRect PreferencesWindowController::frameForContentSize(const QSize& size) const
{
    // Everything but the content area (the toolbar) keeps its height; the top edge and the
    // horizontal centre stay.
    const int chrome = height() - content_->height();
    const QRect now = geometry();
    return {now.left() + (now.width() - size.width()) / 2, now.top(), size.width(), size.height() + chrome};
}

void PreferencesWindowController::resizeWindowForContentSize(const QSize& size, int durationMs)
{
    lastResizeDuration_ = durationMs;
    animation_->stop();
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    animation_->setDuration(durationMs);
    animation_->setStartValue(geometry());
    animation_->setEndValue(frameForContentSize(size));
    animation_->start();
}

void PreferencesWindowController::insertSelectedView()
{
    PreferencePaneView* pane = selectedViewController();
    if (!pane)
        return;
    // At the content's origin; the window cannot be resized by hand.
    pane->move(0, 0);
    pane->show();
    setFixedSize(frameForContentSize(pane->paneSize()).size());
    pane->viewDidAppear();
}

void PreferencesWindowController::showPaneTitle() { setWindowTitle(paneLabel(selected_)); }

void PreferencesWindowController::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (loaded_)
        return;
    // The first display: the selected pane at once, the window sized to it without animation.
    loaded_ = true;
    PreferencePaneView* pane = selectedViewController();
    pane->viewWillAppear();
    content_->setFixedSize(pane->paneSize());
    adjustSize();
    content_->setMinimumSize(0, 0);
    content_->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    insertSelectedView();
    if (QWidget* key = pane->initialKeyView())
        key->setFocus();
}

void PreferencesWindowController::closeEvent(QCloseEvent* event)
{
    PreferencePaneView* pane = selectedViewController();
    if (pane && !pane->commitEditing()) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}
