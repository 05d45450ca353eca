#include "fileops/FileActionPrompts.h"

#include "base/UserInterface.h"
#include "settings/CommonFuncs.h"
#include "settings/Log.h"
#include "settings/TextFormat.h"

namespace FileActionPrompts {

namespace {
QString text(const char* key) { return CommonFuncs::getLocalizedStringForKey(QLatin1String(key)); }
} // namespace

bool confirmTrash(UserInterface& ui)
{
    return ui.confirm(text("ID_TRASH_SELECTED_FILES"),
                      TextFormat::format(QStringLiteral("%@"), {text("ID_MANUALLY_RECOVER_FRM_TRASH")}));
}

bool confirmTransfer(UserInterface& ui, const char* messageKey, const QString& destination)
{
    return ui.confirm(TextFormat::format(QStringLiteral("%@ %@/?"), {text(messageKey), destination}), QString());
}

std::optional<QString> chooseDestination(UserInterface& ui, const char* confirmKey)
{
    FolderChoice choice;
    choice.title = text("ID_PLZ_SELECT_DEST_FOLDER");
    choice.prompt = text(confirmKey);
    choice.canCreateFolders = true;
    const std::optional<QString> folder = ui.chooseFolder(choice);
    if (!folder) {
        qvlog(QStringLiteral("Result Not present"));
        return std::nullopt;
    }
    if (folder->isEmpty()) {
        qvlog(QStringLiteral("Not Url present"));
        return std::nullopt;
    }
    return folder;
}

} // namespace FileActionPrompts
