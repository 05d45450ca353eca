#include "cli/ReportCommand.h"

#include "cli/CliCommon.h"
#include "cli/ReportFilterOptions.h"
#include "cli/ReportOutput.h"
#include "cli/ScanCommand.h"
#include "app/AppDelegate.h"
#include "reports/FolderReports.h"
#include "scan/ScanTree.h"
#include "settings/CommonFuncs.h"
#include "settings/GeneralLib.h"

#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>

namespace Cli {

namespace {

struct ReportOptions {
    std::vector<ReportName> names;
    bool timings = false;
    ScanOptions scan; // with --unit and --decimals
    std::optional<FileViewerFilterValues> filter; // applied to the node reports
};

std::optional<CliError> parseReportOptions(QStringList args, ReportOptions& out)
{
    if (args.isEmpty() || args.first().startsWith(QLatin1String("--")))
        return CliError{QStringLiteral("report needs the report names first (see --help)")};
    QString bad;
    const auto names = parseReportNames(args.takeFirst(), &bad);
    if (!names)
        return CliError{QStringLiteral("unknown report '%1'").arg(bad)};
    out.names = *names;
    out.timings = takeFlag(args, QStringLiteral("--timings"));
    if (auto filterError = takeFilterOptions(args, out.filter))
        return filterError;
    return parseScanOptions(args, out.scan);
}

// The display-unit overrides of the command line, over the settings just read.
void applyDisplayUnitOverrides(const ScanOptions& options)
{
    const SettingsCache& cache = GeneralLib::cache();
    GeneralLib::overrideDisplayUnitSettings(options.unitCode.value_or(cache.allDiskReports), cache.diskReportSummary,
                                            cache.folderTree, options.decimals.value_or(cache.decimalPlaces));
}

// One report visited the way its tab or link button does it in the main window.
void visitReport(AppDelegate& app, ReportName name)
{
    if (name == ReportName::TopSize)
        app.btnTopFilesBySizeTapped();
    else if (name == ReportName::TopOldest)
        app.btnTopOldestFilesTapped();
    else
        app.reportButtonTapped(reportIndexOf(name));
}

struct ComputedReport {
    ReportName name;
    RenderedReport rendered;
    double seconds = 0;
};

QJsonObject timingsJson(double scanSeconds, double reportSeconds, const std::vector<ComputedReport>& computed)
{
    QJsonObject each;
    for (const ComputedReport& report : computed)
        each.insert(reportNameText(report.name), report.seconds);
    return QJsonObject{{QStringLiteral("scan_seconds"), scanSeconds},
                       {QStringLiteral("report_seconds"), reportSeconds},
                       {QStringLiteral("each"), each}};
}

void printJson(const ReportOptions& options, const ScanSession& session, const std::vector<ComputedReport>& computed,
               double scanSeconds, double reportSeconds)
{
    const TFoldInfo* root = session.root;
    QJsonObject reports;
    for (const ComputedReport& report : computed)
        reports.insert(reportNameText(report.name), report.rendered.json);
    QJsonObject object{
        {QStringLiteral("path"), options.scan.path},
        {QStringLiteral("size"), qint64(root->cSize())},
        {QStringLiteral("files"), qint64(root->cFiles())},
        {QStringLiteral("folders"), qint64(root->cFolders())},
        {QStringLiteral("unreadable"), qint64(session.unreadable)},
        {QStringLiteral("partial"), session.partial},
        {QStringLiteral("reports"), reports},
    };
    addBytesIfNotUtf8(object, QStringLiteral("path"), options.scan.pathBytes);
    if (options.timings)
        object.insert(QStringLiteral("timings"), timingsJson(scanSeconds, reportSeconds, computed));
    printOut(QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact)) + QLatin1Char('\n'));
}

void printTables(const ReportOptions& options, const ScanSession& session, const std::vector<ComputedReport>& computed,
                 double scanSeconds, double reportSeconds)
{
    const TFoldInfo* root = session.root;
    const int unit = GeneralLib::cache().allDiskReports;
    printOut(QStringLiteral("Path: %1\nSize: %2  Files: %3  Folders: %4\n")
                 .arg(printable(options.scan.path), CommonFuncs::sizeUnitFor(unit, root->cSize()))
                 .arg(root->cFiles())
                 .arg(root->cFolders()));
    if (session.partial)
        printOut(QStringLiteral("Partial: yes (interrupted)\n"));
    for (const ComputedReport& report : computed)
        printOut(QLatin1Char('\n') + report.rendered.table);
    if (options.timings) {
        printOut(QStringLiteral("\nScan: %1 s  Reports: %2 s\n").arg(scanSeconds, 0, 'f', 3).arg(reportSeconds, 0, 'f', 3));
        for (const ComputedReport& report : computed)
            printOut(QStringLiteral("  %1 %2 s\n").arg(reportNameText(report.name), -12).arg(report.seconds, 0, 'f', 4));
    }
}

} // namespace

int runReport(const QStringList& args)
{
    ReportOptions options;
    auto error = parseReportOptions(args, options);
    if (!error)
        error = findPathBytes(args, options.scan);
    if (error) {
        printError(error->message);
        return error->exitCode;
    }
    int exitCode = ExitCode::Ok;
    const std::unique_ptr<ScanSession> session = scanThroughController(options.scan, &exitCode);
    if (!session)
        return exitCode;
    applyDisplayUnitOverrides(options.scan);
    AppDelegate& app = *session->app;
    const double scanSeconds = session->seconds;

    // The completion already selected the root and refreshed its reports, as the main
    // window does. The timing starts that refresh again, so it covers the inputs and every
    // report's rows.
    QElapsedTimer total;
    total.start();
    app.refreshAllReports();
    std::vector<ComputedReport> computed;
    qint64 renderNanoseconds = 0;
    for (ReportName name : options.names) {
        QElapsedTimer one;
        one.start();
        visitReport(app, name);
        const double seconds = double(one.nsecsElapsed()) / 1e9;
        // Rendered at once: the two top lists share one list. The texts are not timed.
        QElapsedTimer render;
        render.start();
        computed.push_back({name, renderReport(app.reports(), name, options.filter), seconds});
        renderNanoseconds += render.nsecsElapsed();
    }
    const double reportSeconds = double(total.nsecsElapsed() - renderNanoseconds) / 1e9;

    if (options.scan.json)
        printJson(options, *session, computed, scanSeconds, reportSeconds);
    else
        printTables(options, *session, computed, scanSeconds, reportSeconds);
    return exitCode;
}

} // namespace Cli
