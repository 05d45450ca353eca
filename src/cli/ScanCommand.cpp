#include "cli/ScanCommand.h"

#include "cli/CliCommon.h"
#include "app/ProgressWindowController.h"
#include "scan/AnalysisLib.h"
#include "scan/ScanTree.h"
#include "scan/TFolderScanner.h"
#include "settings/CommonFuncs.h"
#include "settings/ExclusionList.h"
#include "settings/GeneralLib.h"
#include "settings/SettingsStore.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

#include <atomic>
#include <csignal>
#include <cstdio>
#include <unistd.h>

namespace {

// Shows the folder count on one terminal line, at most a few times a second.
class TerminalProgress {
public:
    void show(const ProgressWindowController& progress)
    {
        if (timer_.isValid() && timer_.elapsed() < 100)
            return;
        timer_.start();
        const QByteArray path = progress.scanDetail().toUtf8().left(60);
        std::fprintf(stderr, "\r\033[K%s  %s", progress.scanSummary().toUtf8().constData(), path.constData());
        std::fflush(stderr);
        shown_ = true;
    }
    ~TerminalProgress()
    {
        if (shown_)
            std::fprintf(stderr, "\r\033[K");
    }

private:
    QElapsedTimer timer_;
    bool shown_ = false;
};

// Nobody to ask at a terminal: alerts are printed, questions answered no.
class TerminalUserInterface : public UserInterface {
public:
    void alert(const QString& message, const QString& informative) override
    {
        Cli::printError(informative.isEmpty() ? message : message + QStringLiteral(" ") + informative);
    }
    bool confirm(const QString&, const QString&) override { return false; }
    bool confirm(const QString&, const QString&, const QString&, const QString&) override { return false; }
    std::optional<QString> chooseFolder(const FolderChoice&) override { return std::nullopt; }
    void preview(const QString&) override {}
    void reveal(const QString&) override {}
    void open(const QString&) override {}
};

// Set by Ctrl-C; the scan's own abort flag is cleared by the next scan, this one is not.
std::atomic<bool> g_interrupted{false};

extern "C" void raiseAbortFlag(int)
{
    g_interrupted.store(true);
    isScanAborted().store(true);
}

} // namespace

namespace Cli {

ScanSession::ScanSession() : ui(std::make_unique<TerminalUserInterface>()), app(std::make_unique<AppDelegate>(*ui, scheduler)) {}

ScanSession::~ScanSession() = default;

std::unique_ptr<ScanSession> scanThroughController(const ScanOptions& options, int* exitCode)
{
    std::shared_ptr<const ExclusionList> exclusions;
    if (auto error = loadExclusions(options, exclusions)) {
        printError(error->message);
        *exitCode = error->exitCode;
        return nullptr;
    }
    if (auto error = checkScanPath(options.pathBytes, *exclusions)) {
        printError(error->message);
        *exitCode = error->exitCode;
        return nullptr;
    }

    auto session = std::make_unique<ScanSession>();
    AppDelegate& app = *session->app;
    app.loadSettingsAndCatalogs(/*loadExclusionList=*/false);
    app.parseDiskDrives(); // a volume root takes the volume's used space
    if (options.threads > 0)
        app.folderScanner().setThreadCount(options.threads);
    app.setForcedScanOptions(FolderScanOptions{options.hidden, options.oneFileSystem});
    app.setReportsFollowSelection(false); // the report command refreshes them when it needs them

    TerminalProgress progress;
    if (::isatty(STDERR_FILENO)) {
        QObject::connect(&app, &AppDelegate::progressWindowOpened, &app, [&] {
            if (ProgressWindowController* sheet = app.progressWC())
                QObject::connect(sheet, &ProgressWindowController::changed, sheet, [&, sheet] { progress.show(*sheet); });
        });
    }
    auto previous = std::signal(SIGINT, raiseAbortFlag);
    const bool started = app.setParsingPath(options.pathBytes);
    if (g_interrupted.load())
        isScanAborted().store(true); // Ctrl-C came before the scan cleared its flag
    app.waitForScanToFinish();
    session->seconds = double(app.ScanTime());
    std::signal(SIGINT, previous);
    if (!started || app.arrParseResult().empty()) {
        *exitCode = ExitCode::Usage;
        return nullptr;
    }
    session->root = app.arrParseResult().front();
    // Folders that could not be read leave the totals short: say so and fail, as du does,
    // but still print what was found.
    session->unreadable = AnalysisLib::countUnreadableFolders(session->root);
    if (session->unreadable > 0)
        printError(QStringLiteral("%1 folder(s) could not be read; the totals leave out what they hold")
                       .arg(session->unreadable));
    *exitCode = session->unreadable > 0 ? ExitCode::Failed : ExitCode::Ok;
    if (g_interrupted.load()) {
        // The totals are those of the part that was read. The completion gives a volume's
        // top folder the volume's used space, which would sit next to partial counts: its
        // sizes become its children's again.
        session->partial = true;
        std::uint64_t size = 0;
        std::uint64_t sizeOnDisk = 0;
        for (const TFoldInfo* child : session->root->SubList()) {
            size += child->cSize();
            sizeOnDisk += child->cASize();
        }
        session->root->setCSize(size);
        session->root->setCASize(sizeOnDisk);
        printError(QStringLiteral("interrupted: the scan stopped early; the totals are partial"));
        *exitCode = ExitCode::Interrupted;
    }
    return session;
}

int runScan(const QStringList& args)
{
    ScanOptions options;
    auto error = parseScanOptions(args, options);
    if (!error)
        error = findPathBytes(args, options);
    if (error) {
        printError(error->message);
        return error->exitCode;
    }
    int exitCode = ExitCode::Ok;
    const std::unique_ptr<ScanSession> session = scanThroughController(options, &exitCode);
    if (!session)
        return exitCode;
    const TFoldInfo* root = session->root;
    const double seconds = session->seconds;
    const std::int64_t unreadable = session->unreadable;
    if (options.json) {
        QJsonObject object{
            {QStringLiteral("path"), options.path},
            {QStringLiteral("size"), qint64(root->cSize())},
            {QStringLiteral("size_on_disk"), qint64(root->cASize())},
            {QStringLiteral("files"), qint64(root->cFiles())},
            {QStringLiteral("folders"), qint64(root->cFolders())},
            {QStringLiteral("seconds"), seconds},
            {QStringLiteral("hidden_folders_skipped"), session->app->folderScanner().hiddenFoldersSkipped()},
            {QStringLiteral("other_file_systems_skipped"), session->app->folderScanner().otherFileSystemsSkipped()},
            {QStringLiteral("unreadable"), qint64(unreadable)},
            {QStringLiteral("partial"), session->partial},
        };
        addBytesIfNotUtf8(object, QStringLiteral("path"), options.pathBytes);
        printOut(QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact)) + QLatin1Char('\n'));
    } else {
        // Sizes in the unit of the status bar setting, as the application shows them.
        const SettingsCache& settings = GeneralLib::cache();
        const int unit = options.unitCode.value_or(settings.diskReportSummary);
        GeneralLib::overrideDisplayUnitSettings(settings.allDiskReports, unit, settings.folderTree,
                                                options.decimals.value_or(settings.decimalPlaces));
        printOut(QStringLiteral("Path:          %1\n").arg(printable(options.path)));
        printOut(QStringLiteral("Size:          %1\n").arg(CommonFuncs::sizeUnitFor(unit, root->cSize())));
        printOut(QStringLiteral("Size on disk:  %1\n").arg(CommonFuncs::sizeUnitFor(unit, root->cASize())));
        printOut(QStringLiteral("Files:         %1\n").arg(root->cFiles()));
        printOut(QStringLiteral("Folders:       %1\n").arg(root->cFolders()));
        printOut(QStringLiteral("Scan time:     %1 s\n").arg(seconds, 0, 'f', 2));
        if (session->partial)
            printOut(QStringLiteral("Partial:       yes (interrupted)\n"));
    }
    return exitCode;
}

} // namespace Cli
