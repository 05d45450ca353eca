// Exit codes that tell the truth: interrupted scans, refused options and outputs that
// cannot be written, through the real command-line program.

#include "common/TestSupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <gtest/gtest.h>

#include <csignal>
#include <optional>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using TestSupport::TempTree;

QString cli() { return QStringLiteral(QUORVEL_CLI_PATH); }

// True once the process catches SIGINT: the command has put its Ctrl-C handler in place,
// right before the scan starts.
bool catchesCtrlC(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return false;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("SigCgt:"))
            return (line.mid(7).trimmed().toULongLong(nullptr, 16) >> (SIGINT - 1)) & 1;
    return false;
}

struct Interrupted {
    int exitCode = 0;
    QByteArray out;
    QByteArray err;
};

// Runs the command line and sends it Ctrl-C once its scan is about to start. Absent when
// the command finished before the signal (or right after it with success).
std::optional<Interrupted> interruptScan(const QStringList& args)
{
    QProcess process;
    process.start(cli(), args);
    if (!process.waitForStarted())
        return std::nullopt;
    QElapsedTimer waited;
    waited.start();
    bool finished = false;
    while (!(finished = process.waitForFinished(1)) && !catchesCtrlC(process.processId()) && waited.elapsed() < 20000) {
    }
    if (finished)
        return std::nullopt;
    ::kill(pid_t(process.processId()), SIGINT);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() == 0)
        return std::nullopt;
    return Interrupted{process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

TEST(ExitCodes, CtrlCDuringAScanMarksTheResultPartialAndExitsWith130)
{
    TempTree t;
    for (int i = 0; i < 4000; ++i)
        t.file(QStringLiteral("tree/d%1/e%2/f.txt").arg(i % 40).arg(i), 1);
    const qint64 allBytes = 4000;
    const QStringList scanOptions{QStringLiteral("--json"), QStringLiteral("--threads"), QStringLiteral("1"),
                                  t.at(QStringLiteral("tree"))};

    bool missed = false;
    // The report command says it the same way as the scan command.
    for (const QStringList& command : {QStringList{QStringLiteral("scan")},
                                       QStringList{QStringLiteral("report"), QStringLiteral("overview")}}) {
        SCOPED_TRACE(command.join(QLatin1Char(' ')).toStdString());
        // The scan may finish before the signal comes; a few tries make that unlikely.
        std::optional<Interrupted> r;
        for (int attempt = 0; attempt < 5 && !r; ++attempt)
            r = interruptScan(command + scanOptions);
        if (!r) {
            missed = true;
            continue;
        }
        EXPECT_EQ(r->exitCode, 130) << r->err.constData();
        EXPECT_TRUE(r->err.contains("interrupted")) << r->err.constData();
        const QJsonObject json = QJsonDocument::fromJson(r->out).object();
        EXPECT_TRUE(json.value(QStringLiteral("partial")).toBool()) << r->out.constData();
        EXPECT_LT(json.value(QStringLiteral("files")).toInteger(), 4000);
        EXPECT_LT(json.value(QStringLiteral("size")).toInteger(), allBytes);
    }
    if (missed)
        GTEST_SKIP() << "every scan of a command finished before it could be interrupted";
}

TEST(ExitCodes, ACompleteScanSaysItIsNotPartial)
{
    TempTree t;
    t.file(QStringLiteral("a.txt"), 3);
    for (const QStringList& command : {QStringList{QStringLiteral("scan")},
                                       QStringList{QStringLiteral("report"), QStringLiteral("overview")}}) {
        const TestSupport::ProcessResult r = TestSupport::runCli(command + QStringList{QStringLiteral("--json"), t.path()});
        ASSERT_EQ(r.exitCode, 0) << r.err.constData();
        const QJsonObject json = QJsonDocument::fromJson(r.out).object();
        ASSERT_TRUE(json.contains(QStringLiteral("partial"))) << r.out.constData();
        EXPECT_FALSE(json.value(QStringLiteral("partial")).toBool());
        EXPECT_EQ(json.value(QStringLiteral("unreadable")).toInteger(-1), 0);
    }
}

TEST(ExitCodes, DatesOutsideTheOneFormatAreRefused)
{
    TempTree t;
    t.file(QStringLiteral("a.txt"), 3);
    for (const QStringList& dates : {QStringList{QStringLiteral("2024-01-01"), QStringLiteral("01/31/2024")},
                                     QStringList{QStringLiteral("01/31/2024"), QStringLiteral("31/01/2024")},
                                     QStringList{QStringLiteral("02/30/2024"), QStringLiteral("03/01/2024")},
                                     QStringList{QStringLiteral("yesterday"), QStringLiteral("today")}}) {
        const TestSupport::ProcessResult r = TestSupport::runCli(
            {QStringLiteral("report"), QStringLiteral("explorer"), QStringLiteral("--date"), QStringLiteral("modified"),
             dates[0], dates[1], t.path()});
        EXPECT_EQ(r.exitCode, 2) << dates.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(r.err.contains("MM/dd/yyyy")) << r.err.constData();
        EXPECT_TRUE(r.out.isEmpty());
    }
    const TestSupport::ProcessResult ok = TestSupport::runCli(
        {QStringLiteral("report"), QStringLiteral("explorer"), QStringLiteral("--date"), QStringLiteral("modified"),
         QStringLiteral("01/01/2000"), QStringLiteral("12/31/2099"), t.path()});
    EXPECT_EQ(ok.exitCode, 0) << ok.err.constData();
}

TEST(ExitCodes, OutputThatCannotBeWrittenIsAFailure)
{
    TempTree t;
    t.file(QStringLiteral("a.txt"), 3);
    const TestSupport::ProcessResult r = TestSupport::run(
        QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QStringLiteral("\"$0\" scan --json \"$1\" >/dev/full"), cli(), t.path()});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("cannot write the output: No space left on device")) << r.err.constData();
}

TEST(ExitCodes, AnExclusionListThatIsNoRegularFileIsRefusedNotWaitedOn)
{
    TempTree t;
    t.file(QStringLiteral("a.txt"), 3);
    ASSERT_EQ(::mkfifo(QFile::encodeName(t.at(QStringLiteral("pipe.plist"))).constData(), 0600), 0);
    for (const QString& special : {QStringLiteral("/dev/zero"), t.at(QStringLiteral("pipe.plist")), t.path()}) {
        const TestSupport::ProcessResult r =
            TestSupport::runCli({QStringLiteral("scan"), QStringLiteral("--exclusions"), special, t.path()});
        EXPECT_EQ(r.exitCode, 2) << special.toStdString();
        EXPECT_TRUE(r.err.contains("not a regular file")) << r.err.constData();
    }
}

TEST(Names, ANewlineStaysOnItsRowAndBytesThatAreNotUtf8AreKeptInJson)
{
    TempTree t;
    t.file(QStringLiteral("two\nlines.txt"), 5);
    const QByteArray odd = QFile::encodeName(t.path()) + "/odd-\xff.txt";
    const int fd = ::open(odd.constData(), O_WRONLY | O_CREAT, 0644);
    ASSERT_GE(fd, 0);
    ::close(fd);

    TestSupport::ProcessResult r =
        TestSupport::runCli({QStringLiteral("report"), QStringLiteral("explorer"), t.path()});
    ASSERT_EQ(r.exitCode, 0) << r.err.constData();
    EXPECT_TRUE(r.out.contains("two\\nlines.txt")) << r.out.constData();
    EXPECT_FALSE(r.out.contains("two\nlines")) << r.out.constData();

    r = TestSupport::runCli({QStringLiteral("report"), QStringLiteral("explorer"), QStringLiteral("--json"), t.path()});
    ASSERT_EQ(r.exitCode, 0) << r.err.constData();
    EXPECT_TRUE(r.out.contains("\"name_bytes\":\"" + QByteArray("odd-\xff.txt").toBase64() + '"')) << r.out.constData();
    EXPECT_TRUE(r.out.contains("\"path_bytes\":\"" + odd.toBase64() + '"')) << r.out.constData();
    EXPECT_TRUE(r.out.contains("two\\nlines.txt")); // JSON escapes it on its own
    ::unlink(odd.constData());
}

TEST(Names, ARootWhoseNameIsNotUtf8IsScannedUnderItsOwnBytes)
{
    TempTree t;
    const QByteArray root = QFile::encodeName(t.path()) + "/root-\xff";
    ASSERT_EQ(::mkdir(root.constData(), 0755), 0);
    const int fd = ::open((root + "/f.txt").constData(), O_WRONLY | O_CREAT, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::write(fd, "1234567", 7), 7);
    ::close(fd);

    // The shell hands the byte 0xff to the program as it is.
    const auto run = [&](const QString& command) {
        return TestSupport::run(QStringLiteral("/bin/sh"),
                                {QStringLiteral("-c"), QStringLiteral("exec \"$0\" %1 \"$1/root-$(printf '\\377')\"").arg(command),
                                 cli(), t.path()});
    };
    for (const QString& command : {QStringLiteral("scan --json"), QStringLiteral("report explorer --json")}) {
        const TestSupport::ProcessResult r = run(command);
        ASSERT_EQ(r.exitCode, 0) << command.toStdString() << ": " << r.err.constData();
        const QJsonObject json = QJsonDocument::fromJson(r.out).object();
        EXPECT_EQ(json.value(QStringLiteral("files")).toInteger(), 1) << r.out.constData();
        EXPECT_EQ(json.value(QStringLiteral("size")).toInteger(), 7);
        EXPECT_EQ(json.value(QStringLiteral("path_bytes")).toString().toLatin1(), root.toBase64());
    }
    const TestSupport::ProcessResult table = run(QStringLiteral("scan"));
    EXPECT_EQ(table.exitCode, 0) << table.err.constData();
    EXPECT_TRUE(table.out.contains("Files:         1")) << table.out.constData();
    // The temporary folder cannot remove what its text path cannot name.
    ::unlink((root + "/f.txt").constData());
    ::rmdir(root.constData());
}

} // namespace
