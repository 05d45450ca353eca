// The main window's file actions on the entries of the shown report.

#include "app/AppDelegate.h"

#include "fileops/FileActionPrompts.h"

#include "fileops/FileCommands.h"
#include "fileops/FileOprations.h"
#include "settings/CommonFuncs.h"
#include "settings/GeneralLib.h"
#include "settings/Log.h"
#include "settings/TextFormat.h"

#include <QFileInfo>

#include <algorithm>

using namespace std::chrono_literals;

namespace {

bool takesPart(int index)
{
    return index == ReportIndex::FileExplorer || index == ReportIndex::Overview || index == ReportIndex::ObsoleteFiles;
}

} // namespace

NodeList AppDelegate::getArrayOfFilesForPerformOperation() const
{
    switch (currentReportIndex()) {
    case ReportIndex::FileExplorer: return reports_.arrFilesExplorer();
    case ReportIndex::Overview: return reports_.arrTopSizeFiles();
    case ReportIndex::ObsoleteFiles: return reports_.FObsoleteFileList();
    case ReportIndex::Applications: return reports_.arrAllChildApps();
    default: return {};
    }
}

NodeList AppDelegate::nodesForToolbarCommand() const
{
    NodeList nodes;
    switch (currentReportIndex()) {
    case ReportIndex::Overview:
        if (TFoldInfo* node = selectedTopSizeFile())
            nodes.push_back(node);
        break;
    case ReportIndex::FileExplorer:
        for (TFoldInfo* node : reports_.arrFilesExplorer())
            if (node->state() == 1)
                nodes.push_back(node);
        break;
    case ReportIndex::ObsoleteFiles:
        for (TFoldInfo* node : reports_.FObsoleteFileList())
            if (node->stateAtObsoleteFiles() == 1)
                nodes.push_back(node);
        break;
    default:
        break;
    }
    return nodes;
}

NodeList AppDelegate::takeOutOfTree(const NodeList& gone)
{
    NodeList taken;
    {
        std::lock_guard guard(mutex_);
        taken = FileCommands::takeOutOfTree(gone);
    }
    if (!taken.empty())
        isRefreshReqForTree_ = true;
    return taken;
}

FileCommands AppDelegate::fileCommands()
{
    FileCommands::Options options;
    // A failed node is unchecked, so the next command does not take it again.
    const int index = currentReportIndex();
    options.failed = [index](TFoldInfo* node) {
        if (index == ReportIndex::ObsoleteFiles)
            node->setStateAtObsoleteFiles(0);
        else if (index == ReportIndex::FileExplorer)
            node->setState(0);
    };
    // The overview's applications go into an archive whole; other folders file by file.
    options.zipFolders = index == ReportIndex::Overview ? FileCommands::ZipFolders::TheirFilesButApps
                                                        : FileCommands::ZipFolders::TheirFiles;
    return FileCommands(&ui_, std::move(options));
}

void AppDelegate::updateStateForToolBarButtons()
{
    scheduler_.schedule(10ms, [this] { checkItemsForSelection(); });
}

bool AppDelegate::confirmTrash() { return FileActionPrompts::confirmTrash(ui_); }

bool AppDelegate::confirmTransfer(const char* messageKey, const QString& destination)
{
    return FileActionPrompts::confirmTransfer(ui_, messageKey, destination);
}

std::optional<QString> AppDelegate::chooseDestination(const char* confirmKey)
{
    return FileActionPrompts::chooseDestination(ui_, confirmKey);
}

// ---- toolbar commands ----

void AppDelegate::btnDeleteFilesTapped()
{
    qvlog(QStringLiteral("AppDelegate btnDeleteFilesTapped:"));
    performDelete();
}

void AppDelegate::btnCopyFilesTapped()
{
    qvlog(QStringLiteral("AppDelegate btnCopyFilesTapped:"));
    if (const auto folder = chooseDestination("ID_COPY"))
        copySelectedFilesAt(*folder);
}

void AppDelegate::btnMoveFilesTapped()
{
    qvlog(QStringLiteral("AppDelegate btnMoveFilesTapped:"));
    if (const auto folder = chooseDestination("ID_MOVE"))
        moveSelectedFilesAt(*folder);
}

void AppDelegate::btnZipFilesTapped()
{
    qvlog(QStringLiteral("AppDelegate btnZipFilesTapped:"));
    if (const auto folder = chooseDestination("ID_ZIP"))
        zipSelectedFilesAt(*folder);
}

void AppDelegate::performDelete()
{
    isRefreshReqForTree_ = false;
    if (confirmTrash()) {
        if (currentReportIndex() == ReportIndex::Overview)
            qvlog(TextFormat::format(QStringLiteral("%ld"), {selectedTopSizeFileRow()}));
        const FileCommands::Outcome outcome = fileCommands().remove(nodesForToolbarCommand());
        takeOutOfTree(outcome.gone);
        reports_.removeNodes(outcome.gone);
        if (!outcome.gone.empty())
            Q_EMIT topSizeFilesChanged();
    }
    if (isRefreshReqForTree_)
        refreshScannedTree();
    else
        Q_EMIT reportTableReload(ReportIndex::FileExplorer);
    updateStateForToolBarButtons();
}

void AppDelegate::moveSelectedFilesAt(const QString& destination)
{
    isRefreshReqForTree_ = false;
    if (confirmTransfer("ID_MOVE_SELECTED_FILES", destination)) {
        const FileCommands::Outcome outcome = fileCommands().move(nodesForToolbarCommand(), destination);
        takeOutOfTree(outcome.gone);
        reports_.removeNodes(outcome.gone);
    }
    if (isRefreshReqForTree_) {
        Q_EMIT topSizeFilesChanged();
        refreshScannedTree();
    }
    updateStateForToolBarButtons();
}

void AppDelegate::copySelectedFilesAt(const QString& destination)
{
    if (confirmTransfer("ID_COPY_SELECTED_FILES", destination))
        fileCommands().copy(nodesForToolbarCommand(), destination);
}

void AppDelegate::zipSelectedFilesAt(const QString& destination)
{
    if (confirmTransfer("ID_ZIP_SELECTED_FILES", destination))
        fileCommands().zip(nodesForToolbarCommand(), destination);
}

// ---- the context menu ----

TFoldInfo* AppDelegate::inShownList(const TFoldInfo* node) const
{
    const NodeList list = getArrayOfFilesForPerformOperation();
    const auto it = std::find(list.begin(), list.end(), node);
    return node && it != list.end() ? *it : nullptr;
}

bool AppDelegate::validateMenuItem(MenuCommand command, const TFoldInfo* clicked) const
{
    if (command == MenuCommand::AppCommand)
        return true;
    const int index = currentReportIndex();
    if (index != ReportIndex::Applications && !takesPart(index))
        return false;
    const TFoldInfo* node = inShownList(clicked);
    if (!node)
        return false;
    return index == ReportIndex::Applications || command == MenuCommand::ShowInFinder || !node->isNonDeleteableFile();
}

void AppDelegate::performFileOperation(int operation, const TFoldInfo* clicked)
{
    const TFoldInfo* node = inShownList(clicked);
    if (!node)
        return;
    FileOprations operations(&ui_);
    switch (operation) {
    case 0: operations.showInFinder(node->sPath()); break;
    case 1: ui_.preview(node->sPath()); break;
    case 2: operations.openFile(node->sPath()); break;
    default: break;
    }
}

void AppDelegate::moveToTrashMenu(TFoldInfo* clicked)
{
    isRefreshReqForTree_ = false;
    const int index = currentReportIndex();
    if (!confirmTrash())
        return;
    if (takesPart(index)) {
        NodeList nodes;
        if (index != ReportIndex::Overview)
            nodes = nodesForToolbarCommand(); // the checked rows
        if (TFoldInfo* node = inShownList(clicked); nodes.empty() && node && !node->isNonDeleteableFile())
            nodes.push_back(node);
        performMoveToTrashFiles(nodes);
    }
    updateStateForToolBarButtons();
}

void AppDelegate::performMoveToTrashFiles(const NodeList& nodes)
{
    qvlog(TextFormat::format(QStringLiteral("performMoveToTrashFiles:%lu"), {nodes.size()}));
    const FileCommands::Outcome outcome = fileCommands().trash(nodes);
    takeOutOfTree(outcome.gone);
    if (!outcome.gone.empty()) {
        reports_.removeNodes(outcome.gone);
        Q_EMIT topSizeFilesChanged();
        refreshScannedTree();
    } else {
        refreshAllDiskReport();
    }
}

void AppDelegate::performSelectAllOrUnSelect(int state)
{
    const int index = currentReportIndex();
    if (index == ReportIndex::FileExplorer) {
        for (TFoldInfo* node : reports_.arrFilesExplorer())
            node->setState(state);
        Q_EMIT reportTableReload(index);
    } else if (index == ReportIndex::ObsoleteFiles) {
        for (TFoldInfo* node : reports_.FObsoleteFileList())
            node->setStateAtObsoleteFiles(state);
        Q_EMIT reportTableReload(index);
    }
    checkItemsForSelection();
}
