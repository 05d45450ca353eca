// The quorvel desktop program: the main window, or with --screenshot a picture of it.

#include "settings/Log.h"
#include "settings/Paths.h"
#include "ui/DesktopApp.h"
#include "ui/MainWindow.h"
#include "ui/ReportNames.h"
#include "ui/Screenshot.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>

#include <cstdio>
#include <cstring>
#include <functional>
#include <unistd.h>

#ifndef QUORVEL_VERSION
#define QUORVEL_VERSION "0.0.0"
#endif

namespace {

// Where messages for the person at the terminal go once stderr carries the log.
FILE* g_terminal = stderr;

void tellTerminal(const QString& text)
{
    std::fprintf(g_terminal, "quorvel: %s\n", text.toLocal8Bit().constData());
    std::fflush(g_terminal);
}

// Log lines, Qt's own warnings included, go to the log file from here on. The terminal
// keeps a copy of the old stderr for the program's own error messages.
void sendLogToFile()
{
    const int terminal = ::dup(STDERR_FILENO);
    if (terminal >= 0)
        g_terminal = ::fdopen(terminal, "w");
    if (!g_terminal)
        g_terminal = stdout;
    if (!Log::reopenStandardErrorOnLogFile())
        tellTerminal(QStringLiteral("cannot write the log file %1; log lines go here").arg(Paths::logFile()));
}

// A window other than the main one that --screenshot can render: its option (with a value
// when `valueName` is set) and how to open it once the scan and the report are done. It
// returns the widget to render, or null with the reason in `error`.
struct ScreenshotTarget {
    QString option;
    QString valueName;
    QString description;
    std::function<QWidget*(DesktopApp& desktop, const QString& value, QString* error)> open;
};

// The other windows' screenshot options; the main window is the default target.
const std::vector<ScreenshotTarget>& screenshotTargets()
{
    static const std::vector<ScreenshotTarget> targets = {
        {QStringLiteral("viewer"), QStringLiteral("ROWLABEL"),
         QStringLiteral("Render the file viewer on the overview or size-range row with that label instead."),
         [](DesktopApp& desktop, const QString& label, QString* error) { return Screenshot::openFileViewer(desktop, label, error); }},
        {QStringLiteral("preferences"), QStringLiteral("PANE"),
         QStringLiteral("Render the preferences window on that pane instead (Display Unit, Exclude, Custom Filter, Misc. Filter)."),
         [](DesktopApp& desktop, const QString& pane, QString* error) { return Screenshot::openPreferences(desktop, pane, error); }},
        {QStringLiteral("popover"), QString(), QStringLiteral("Render the summary popover instead."),
         [](DesktopApp& desktop, const QString&, QString* error) { return Screenshot::openPopover(desktop, error); }},
    };
    return targets;
}

struct ScreenshotRequest {
    QString file;
    int reportIndex = 10; // the overview
    QSize size{1280, 800};
    QString path;
    const ScreenshotTarget* target = nullptr;
    QString targetValue;
};

int runScreenshot(DesktopApp& desktop, const ScreenshotRequest& request)
{
    desktop.window().resize(request.size);
    desktop.launch();
    if (!desktop.scanAtLaunch(request.path)) {
        tellTerminal(QStringLiteral("%1 cannot be scanned (it is in the exclusion list)").arg(request.path));
        return 2;
    }
    if (!Screenshot::waitForScanThenShowReport(desktop, request.reportIndex, 600000)) {
        tellTerminal(QStringLiteral("the scan or the report did not finish"));
        return 1;
    }
    QWidget* shown = &desktop.window();
    QString error;
    if (request.target) {
        shown = request.target->open(desktop, request.targetValue, &error);
        if (!shown) {
            tellTerminal(error);
            return 2;
        }
    }
    if (!Screenshot::saveWidgetAsPng(shown, request.file, &error)) {
        tellTerminal(QStringLiteral("cannot write %1: %2").arg(request.file, error));
        return 2;
    }
    return 0;
}

bool wantsScreenshot(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--screenshot") == 0 || std::strncmp(argv[i], "--screenshot=", 13) == 0)
            return true;
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    // A screenshot needs no display: without one, Qt renders offscreen.
    if (wantsScreenshot(argc, argv) && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")
        && qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);

    QApplication qapp(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvel"));
    QApplication::setOrganizationName(QStringLiteral("Quorvel"));
    QApplication::setApplicationVersion(QStringLiteral(QUORVEL_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("io.github.quorvel.Quorvel"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Quorvel shows what fills your disks and folders."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("PATH"), QStringLiteral("Folder to scan at once (no start-up dialog)."),
                                 QStringLiteral("[PATH]"));
    const QCommandLineOption screenshotOption(QStringLiteral("screenshot"),
                                              QStringLiteral("Scan PATH, render the main window to FILE (PNG) and quit."),
                                              QStringLiteral("FILE"));
    const QCommandLineOption reportOption(QStringLiteral("report"),
                                          QStringLiteral("Report shown in the screenshot: %1 (default overview).")
                                              .arg(ReportNames::all().join(QStringLiteral(", "))),
                                          QStringLiteral("NAME"), QStringLiteral("overview"));
    const QCommandLineOption sizeOption(QStringLiteral("size"), QStringLiteral("Window size of the screenshot (default 1280x800)."),
                                        QStringLiteral("WxH"), QStringLiteral("1280x800"));
    parser.addOptions({screenshotOption, reportOption, sizeOption});
    std::vector<QCommandLineOption> targetOptions;
    for (const ScreenshotTarget& target : screenshotTargets()) {
        targetOptions.emplace_back(target.option, target.description, target.valueName);
        parser.addOption(targetOptions.back());
    }
    parser.process(qapp); // --help and --version end here; unknown options end with exit 1

    const QStringList paths = parser.positionalArguments();
    if (paths.size() > 1) {
        tellTerminal(QStringLiteral("give at most one folder to scan"));
        return 2;
    }
    const QString path = paths.isEmpty() ? QString() : QFileInfo(paths.front()).absoluteFilePath();
    if (!path.isEmpty() && !QFileInfo(path).isDir()) {
        tellTerminal(QStringLiteral("%1 is not a folder").arg(paths.front()));
        return 2;
    }

    ScreenshotRequest shot;
    const bool screenshot = parser.isSet(screenshotOption);
    if (screenshot) {
        shot.file = parser.value(screenshotOption);
        shot.path = path;
        shot.reportIndex = ReportNames::indexOf(parser.value(reportOption));
        shot.size = Screenshot::parseSize(parser.value(sizeOption));
        for (std::size_t i = 0; i < targetOptions.size(); ++i) {
            if (parser.isSet(targetOptions[i])) {
                shot.target = &screenshotTargets()[i];
                shot.targetValue = parser.value(targetOptions[i]);
            }
        }
        QString error;
        if (shot.reportIndex < 0) {
            tellTerminal(QStringLiteral("unknown report \"%1\"; the reports are: %2")
                             .arg(parser.value(reportOption), ReportNames::all().join(QStringLiteral(", "))));
            return 2;
        }
        if (!shot.size.isValid()) {
            tellTerminal(QStringLiteral("--size wants WIDTHxHEIGHT, e.g. 1280x800, not \"%1\"").arg(parser.value(sizeOption)));
            return 2;
        }
        if (shot.path.isEmpty()) {
            tellTerminal(QStringLiteral("--screenshot needs the folder to scan"));
            return 2;
        }
        if (!Screenshot::canWriteFile(shot.file, &error)) {
            tellTerminal(QStringLiteral("cannot write the screenshot: %1").arg(error));
            return 2;
        }
    }

    sendLogToFile();

    DesktopApp::Options options;
    options.startupDialogAtLaunch = path.isEmpty();
    DesktopApp desktop(options);
    if (screenshot)
        return runScreenshot(desktop, shot);

    QObject::connect(&desktop, &DesktopApp::quitRequested, &qapp, &QCoreApplication::quit, Qt::QueuedConnection);
    desktop.launch();
    if (!path.isEmpty())
        desktop.scanAtLaunch(path);
    return QApplication::exec();
}
