#pragma once

#include <QDialog>
#include <QPointer>
#include <QTimer>

class AppDelegate;
class ElidedLabel;
class ProgressWindowController;
class QLabel;
class QProgressBar;
class QPushButton;

// The modal sheet over the main window while a scan runs: a busy indicator, the
// please-wait text, the folder being listed (shortened in the middle), "%ld Folders
// Scanned", the creeping bar and Cancel. It is shown without a nested event loop, so the
// loop stays free for the scan's progress and the hand-over; texts are refreshed at most
// every 50 ms however often the scanner reports.
class ProgressSheet : public QDialog {
    Q_OBJECT
public:
    ProgressSheet(AppDelegate& app, QWidget* parent);

    // Follows the controller's running scan and shows the sheet.
    void showFor(ProgressWindowController* controller);
    // Stops following the scan and hides the sheet.
    void dismiss();

    // What the sheet shows (tests).
    QString pathText() const;
    QString summaryText() const;
    int barValue() const;
    QPushButton* cancelButton() const { return cancel_; }

protected:
    // Escape or the window's close box cancel the scan; the sheet closes with the scan.
    void reject() override;

private:
    void refresh();

    AppDelegate& app_;
    QPointer<ProgressWindowController> controller_;
    QLabel* pleaseWait_;
    ElidedLabel* path_;
    QLabel* summary_;
    QProgressBar* busy_;
    QProgressBar* bar_;
    QPushButton* cancel_;
    QTimer refreshTimer_;
};

// The small modal panel with a busy indicator shown while a report is computed.
class ReportWaitingPanel : public QDialog {
    Q_OBJECT
public:
    explicit ReportWaitingPanel(QWidget* parent);

protected:
    void reject() override {} // the report ends it, not Escape
};
