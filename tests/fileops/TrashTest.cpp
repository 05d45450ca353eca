#include "fileops/FileOprations.h"
#include "fileops/FileOpsFixtures.h"
#include "settings/Log.h"
#include "settings/Paths.h"

#include <gtest/gtest.h>

#include <QDir>

using namespace FileOpsFixtures;
using TestSupport::TempTree;

namespace {

// Each test starts with an empty home trash.
class TrashTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QDir(trash()).removeRecursively();
    }
    static QString trash() { return Paths::dataHome() + QStringLiteral("/Trash"); }
    static QString trashed(const QString& name) { return trash() + QStringLiteral("/files/") + name; }
    static QByteArray info(const QString& name) { return readText(trash() + QStringLiteral("/info/") + name + ".trashinfo"); }
};

TEST_F(TrashTest, MovesItemsIntoTheHomeTrashWithTheirOrigin)
{
    TempTree t;
    writeText(t.at("a.txt"), "a");
    writeText(t.at("Folder/inside.txt"), "in");
    t.symlink(t.at("gone"), "dangling");
    RecordingUi ui;
    FileOprations ops(&ui);

    EXPECT_TRUE(ops.moveToTrashFileFromPath(t.at("a.txt")));
    EXPECT_TRUE(ops.moveToTrashFileFromPath(t.at("Folder")));
    EXPECT_TRUE(ops.moveToTrashFileFromPath(t.at("dangling")));
    EXPECT_TRUE(names(t.path()).isEmpty());
    EXPECT_EQ(readText(trashed("a.txt")), "a");
    EXPECT_EQ(readText(trashed("Folder/inside.txt")), "in");
    EXPECT_TRUE(QFileInfo(trashed("dangling")).isSymLink());
    const QByteArray aInfo = info("a.txt");
    EXPECT_TRUE(aInfo.startsWith("[Trash Info]\nPath=" + b(t.at("a.txt")) + "\nDeletionDate=")) << aInfo.constData();
    EXPECT_TRUE(ui.alerts.isEmpty());
}

TEST_F(TrashTest, ANameTakenInTheTrashGetsANumberAndNothingIsReplaced)
{
    TempTree t;
    writeText(t.at("one/a.txt"), "first");
    writeText(t.at("two/a.txt"), "second");
    FileOprations ops(nullptr);
    ASSERT_TRUE(ops.moveToTrashFileFromPath(t.at("one/a.txt")));
    ASSERT_TRUE(ops.moveToTrashFileFromPath(t.at("two/a.txt")));
    EXPECT_EQ(readText(trashed("a.txt")), "first");
    EXPECT_EQ(readText(trashed("a.txt-0000")), "second");
    EXPECT_TRUE(info("a.txt-0000").contains("Path=" + b(t.at("two/a.txt"))));
}

TEST_F(TrashTest, AnItemDirectlyInTheTrashIsDeletedForGood)
{
    TempTree t;
    writeText(t.at("a.txt"), "a");
    writeText(t.at("Old/b.txt"), "b");
    FileOprations ops(nullptr);
    ASSERT_TRUE(ops.moveToTrashFileFromPath(t.at("a.txt")));
    ASSERT_TRUE(ops.moveToTrashFileFromPath(t.at("Old")));

    EXPECT_TRUE(ops.moveToTrashFileFromPath(trashed("a.txt")));
    EXPECT_FALSE(exists(trashed("a.txt")));
    EXPECT_FALSE(exists(trash() + "/info/a.txt.trashinfo"));

    // An item in a folder inside the trash goes to the trash again instead.
    EXPECT_TRUE(ops.moveToTrashFileFromPath(trashed("Old/b.txt")));
    EXPECT_EQ(readText(trashed("b.txt")), "b");
    EXPECT_TRUE(names(trashed("Old")).isEmpty());
}

TEST_F(TrashTest, AFolderThatOnlyLooksLikeTheTrashIsNotTreatedAsIt)
{
    // On a case-sensitive file system ".../TRASH/files" is a different folder from the
    // trash; deleting its items for good would lose them.
    const QString lookAlike = Paths::dataHome() + QStringLiteral("/TRASH/files");
    writeText(lookAlike + "/keep.txt", "keep");
    FileOprations ops(nullptr);
    ASSERT_TRUE(ops.moveToTrashFileFromPath(lookAlike + "/keep.txt"));
    EXPECT_FALSE(exists(lookAlike + "/keep.txt"));
    EXPECT_EQ(readText(trashed("keep.txt")), "keep");
    QDir(Paths::dataHome() + QStringLiteral("/TRASH")).removeRecursively();
}

TEST_F(TrashTest, RemoveIsTheTrashAndBothLogTheirLines)
{
    TempTree t;
    writeText(t.at("a.txt"), "a");
    ASSERT_TRUE(Log::setSink(Log::Sink::LogFile));
    QFile::remove(Paths::logFile());
    ASSERT_TRUE(Log::setSink(Log::Sink::LogFile));
    RecordingUi ui;
    FileOprations ops(&ui);
    EXPECT_TRUE(ops.removeFileFromPath(t.at("a.txt")));
    EXPECT_FALSE(ops.removeFileFromPath(t.at("a.txt")));
    Log::setSink(Log::Sink::Discard);

    EXPECT_EQ(readText(trashed("a.txt")), "a");
    const QString path = t.at("a.txt");
    const QString description = QStringLiteral("“a.txt” couldn’t be moved to the trash (No such file or directory)");
    const QString expected = QStringLiteral("removeFileFromPath:%1\nmoveToTrashFileFromPath:%1\n"
                                            "removeFileFromPath:%1\nmoveToTrashFileFromPath:%1\n"
                                            "Error Trash file:%2\n")
                                 .arg(path, description);
    EXPECT_EQ(QString::fromUtf8(readText(Paths::logFile())), expected);
    ASSERT_EQ(ui.alerts.size(), 1);
    EXPECT_EQ(ui.alerts[0].informative, description + QStringLiteral(" or because it\u2019s required by OS\u00A0X."));
}

TEST_F(TrashTest, KeepsNamesThatAreNotUtf8)
{
    TempTree t;
    const QByteArray path = t.pathBytes() + '/' + oddName();
    writeBytes(path, "odd");
    RemoveAtEnd cleanup({path, b(trash())});
    FileOprations ops(nullptr);
    ASSERT_TRUE(ops.moveToTrashFileFromPath(path));
    EXPECT_FALSE(exists(path));
    const QByteArray inTrash = b(trash()) + "/files/" + oddName();
    EXPECT_EQ(readBytes(inTrash), "odd");
    EXPECT_TRUE(readBytes(b(trash()) + "/info/" + oddName() + ".trashinfo").contains("odd-%FF%FE-name.txt"));
    // Deleting it from the trash for good works on the same bytes.
    ASSERT_TRUE(ops.moveToTrashFileFromPath(inTrash));
    EXPECT_FALSE(exists(inTrash));
}

TEST_F(TrashTest, CreatesAMissingDataFolderRatherThanTrashingElsewhere)
{
    TempTree t;
    const QByteArray saved = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", b(t.at("fresh/share")));
    writeText(t.at("work/a.txt"), "a");
    const QString cwd = QDir::currentPath();
    QDir::setCurrent(t.at("work"));
    FileOprations ops(nullptr);
    const bool trashed = ops.moveToTrashFileFromPath(t.at("work/a.txt"));
    QDir::setCurrent(cwd);
    qputenv("XDG_DATA_HOME", saved);

    EXPECT_TRUE(trashed);
    EXPECT_EQ(readText(t.at("fresh/share/Trash/files/a.txt")), "a");
    EXPECT_TRUE(names(t.at("work")).isEmpty());
}

TEST_F(TrashTest, AnItemOnAnotherFileSystemGoesToThatFileSystemsTrash)
{
    TempTree t;
    TmpfsMount other(t.at("disk"));
    if (!other.valid())
        GTEST_SKIP() << "mounting a tmpfs needs root";
    writeText(other.path() + "/photos/a.jpg", "jpeg");
    FileOprations ops(nullptr);
    ASSERT_TRUE(ops.moveToTrashFileFromPath(other.path() + "/photos/a.jpg"));
    const QString ownTrash = other.path() + "/.Trash-" + QString::number(::geteuid());
    EXPECT_EQ(readText(ownTrash + "/files/a.jpg"), "jpeg");
    // Named relative to the disk's top, so it can be put back wherever the disk is mounted.
    EXPECT_TRUE(readText(ownTrash + "/info/a.jpg.trashinfo").contains("\nPath=photos/a.jpg\n"));
    EXPECT_FALSE(exists(trashed("a.jpg")));
}

TEST_F(TrashTest, AnItemThatCannotBeMovedStaysAndIsReported)
{
    TempTree t;
    writeText(t.at("locked/a.txt"), "a");
    t.mkdir("nobody-data");
    t.chmod("", 0755);
    t.chmod("nobody-data", 0777);
    const int status = TestSupport::runUnprivileged([&] {
        // The unprivileged user gets a data folder of its own.
        qputenv("XDG_DATA_HOME", b(t.at("nobody-data")));
        RecordingUi ui;
        FileOprations ops(&ui);
        if (ops.moveToTrashFileFromPath(t.at("locked/a.txt")))
            return 1;
        return ui.alerts.size() == 1 ? 0 : 2;
    });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(readText(t.at("locked/a.txt")), "a");
}

} // namespace
