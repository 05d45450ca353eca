#pragma once

#include <QPoint>

class AppDelegate;
class QMenu;
class QWidget;

// The context menu of the report lists (file explorer, overview file list, obsolete files,
// applications): reveal, open, preview, move to trash, select all, unselect all. Each
// entry is enabled as the controller's menu validation says for the clicked row, and
// runs the controller's command.
namespace ReportContextMenu {

// Builds the menu for a right-click on `row` (-1: on no row) of the current report's list.
// The caller owns the menu. Entries carry object names ("reveal", "open", "preview",
// "trash", "selectAll", "unselectAll").
QMenu* build(AppDelegate& controller, int row, QWidget* parent);

// Builds the menu and runs it at the global position.
void exec(AppDelegate& controller, int row, const QPoint& globalPos, QWidget* parent);

} // namespace ReportContextMenu
