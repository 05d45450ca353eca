#include "fileops/FileCommands.h"

#include "base/UserInterface.h"
#include "fileops/FileOprations.h"
#include "fileops/PathBytes.h"
#include "fileops/SystemCalls.h"
#include "scan/TFoldInfo.h"
#include "scan/TFolderScanner.h"
#include "settings/CommonFuncs.h"

#include <QFile>

#include <memory>

namespace {

// True when an ancestor below the root was taken out of its parent's list: the node left
// the tree with it.
bool isInsideRemovedNode(const TFoldInfo* node)
{
    for (const TFoldInfo* up = node->PFoldInfo(); up && up->PFoldInfo(); up = up->PFoldInfo())
        if (up->PFoldInfo()->indexOfChild(up) < 0)
            return true;
    return false;
}

// The nodes beneath `node` whose items are no longer on disk, each topmost one only (its
// own children leave with it).
void collectVanished(const TFoldInfo* node, NodeList& vanished)
{
    for (TFoldInfo* child : node->SubList()) {
        if (!PathBytes::exists(child->sPathBytes()))
            vanished.push_back(child);
        else if (child->hasFolderPart())
            collectVanished(child, vanished);
    }
}

} // namespace

FileCommands::FileCommands(UserInterface* ui) : ui_(ui) {}

FileCommands::FileCommands(UserInterface* ui, Options options) : ui_(ui), options_(std::move(options)) {}

FileCommands::Outcome FileCommands::trash(const NodeList& nodes) { return run(Kind::Trash, nodes, {}); }

FileCommands::Outcome FileCommands::remove(const NodeList& nodes) { return run(Kind::Remove, nodes, {}); }

FileCommands::Outcome FileCommands::copy(const NodeList& nodes, const QString& destination)
{
    return run(Kind::Copy, nodes, destination);
}

FileCommands::Outcome FileCommands::move(const NodeList& nodes, const QString& destination)
{
    return run(Kind::Move, nodes, destination);
}

FileCommands::Outcome FileCommands::run(Kind kind, const NodeList& nodes, const QString& destination)
{
    std::unique_ptr<FsOps::ScopedSystemCalls> calls;
    if (options_.systemCalls)
        calls = std::make_unique<FsOps::ScopedSystemCalls>(*options_.systemCalls);
    FileOprations operations(ui_);
    const QByteArray target = QFile::encodeName(destination);
    Outcome outcome;
    for (TFoldInfo* node : nodes) {
        const QByteArray path = node->sPathBytes();
        bool ok = false;
        switch (kind) {
        case Kind::Trash: ok = operations.moveToTrashFileFromPath(path); break;
        case Kind::Remove: ok = operations.removeFileFromPath(path); break;
        case Kind::Copy: ok = operations.copyFileFromPath(path, target); break;
        case Kind::Move: ok = operations.moveFileFromPath(path, target); break;
        }
        if (ok) {
            outcome.done.push_back(node);
            if (kind != Kind::Copy)
                outcome.gone.push_back(node);
            continue;
        }
        outcome.failed.push_back(node);
        if (options_.failed)
            options_.failed(node);
        // A folder whose removal stopped half way (moved to another file system, or
        // deleted from the trash) lost part of its content.
        if (kind != Kind::Copy && node->hasFolderPart())
            collectVanished(node, outcome.gone);
    }
    return outcome;
}

std::optional<QByteArray> FileCommands::archiveNameFor(const NodeList& nodes)
{
    if (nodes.size() != 1)
        return std::nullopt;
    const std::string_view bytes = nodes.front()->nameBytes();
    const QByteArray name(bytes.data(), qsizetype(bytes.size()));
    const qsizetype dot = name.lastIndexOf('.');
    return dot > 0 ? name.left(dot) : name;
}

bool FileCommands::zip(const NodeList& nodes, const QString& destination)
{
    QList<QByteArray> paths;
    for (const TFoldInfo* node : nodes) {
        const bool expand = node->isFolder() && options_.zipFolders != ZipFolders::AsTheyAre
            && !(options_.zipFolders == ZipFolders::TheirFilesButApps && node->isApp());
        if (!expand) {
            paths.append(node->sPathBytes());
            continue;
        }
        for (const QString& file : CommonFuncs::getHierarchyOfPaths(node->sPath()))
            paths.append(QFile::encodeName(file));
    }
    if (paths.isEmpty())
        return false;
    FileOprations operations(ui_);
    // The writer reports nothing itself; an archive that was not made must not pass for done.
    if (operations.zipFiles(paths, QFile::encodeName(destination), archiveNameFor(nodes)))
        return true;
    if (ui_)
        ui_->alert(QString(), FileOprations::failureAlertText(operations.lastError()));
    return false;
}

NodeList FileCommands::takeOutOfTree(const NodeList& nodes)
{
    NodeList taken;
    for (TFoldInfo* node : nodes)
        if (!isInsideRemovedNode(node) && TFolderScanner::takeNodeOutOfTree(node))
            taken.push_back(node);
    return taken;
}
