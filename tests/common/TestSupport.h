#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <cstdint>
#include <functional>
#include <ostream>
#include <string>

// Readable QString and QStringList values in test failure messages.
inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }
inline void PrintTo(const QStringList& list, std::ostream* os)
{
    *os << '{';
    for (qsizetype i = 0; i < list.size(); ++i)
        *os << (i ? ", \"" : "\"") << list[i].toStdString() << '"';
    *os << '}';
}

// Helpers for tests that build real fixture trees in temporary folders.
namespace TestSupport {

// Points HOME, XDG_CONFIG_HOME, XDG_DATA_HOME, XDG_STATE_HOME and XDG_CACHE_HOME at
// folders under `home` (creating them), and QSettings' user-scope folder at its .config. TestMain does this once per test program; a test
// may call it again with its own folder.
void setTestHome(const QString& home);
QString testHome();

// A temporary folder removed when the object goes away.
class TempTree {
public:
    TempTree();
    const QString& path() const { return path_; }
    QByteArray pathBytes() const;
    // Absolute path of a relative entry.
    QString at(const QString& relative) const;

    // Makes a folder (and its parents).
    void mkdir(const QString& relative) const;
    // Writes a file with `size` bytes (parents made as needed); returns its path.
    QString file(const QString& relative, std::int64_t size = 0) const;
    // A file whose logical size is `size` but which holds no data blocks.
    QString sparseFile(const QString& relative, std::int64_t size) const;
    void symlink(const QString& target, const QString& relativeLink) const;
    void hardlink(const QString& relativeExisting, const QString& relativeLink) const;
    // Sets access and modification times (Unix seconds).
    void setTimes(const QString& relative, std::int64_t atime, std::int64_t mtime) const;
    void chmod(const QString& relative, unsigned mode) const;

private:
    QTemporaryDir dir_;
    QString path_;
};

// Runs a program and returns its exit code; stdout and stderr are captured.
struct ProcessResult {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};
ProcessResult run(const QString& program, const QStringList& args, const QByteArray& input = {});

// Runs quorvel-cli (built alongside the tests) with the test home environment.
ProcessResult runCli(const QStringList& args);

// Runs `body` in a child process without root's power over permissions (as user
// "nobody" when the tests run as root, otherwise as the current user) and returns its exit
// status; the body returns the exit code it wants to report.
int runUnprivileged(const std::function<int()>& body);

bool runningAsRoot();

} // namespace TestSupport
