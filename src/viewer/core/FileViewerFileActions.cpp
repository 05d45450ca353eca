// The file viewer's own file actions: trash, copy, move and zip of the checked files, and
// the context menu's single-file commands.

#include "viewer/core/FileViewerWindowController.h"

#include "app/UserInterface.h"
#include "fileops/FileOprations.h"
#include "scan/TFoldInfo.h"
#include "settings/Log.h"

#include <QFile>

namespace {

// The archive name a single node gives: its name without the extension.
QByteArray archiveBaseName(const TFoldInfo* node)
{
    const QByteArray name(node->nameBytes().data(), qsizetype(node->nameBytes().size()));
    const qsizetype dot = name.lastIndexOf('.');
    return dot > 0 ? name.left(dot) : name;
}

} // namespace

void FileViewerWindowController::deleteFiles()
{
    if (confirmTrash()) {
        FileOprations operations(&ui_);
        NodeList removed;
        for (TFoldInfo* node : checkedNodes())
            if (operations.removeFileFromPath(node->sPathBytes()))
                removed.push_back(node);
        if (!removed.empty())
            afterNodesLeft(removed);
    }
    updateStateForToolBarButtons();
}

NodeList FileViewerWindowController::trashNodes(const NodeList& nodes)
{
    FileOprations operations(&ui_);
    NodeList trashed;
    for (TFoldInfo* node : nodes)
        if (operations.moveToTrashFileFromPath(node->sPathBytes()))
            trashed.push_back(node);
    return trashed;
}

void FileViewerWindowController::performMoveToTrash()
{
    if (confirmTrash()) {
        // The clicked row stands in when no checked file went: none was checked, or every
        // checked one failed.
        NodeList trashed = trashNodes(checkedNodes());
        if (trashed.empty())
            if (TFoldInfo* clicked = nodeAt(int(selectedIndex_)); clicked && !clicked->isNonDeleteableFile())
                trashed = trashNodes({clicked});
        if (!trashed.empty())
            afterNodesLeft(trashed);
    }
    updateStateForToolBarButtons();
}

void FileViewerWindowController::copySelectedFilesAt(const QString& destination)
{
    if (!confirmTransfer("ID_COPY_SELECTED_FILES", destination))
        return;
    FileOprations operations(&ui_);
    const QByteArray target = QFile::encodeName(destination);
    for (TFoldInfo* node : checkedNodes())
        operations.copyFileFromPath(node->sPathBytes(), target);
}

void FileViewerWindowController::moveSelectedFilesAt(const QString& destination)
{
    if (!confirmTransfer("ID_MOVE_SELECTED_FILES", destination))
        return;
    FileOprations operations(&ui_);
    const QByteArray target = QFile::encodeName(destination);
    NodeList moved;
    for (TFoldInfo* node : checkedNodes())
        if (operations.moveFileFromPath(node->sPathBytes(), target))
            moved.push_back(node);
    if (moved.empty())
        return;
    removeFromLists(moved);
    Q_EMIT tableReloaded();
    checkItemsForSelection();
    removeFileFromMainScannedTree(moved);
    setFilesTotalSizeAndCount();
}

void FileViewerWindowController::zipSelectedFilesAt(const QString& destination)
{
    qvlog(QStringLiteral("zipSelectedFilesAt:") + destination);
    if (!confirmTransfer("ID_ZIP_SELECTED_FILES", destination))
        return;
    QList<QByteArray> paths;
    std::optional<QByteArray> archiveName;
    for (const TFoldInfo* node : checkedNodes()) {
        if (paths.isEmpty())
            archiveName = archiveBaseName(node);
        else
            archiveName.reset();
        paths.append(node->sPathBytes());
    }
    if (paths.isEmpty())
        return;
    FileOprations operations(&ui_);
    // The writer reports nothing itself; a zip that was not made must not pass for done.
    if (!operations.zipFiles(paths, QFile::encodeName(destination), archiveName))
        ui_.alert(QString(), FileOprations::failureAlertText(operations.lastError()));
}

// ---------------------------------------------------------------- single-file commands

void FileViewerWindowController::showInFinderMenuOption()
{
    qvlog(QStringLiteral("FileViewerWindowController showInFinderMenuOption:"));
    if (const TFoldInfo* node = nodeAt(int(selectedIndex_)))
        FileOprations(&ui_).showInFinder(node->sPath());
}

void FileViewerWindowController::openFileMenuOption()
{
    qvlog(QStringLiteral("FileViewerWindowController openFileMenuOption:"));
    if (const TFoldInfo* node = nodeAt(int(selectedIndex_)))
        FileOprations(&ui_).openFile(node->sPath());
}

void FileViewerWindowController::previewFileMenuOption()
{
    qvlog(QStringLiteral("FileViewerWindowController previewFileMenuOption:"));
    if (const TFoldInfo* node = nodeAt(int(selectedIndex_)))
        previewFile(node->sPath());
}

void FileViewerWindowController::moveToTrashFileMenuOption()
{
    qvlog(QStringLiteral("FileViewerWindowController moveToTrashFileMenuOption:"));
    performMoveToTrash();
}
