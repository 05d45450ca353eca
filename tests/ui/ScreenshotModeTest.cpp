// The program's --screenshot mode, run as its own process.

#include "common/TestSupport.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>

#include <gtest/gtest.h>

namespace {

TestSupport::ProcessResult runGui(const QStringList& args) { return TestSupport::run(QStringLiteral(QUORVEL_GUI_PATH), args); }

} // namespace

TEST(ScreenshotMode, WritesAPictureOfTheMainWindowAtTheAskedSize)
{
    TestSupport::TempTree tree;
    tree.file(QStringLiteral("pictures/a.png"), 4000);
    tree.file(QStringLiteral("docs/b.txt"), 1000);
    const QString png = tree.at(QStringLiteral("shot.png"));
    const TestSupport::ProcessResult result =
        runGui({QStringLiteral("--screenshot"), png, QStringLiteral("--report"), QStringLiteral("sizes"),
                QStringLiteral("--size"), QStringLiteral("900x640"), tree.path()});
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    const QImage picture(png);
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.size(), QSize(900, 640));
}

TEST(ScreenshotMode, RefusesBadReportNamesUnwritableFilesAndBadSizesWithExitCode2)
{
    TestSupport::TempTree tree;
    tree.file(QStringLiteral("a.bin"), 10);
    const QString png = tree.at(QStringLiteral("shot.png"));

    TestSupport::ProcessResult result = runGui({QStringLiteral("--screenshot"), png, QStringLiteral("--report"),
                                                QStringLiteral("nonsense"), tree.path()});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_TRUE(result.err.contains("unknown report \"nonsense\"")) << result.err.toStdString();
    EXPECT_TRUE(result.err.contains("overview")) << "the message lists the valid names";

    result = runGui({QStringLiteral("--screenshot"), tree.at(QStringLiteral("missing/shot.png")), tree.path()});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_TRUE(result.err.contains("cannot write the screenshot")) << result.err.toStdString();

    result = runGui({QStringLiteral("--screenshot"), tree.path(), tree.path()});
    EXPECT_EQ(result.exitCode, 2) << "a folder is no picture file";

    result = runGui({QStringLiteral("--screenshot"), png, QStringLiteral("--size"), QStringLiteral("big"), tree.path()});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_TRUE(result.err.contains("--size")) << result.err.toStdString();

    result = runGui({QStringLiteral("--screenshot"), png, tree.at(QStringLiteral("a.bin"))});
    EXPECT_EQ(result.exitCode, 2) << "a file is no folder to scan";
    EXPECT_FALSE(QFileInfo::exists(png)) << "nothing is written on refusal";
}

TEST(ScreenshotMode, RendersTheFileViewerAPreferencesPaneAndThePopover)
{
    TestSupport::TempTree tree;
    tree.file(QStringLiteral("docs/a.pdf"), 90000);
    tree.file(QStringLiteral("docs/b.txt"), 3000);
    tree.file(QStringLiteral("pictures/c.png"), 400000);
    const QList<QStringList> targets = {
        {QStringLiteral("--viewer"), QStringLiteral("document files")},
        {QStringLiteral("--viewer"), QStringLiteral("256 KB - 512 KB")},
        {QStringLiteral("--preferences"), QStringLiteral("misc-filter")},
        {QStringLiteral("--popover")},
    };
    for (const QStringList& target : targets) {
        const QString png = tree.at(QStringLiteral("shot.png"));
        QFile::remove(png);
        const TestSupport::ProcessResult result =
            runGui(QStringList{QStringLiteral("--screenshot"), png} + target + QStringList{tree.path()});
        ASSERT_EQ(result.exitCode, 0) << target.join(u' ').toStdString() << ": " << result.err.toStdString();
        const QImage picture(png);
        ASSERT_FALSE(picture.isNull()) << target.join(u' ').toStdString();
        EXPECT_NE(picture.size(), QSize(1280, 800)) << target.join(u' ').toStdString() << " renders its own window";
    }
}

TEST(ScreenshotMode, RefusesUnknownViewerRowsAndPreferencesPanesWithExitCode2)
{
    TestSupport::TempTree tree;
    tree.file(QStringLiteral("docs/a.pdf"), 90000);
    const QString png = tree.at(QStringLiteral("shot.png"));

    TestSupport::ProcessResult result =
        runGui({QStringLiteral("--screenshot"), png, QStringLiteral("--viewer"), QStringLiteral("No Such Row"), tree.path()});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_TRUE(result.err.contains("\"No Such Row\"")) << result.err.toStdString();
    EXPECT_TRUE(result.err.contains("Document Files")) << "the message lists the rows: " << result.err.toStdString();

    result = runGui({QStringLiteral("--screenshot"), png, QStringLiteral("--viewer"), QStringLiteral("Audio Files"), tree.path()});
    EXPECT_EQ(result.exitCode, 2) << "a row without files opens no viewer";
    EXPECT_TRUE(result.err.contains("no files")) << result.err.toStdString();

    result = runGui({QStringLiteral("--screenshot"), png, QStringLiteral("--preferences"), QStringLiteral("colours"), tree.path()});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_TRUE(result.err.contains("unknown preferences pane \"colours\"")) << result.err.toStdString();
    EXPECT_TRUE(result.err.contains("Misc. Filter")) << "the message lists the panes: " << result.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(png)) << "nothing is written on refusal";
}

TEST(ScreenshotMode, VersionAndHelp)
{
    TestSupport::ProcessResult result = runGui({QStringLiteral("--version")});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_TRUE(result.out.startsWith("Quorvel ")) << result.out.toStdString();
    result = runGui({QStringLiteral("--help")});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_TRUE(result.out.contains("--screenshot")) << result.out.toStdString();
    EXPECT_TRUE(result.out.contains("--report")) << result.out.toStdString();
}
