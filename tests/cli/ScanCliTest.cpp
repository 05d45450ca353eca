#include "common/TestSupport.h"
#include "settings/Paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <unistd.h>

using TestSupport::TempTree;

namespace {

class ScanCli : public ::testing::Test {
protected:
    void SetUp() override { TestSupport::setTestHome(home_.path()); }
    void TearDown() override { TestSupport::setTestHome(previous_); }
    QString emptyExclusions()
    {
        const QString path = tree_.file(QStringLiteral("excl/ExclusionList.plist"));
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write("<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>Hard</key><dict>"
                "<key>dirPath</key><array/><key>dirNotDelete</key><array/></dict></dict></plist>");
        return path;
    }
    QTemporaryDir home_;
    QString previous_ = TestSupport::testHome();
    TempTree tree_;
};

} // namespace

TEST_F(ScanCli, JsonGivesTheRootTotals)
{
    TempTree t;
    t.file(QStringLiteral("a.bin"), 1000);
    t.file(QStringLiteral("sub/b.bin"), 24);
    t.file(QStringLiteral("sub/deeper/c.bin"), 0);
    t.file(QStringLiteral(".hidden/ignored.bin"), 5000);
    t.symlink(t.at(QStringLiteral("a.bin")), QStringLiteral("link"));
    const auto result = TestSupport::runCli({QStringLiteral("scan"), QStringLiteral("--json"), t.path()});
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    const QJsonObject json = QJsonDocument::fromJson(result.out).object();
    EXPECT_EQ(json.value(QStringLiteral("path")).toString(), t.path());
    EXPECT_EQ(json.value(QStringLiteral("size")).toInteger(), 1024);
    EXPECT_GE(json.value(QStringLiteral("size_on_disk")).toInteger(), 1024);
    EXPECT_EQ(json.value(QStringLiteral("files")).toInteger(), 3);
    EXPECT_EQ(json.value(QStringLiteral("folders")).toInteger(), 2);
    EXPECT_GE(json.value(QStringLiteral("seconds")).toDouble(), 0.0);
    // The shared list was made in Documents, as at the application's start.
    EXPECT_TRUE(QFile::exists(Paths::inDocuments(QStringLiteral("ExclusionList.plist"))));
}

TEST_F(ScanCli, ThreadCountsAgree)
{
    TempTree t;
    for (int i = 0; i < 300; ++i)
        t.file(QStringLiteral("d%1/e%2/f%3.txt").arg(i % 7).arg(i % 5).arg(i), i);
    QJsonObject first;
    for (const char* threads : {"1", "2", "5"}) {
        const auto result = TestSupport::runCli({QStringLiteral("scan"), QStringLiteral("--json"), QStringLiteral("--threads"),
                                                 QString::fromLatin1(threads), t.path()});
        ASSERT_EQ(result.exitCode, 0);
        QJsonObject json = QJsonDocument::fromJson(result.out).object();
        json.remove(QStringLiteral("seconds"));
        if (first.isEmpty())
            first = json;
        EXPECT_EQ(json, first) << threads;
    }
    EXPECT_EQ(first.value(QStringLiteral("files")).toInteger(), 300);
}

TEST_F(ScanCli, BadPathsFailWithExitCodeTwoAndWriteNothing)
{
    TempTree t;
    t.file(QStringLiteral("plain.txt"), 3);
    const QString excl = emptyExclusions();
    for (const QString& path : {t.at(QStringLiteral("missing")), t.at(QStringLiteral("plain.txt"))}) {
        const auto result = TestSupport::runCli({QStringLiteral("scan"), QStringLiteral("--exclusions"), excl, path});
        EXPECT_EQ(result.exitCode, 2) << path.toStdString();
        EXPECT_TRUE(result.out.isEmpty());
        EXPECT_TRUE(result.err.startsWith("quorvel-cli: ")) << result.err.toStdString();
        EXPECT_EQ(result.err.count('\n'), 1);
    }
    // --exclusions reads the given list and writes nothing to Documents.
    EXPECT_FALSE(QDir(Paths::documents()).exists());

    const auto missingList = TestSupport::runCli(
        {QStringLiteral("scan"), QStringLiteral("--exclusions"), t.at(QStringLiteral("none.plist")), t.path()});
    EXPECT_EQ(missingList.exitCode, 2);
    const auto usage = TestSupport::runCli({QStringLiteral("scan")});
    EXPECT_EQ(usage.exitCode, 2);
    const auto unknown = TestSupport::runCli({QStringLiteral("scan"), QStringLiteral("--bogus"), t.path()});
    EXPECT_EQ(unknown.exitCode, 2);
}

TEST_F(ScanCli, UnreadableFolderIsRefused)
{
    TempTree t;
    t.mkdir(QStringLiteral("locked"));
    t.chmod(QStringLiteral("locked"), 0);
    const QString excl = emptyExclusions();
    const int status = TestSupport::runUnprivileged([&] {
        const auto result = TestSupport::runCli({QStringLiteral("scan"), QStringLiteral("--exclusions"), excl,
                                                 t.at(QStringLiteral("locked"))});
        return result.exitCode;
    });
    t.chmod(QStringLiteral("locked"), 0755);
    // As root the child runs as nobody, who cannot even enter the temporary folder.
    EXPECT_EQ(status, 2);
}

TEST_F(ScanCli, ExcludedPathIsRefused)
{
    TempTree t;
    t.file(QStringLiteral("x/y.txt"), 1);
    const QString list = tree_.file(QStringLiteral("excl2/ExclusionList.plist"));
    QFile f(list);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QStringLiteral("<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>Hard</key><dict>"
                           "<key>dirPath</key><array><string>%1</string></array></dict></dict></plist>")
                .arg(t.at(QStringLiteral("x")))
                .toUtf8());
    f.close();
    const auto result = TestSupport::runCli({QStringLiteral("scan"), QStringLiteral("--exclusions"), list,
                                             t.at(QStringLiteral("x/"))});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_TRUE(result.err.contains("excluded"));
    const auto human = TestSupport::runCli({QStringLiteral("scan"), QStringLiteral("--exclusions"), list, t.path()});
    EXPECT_EQ(human.exitCode, 0);
    EXPECT_TRUE(human.out.contains("Files:")) << human.out.toStdString();
}

// A folder that cannot be read leaves the totals short: the scan still prints what it
// found, counts the folder in "unreadable", says so on stderr and exits with 1, as du does.
TEST_F(ScanCli, UnreadableFoldersAreCountedAndFailTheScan)
{
    TempTree t;
    t.file(QStringLiteral("open/a.bin"), 40);
    t.file(QStringLiteral("locked/b.bin"), 2000);
    const QString excl = t.file(QStringLiteral("excl.plist"));
    {
        QFile f(excl);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>Hard</key><dict>"
                "<key>dirPath</key><array/><key>dirNotDelete</key><array/></dict></dict></plist>");
    }
    t.chmod(QString(), 0755);
    t.chmod(QStringLiteral("open"), 0755);
    t.chmod(QStringLiteral("open/a.bin"), 0644);
    t.chmod(QStringLiteral("excl.plist"), 0644);
    t.chmod(QStringLiteral("locked"), 0);
    // The unprivileged child needs a home of its own to write its settings and output.
    QTemporaryDir childHome;
    if (TestSupport::runningAsRoot()) {
        ASSERT_EQ(::chown(QFile::encodeName(childHome.path()).constData(), 65534, 65534), 0);
    }

    const int status = TestSupport::runUnprivileged([&] {
        TestSupport::setTestHome(childHome.path());
        const auto result = TestSupport::runCli({QStringLiteral("scan"), QStringLiteral("--json"),
                                                 QStringLiteral("--exclusions"), excl, t.path()});
        QFile out(childHome.path() + QStringLiteral("/out.json"));
        QFile err(childHome.path() + QStringLiteral("/err.txt"));
        if (!out.open(QIODevice::WriteOnly) || !err.open(QIODevice::WriteOnly))
            return 100;
        out.write(result.out);
        err.write(result.err);
        return result.exitCode;
    });
    t.chmod(QStringLiteral("locked"), 0755);
    EXPECT_EQ(status, 1);
    QFile out(childHome.path() + QStringLiteral("/out.json"));
    QFile err(childHome.path() + QStringLiteral("/err.txt"));
    ASSERT_TRUE(out.open(QIODevice::ReadOnly));
    ASSERT_TRUE(err.open(QIODevice::ReadOnly));
    const QJsonObject json = QJsonDocument::fromJson(out.readAll()).object();
    EXPECT_EQ(json.value(QStringLiteral("unreadable")).toInteger(-1), 1);
    // What was readable still counts: a.bin and the exclusion list beside it.
    EXPECT_EQ(json.value(QStringLiteral("size")).toInteger(), 40 + QFileInfo(excl).size());
    EXPECT_EQ(json.value(QStringLiteral("files")).toInteger(), 2);
    EXPECT_EQ(json.value(QStringLiteral("folders")).toInteger(), 2);
    const QByteArray message = err.readAll();
    EXPECT_TRUE(message.contains("1 folder")) << message.toStdString();
    EXPECT_EQ(message.count('\n'), 1) << message.toStdString();

    // A readable tree reports none and succeeds.
    const auto clean = TestSupport::runCli({QStringLiteral("scan"), QStringLiteral("--json"), QStringLiteral("--exclusions"),
                                            excl, t.at(QStringLiteral("open"))});
    EXPECT_EQ(clean.exitCode, 0);
    EXPECT_EQ(QJsonDocument::fromJson(clean.out).object().value(QStringLiteral("unreadable")).toInteger(-1), 0);
}
