#include "common/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>

#include <cstdlib>
#include <fcntl.h>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace TestSupport {

namespace {
QString g_home;

QByteArray bytes(const QString& path) { return QFile::encodeName(path); }
} // namespace

void setTestHome(const QString& home)
{
    g_home = home;
    const QByteArray h = bytes(home);
    QDir().mkpath(home + QStringLiteral("/.config"));
    QDir().mkpath(home + QStringLiteral("/.local/share"));
    QDir().mkpath(home + QStringLiteral("/.local/state"));
    QDir().mkpath(home + QStringLiteral("/.cache"));
    ::setenv("HOME", h.constData(), 1);
    ::setenv("XDG_CONFIG_HOME", (h + "/.config").constData(), 1);
    ::setenv("XDG_DATA_HOME", (h + "/.local/share").constData(), 1);
    ::setenv("XDG_STATE_HOME", (h + "/.local/state").constData(), 1);
    ::setenv("XDG_CACHE_HOME", (h + "/.cache").constData(), 1);
    // QSettings reads XDG_CONFIG_HOME once per process; tell it the new folder outright.
    for (QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat})
        QSettings::setPath(format, QSettings::UserScope, home + QStringLiteral("/.config"));
}

QString testHome() { return g_home; }

TempTree::TempTree() : dir_(QDir::tempPath() + QStringLiteral("/quorvel-tree-XXXXXX"))
{
    dir_.setAutoRemove(true);
    path_ = dir_.path();
}

QByteArray TempTree::pathBytes() const { return bytes(path_); }

QString TempTree::at(const QString& relative) const
{
    return relative.isEmpty() ? path_ : path_ + QLatin1Char('/') + relative;
}

void TempTree::mkdir(const QString& relative) const { QDir().mkpath(at(relative)); }

QString TempTree::file(const QString& relative, std::int64_t size) const
{
    const QString path = at(relative);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (f.open(QIODevice::WriteOnly)) {
        const QByteArray chunk(64 * 1024, 'q');
        for (std::int64_t left = size; left > 0; left -= chunk.size())
            f.write(chunk.constData(), qMin<std::int64_t>(left, chunk.size()));
    }
    return path;
}

QString TempTree::sparseFile(const QString& relative, std::int64_t size) const
{
    const QString path = at(relative);
    QDir().mkpath(QFileInfo(path).absolutePath());
    const int fd = ::open(bytes(path).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd >= 0) {
        [[maybe_unused]] int rc = ::ftruncate(fd, size);
        ::close(fd);
    }
    return path;
}

void TempTree::symlink(const QString& target, const QString& relativeLink) const
{
    [[maybe_unused]] int rc = ::symlink(bytes(target).constData(), bytes(at(relativeLink)).constData());
}

void TempTree::hardlink(const QString& relativeExisting, const QString& relativeLink) const
{
    [[maybe_unused]] int rc = ::link(bytes(at(relativeExisting)).constData(), bytes(at(relativeLink)).constData());
}

void TempTree::setTimes(const QString& relative, std::int64_t atime, std::int64_t mtime) const
{
    timespec times[2] = {{atime, 0}, {mtime, 0}};
    ::utimensat(AT_FDCWD, bytes(at(relative)).constData(), times, AT_SYMLINK_NOFOLLOW);
}

void TempTree::chmod(const QString& relative, unsigned mode) const
{
    ::chmod(bytes(at(relative)).constData(), mode);
}

ProcessResult run(const QString& program, const QStringList& args, const QByteArray& input)
{
    QProcess process;
    process.start(program, args);
    ProcessResult result;
    if (!process.waitForStarted(10000))
        return result;
    if (!input.isEmpty())
        process.write(input);
    process.closeWriteChannel();
    process.waitForFinished(600000);
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    return result;
}

ProcessResult runCli(const QStringList& args)
{
#ifdef QUORVEL_CLI_PATH
    return run(QStringLiteral(QUORVEL_CLI_PATH), args);
#else
    return run(QStringLiteral("quorvel-cli"), args);
#endif
}

bool runningAsRoot() { return ::geteuid() == 0; }

int runUnprivileged(const std::function<int()>& body)
{
    const pid_t pid = ::fork();
    if (pid < 0)
        return -1;
    if (pid == 0) {
        if (runningAsRoot()) {
            const gid_t nogroup = 65534;
            if (::setgroups(1, &nogroup) != 0 || ::setresgid(nogroup, nogroup, nogroup) != 0
                || ::setresuid(65534, 65534, 65534) != 0)
                ::_exit(120);
        }
        ::_exit(body());
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace TestSupport
