// The file viewer's own file actions: trash, copy, move and zip of the checked files, and
// the context menu's single-file commands.

#include "viewer/core/FileViewerWindowController.h"

#include "base/UserInterface.h"
#include "fileops/FileCommands.h"
#include "fileops/FileOprations.h"
#include "scan/TFoldInfo.h"
#include "settings/Log.h"

#include <algorithm>

FileCommands FileViewerWindowController::fileCommands()
{
    // A failed file keeps its row and its check box; a checked folder goes into an archive
    // whole.
    return FileCommands(&ui_);
}

void FileViewerWindowController::deleteFiles()
{
    if (confirmTrash()) {
        const FileCommands::Outcome outcome = fileCommands().remove(checkedNodes());
        if (!outcome.gone.empty())
            afterNodesLeft(outcome.gone);
    }
    updateStateForToolBarButtons();
}

void FileViewerWindowController::performMoveToTrash(TFoldInfo* clicked)
{
    if (confirmTrash()) {
        // The clicked row stands in when no checked file went: none was checked, or every
        // checked one failed.
        FileCommands commands = fileCommands();
        FileCommands::Outcome outcome = commands.trash(checkedNodes());
        if (outcome.done.empty() && isShown(clicked) && !clicked->isNonDeleteableFile())
            outcome = commands.trash({clicked});
        if (!outcome.gone.empty())
            afterNodesLeft(outcome.gone);
    }
    updateStateForToolBarButtons();
}

void FileViewerWindowController::copySelectedFilesAt(const QString& destination)
{
    if (confirmTransfer("ID_COPY_SELECTED_FILES", destination))
        fileCommands().copy(checkedNodes(), destination);
}

void FileViewerWindowController::moveSelectedFilesAt(const QString& destination)
{
    if (!confirmTransfer("ID_MOVE_SELECTED_FILES", destination))
        return;
    const FileCommands::Outcome outcome = fileCommands().move(checkedNodes(), destination);
    if (outcome.gone.empty())
        return;
    removeFromLists(outcome.gone);
    Q_EMIT tableReloaded();
    checkItemsForSelection();
    removeFileFromMainScannedTree(outcome.gone);
    setFilesTotalSizeAndCount();
}

void FileViewerWindowController::zipSelectedFilesAt(const QString& destination)
{
    qvlog(QStringLiteral("zipSelectedFilesAt:") + destination);
    if (confirmTransfer("ID_ZIP_SELECTED_FILES", destination))
        fileCommands().zip(checkedNodes(), destination);
}

// ---------------------------------------------------------------- single-file commands

bool FileViewerWindowController::isShown(const TFoldInfo* node) const
{
    const NodeList& shown = getArrayOfFilesForPerformOperation();
    return node && std::find(shown.begin(), shown.end(), node) != shown.end();
}

void FileViewerWindowController::showInFinderMenuOption(const TFoldInfo* clicked)
{
    qvlog(QStringLiteral("FileViewerWindowController showInFinderMenuOption:"));
    if (isShown(clicked))
        FileOprations(&ui_).showInFinder(clicked->sPath());
}

void FileViewerWindowController::openFileMenuOption(const TFoldInfo* clicked)
{
    qvlog(QStringLiteral("FileViewerWindowController openFileMenuOption:"));
    if (isShown(clicked))
        FileOprations(&ui_).openFile(clicked->sPath());
}

void FileViewerWindowController::previewFileMenuOption(const TFoldInfo* clicked)
{
    qvlog(QStringLiteral("FileViewerWindowController previewFileMenuOption:"));
    if (isShown(clicked))
        previewFile(clicked->sPath());
}

void FileViewerWindowController::moveToTrashFileMenuOption(TFoldInfo* clicked)
{
    qvlog(QStringLiteral("FileViewerWindowController moveToTrashFileMenuOption:"));
    performMoveToTrash(clicked);
}
