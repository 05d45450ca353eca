#include "ui/Screenshot.h"

#include "app/AppDelegate.h"
#include "preferences/PreferencePaneView.h"
#include "preferences/PreferencesWindowController.h"
#include "reports/FolderReports.h"
#include "settings/CommonFuncs.h"
#include "settings/PreferencePanes.h"
#include "ui/DesktopApp.h"
#include "ui/MainWindow.h"
#include "ui/ReportNames.h"
#include "ui/popover/DockPopover.h"
#include "ui/popover/TrayController.h"
#include "viewer/FileViewerWindow.h"

#include <QAction>
#include <QCursor>
#include <QDir>
#include <QEventLoop>
#include <QPropertyAnimation>
#include <QSignalBlocker>
#include <QToolBar>
#include <QFileInfo>
#include <QImageWriter>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTimer>
#include <QWidget>

namespace Screenshot {

QSize parseSize(const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral("^\\s*(\\d{2,5})\\s*[xX]\\s*(\\d{2,5})\\s*$"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return {};
    const QSize size(match.captured(1).toInt(), match.captured(2).toInt());
    return size.width() > 0 && size.height() > 0 ? size : QSize();
}

bool canWriteFile(const QString& file, QString* error)
{
    const QFileInfo info(file);
    const QFileInfo folder(info.absolutePath());
    QString reason;
    if (file.isEmpty())
        reason = QStringLiteral("no file name given");
    else if (!folder.isDir())
        reason = QStringLiteral("the folder %1 does not exist").arg(folder.filePath());
    else if (info.isDir())
        reason = QStringLiteral("%1 is a folder").arg(file);
    else if (info.exists() && !info.isWritable())
        reason = QStringLiteral("%1 is not writable").arg(file);
    else if (!info.exists() && !folder.isWritable())
        reason = QStringLiteral("the folder %1 is not writable").arg(folder.filePath());
    if (reason.isEmpty())
        return true;
    if (error)
        *error = reason;
    return false;
}

namespace {

// Runs the loop until `done` says so or the time is up; true when done.
template <class Done>
bool runUntil(Done done, int timeoutMs)
{
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done())
            loop.quit();
    });
    QTimer deadline;
    deadline.setSingleShot(true);
    bool timedOut = false;
    QObject::connect(&deadline, &QTimer::timeout, &loop, [&] {
        timedOut = true;
        loop.quit();
    });
    poll.start(10);
    if (timeoutMs > 0)
        deadline.start(timeoutMs);
    if (!done())
        loop.exec();
    return !timedOut || done();
}

// Runs the event loop for a while, so new windows lay out, load and paint.
void settle(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace

bool waitForScanThenShowReport(DesktopApp& desktop, int reportIndex, int timeoutMs)
{
    // The pointer away from the window, so no button shows its hover look.
    QCursor::setPos(-100, -100);
    AppDelegate& app = desktop.app();
    int reportsDone = 0;
    const QMetaObject::Connection closed =
        QObject::connect(&app, &AppDelegate::reportProgressClosed, &desktop, [&] { ++reportsDone; });
    const bool scanned = runUntil([&] { return !app.isScanning() && reportsDone > 0; }, timeoutMs);
    QObject::disconnect(closed);
    return scanned && showReportAndWait(desktop, reportIndex, timeoutMs);
}

bool showReportAndWait(DesktopApp& desktop, int reportIndex, int timeoutMs)
{
    AppDelegate& app = desktop.app();
    bool done = false;
    const QMetaObject::Connection closed = QObject::connect(&app, &AppDelegate::reportProgressClosed, &desktop, [&] {
        done = app.currentReportIndex() == reportIndex;
    });
    desktop.window().showReport(reportIndex);
    const bool shown = runUntil([&] { return done; }, timeoutMs);
    QObject::disconnect(closed);
    // Let the panels lay out and paint their new rows.
    settle(150);
    return shown;
}

namespace {

// The overview or size-range row with that label, searched in that order.
const TGroupRow* rowLabelled(DesktopApp& desktop, const QString& label, QStringList* labels)
{
    FolderReports& reports = desktop.app().reports();
    for (const TGroupRow& row : reports.FOverViewList()) {
        labels->append(row.label);
        if (row.label.compare(label, Qt::CaseInsensitive) == 0)
            return &row;
    }
    // The size ranges are computed on their report's first visit.
    if (reports.FSizeList().empty())
        showReportAndWait(desktop, ReportIndex::SizeRanges, 60000);
    for (const TGroupRow& row : reports.FSizeList()) {
        labels->append(row.label);
        if (row.label.compare(label, Qt::CaseInsensitive) == 0)
            return &row;
    }
    return nullptr;
}

// A pane name as people type it: letters and digits only, lower case.
QString paneKey(const QString& name)
{
    QString key;
    for (QChar c : name)
        if (c.isLetterOrNumber())
            key.append(c.toLower());
    return key;
}

} // namespace

QWidget* openFileViewer(DesktopApp& desktop, const QString& rowLabel, QString* error)
{
    QStringList labels;
    const TGroupRow* row = rowLabelled(desktop, rowLabel, &labels);
    if (!row) {
        *error = QStringLiteral("no overview or size-range row is labelled \"%1\"; the rows are: %2")
                     .arg(rowLabel, labels.join(QStringLiteral(", ")));
        return nullptr;
    }
    if (row->nodes.empty()) {
        *error = QStringLiteral("the row \"%1\" has no files to show").arg(row->label);
        return nullptr;
    }
    AppDelegate& app = desktop.app();
    {
        // The program runs the viewer application-modal from the event loop; a picture
        // needs the window without its modal loop, so the controller's announcement of the
        // open viewer is held back and the window is made here.
        const QSignalBlocker quiet(&app);
        app.openFilesViewerWindow(row->nodes, row->label);
    }
    if (!app.fileViewer()) {
        *error = QStringLiteral("the file viewer did not open for \"%1\"").arg(row->label);
        return nullptr;
    }
    auto* viewer = new FileViewerWindow(*app.fileViewer(), &desktop.window());
    viewer->setAttribute(Qt::WA_DeleteOnClose);
    viewer->centreOver(&desktop.window());
    viewer->show();
    settle(300);
    return viewer;
}

QWidget* openPreferences(DesktopApp& desktop, const QString& pane, QString* error)
{
    const QList<PreferencePanes::Pane>& panes = PreferencePanes::panes();
    int index = -1;
    QStringList names;
    for (int i = 0; i < panes.size(); ++i) {
        const QString label = CommonFuncs::getLocalizedStringForKey(panes[i].labelKey);
        names.append(panes[i].identifier);
        const QString key = paneKey(pane);
        if (index < 0 && !key.isEmpty()
            && (key == paneKey(panes[i].identifier) || key == paneKey(label) || paneKey(panes[i].identifier).startsWith(key)))
            index = i;
    }
    if (index < 0) {
        *error = QStringLiteral("unknown preferences pane \"%1\"; the panes are: %2").arg(pane, names.join(QStringLiteral(", ")));
        return nullptr;
    }
    // Opened as the settings button opens it, then switched as a click on the pane's
    // toolbar item switches it (animated resize, then the pane's view).
    PreferencesWindowController* window = PreferencesWindowController::btnSettingsTapped(desktop.app(), desktop.ui());
    settle(100);
    window->selectPaneAt(index);
    runUntil([window, index] {
        const PreferencePaneView* shown = window->selectedViewController();
        return window->resizeAnimation()->state() == QAbstractAnimation::Stopped && window->selectedIndex() == index
               && shown && shown->isVisible();
    }, 5000);
    settle(150);
    return window;
}

QWidget* openPopover(DesktopApp& desktop, QString* /*error*/)
{
    DockPopover& popover = desktop.popover();
    if (QAction* summary = desktop.tray().summaryAction())
        summary->trigger();
    else // a tray icon would open it beside itself; here it opens under the toolbar
        desktop.tray().showPopoverUnder(desktop.window().mainToolBar());
    // The biggest files load a moment after the popover opens.
    settle(600);
    return &popover;
}

bool saveWidgetAsPng(QWidget* widget, const QString& file, QString* error)
{
    if (!widget) {
        if (error)
            *error = QStringLiteral("nothing to render");
        return false;
    }
    const QImage picture = widget->grab().toImage();
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly)) {
        if (error)
            *error = out.errorString();
        return false;
    }
    QImageWriter writer(&out, "png");
    if (!writer.write(picture) || !out.commit()) {
        if (error)
            *error = writer.error() != QImageWriter::UnknownError ? writer.errorString() : out.errorString();
        return false;
    }
    return true;
}

} // namespace Screenshot
