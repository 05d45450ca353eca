#pragma once

#include <QList>
#include <QSize>
#include <QString>

// What the preferences window needs to know without any window: its panes in toolbar
// order, which one is selected (remembered in the settings store), how long a resize
// between two panes takes, and the two process-wide change flags the main window applies
// when it becomes active again.
namespace PreferencePanes {

struct Pane {
    QString identifier; // "Display Unit", "Exclude", "Custom Filter", "Misc. Filter"
    QString iconName;   // the desktop theme icon of its toolbar item
    QString labelKey;   // text key of the toolbar label and the window title
};

// The four panes in toolbar order.
const QList<Pane>& panes();

// The remembered pane's position in panes(); 0 when nothing, or no pane's identifier, is
// remembered.
int selectedIndex();
// Remembers the pane by its identifier (PreferencesWindowControllerSelectedItemIdentifier).
void storeSelectedIdentifier(const QString& identifier);

// The animation time of a resize from one content size to another, in seconds:
// max(0.1, largest change of width or height / 100 × 0.05).
double resizeDuration(const QSize& from, const QSize& to);

} // namespace PreferencePanes

// The two flags the Custom Filter and Misc. Filter panes raise. Both are cleared when the
// settings button is pressed and after the main window has applied them. Main thread only.
namespace PreferenceChangeFlags {

void setCustomFilterChanged();
void setMiscChanged();
bool customFilterChanged();
bool miscChanged();
void clear();

} // namespace PreferenceChangeFlags
