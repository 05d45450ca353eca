#pragma once

#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class ExclusionList;

// Exit codes of quorvel-cli.
namespace ExitCode {
constexpr int Ok = 0;
constexpr int Failed = 1; // the command ran, but some of its work failed
constexpr int Usage = 2;  // bad arguments, a missing or unreadable path, nothing done
constexpr int Interrupted = 130; // Ctrl-C ended the work early; what is shown is partial
} // namespace ExitCode

// Options shared by the commands that scan.
struct ScanOptions {
    bool json = false;
    QString exclusionsFile; // empty: the shared list from the documents folder
    int threads = 0;        // 0: the scanner's default
    QString path;          // PATH as text, for output
    QByteArray pathBytes;  // PATH as given, the bytes the file system takes (set by findPathBytes)
    // --unit auto|bytes|kb|mb|gb and --decimals N: the display unit code (0 to 4) and the
    // fraction digits of the human output for this run only; absent: the settings.
    std::optional<int> unitCode;
    std::optional<int> decimals;
    // --hidden and --one-file-system (-x): turned on for this run on top of the settings.
    bool hidden = false;
    bool oneFileSystem = false;
};

// A failure to report on stderr with its exit code.
struct CliError {
    QString message;
    int exitCode = ExitCode::Usage;
};

namespace Cli {

// A name or path for a line of table output: control characters (a newline in a file
// name above all) are written as C escapes ("\n", "\t", "\x1b"), so one name never spans
// two lines. JSON output needs no such care.
QString printable(const QString& text);

// Adds "<key>_bytes" to a JSON object when `bytes` are not valid UTF-8: the exact bytes in
// base64, since the text field beside it had to replace them.
void addBytesIfNotUtf8(QJsonObject& object, const QString& key, const QByteArray& bytes);

// Prints "quorvel-cli: <message>" on stderr.
void printError(const QString& message);
void printOut(const QString& text);

// Takes "--name VALUE" from args (removing both); nullopt when absent. Sets *error when the
// value is missing.
std::optional<QString> takeValue(QStringList& args, const QString& name, std::optional<CliError>& error);
// Takes a flag ("--json") from args; true when present.
bool takeFlag(QStringList& args, const QString& name);

// Parses the options common to scanning commands; the single remaining argument is PATH.
std::optional<CliError> parseScanOptions(QStringList args, ScanOptions& out);

// Finds PATH's bytes among the command's arguments (all of them, after the command word):
// the decoded text cannot carry bytes that are not valid UTF-8. An error when another
// argument with different bytes reads as the same text, so that which is PATH is unclear.
std::optional<CliError> findPathBytes(const QStringList& commandArgs, ScanOptions& options);

// The exclusion list for a scan: the file given with --exclusions (read only, nothing
// written), or the shared list loaded as the application does at start-up.
std::optional<CliError> loadExclusions(const ScanOptions& options, std::shared_ptr<const ExclusionList>& out);

// Checks that PATH is a folder that can be read and is not excluded.
std::optional<CliError> checkScanPath(const QByteArray& path, const ExclusionList& exclusions);

} // namespace Cli
