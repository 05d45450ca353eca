#pragma once

#include "scan/TFolderScanner.h"

#include <QObject>
#include <QString>
#include <QVariantMap>

// The progress sheet of a running scan, as data the view shows: the folder being listed,
// the folder count and a bar that creeps forward with each report (it does not measure
// completion). It is the scanner's delegate: reports arrive on the scan thread and are
// applied on the thread the controller lives on (the main thread).
class ProgressWindowController : public QObject, public TFolderScannerDelagate {
    Q_OBJECT
public:
    explicit ProgressWindowController(QObject* parent = nullptr);
    ~ProgressWindowController() override;

    // The label under the spinner ("ID_PLEASE_WAIT_WHILE_COLLECTING_FILES").
    QString pleaseWaitText() const;
    QString scanDetail() const { return scanDetail_; }   // the folder being listed
    QString scanSummary() const { return scanSummary_; } // "%ld Folders Scanned"
    double progressBarValue() const { return barValue_; } // 0 to 94.4
    float progress() const { return progress_; }          // the bar's next value

    // Scan thread: queues scanProgreshWithDict on the controller's thread and returns.
    void scanProgress(const QVariantMap& info) override;
    // Applies one report: texts, then the bar creeps by 0.8 while below 95.
    Q_INVOKABLE void scanProgreshWithDict(const QVariantMap& info);
    // The cancel button: logs "abortScanning:" and raises the abort flag.
    void abortScanning();

Q_SIGNALS:
    void changed();

private:
    QString scanDetail_;
    QString scanSummary_;
    float progress_ = 0;
    double barValue_ = 0;
};
