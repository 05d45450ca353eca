#include "common/TestMounts.h"
#include "common/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

using TestSupport::TempTree;

namespace {

class ScanOptionsCli : public ::testing::Test {
protected:
    void SetUp() override
    {
        TestSupport::setTestHome(home_.path());
        const QString path = tree_.file(QStringLiteral("excl/ExclusionList.plist"));
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write("<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>Hard</key><dict>"
                "<key>dirPath</key><array/><key>dirNotDelete</key><array/></dict></dict></plist>");
        exclusions_ = path;
    }
    void TearDown() override { TestSupport::setTestHome(previous_); }

    // Writes the settings file as the application stores it (QSettings' own text form), so
    // the command reads it in a new process.
    void storeSetting(const char* key, const char* value)
    {
        const QString folder = qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/Quorvel");
        QDir().mkpath(folder);
        QFile conf(folder + QStringLiteral("/Quorvel.conf"));
        ASSERT_TRUE(conf.open(QIODevice::WriteOnly));
        conf.write(QByteArray("[General]\n") + key + '=' + value + '\n');
    }

    QJsonObject scanJson(const QStringList& extra, const QString& path)
    {
        const auto result = TestSupport::runCli(QStringList{QStringLiteral("scan"), QStringLiteral("--json"),
                                                            QStringLiteral("--exclusions"), exclusions_}
                                                + extra + QStringList{path});
        EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
        return QJsonDocument::fromJson(result.out).object();
    }

    QTemporaryDir home_;
    QString previous_ = TestSupport::testHome();
    TempTree tree_;
    QString exclusions_;
};

qint64 number(const QJsonObject& json, const char* key) { return json.value(QLatin1String(key)).toInteger(-1); }

} // namespace

TEST_F(ScanOptionsCli, HiddenFoldersComeFromTheFlagOrTheSetting)
{
    TempTree t;
    t.file(QStringLiteral("a.bin"), 1000);
    t.file(QStringLiteral(".cache/big.bin"), 5000);
    t.file(QStringLiteral(".config/app/c.conf"), 10);

    const QJsonObject plain = scanJson({}, t.path());
    EXPECT_EQ(number(plain, "size"), 1000);
    EXPECT_EQ(number(plain, "hidden_folders_skipped"), 2);
    EXPECT_EQ(number(plain, "other_file_systems_skipped"), 0);

    const QJsonObject hidden = scanJson({QStringLiteral("--hidden")}, t.path());
    EXPECT_EQ(number(hidden, "size"), 6010);
    EXPECT_EQ(number(hidden, "folders"), 3);
    EXPECT_EQ(number(hidden, "hidden_folders_skipped"), 0);

    // The report command takes the flag too.
    const auto report = TestSupport::runCli({QStringLiteral("report"), QStringLiteral("overview"), QStringLiteral("--json"),
                                             QStringLiteral("--hidden"), QStringLiteral("--exclusions"), exclusions_, t.path()});
    ASSERT_EQ(report.exitCode, 0) << report.err.toStdString();
    EXPECT_EQ(number(QJsonDocument::fromJson(report.out).object(), "size"), 6010);

    // The stored setting, read back as text in a new process, turns it on for every scan.
    storeSetting("scanHiddenFolders", "true");
    EXPECT_EQ(number(scanJson({}, t.path()), "size"), 6010);
    storeSetting("scanHiddenFolders", "0");
    EXPECT_EQ(number(scanJson({}, t.path()), "size"), 1000);
}

TEST_F(ScanOptionsCli, OneFileSystemPassesOverMountsBeneathThePath)
{
    TempTree t;
    t.file(QStringLiteral("a.bin"), 1000);
    const TestMount mount = TestMount::tmpfs(t.at(QStringLiteral("media")));
    if (!mount.mounted())
        GTEST_SKIP() << "mounting a tmpfs needs root";
    t.file(QStringLiteral("media/usb/photo.jpg"), 3000);

    const QJsonObject everything = scanJson({}, t.path());
    EXPECT_EQ(number(everything, "size"), 4000);
    EXPECT_EQ(number(everything, "other_file_systems_skipped"), 0);
    for (const char* flag : {"-x", "--one-file-system"}) {
        const QJsonObject oneFs = scanJson({QString::fromLatin1(flag)}, t.path());
        EXPECT_EQ(number(oneFs, "size"), 1000) << flag;
        EXPECT_EQ(number(oneFs, "folders"), 0) << flag;
        EXPECT_EQ(number(oneFs, "other_file_systems_skipped"), 1) << flag;
    }
    storeSetting("stayOnOneFileSystem", "true");
    EXPECT_EQ(number(scanJson({}, t.path()), "other_file_systems_skipped"), 1);
}

TEST_F(ScanOptionsCli, VolumesGiveUsedSpaceAsDfCountsIt)
{
    const auto result = TestSupport::runCli({QStringLiteral("volumes"), QStringLiteral("--json")});
    ASSERT_EQ(result.exitCode, 0);
    const QJsonArray volumes = QJsonDocument::fromJson(result.out).array();
    ASSERT_FALSE(volumes.isEmpty());
    const QJsonObject root = volumes.first().toObject();
    ASSERT_EQ(root.value(QStringLiteral("path")).toString(), QStringLiteral("/"));
    const qint64 size = number(root, "size"), used = number(root, "used"), free = number(root, "free");
    EXPECT_GE(used, 0);
    EXPECT_LE(used + free, size);

    // Others write to the disk meanwhile: df must agree within a small share of the disk,
    // far less than the 5 % root reserve that size - free would count as used.
    const auto df = TestSupport::run(QStringLiteral("df"), {QStringLiteral("-B1"), QStringLiteral("--output=used"), QStringLiteral("/")});
    const QList<QByteArray> lines = df.out.trimmed().split('\n');
    if (df.exitCode != 0 || lines.size() != 2)
        GTEST_SKIP() << "df is not available";
    EXPECT_NEAR(double(used), lines[1].trimmed().toDouble(), double(size) * 0.005);
}
