#include "common/TestSupport.h"

#include "QuorvelVersion.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

// The version comes from the project's CMake version through a generated header: a
// malformed or unsubstituted value, or a --version that falls through to the command
// parser, shows here.
TEST(VersionCli, PrintsTheProjectVersionOnStdoutAndSucceeds)
{
    const QString version = QStringLiteral(QUORVEL_VERSION);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d+\\.\\d+\\.\\d+$")).match(version).hasMatch())
        << version.toStdString();

    const auto alone = TestSupport::runCli({QStringLiteral("--version")});
    EXPECT_EQ(alone.exitCode, 0);
    EXPECT_EQ(QString::fromUtf8(alone.out), QStringLiteral("quorvel-cli ") + version + QLatin1Char('\n'));
    EXPECT_TRUE(alone.err.isEmpty()) << alone.err.toStdString();

    // After a command it is still the version that is printed, and nothing is scanned.
    const auto afterCommand = TestSupport::runCli({QStringLiteral("scan"), QStringLiteral("--version"),
                                                   QStringLiteral("/no/such/folder")});
    EXPECT_EQ(afterCommand.exitCode, 0) << afterCommand.err.toStdString();
    EXPECT_EQ(QString::fromUtf8(afterCommand.out), QString::fromUtf8(alone.out));

    const auto help = TestSupport::runCli({QStringLiteral("--help")});
    EXPECT_TRUE(help.out.contains("--version"));
}
