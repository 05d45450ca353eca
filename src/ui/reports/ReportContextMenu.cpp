#include "ui/reports/ReportContextMenu.h"

#include "app/AppDelegate.h"
#include "settings/CommonFuncs.h"

#include <QMenu>

namespace ReportContextMenu {

namespace {

using Command = AppDelegate::MenuCommand;

struct Entry {
    const char* objectName;
    const char* titleKey;
    Command command;
    void (*run)(AppDelegate&, TFoldInfo*);
};

const Entry kEntries[] = {
    {"reveal", "ID_MENU_SHOW_IN_FILE_MANAGER", Command::ShowInFinder,
     [](AppDelegate& c, TFoldInfo* n) { c.performFileOperation(0, n); }},
    {"open", "ID_MENU_OPEN", Command::Open, [](AppDelegate& c, TFoldInfo* n) { c.performFileOperation(2, n); }},
    {"preview", "ID_MENU_PREVIEW", Command::Preview, [](AppDelegate& c, TFoldInfo* n) { c.performFileOperation(1, n); }},
    {"trash", "ID_MENU_MOVE_TO_TRASH", Command::MoveToTrash, [](AppDelegate& c, TFoldInfo* n) { c.moveToTrashMenu(n); }},
    {"selectAll", "ID_MENU_SELECT_ALL", Command::SelectAll,
     [](AppDelegate& c, TFoldInfo*) { c.performSelectAllOrUnSelect(1); }},
    {"unselectAll", "ID_MENU_UNSELECT_ALL", Command::UnSelectAll,
     [](AppDelegate& c, TFoldInfo*) { c.performSelectAllOrUnSelect(0); }},
};

} // namespace

QMenu* build(AppDelegate& controller, int row, QWidget* parent)
{
    auto* menu = new QMenu(parent);
    // The commands keep the node of the row as it is now, so a later sort cannot redirect them.
    const NodeList list = controller.getArrayOfFilesForPerformOperation();
    TFoldInfo* node = row >= 0 && std::size_t(row) < list.size() ? list[std::size_t(row)] : nullptr;
    for (const Entry& entry : kEntries) {
        if (entry.command == Command::MoveToTrash || entry.command == Command::SelectAll)
            menu->addSeparator();
        QAction* action = menu->addAction(CommonFuncs::getLocalizedStringForKey(QLatin1String(entry.titleKey)));
        action->setObjectName(QLatin1String(entry.objectName));
        action->setEnabled(controller.validateMenuItem(entry.command, node));
        const auto run = entry.run;
        QObject::connect(action, &QAction::triggered, menu, [&controller, run, node] { run(controller, node); });
    }
    return menu;
}

void exec(AppDelegate& controller, int row, const QPoint& globalPos, QWidget* parent)
{
    QMenu* menu = build(controller, row, parent);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(globalPos);
}

} // namespace ReportContextMenu
