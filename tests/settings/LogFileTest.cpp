#include "settings/Log.h"
#include "settings/Paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <cstdio>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

// The windowed program's entry puts standard error on the log file, appending: what was
// there stays, and both plain stderr writes and log lines land after it.
TEST(LogFile, StandardErrorIsReopenedOnTheLogFileForAppending)
{
    const QString path = Paths::logFile();
    QDir().mkpath(QFileInfo(path).absolutePath());
    {
        QFile earlier(path);
        ASSERT_TRUE(earlier.open(QIODevice::WriteOnly | QIODevice::Truncate));
        earlier.write("an earlier run\n");
    }
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        if (!Log::reopenStandardErrorOnLogFile())
            ::_exit(10);
        if (qgetenv("QT_FORCE_STDERR_LOGGING") != "1")
            ::_exit(11);
        std::fprintf(stderr, "written to stderr\n");
        std::fflush(stderr);
        Log::setSink(Log::Sink::StandardError);
        qvlog(QStringLiteral("a log line"));
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    QFile log(path);
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_EQ(log.readAll(), QByteArray("an earlier run\nwritten to stderr\na log line\n"));
}

// A log file that cannot be opened leaves standard error where it was.
TEST(LogFile, UnopenableLogFileLeavesStandardErrorAlone)
{
    const QString path = Paths::logFile();
    QFile::remove(path);
    QDir().mkpath(path); // a folder where the file should be
    struct stat before {};
    ASSERT_EQ(::fstat(STDERR_FILENO, &before), 0);
    EXPECT_FALSE(Log::reopenStandardErrorOnLogFile());
    struct stat after {};
    ASSERT_EQ(::fstat(STDERR_FILENO, &after), 0);
    EXPECT_EQ(before.st_ino, after.st_ino);
    QDir().rmdir(path);
}
