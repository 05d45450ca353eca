#include "ui_reports/ReportPanelsFixture.h"

#include <QMutex>

namespace {

QMutex logLock;
QStringList logged;
QtMessageHandler previousHandler = nullptr;

void collect(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (message.contains(QLatin1String("FAIL!"))) {
        const QMutexLocker lock(&logLock);
        logged.append(message);
        return;
    }
    if (previousHandler)
        previousHandler(type, context, message);
}

} // namespace

ModelTesterLog::ModelTesterLog()
{
    logged.clear();
    previousHandler = qInstallMessageHandler(collect);
}

ModelTesterLog::~ModelTesterLog() { qInstallMessageHandler(previousHandler); }

QStringList ModelTesterLog::failures() const
{
    const QMutexLocker lock(&logLock);
    return logged;
}
