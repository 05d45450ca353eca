#include "cli/ScanCommand.h"

#include "cli/CliCommon.h"
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

#include <csignal>
#include <cstdio>
#include <unistd.h>

namespace {

// Shows the folder count on one terminal line, at most a few times a second.
class TerminalProgress : public TFolderScannerDelagate {
public:
    void scanProgress(const QVariantMap& info) override
    {
        if (timer_.isValid() && timer_.elapsed() < 100)
            return;
        timer_.start();
        const QByteArray path = info.value(QStringLiteral("fpath")).toString().toUtf8().left(60);
        std::fprintf(stderr, "\r\033[K%lld folders scanned  %s", info.value(QStringLiteral("folders")).toLongLong(),
                     path.constData());
        std::fflush(stderr);
        shown_ = true;
    }
    ~TerminalProgress() override
    {
        if (shown_)
            std::fprintf(stderr, "\r\033[K");
    }

private:
    QElapsedTimer timer_;
    bool shown_ = false;
};

extern "C" void raiseAbortFlag(int) { isScanAborted().store(true); }

} // namespace

namespace Cli {

QString displayNameForPath(const QString& path)
{
    const QString clean = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    if (clean == QLatin1String("/"))
        return clean;
    return QFileInfo(clean).fileName();
}

std::unique_ptr<ScanTree> scanPath(const ScanOptions& options, double* seconds, int* exitCode)
{
    std::shared_ptr<const ExclusionList> exclusions;
    if (auto error = loadExclusions(options, exclusions)) {
        printError(error->message);
        *exitCode = error->exitCode;
        return nullptr;
    }
    if (auto error = checkScanPath(options.path, *exclusions)) {
        printError(error->message);
        *exitCode = error->exitCode;
        return nullptr;
    }

    auto tree = std::make_unique<ScanTree>(options.path, displayNameForPath(options.path));
    TFolderScanner scanner;
    if (options.threads > 0)
        scanner.setThreadCount(options.threads);
    scanner.setExclusionList(exclusions);
    TerminalProgress progress;
    if (::isatty(STDERR_FILENO))
        scanner.setDelegate(&progress);

    isScanAborted().store(false);
    auto previous = std::signal(SIGINT, raiseAbortFlag);
    QElapsedTimer timer;
    timer.start();
    scanner.scanFolder(tree->root());
    scanner.ReadFilesCountAndSizeForRoot(tree->root());
    *seconds = double(timer.nsecsElapsed()) / 1e9;
    std::signal(SIGINT, previous);
    scanner.setDelegate(nullptr);
    *exitCode = ExitCode::Ok;
    return tree;
}

int runScan(const QStringList& args)
{
    ScanOptions options;
    if (auto error = parseScanOptions(args, options)) {
        printError(error->message);
        return error->exitCode;
    }
    double seconds = 0;
    int exitCode = ExitCode::Ok;
    const std::unique_ptr<ScanTree> tree = scanPath(options, &seconds, &exitCode);
    if (!tree)
        return exitCode;
    const TFoldInfo* root = tree->root();
    if (options.json) {
        const QJsonObject object{
            {QStringLiteral("path"), options.path},
            {QStringLiteral("size"), qint64(root->cSize())},
            {QStringLiteral("size_on_disk"), qint64(root->cASize())},
            {QStringLiteral("files"), qint64(root->cFiles())},
            {QStringLiteral("folders"), qint64(root->cFolders())},
            {QStringLiteral("seconds"), seconds},
        };
        printOut(QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact)) + QLatin1Char('\n'));
    } else {
        // Sizes in the unit of the status bar setting, as the application shows them; the
        // defaults are registered in memory only, nothing is written.
        SettingsStore::registerDefaults(GeneralLib::defaultSettings());
        GeneralLib::refreshDisplayUnitSettings();
        const SettingsCache& settings = GeneralLib::cache();
        const int unit = options.unitCode.value_or(settings.diskReportSummary);
        GeneralLib::overrideDisplayUnitSettings(settings.allDiskReports, unit, settings.folderTree,
                                                options.decimals.value_or(settings.decimalPlaces));
        printOut(QStringLiteral("Path:          %1\n").arg(options.path));
        printOut(QStringLiteral("Size:          %1\n").arg(CommonFuncs::sizeUnitFor(unit, root->cSize())));
        printOut(QStringLiteral("Size on disk:  %1\n").arg(CommonFuncs::sizeUnitFor(unit, root->cASize())));
        printOut(QStringLiteral("Files:         %1\n").arg(root->cFiles()));
        printOut(QStringLiteral("Folders:       %1\n").arg(root->cFolders()));
        printOut(QStringLiteral("Scan time:     %1 s\n").arg(seconds, 0, 'f', 2));
    }
    return ExitCode::Ok;
}

} // namespace Cli
