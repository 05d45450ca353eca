#include "ui/Screenshot.h"

#include "app/AppDelegate.h"
#include "ui/DesktopApp.h"
#include "ui/MainWindow.h"
#include "ui/ReportNames.h"

#include <QDir>
#include <QEventLoop>
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

} // namespace

bool waitForScanThenShowReport(DesktopApp& desktop, int reportIndex, int timeoutMs)
{
    AppDelegate& app = desktop.app();
    int reportsDone = 0;
    int lastShown = -1;
    const QMetaObject::Connection closed = QObject::connect(&app, &AppDelegate::reportProgressClosed, &desktop, [&] {
        ++reportsDone;
        lastShown = app.currentReportIndex();
    });
    const bool scanned = runUntil([&] { return !app.isScanning() && reportsDone > 0; }, timeoutMs);
    if (!scanned) {
        QObject::disconnect(closed);
        return false;
    }
    const int before = reportsDone;
    desktop.window().showReport(reportIndex);
    const bool shown = runUntil([&] { return reportsDone > before && lastShown == reportIndex; }, timeoutMs);
    QObject::disconnect(closed);
    // Let the panels lay out and paint their new rows.
    QEventLoop settle;
    QTimer::singleShot(150, &settle, &QEventLoop::quit);
    settle.exec();
    return shown;
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
