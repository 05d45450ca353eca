#pragma once

#include <QSize>
#include <QWidget>

// One pane of the preferences window. The window asks each pane for its toolbar item (from
// PreferencePanes) and tells it when it appears and disappears; a pane keeps the size it
// wants as its fixed size, which the window animates to.
class PreferencePaneView : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;

    // The pane's index in PreferencePanes::panes().
    virtual int paneIndex() const = 0;
    // The size the pane's content area takes.
    virtual QSize paneSize() const = 0;

    virtual void viewWillAppear() {}
    virtual void viewDidAppear() {}
    virtual void viewWillDisappear() {}
    virtual void viewDidDisappear() {}
    // The control that takes the keyboard when the pane is first shown; null for none.
    virtual QWidget* initialKeyView() { return nullptr; }
    // Commits an edit still in progress (a number being typed); false keeps the window open.
    virtual bool commitEditing() { return true; }
};
