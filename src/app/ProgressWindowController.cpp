#include "app/ProgressWindowController.h"

#include "settings/CommonFuncs.h"
#include "settings/Log.h"
#include "settings/TextFormat.h"

#include <QMetaObject>

ProgressWindowController::ProgressWindowController(QObject* parent) : QObject(parent) {}

ProgressWindowController::~ProgressWindowController() { qvlog(QStringLiteral("ProgressWC Close")); }

QString ProgressWindowController::pleaseWaitText() const
{
    return CommonFuncs::getLocalizedStringForKey(QStringLiteral("ID_PLEASE_WAIT_WHILE_COLLECTING_FILES"));
}

void ProgressWindowController::scanProgress(const QVariantMap& info)
{
    // By name, with the report copied into the event: the main thread owns all of it once
    // posted (a functor would be shared with this thread through a reference count).
    QMetaObject::invokeMethod(this, "scanProgreshWithDict", Qt::QueuedConnection, Q_ARG(QVariantMap, info));
}

void ProgressWindowController::scanProgreshWithDict(const QVariantMap& info)
{
    scanDetail_ = info.value(QStringLiteral("fpath")).toString();
    scanSummary_ = TextFormat::format(QStringLiteral("%ld Folders Scanned"),
                                      {info.value(QStringLiteral("folders")).toLongLong()});
    if (progress_ < 95) {
        barValue_ = progress_;
        progress_ += 0.8f;
    }
    Q_EMIT changed();
}

void ProgressWindowController::abortScanning()
{
    qvlog(QStringLiteral("abortScanning:"));
    isScanAborted().store(true);
}
