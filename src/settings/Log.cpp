#include "settings/Log.h"

#include "settings/Paths.h"

#include <QDir>
#include <QFileInfo>

#include <cstdio>
#include <fcntl.h>
#include <mutex>
#include <unistd.h>

namespace {

std::mutex g_mutex;
int g_fd = STDERR_FILENO;
bool g_discard = false;

} // namespace

namespace Log {

bool setSink(Sink sink)
{
    std::lock_guard lock(g_mutex);
    if (g_fd != STDERR_FILENO)
        ::close(g_fd);
    g_fd = STDERR_FILENO;
    g_discard = sink == Sink::Discard;
    if (sink != Sink::LogFile)
        return true;
    const QString path = Paths::logFile();
    QDir().mkpath(QFileInfo(path).absolutePath());
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    g_fd = fd;
    return true;
}

bool reopenStandardErrorOnLogFile()
{
    const QString path = Paths::logFile();
    QDir().mkpath(QFileInfo(path).absolutePath());
    // Opened first and put in place with dup2, so a failure leaves stderr untouched.
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    std::fflush(stderr);
    const bool moved = ::dup2(fd, STDERR_FILENO) == STDERR_FILENO;
    ::close(fd);
    // Qt sends its messages to the system journal instead when stderr is no terminal.
    if (moved)
        qputenv("QT_FORCE_STDERR_LOGGING", "1");
    return moved;
}

void line(const QString& text)
{
    QByteArray bytes = text.toUtf8();
    bytes.append('\n');
    std::lock_guard lock(g_mutex);
    if (g_discard)
        return;
    // One write per line keeps lines whole when several processes append to the file.
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(g_fd, data, size_t(left));
        if (n <= 0)
            break;
        data += n;
        left -= n;
    }
}

} // namespace Log
