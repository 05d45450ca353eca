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
    void (*run)(AppDelegate&);
};

const Entry kEntries[] = {
    {"reveal", "ID_MENU_SHOW_IN_FILE_MANAGER", Command::ShowInFinder, [](AppDelegate& c) { c.performFileOperation(0); }},
    {"open", "ID_MENU_OPEN", Command::Open, [](AppDelegate& c) { c.performFileOperation(2); }},
    {"preview", "ID_MENU_PREVIEW", Command::Preview, [](AppDelegate& c) { c.performFileOperation(1); }},
    {"trash", "ID_MENU_MOVE_TO_TRASH", Command::MoveToTrash, [](AppDelegate& c) { c.moveToTrashMenu(); }},
    {"selectAll", "ID_MENU_SELECT_ALL", Command::SelectAll, [](AppDelegate& c) { c.performSelectAllOrUnSelect(1); }},
    {"unselectAll", "ID_MENU_UNSELECT_ALL", Command::UnSelectAll,
     [](AppDelegate& c) { c.performSelectAllOrUnSelect(0); }},
};

} // namespace

QMenu* build(AppDelegate& controller, int row, QWidget* parent)
{
    auto* menu = new QMenu(parent);
    controller.setClickedRow(row);
    for (const Entry& entry : kEntries) {
        if (entry.command == Command::MoveToTrash || entry.command == Command::SelectAll)
            menu->addSeparator();
        QAction* action = menu->addAction(CommonFuncs::getLocalizedStringForKey(QLatin1String(entry.titleKey)));
        action->setObjectName(QLatin1String(entry.objectName));
        action->setEnabled(controller.validateMenuItem(entry.command));
        const auto run = entry.run;
        QObject::connect(action, &QAction::triggered, menu, [&controller, run] { run(controller); });
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
