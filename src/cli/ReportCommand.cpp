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

#include <algorithm>
#include <cstdio>

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
    RenderedReport rendered; // empty for JSON, which is written as it is produced
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

void writeOut(const QByteArray& bytes) { std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout); }

// Visits the reports in the order the document lists them (by name; QJsonObject sorts its
// keys) and writes each one's rows right after its visit, a row at a time, then lets its
// rows go. One coupling between visits: the explorer's visit sorts the list the all-folders
// rows are made from, so when the folders were asked for before the explorer they are
// visited before it (and written at their turn), as the asked order would have them.
void streamReports(const ReportOptions& options, AppDelegate& app, std::vector<ComputedReport>& computed,
                   qint64& writingNanoseconds)
{
    std::vector<ReportName> names = options.names;
    std::sort(names.begin(), names.end(),
              [](ReportName a, ReportName b) { return reportNameText(a) < reportNameText(b); });
    const auto askedAt = [&options](ReportName name) {
        return std::find(options.names.begin(), options.names.end(), name) - options.names.begin();
    };
    const auto visit = [&app, &computed](ReportName name) {
        for (const ComputedReport& done : computed)
            if (done.name == name)
                return;
        QElapsedTimer one;
        one.start();
        visitReport(app, name);
        computed.push_back({name, {}, double(one.nsecsElapsed()) / 1e9});
    };

    writeOut(QByteArrayLiteral("{"));
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (names[i] == ReportName::Explorer && askedAt(ReportName::Folders) < askedAt(ReportName::Explorer))
            visit(ReportName::Folders);
        visit(names[i]);
        QElapsedTimer writing;
        writing.start();
        writeOut((i > 0 ? QByteArrayLiteral(",") : QByteArray()) + compactJson(reportNameText(names[i])) + ':');
        writeReportJson(app.reports(), names[i], options.filter, writeOut);
        app.reports().releaseRows(reportIndexOf(names[i])); // written: not needed again
        writingNanoseconds += writing.nsecsElapsed();
    }
    writeOut(QByteArrayLiteral("}"));
}

// Writes the JSON document as it is produced: the same bytes as one compact QJsonDocument
// of the whole, but no report is ever held whole. `clock` has run since the reports'
// refresh; the time spent writing is taken out of the reports' time.
void streamJson(const ReportOptions& options, const ScanSession& session, double scanSeconds, const QElapsedTimer& clock)
{
    const TFoldInfo* root = session.root;
    AppDelegate& app = *session.app;
    const QString reportsKey = QStringLiteral("reports");
    const QString timingsKey = QStringLiteral("timings");
    QJsonObject scalars{
        {QStringLiteral("path"), options.scan.path},
        {QStringLiteral("size"), qint64(root->cSize())},
        {QStringLiteral("files"), qint64(root->cFiles())},
        {QStringLiteral("folders"), qint64(root->cFolders())},
        {QStringLiteral("unreadable"), qint64(session.unreadable)},
        {QStringLiteral("partial"), session.partial},
    };
    addBytesIfNotUtf8(scalars, QStringLiteral("path"), options.scan.pathBytes);
    QStringList keys = scalars.keys();
    keys.append(reportsKey);
    if (options.timings)
        keys.append(timingsKey);
    std::sort(keys.begin(), keys.end());

    std::vector<ComputedReport> computed;
    qint64 writingNanoseconds = 0;
    writeOut(QByteArrayLiteral("{"));
    for (qsizetype k = 0; k < keys.size(); ++k) {
        if (k > 0)
            writeOut(QByteArrayLiteral(","));
        writeOut(compactJson(keys[k]) + ':');
        if (keys[k] == reportsKey) {
            streamReports(options, app, computed, writingNanoseconds);
        } else if (keys[k] == timingsKey) {
            const double reportSeconds = double(clock.nsecsElapsed() - writingNanoseconds) / 1e9;
            writeOut(compactJson(timingsJson(scanSeconds, reportSeconds, computed)));
        } else {
            writeOut(compactJson(scalars.value(keys[k])));
        }
    }
    writeOut(QByteArrayLiteral("}\n"));
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

    // The completion selected the root without computing its reports (the scan session
    // leaves that to its caller): the timing covers the refresh, the inputs and every
    // report's rows.
    QElapsedTimer total;
    total.start();
    app.refreshAllReports();
    if (options.scan.json) {
        streamJson(options, *session, scanSeconds, total);
        return exitCode;
    }
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
    printTables(options, *session, computed, scanSeconds, reportSeconds);
    return exitCode;
}

} // namespace Cli
