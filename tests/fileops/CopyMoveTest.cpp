#include "fileops/FileOprations.h"
#include "fileops/FileOpsFixtures.h"
#include "settings/Log.h"
#include "settings/Paths.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace FileOpsFixtures;
using TestSupport::TempTree;

namespace {

const QString kAlertTail = QStringLiteral(" or because it\u2019s required by OS\u00A0X.");

TEST(FileTargetPath, NumbersBeforeTheExtensionUntilANameIsFree)
{
    TempTree t;
    EXPECT_EQ(FileOprations::getFileTargetPath(t.at("report.pdf")), t.at("report.pdf"));
    t.file("report.pdf");
    EXPECT_EQ(FileOprations::getFileTargetPath(t.at("report.pdf")), t.at("report 1.pdf"));
    t.file("report 1.pdf");
    EXPECT_EQ(FileOprations::getFileTargetPath(t.at("report.pdf")), t.at("report 2.pdf"));

    t.file("archive.tar.gz");
    EXPECT_EQ(FileOprations::getFileTargetPath(t.at("archive.tar.gz")), t.at("archive.tar 1.gz"));
    t.mkdir("Photos");
    EXPECT_EQ(FileOprations::getFileTargetPath(t.at("Photos")), t.at("Photos 1"));
    t.file("Makefile");
    EXPECT_EQ(FileOprations::getFileTargetPath(t.at("Makefile")), t.at("Makefile 1"));
    // A leading dot starts a hidden name, not an extension.
    t.file(".bashrc");
    EXPECT_EQ(FileOprations::getFileTargetPath(t.at(".bashrc")), t.at(".bashrc 1"));
    // A dangling link takes its name too: creating through it would land elsewhere.
    t.symlink(t.at("nowhere"), "link");
    EXPECT_EQ(FileOprations::getFileTargetPath(t.at("link")), t.at("link 1"));
}

TEST(CopyFile, LandsBesideTakenNamesAndLeavesThemAlone)
{
    TempTree t;
    writeText(t.at("src/a.txt"), "new");
    t.mkdir("dest");
    writeText(t.at("dest/a.txt"), "old");
    writeText(t.at("dest/a 1.txt"), "older");
    RecordingUi ui;
    FileOprations ops(&ui);

    ASSERT_TRUE(ops.copyFileFromPath(t.at("src/a.txt"), t.at("dest")));
    EXPECT_EQ(readText(t.at("dest/a 2.txt")), "new");
    EXPECT_EQ(readText(t.at("dest/a.txt")), "old");
    EXPECT_EQ(readText(t.at("dest/a 1.txt")), "older");
    EXPECT_EQ(readText(t.at("src/a.txt")), "new");
    EXPECT_TRUE(ui.alerts.isEmpty());
}

TEST(CopyFile, CopiesAWholeFolderWithoutMergingIntoOneOfTheSameName)
{
    TempTree t;
    writeText(t.at("src/Photos/x.jpg"), "jpeg");
    writeText(t.at("src/Photos/sub/y.txt"), "why");
    writeText(t.at("src/Photos/.hidden"), "h");
    t.mkdir("src/Photos/empty");
    t.symlink(QStringLiteral("x.jpg"), "src/Photos/link");
    t.chmod("src/Photos/sub", 0750);
    t.setTimes("src/Photos/x.jpg", 1000000000, 1200000000);
    writeText(t.at("dest/Photos/mine.txt"), "keep");
    FileOprations ops(nullptr);

    ASSERT_TRUE(ops.copyFileFromPath(t.at("src/Photos"), t.at("dest")));
    EXPECT_EQ(names(t.at("dest/Photos")), QStringList{"mine.txt"});
    const QString copy = t.at("dest/Photos 1");
    EXPECT_EQ(names(copy), (QStringList{".hidden", "empty", "link", "sub", "x.jpg"}));
    EXPECT_EQ(readText(copy + "/x.jpg"), "jpeg");
    EXPECT_EQ(readText(copy + "/sub/y.txt"), "why");
    EXPECT_EQ(QFileInfo(copy + "/link").symLinkTarget(), copy + "/x.jpg");
    struct stat st;
    ASSERT_EQ(::stat(b(copy + "/sub").constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0750u);
    ASSERT_EQ(::stat(b(copy + "/x.jpg").constData(), &st), 0);
    EXPECT_EQ(st.st_mtime, 1200000000);
}

TEST(CopyFile, KeepsASparseFileSparse)
{
    TempTree t;
    t.sparseFile("src/disk.img", 256 * 1024 * 1024);
    t.mkdir("dest");
    FileOprations ops(nullptr);
    ASSERT_TRUE(ops.copyFileFromPath(t.at("src/disk.img"), t.at("dest")));
    struct stat st;
    ASSERT_EQ(::stat(b(t.at("dest/disk.img")).constData(), &st), 0);
    EXPECT_EQ(st.st_size, 256 * 1024 * 1024);
    EXPECT_LT(st.st_blocks * 512, 1024 * 1024);
}

TEST(CopyFile, RefusesToCopyAFolderIntoItself)
{
    TempTree t;
    writeText(t.at("Photos/sub/x.jpg"), "jpeg");
    RecordingUi ui;
    FileOprations ops(&ui);
    EXPECT_FALSE(ops.copyFileFromPath(t.at("Photos"), t.at("Photos")));
    EXPECT_FALSE(ops.copyFileFromPath(t.at("Photos"), t.at("Photos/sub")));
    EXPECT_FALSE(ops.moveFileFromPath(t.at("Photos"), t.at("Photos/sub")));
    EXPECT_EQ(ui.alerts.size(), 3);
    EXPECT_EQ(names(t.at("Photos")), QStringList{"sub"});
    EXPECT_EQ(names(t.at("Photos/sub")), QStringList{"x.jpg"});
}

TEST(CopyFile, AFailedCopyShowsOneAlertAndTheNextFileIsStillCopied)
{
    TempTree t;
    writeText(t.at("one.txt"), "1");
    writeText(t.at("three.txt"), "3");
    t.mkdir("dest");
    RecordingUi ui;
    FileOprations ops(&ui);
    QList<bool> results;
    for (const char* name : {"one.txt", "missing.txt", "three.txt"})
        results.append(ops.copyFileFromPath(t.at(name), t.at("dest")));

    EXPECT_EQ(results, (QList<bool>{true, false, true}));
    ASSERT_EQ(ui.alerts.size(), 1);
    EXPECT_TRUE(ui.alerts[0].message.isEmpty());
    EXPECT_EQ(ui.alerts[0].informative,
              QStringLiteral("“missing.txt” couldn’t be copied to “dest” (No such file or directory)") + kAlertTail);
    EXPECT_EQ(names(t.at("dest")), (QStringList{"one.txt", "three.txt"}));
}

TEST(CopyFile, AnUnwritableDestinationFailsAndCreatesNothing)
{
    TempTree t;
    writeText(t.at("src/a.txt"), "a");
    t.mkdir("dest");
    t.chmod("", 0755);
    t.chmod("dest", 0755);
    const int status = TestSupport::runUnprivileged([&] {
        FileOprations ops(nullptr);
        if (ops.copyFileFromPath(t.at("src/a.txt"), t.at("dest")))
            return 1;
        return ops.lastError().contains(QStringLiteral("Permission denied")) ? 0 : 2;
    });
    EXPECT_EQ(status, 0);
    EXPECT_TRUE(names(t.at("dest")).isEmpty());
}

TEST(MoveFile, IntoItsOwnFolderTakesTheNextNumberedName)
{
    TempTree t;
    writeText(t.at("dir/a.txt"), "a");
    FileOprations ops(nullptr);
    ASSERT_TRUE(ops.moveFileFromPath(t.at("dir/a.txt"), t.at("dir")));
    EXPECT_EQ(names(t.at("dir")), QStringList{"a 1.txt"});
    EXPECT_EQ(readText(t.at("dir/a 1.txt")), "a");
}

TEST(MoveFile, NeverReplacesAnItemAtTheDestination)
{
    TempTree t;
    writeText(t.at("src/a.txt"), "new");
    writeText(t.at("dest/a.txt"), "old");
    FileOprations ops(nullptr);
    ASSERT_TRUE(ops.moveFileFromPath(t.at("src/a.txt"), t.at("dest")));
    EXPECT_FALSE(exists(t.at("src/a.txt")));
    EXPECT_EQ(readText(t.at("dest/a.txt")), "old");
    EXPECT_EQ(readText(t.at("dest/a 1.txt")), "new");
}

TEST(MoveFile, AcrossFileSystemsCopiesThenRemovesTheSource)
{
    TempTree t;
    TmpfsMount other(t.at("other"));
    if (!other.valid())
        GTEST_SKIP() << "mounting a tmpfs needs root";
    writeText(t.at("src/a.txt"), "file");
    writeText(t.at("src/Tree/x.txt"), "x");
    writeText(t.at("src/Tree/deep/y.txt"), "y");
    t.symlink(QStringLiteral("x.txt"), "src/Tree/link");
    RecordingUi ui;
    FileOprations ops(&ui);

    ASSERT_TRUE(ops.moveFileFromPath(t.at("src/a.txt"), other.path()));
    ASSERT_TRUE(ops.moveFileFromPath(t.at("src/Tree"), other.path()));
    EXPECT_TRUE(names(t.at("src")).isEmpty());
    EXPECT_EQ(readText(other.path() + "/a.txt"), "file");
    EXPECT_EQ(readText(other.path() + "/Tree/deep/y.txt"), "y");
    EXPECT_TRUE(QFileInfo(other.path() + "/Tree/link").isSymLink());
    EXPECT_TRUE(ui.alerts.isEmpty());
}

TEST(MoveFile, AcrossFileSystemsOntoAFullDiskKeepsTheSource)
{
    TempTree t;
    TmpfsMount small(t.at("small"), "64k");
    if (!small.valid())
        GTEST_SKIP() << "mounting a tmpfs needs root";
    t.file("src/Tree/a.bin", 16 * 1024);
    t.file("src/Tree/b.bin", 512 * 1024);
    RecordingUi ui;
    FileOprations ops(&ui);

    EXPECT_FALSE(ops.moveFileFromPath(t.at("src/Tree"), small.path()));
    EXPECT_EQ(QFileInfo(t.at("src/Tree/a.bin")).size(), 16 * 1024);
    EXPECT_EQ(QFileInfo(t.at("src/Tree/b.bin")).size(), 512 * 1024);
    ASSERT_EQ(ui.alerts.size(), 1);
    EXPECT_TRUE(ui.alerts[0].informative.contains(QStringLiteral("No space left on device")));
    EXPECT_TRUE(ui.alerts[0].informative.endsWith(kAlertTail));
}

TEST(CopyAndMove, KeepNamesThatAreNotUtf8)
{
    TempTree t;
    const QByteArray src = t.pathBytes() + "/src";
    const QByteArray dest = t.pathBytes() + "/dest";
    RemoveAtEnd cleanup({src, dest});
    t.mkdir("src/folder");
    t.mkdir("dest");
    writeBytes(src + '/' + oddName(), "odd");
    writeBytes(src + "/folder/" + oddName(), "inner");
    FileOprations ops(nullptr);

    ASSERT_TRUE(ops.copyFileFromPath(src + '/' + oddName(), dest));
    ASSERT_TRUE(ops.moveFileFromPath(src + "/folder", dest));
    EXPECT_EQ(readBytes(dest + '/' + oddName()), "odd");
    EXPECT_EQ(readBytes(dest + "/folder/" + oddName()), "inner");
    // The copy lands beside the first under a numbered name that keeps the odd bytes.
    ASSERT_TRUE(ops.copyFileFromPath(src + '/' + oddName(), dest));
    EXPECT_EQ(readBytes(dest + "/odd-\xff\xfe-name 1.txt"), "odd");
}

} // namespace

namespace {

TEST(FileOprationsLog, NamesEachOperationAndEachFailure)
{
    TempTree t;
    writeText(t.at("a.txt"), "a");
    t.mkdir("dest");
    ASSERT_TRUE(Log::setSink(Log::Sink::LogFile));
    QFile::remove(Paths::logFile());
    ASSERT_TRUE(Log::setSink(Log::Sink::LogFile));
    RecordingUi ui;
    FileOprations ops(&ui);
    ops.showInFinder(t.at("a.txt"));
    ops.openFile(t.at("a.txt"));
    ops.openFile(t.at("gone.txt"));
    EXPECT_TRUE(ops.copyFileFromPath(t.at("a.txt"), t.at("dest")));
    EXPECT_FALSE(ops.copyFileFromPath(t.at("gone.txt"), t.at("dest")));
    EXPECT_TRUE(ops.moveFileFromPath(t.at("a.txt"), t.at("dest")));
    EXPECT_FALSE(ops.moveFileFromPath(t.at("a.txt"), t.at("dest")));
    Log::setSink(Log::Sink::Discard);

    // Reveal and open go to the user interface; a missing item is not handed on.
    EXPECT_EQ(ui.revealed, QStringList{t.at("a.txt")});
    EXPECT_EQ(ui.opened, QStringList{t.at("a.txt")});
    EXPECT_EQ(ui.alerts.size(), 2);
    const QString a = t.at("a.txt"), gone = t.at("gone.txt"), dest = t.at("dest");
    const QStringList expected = {
        "showInFinder:" + a,
        "openFile:" + a,
        "openFile:" + gone,
        "File Not Open at Path:" + gone,
        "copyFileFromPath:" + a + " toPath:" + dest,
        "copyFileFromPath:" + gone + " toPath:" + dest,
        QStringLiteral("Error coping file:“gone.txt” couldn’t be copied to “dest” (No such file or directory)"),
        "moveFileFromPath:" + a + " toPath:" + dest,
        "moveFileFromPath:" + a + " toPath:" + dest,
        QStringLiteral("Error moving file:“a.txt” couldn’t be moved to “dest” (No such file or directory)"),
    };
    EXPECT_EQ(QString::fromUtf8(readText(Paths::logFile())), expected.join('\n') + '\n');
}

} // namespace

namespace {

TEST(MoveFile, RefusesToMoveAMountedVolumeOrATreeHoldingOne)
{
    TempTree t;
    TmpfsMount volume(t.at("src/Tree/volume"));
    TmpfsMount other(t.at("other"));
    if (!volume.valid() || !other.valid())
        GTEST_SKIP() << "mounting a tmpfs needs root";
    writeText(volume.path() + "/data.txt", "data");
    writeText(t.at("src/Tree/mine.txt"), "mine");
    RecordingUi ui;
    FileOprations ops(&ui);

    EXPECT_FALSE(ops.moveFileFromPath(volume.path(), other.path()));
    EXPECT_FALSE(ops.moveFileFromPath(t.at("src/Tree"), other.path()));
    EXPECT_EQ(ui.alerts.size(), 2);
    EXPECT_EQ(readText(volume.path() + "/data.txt"), "data");
    EXPECT_EQ(readText(t.at("src/Tree/mine.txt")), "mine");
}

} // namespace
