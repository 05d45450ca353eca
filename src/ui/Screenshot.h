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

// Renders the widget (its window, frame excluded) into a PNG file; false with the reason
// in `error`.
bool saveWidgetAsPng(QWidget* widget, const QString& file, QString* error);

} // namespace Screenshot
