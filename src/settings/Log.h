#pragma once

#include <QString>

// Free-text log lines naming what the program did ("btnSettingsTapped:", scan problems...).
// Lines go to standard error by default. The GUI reopens stderr on the log file at start;
// the command-line tool keeps stderr for its own errors and sends log lines to the file.
namespace Log {

enum class Sink { StandardError, LogFile, Discard };

// Chooses where later lines go. LogFile appends to Paths::logFile(), creating its folder;
// returns false (and keeps logging to stderr) when the file cannot be opened.
bool setSink(Sink sink);

// For the windowed program's entry, before anything else: reopens the process's standard
// error in append mode on Paths::logFile() (creating its folder), so that log lines and
// everything else written there land in the log file; Qt's own messages too, which are
// told to go to standard error rather than the system journal (QT_FORCE_STDERR_LOGGING).
// Returns false, leaving standard error as it was, when the file cannot be opened.
bool reopenStandardErrorOnLogFile();

// Writes one line (a newline is added). Safe to call from any thread.
void line(const QString& text);

} // namespace Log

// Shorthand used throughout the code base.
inline void qvlog(const QString& text) { Log::line(text); }
