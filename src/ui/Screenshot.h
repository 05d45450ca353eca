#pragma once

#include <QSize>
#include <QString>

class DesktopApp;
class QWidget;

// Helpers of the program's --screenshot mode: wait for the launch scan and a report, check
// and write the picture.
namespace Screenshot {

// "WxH" (e.g. "1280x800"); an invalid size when the text is not two positive numbers.
QSize parseSize(const QString& text);

// True when `file` can be written as asked (its folder exists and is writable, and an
// existing file is a writable file); otherwise false with the reason in `error`. Writes
// nothing.
bool canWriteFile(const QString& file, QString* error);

// Runs the event loop until the scan started at launch has been handed over and its first
// report is done, then presses the report's tab (index as in ReportIndex) and waits until
// that report is shown and laid out. False when nothing finished within `timeoutMs`.
bool waitForScanThenShowReport(DesktopApp& desktop, int reportIndex, int timeoutMs);

// Presses a report's tab once the scan is done and waits until the report is shown and
// laid out. False when it did not finish within `timeoutMs`.
bool showReportAndWait(DesktopApp& desktop, int reportIndex, int timeoutMs);

// The other windows a screenshot can show, opened over the scanned main window. Each
// returns the window to render (owned by the desktop application or by its main window),
// or null with the reason in `error`.

// The file viewer on the files of the overview or size-range row labelled `rowLabel` (the
// label as the table shows it, case ignored). Fails on an unknown label and on a row
// without files.
QWidget* openFileViewer(DesktopApp& desktop, const QString& rowLabel, QString* error);
// The preferences window on a pane named by its identifier or its label ("Display Unit",
// "display-unit", "Misc. Filter", "misc" ...; case, spaces and punctuation ignored).
QWidget* openPreferences(DesktopApp& desktop, const QString& pane, QString* error);
// The tray summary popover, opened as its button opens it.
QWidget* openPopover(DesktopApp& desktop, QString* error);

// Renders the widget (its window, frame excluded) into a PNG file; false with the reason
// in `error`.
bool saveWidgetAsPng(QWidget* widget, const QString& file, QString* error);

} // namespace Screenshot
