#include "common/TestSupport.h"
#include "settings/Paths.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

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
