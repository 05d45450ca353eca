// The file viewer's list, table, status line, toolbar and file actions. The filter panel
// is in FileViewerFilterPanel.cpp.

#include "viewer/core/FileViewerWindowController.h"

#include "fileops/FileActionPrompts.h"

#include "base/UserInterface.h"
#include "reports/ReportRanges.h"
#include "scan/TFoldInfo.h"
#include "scan/TFoldInfoFields.h"
#include "settings/CommonFuncs.h"
#include "settings/GeneralLib.h"
#include "settings/Log.h"
#include "settings/SettingsStore.h"
#include "settings/TextFormat.h"

#include <QPointer>

#include <algorithm>
#include <unordered_set>

using namespace std::chrono_literals;

namespace {

QString text(const char* key) { return CommonFuncs::getLocalizedStringForKey(QLatin1String(key)); }

QString dateText(double absoluteTime)
{
    return CommonFuncs::getFomattedDateString(CommonFuncs::dateFromAbsoluteTime(absoluteTime));
}

} // namespace

std::unique_ptr<FileViewerWindowController> FileViewerWindowController::openFilesViewerWindow(
    const NodeList& files, const QString& withTitle, UserInterface& ui, Scheduler& scheduler,
    FileViewerWindowControllerDelegate* delegate)
{
    if (files.empty()) {
        ui.alert(QString(), TextFormat::format(QStringLiteral("%@"), {text("ID_FILE_NOT_PRESENT_IN_CAT")}));
        return nullptr;
    }
    return std::make_unique<FileViewerWindowController>(files, withTitle, ui, scheduler, delegate);
}

FileViewerWindowController::FileViewerWindowController(const NodeList& files, const QString& title,
                                                       UserInterface& ui, Scheduler& scheduler,
                                                       FileViewerWindowControllerDelegate* delegate,
                                                       QObject* parent)
    : QObject(parent), arrFilesList_(files), titleText_(title), ui_(ui), scheduler_(scheduler), delegate_(delegate)
{
    arrFilesList_.erase(std::remove(arrFilesList_.begin(), arrFilesList_.end(), nullptr), arrFilesList_.end());
    sortFilesList();
    readValuesForFilterOpration();
    checkItemsForSelection();
}

FileViewerWindowController::~FileViewerWindowController() = default;

void FileViewerWindowController::sortFilesList()
{
    sortByDescriptor(arrFilesList_, GeneralLib::sortDescriptor(SortSetting::ForFileViewer), tfoldInfoFields());
}

const NodeList& FileViewerWindowController::getArrayOfFilesForPerformOperation() const
{
    return isFilteredResult_ ? arrFilteredFiles_ : arrFilesList_;
}

// ---------------------------------------------------------------- table

int FileViewerWindowController::rowCount() const { return int(getArrayOfFilesForPerformOperation().size()); }

TFoldInfo* FileViewerWindowController::nodeAt(int row) const
{
    const NodeList& shown = getArrayOfFilesForPerformOperation();
    return row >= 0 && std::size_t(row) < shown.size() ? shown[std::size_t(row)] : nullptr;
}

QString FileViewerWindowController::columnText(int row, const QString& column) const
{
    TFoldInfo* node = nodeAt(row);
    if (!node)
        return {};
    if (column == QLatin1String("name")) return node->sName();
    if (column == QLatin1String("path")) return node->sPath();
    if (column == QLatin1String("type")) return node->fType();
    if (column == QLatin1String("size")) return CommonFuncs::unitForSize(node->cSize());
    if (column == QLatin1String("sizeonDisk")) return CommonFuncs::unitForSize(node->cASize());
    if (column == QLatin1String("lastModified")) return dateText(node->lMTime());
    if (column == QLatin1String("createdDate")) return dateText(node->cTime());
    if (column == QLatin1String("lastAccessed")) return dateText(node->lATime());
    if (column == QLatin1String("attributes")) return ReportRanges::GetAttributes(node);
    return {};
}

bool FileViewerWindowController::isCheckBoxChecked(int row) const
{
    const TFoldInfo* node = nodeAt(row);
    return node && !node->isNonDeleteableFile() && node->stateAtViewer() != 0;
}

bool FileViewerWindowController::isCheckBoxEnabled(int row) const
{
    const TFoldInfo* node = nodeAt(row);
    return node && !node->isNonDeleteableFile();
}

QString FileViewerWindowController::sortKeyForColumn(const QString& column)
{
    static const std::pair<const char*, const char*> kKeys[] = {
        {"name", "sName"},         {"path", "sPath"},           {"type", "fType"},
        {"size", "cSize"},         {"sizeonDisk", "cASize"},    {"lastModified", "lMTime"},
        {"createdDate", "cTime"},  {"lastAccessed", "lATime"},
    };
    for (const auto& [id, key] : kKeys)
        if (column == QLatin1String(id))
            return QLatin1String(key);
    return {};
}

void FileViewerWindowController::checkBoxFileSelctionTapped(int row, bool checked)
{
    qvlog(QStringLiteral("checkBoxFileSelctionTapped:"));
    if (TFoldInfo* node = nodeAt(row); node && !node->isNonDeleteableFile())
        node->setStateAtViewer(checked ? 1 : 0);
    checkItemsForSelection();
}

void FileViewerWindowController::doubleClickedTableFilesViewer(int selectedRow)
{
    const TFoldInfo* node = nodeAt(selectedRow);
    if (!node)
        return;
    qvlog(QStringLiteral("doubleClickedTableFilesViewer:") + node->sPath());
    previewFile(node->sPath());
}

void FileViewerWindowController::sortDescriptorsDidChange(const QList<SortDescriptor>& descriptors)
{
    if (descriptors.isEmpty())
        return;
    NodeList& shown = isFilteredResult_ ? arrFilteredFiles_ : arrFilesList_;
    // Stable sorts from the last descriptor to the first leave the first as the main order.
    for (auto it = descriptors.crbegin(); it != descriptors.crend(); ++it)
        sortByDescriptor(shown, *it, tfoldInfoFields());
    Q_EMIT tableReloaded();
    if (tfoldInfoFields().find(descriptors.first().key)) {
        GeneralLib::setSortDescriptor(SortSetting::ForFileViewer, descriptors.first());
        CommonFuncs::archivedObject(descriptors.first(), GeneralLib::sortSettingKey(SortSetting::ForFileViewer));
    }
}

// ---------------------------------------------------------------- status line and toolbar

void FileViewerWindowController::setFilesTotalSizeAndCount()
{
    std::uint64_t size = 0, sizeOnDisk = 0;
    const NodeList& shown = getArrayOfFilesForPerformOperation();
    for (const TFoldInfo* node : shown) {
        size += node->cSize();
        sizeOnDisk += node->cASize();
    }
    const int unit = GeneralLib::cache().diskReportSummary;
    sizeText_ = TextFormat::format(QStringLiteral("Size: %@"), {CommonFuncs::sizeUnitFor(unit, size)});
    sizeOnDiskText_ = TextFormat::format(QStringLiteral("%@: %@"),
                                         {text("ID_SIZE_ON_DISK"), CommonFuncs::sizeUnitFor(unit, sizeOnDisk)});
    countText_ = TextFormat::format(QStringLiteral("Files: %ld"), {shown.size()});
    Q_EMIT statusLineChanged();
}

void FileViewerWindowController::checkItemsForSelection()
{
    const NodeList& shown = getArrayOfFilesForPerformOperation();
    const bool enabled = std::any_of(shown.begin(), shown.end(), [](const TFoldInfo* n) { return n->stateAtViewer() != 0; });
    toolBarEnabled_ = enabled;
    Q_EMIT toolBarButtonsChanged(enabled);
}

QStringList FileViewerWindowController::toolBarButtonImages() const
{
    const QString suffix = toolBarEnabled_ ? QStringLiteral(".png") : QStringLiteral("_dis.png");
    return {QStringLiteral("delete") + suffix, QStringLiteral("copy") + suffix, QStringLiteral("move") + suffix,
            QStringLiteral("zip") + suffix};
}

void FileViewerWindowController::updateStateForToolBarButtons()
{
    // The dialog may close before the delay ends; the work then finds no viewer.
    scheduler_.schedule(10ms, [self = QPointer<FileViewerWindowController>(this)] {
        if (self)
            self->checkItemsForSelection();
    });
}

void FileViewerWindowController::btnDeleteFilesTapped()
{
    qvlog(QStringLiteral("FileViewerWindowController btnDeleteFilesTapped:"));
    deleteFiles();
}

void FileViewerWindowController::btnCopyFilesTapped()
{
    qvlog(QStringLiteral("FileViewerWindowController btnCopyFilesTapped:"));
    if (const auto folder = chooseDestination("ID_COPY"))
        copySelectedFilesAt(*folder);
}

void FileViewerWindowController::btnMoveFilesTapped()
{
    qvlog(QStringLiteral("FileViewerWindowController btnMoveFilesTapped:"));
    if (const auto folder = chooseDestination("ID_MOVE"))
        moveSelectedFilesAt(*folder);
}

void FileViewerWindowController::btnZipFilesTapped()
{
    qvlog(QStringLiteral("FileViewerWindowController btnZipFilesTapped:"));
    if (const auto folder = chooseDestination("ID_ZIP"))
        zipSelectedFilesAt(*folder);
}

void FileViewerWindowController::btnCloseTapped() { Q_EMIT closeRequested(); }

void FileViewerWindowController::windowWillClose()
{
    qvlog(QStringLiteral("FileViewerWindowController windowWillClose"));
}

// ---------------------------------------------------------------- context menu

bool FileViewerWindowController::validateMenuItem(MenuCommand command, int clickedRow) const
{
    if (command == MenuCommand::FilterPopUp)
        return true;
    const TFoldInfo* node = nodeAt(clickedRow);
    return node && (command == MenuCommand::ShowInFinder || !node->isNonDeleteableFile());
}

void FileViewerWindowController::previewFile(const QString& path)
{
    pathForPreview_ = path;
    ui_.preview(path);
}

void FileViewerWindowController::performSelectAllOrUnSelect(int state)
{
    qvlog(TextFormat::format(QStringLiteral("performSelectAllOrUnSelect:%ld"), {state}));
    for (TFoldInfo* node : arrFilesList_)
        node->setStateAtViewer(state);
    Q_EMIT tableReloaded();
    checkItemsForSelection();
}

// ---------------------------------------------------------------- helpers of the actions

NodeList FileViewerWindowController::checkedNodes() const
{
    NodeList nodes;
    for (TFoldInfo* node : getArrayOfFilesForPerformOperation())
        if (node->stateAtViewer() == 1)
            nodes.push_back(node);
    return nodes;
}

void FileViewerWindowController::removeFromLists(const NodeList& nodes)
{
    const std::unordered_set<const TFoldInfo*> gone(nodes.begin(), nodes.end());
    const auto isGone = [&gone](const TFoldInfo* n) { return gone.count(n) != 0; };
    std::erase_if(arrFilesList_, isGone);
    std::erase_if(arrFilteredFiles_, isGone);
}

void FileViewerWindowController::afterNodesLeft(const NodeList& nodes)
{
    removeFromLists(nodes);
    Q_EMIT tableReloaded();
    removeFileFromMainScannedTree(nodes);
    setFilesTotalSizeAndCount();
}

void FileViewerWindowController::removeFileFromMainScannedTree(const NodeList& nodes)
{
    if (delegate_)
        delegate_->removeItemsFromScannedTree(nodes);
}

bool FileViewerWindowController::confirmTrash() { return FileActionPrompts::confirmTrash(ui_); }

bool FileViewerWindowController::confirmTransfer(const char* messageKey, const QString& destination)
{
    return FileActionPrompts::confirmTransfer(ui_, messageKey, destination);
}

std::optional<QString> FileViewerWindowController::chooseDestination(const char* confirmKey)
{
    return FileActionPrompts::chooseDestination(ui_, confirmKey);
}
