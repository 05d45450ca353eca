#include "app/AppDelegate.h"

#include "app/ProgressWindowController.h"
#include "scan/AnalysisLib.h"
#include "scan/DirectoryParser.h"
#include "settings/CommonFuncs.h"
#include "settings/ExclusionList.h"
#include "settings/GeneralLib.h"
#include "settings/Log.h"
#include "settings/Paths.h"
#include "settings/Plist.h"
#include "settings/TextFormat.h"
#include "settings/TypeCatalog.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QMetaObject>

#include <condition_variable>
#include <mutex>

using namespace std::chrono_literals;

namespace {

QString displayNameForPath(const QString& path)
{
    const QString clean = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    if (clean == QLatin1String("/"))
        return clean;
    return QFileInfo(clean).fileName();
}

} // namespace

AppDelegate::AppDelegate(UserInterface& ui, Scheduler& scheduler, QObject* parent)
    : QObject(parent), ui_(ui), scheduler_(scheduler)
{
}

AppDelegate::~AppDelegate()
{
    if (scanThread_.joinable()) {
        // The scan thread hands its tree over on this thread: keep serving it until it ends.
        isScanAborted().store(true);
        waitForScanToFinish();
    }
}

void AppDelegate::loadSettingsAndCatalogs(bool loadExclusionList)
{
    if (loadExclusionList) {
        const std::shared_ptr<const ExclusionList> list = ExclusionList::loadShared();
        if (!list->loadProblem().isEmpty())
            ui_.alert(CommonFuncs::getLocalizedStringForKey(QStringLiteral("ID_EXCLUSION_LIST_UNREADABLE")),
                      list->loadProblem());
    }
    GeneralLib::registerUserDefaultsForSettings();
    GeneralLib::readRegistry();
    TypeCatalog::readAndUpdateGlobalsForParsing();
}

void AppDelegate::awakeFromNib()
{
    std::lock_guard guard(mutex_);
    if (awoken_)
        return;
    awoken_ = true;
    isScannedSomeThing_ = false;
    CommonFuncs::setUnitBase(1000);
    parseDiskDrives();
    setToolBarButtonEnabled(false);
    scheduler_.schedule(1200ms, [this] { Q_EMIT startupDialogRequested(); });
}

void AppDelegate::applicationDidFinishLaunching() { Paths::ensureFolder(Paths::supportFolder()); }

void AppDelegate::parseDiskDrives() { setDiskDrives(DirectoryParser::getDiskDrives()); }

void AppDelegate::setDiskDrives(std::vector<DriveNode> drives)
{
    arrDiskDrive_ = std::move(drives);
    Q_EMIT volumesChanged();
}

// ---- scan control ----

void AppDelegate::scanForDrive(const DriveNode& drive)
{
    if (CommonFuncs::loadFromBookmarkPath(drive.path)) {
        setParsingPath(drive.path);
        return;
    }
    const QString informative = TextFormat::format(
        QStringLiteral("%@"), {CommonFuncs::getLocalizedStringForKey(QStringLiteral("ID_PERMISSION_FOR_DRIVE"))});
    if (ui_.confirm(QString(), informative, CommonFuncs::getLocalizedStringForKey(QStringLiteral("ID_CHOOSE")),
                    CommonFuncs::getLocalizedStringForKey(QStringLiteral("ID_CANCEL"))))
        openPanelToSelectDirectoryAt(drive.path);
}

void AppDelegate::openPanelToSelectDirectoryAt(const QString& path)
{
    FolderChoice choice;
    choice.prompt = CommonFuncs::getLocalizedStringForKey(QStringLiteral("ID_SELECT"));
    choice.startFolder = path;
    choice.canCreateFolders = false;
    const std::optional<QString> chosen = ui_.chooseFolder(choice);
    if (!chosen || chosen->isEmpty())
        return;
    setParsingPath(*chosen);
    CommonFuncs::saveBookmarkPath(*chosen);
}

void AppDelegate::scanInitialWindowPath(const QString& path)
{
    isScannedSomeThing_ = true;
    setParsingPath(path);
}

bool AppDelegate::setParsingPath(const QString& path) { return setParsingPath(QFile::encodeName(path)); }

bool AppDelegate::setParsingPath(const QByteArray& path)
{
    if (scanning_)
        return false; // one scan at a time; the progress sheet normally prevents this
    if (ExclusionList::shared()->isExcludedDirectory(std::string_view(path.constData(), size_t(path.size())))) {
        ui_.alert(CommonFuncs::getLocalizedStringForKey(QStringLiteral("ID_PATH_EXCLUDED")), QString());
        return false;
    }
    if (scanThread_.joinable())
        scanThread_.join();
    fileViewer_.reset(); // its nodes may belong to the tree this scan replaces
    progressWC_ = std::make_unique<ProgressWindowController>();
    scanner_.setDelegate(progressWC_.get());
    scanner_.setExclusionList(ExclusionList::shared());
    scanner_.setOptions(scanOptions());

    // The new tree belongs to the scan thread until completion hands it over; views keep
    // showing the roots as they are (a rescanned root's old tree included) until then.
    scanningTree_ = std::make_unique<ScanTree>(path, displayNameForPath(QFile::decodeName(path)));
    TFoldInfo* root = scanningTree_->root();
    scanning_ = true;
    isScanAborted().store(false);
    scanThread_ = std::thread([this, root] { startParsingForPath(root); });
    openProgressWindow();
    return true;
}

FolderScanOptions AppDelegate::scanOptions() const
{
    FolderScanOptions options = GeneralLib::folderScanOptions();
    options.scanHiddenFolders = options.scanHiddenFolders || forcedScanOptions_.scanHiddenFolders;
    options.stayOnOneFileSystem = options.stayOnOneFileSystem || forcedScanOptions_.stayOnOneFileSystem;
    return options;
}

void AppDelegate::startParsingForPath(TFoldInfo* root)
{
    QElapsedTimer timer;
    timer.start();
    const bool completed = scanner_.scanFolder(root);
    scanTime_ = float(double(timer.nsecsElapsed()) / 1e9);
    qvlog(TextFormat::format(QStringLiteral("scanned Folders:%hhd in %.2fs"), {int(completed), double(scanTime_)}));
    // Totals while the tree is still this thread's alone, so that every later read of
    // them on the main thread is a pure read. A cancelled scan's partial tree likewise.
    AnalysisLib::totalFinishedTree(root);
    scanner_.ReadFilesCountAndSizeForRoot(root);
    handOverAndWait(root);
}

void AppDelegate::handOverAndWait(TFoldInfo* root)
{
    // Completion runs on the main thread while this thread waits. The two threads meet on
    // a mutex of their own (rather than only inside Qt's queue), so the order they rely on
    // is plain to thread checkers too: the main thread takes it once this thread has
    // posted the call and let go of it, and this thread wakes once the call is over.
    struct HandOver {
        std::mutex mutex;
        std::condition_variable completed;
        bool done = false;
    };
    // Wakes the scan thread when the posted call goes away: after it ran, or if the event
    // loop drops it undelivered, so the scan thread never waits for ever.
    struct WakeOnRelease {
        explicit WakeOnRelease(std::shared_ptr<HandOver> h) : handOver(std::move(h)) {}
        WakeOnRelease(const WakeOnRelease&) = delete;
        WakeOnRelease& operator=(const WakeOnRelease&) = delete;
        std::shared_ptr<HandOver> handOver;
        ~WakeOnRelease()
        {
            std::lock_guard finished(handOver->mutex);
            handOver->done = true;
            handOver->completed.notify_all();
        }
    };
    auto handOver = std::make_shared<HandOver>();
    std::unique_lock lock(handOver->mutex);
    QMetaObject::invokeMethod(
        this,
        [this, root, wake = std::make_shared<WakeOnRelease>(handOver)] {
            { std::lock_guard meet(wake->handOver->mutex); } // the scan thread is done with the tree
            reloadOutLineViewOnMainThread(root);
        },
        Qt::QueuedConnection);
    handOver->completed.wait(lock, [&] { return handOver->done; });
}

void AppDelegate::addOrUpdateTreeView(std::unique_ptr<ScanTree> tree)
{
    std::lock_guard guard(mutex_);
    const QString path = tree->root()->sPath();
    for (std::size_t i = 0; i < roots_.size(); ++i) {
        if (roots_[i]->sPath() == path) {
            retiredTrees_.push_back(std::move(trees_[i]));
            roots_[i] = tree->root();
            trees_[i] = std::move(tree);
            return;
        }
    }
    roots_.push_back(tree->root());
    trees_.push_back(std::move(tree));
}

void AppDelegate::reloadFolderTree()
{
    treeRows_.clear();
    Q_EMIT folderTreeReloaded();
}

bool AppDelegate::showEmptyFolders() const { return GeneralLib::cache().showEmptyFolders; }

void AppDelegate::syncFolderTree()
{
    FolderTreeRows::Listener listener;
    listener.rowsAboutToBeRemoved = [this](TFoldInfo* parent, int first, int last) {
        Q_EMIT folderRowsAboutToBeRemoved(parent, first, last);
    };
    listener.rowsRemoved = [this](TFoldInfo* parent, int first, int last) { Q_EMIT folderRowsRemoved(parent, first, last); };
    listener.rowsAboutToBeReordered = [this](TFoldInfo* parent) { Q_EMIT folderRowsAboutToBeReordered(parent); };
    listener.rowsReordered = [this](TFoldInfo* parent) { Q_EMIT folderRowsReordered(parent); };
    listener.totalsChanged = [this](TFoldInfo* node) { Q_EMIT folderTotalsChanged(node); };
    if (!treeRows_.sync(showEmptyFolders(), listener))
        reloadFolderTree();
}

void AppDelegate::reloadOutLineViewOnMainThread(TFoldInfo* root)
{
    // The scan thread is done with the tree (it waits for this call): it becomes a root.
    isScannedSomeThing_ = true;
    writeScanInfoFile();
    resetUsedSizeForDriveNode(root);
    addOrUpdateTreeView(std::move(scanningTree_));
    reloadFolderTree();
    Q_EMIT collapseAllRoots();
    expanded_.clear();
    setItemExpanded(root, true);
    selectRow(root);
    Q_EMIT expandTreeItem(root);
    closeProgressWindow();
    releaseRetiredTrees();
    scanning_ = false;
    Q_EMIT scanFinished(root);
}

void AppDelegate::resetUsedSizeForDriveNode(TFoldInfo* root)
{
    const QString path = root->sPath().toLower();
    for (const DriveNode& drive : arrDiskDrive_) {
        if (drive.path.toLower() == path) {
            root->setCSize(drive.usedSize());
            root->setCASize(drive.usedSize());
            return;
        }
    }
}

void AppDelegate::writeScanInfoFile() const
{
    const QString text = TextFormat::format(QStringLiteral("%.2fs"), {double(scanTime_)});
    Plist::writeFile(Paths::supportFolder() + QStringLiteral("/ScanInfo.plist"),
                     QVariantMap{{QStringLiteral("ScanTime"), text}});
}

void AppDelegate::openProgressWindow()
{
    scheduler_.schedule(10ms, [this] {
        if (progressWC_)
            Q_EMIT progressWindowOpened();
    });
}

void AppDelegate::closeProgressWindow()
{
    scanner_.setDelegate(nullptr);
    Q_EMIT progressWindowClosed();
    progressWC_.reset();
}

void AppDelegate::waitForScanToFinish()
{
    if (scanning_) {
        // Sleeps until the scan thread hands its tree over (a queued call wakes the loop).
        QEventLoop loop;
        connect(this, &AppDelegate::scanFinished, &loop, &QEventLoop::quit);
        if (scanning_)
            loop.exec();
    }
    if (scanThread_.joinable())
        scanThread_.join();
}

void AppDelegate::releaseRetiredTrees()
{
    // Called once the new root is selected: nothing refers to the replaced trees any more.
    retiredTrees_.clear();
}

void AppDelegate::btnRefreshScanTreeTapped()
{
    TFoldInfo* node = selectedFolder_;
    if (!node)
        return;
    while (node->PFoldInfo())
        node = node->PFoldInfo();
    setParsingPath(node->sPathBytes());
}

int AppDelegate::indexOfRoot(const TFoldInfo* root) const
{
    for (std::size_t i = 0; i < roots_.size(); ++i)
        if (roots_[i] == root)
            return int(i);
    return -1;
}

void AppDelegate::btnRemoveFolderFromScanTreeTapped()
{
    TFoldInfo* node = selectedFolder_;
    if (!node) {
        refreshScannedTree();
        return;
    }
    if (node->PFoldInfo()) {
        TFolderScanner::takeNodeOutOfTree(node);
    } else if (const int index = indexOfRoot(node); index >= 0) {
        std::lock_guard guard(mutex_);
        treeRows_.children(nullptr, showEmptyFolders()); // so the sync below reports the row
        roots_.erase(roots_.begin() + index);
        // The tree stays alive until the selection has moved away from it (and the views
        // were told its row is gone).
        retiredTrees_.push_back(std::move(trees_[size_t(index)]));
        trees_.erase(trees_.begin() + index);
    } else {
        refreshScannedTree();
        return;
    }
    refreshScannedTree();
    releaseRetiredTrees();
}

void AppDelegate::removeItemsFromScannedTree(const std::vector<TFoldInfo*>& nodes)
{
    qvlog(TextFormat::format(QStringLiteral("removeItemsFromScannedTree:%lu"), {nodes.size()}));
    takeOutOfTree(nodes);
    isRefreshReqForTree_ = true;
    refreshScannedTree();
}
