#pragma once

#include <QString>

#include <optional>

class UserInterface;

// The questions every file command asks first, shared by the main window and the file
// viewer: the trash confirmation, the copy/move/zip confirmation naming the destination,
// and the destination chooser.
namespace FileActionPrompts {

// "ID_TRASH_SELECTED_FILES" with "ID_MANUALLY_RECOVER_FRM_TRASH"; true for YES.
bool confirmTrash(UserInterface& ui);
// The format "%@ %@/?" over the message key's text and the destination; true for YES.
bool confirmTransfer(UserInterface& ui, const char* messageKey, const QString& destination);
// A folder chooser titled "ID_PLZ_SELECT_DEST_FOLDER" with the confirm key's text as its
// button; logs and gives nothing when cancelled or when no folder came back.
std::optional<QString> chooseDestination(UserInterface& ui, const char* confirmKey);

} // namespace FileActionPrompts
