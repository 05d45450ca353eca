#include "fileops/FileOprations.h"
#include "fileops/FileOpsFixtures.h"
#include "fileops/TrashGuard.h"
#include "settings/ExclusionList.h"
#include "settings/Paths.h"

#include <gtest/gtest.h>

#include <QDir>

using namespace FileOpsFixtures;
using TestSupport::TempTree;

namespace {

// Runs the test body from inside a folder and goes back afterwards.
class InFolder {
public:
    explicit InFolder(const QString& folder) : previous_(QDir::currentPath()) { QDir::setCurrent(folder); }
    ~InFolder() { QDir::setCurrent(previous_); }

private:
    QString previous_;
};

class TrashGuardTest : public ::testing::Test {
protected:
    void SetUp() override { QDir(trash()).removeRecursively(); }
    void TearDown() override { ExclusionList::setShared(nullptr); }
    static QString trash() { return Paths::dataHome() + QStringLiteral("/Trash"); }

    // Trashes through the core and expects a refusal that names `reason`, with nothing moved.
    static void expectRefused(const QByteArray& path, const QString& reason)
    {
        SCOPED_TRACE(path.toStdString());
        const QStringList trashBefore = names(trash() + QStringLiteral("/files"));
        RecordingUi ui;
        FileOprations ops(&ui);
        EXPECT_FALSE(ops.moveToTrashFileFromPath(path));
        EXPECT_TRUE(ops.lastError().contains(reason)) << ops.lastError().toStdString();
        ASSERT_EQ(ui.alerts.size(), 1);
        EXPECT_EQ(names(trash() + QStringLiteral("/files")), trashBefore);
    }
};

TEST_F(TrashGuardTest, PathsThatNameTheCurrentFolderOrItsParentsAreRefused)
{
    TempTree t;
    t.mkdir(QStringLiteral("work/inner"));
    const InFolder inside(t.at(QStringLiteral("work/inner")));

    expectRefused("", QStringLiteral("an empty path"));
    expectRefused(".", QStringLiteral("“.” or “..”"));
    expectRefused("./", QStringLiteral("“.” or “..”"));
    expectRefused("..", QStringLiteral("“.” or “..”"));
    expectRefused(b(t.at(QStringLiteral("work/inner"))), QStringLiteral("it is the current folder"));
    expectRefused(b(t.at(QStringLiteral("work"))), QStringLiteral("it holds the current folder"));
    expectRefused(b(t.at(QStringLiteral("work/inner/../../work"))), QStringLiteral("it holds the current folder"));
    EXPECT_TRUE(QFileInfo(t.at(QStringLiteral("work/inner"))).isDir());

    // A sibling of the current folder is an ordinary item.
    t.mkdir(QStringLiteral("work/other"));
    FileOprations ops(nullptr);
    EXPECT_TRUE(ops.moveToTrashFileFromPath(QByteArray("../other"))) << ops.lastError().toStdString();
}

TEST_F(TrashGuardTest, RootHomeAndTheFoldersHoldingHomeAreRefusedButALinkToHomeIsJustALink)
{
    expectRefused("/", QStringLiteral("root folder"));
    expectRefused("//", QStringLiteral("root folder"));
    expectRefused(b(Paths::home()), QStringLiteral("it is the home folder"));
    expectRefused(b(Paths::home() + QStringLiteral("/")), QStringLiteral("it is the home folder"));
    expectRefused(b(QFileInfo(Paths::home()).absolutePath()), QStringLiteral("it holds the home folder"));
    EXPECT_TRUE(QFileInfo(Paths::home()).isDir());

    TempTree t;
    t.symlink(Paths::home(), QStringLiteral("home-link"));
    FileOprations ops(nullptr);
    EXPECT_TRUE(ops.moveToTrashFileFromPath(t.at(QStringLiteral("home-link"))));
    EXPECT_TRUE(QFileInfo(trash() + QStringLiteral("/files/home-link")).isSymLink());
    EXPECT_TRUE(QFileInfo(Paths::home()).isDir());
}

TEST_F(TrashGuardTest, ProtectedFoldersOfTheExclusionListAreRefused)
{
    TempTree t;
    t.mkdir(QStringLiteral("System/Core"));
    t.symlink(t.at(QStringLiteral("System")), QStringLiteral("via-link"));
    QVariantMap dict = ExclusionList::defaultExclusionDict();
    QVariantMap hard = dict.value(QStringLiteral("Hard")).toMap();
    hard.insert(QStringLiteral("dirNotDelete"), QVariantList{t.at(QStringLiteral("System"))});
    dict.insert(QStringLiteral("Hard"), hard);
    ExclusionList::setShared(std::make_shared<const ExclusionList>(dict));

    expectRefused(b(t.at(QStringLiteral("System"))), QStringLiteral("protected system folder"));
    expectRefused(b(t.at(QStringLiteral("via-link/../System"))), QStringLiteral("protected system folder"));
    // What lies inside a protected folder is the scanner's business (it marks the items).
    FileOprations ops(nullptr);
    EXPECT_TRUE(ops.moveToTrashFileFromPath(t.at(QStringLiteral("System/Core"))));
}

TEST_F(TrashGuardTest, TheTrashsOwnFoldersAndInformationFilesStayWhereTheyAre)
{
    TempTree t;
    writeText(t.at(QStringLiteral("a.txt")), "a");
    FileOprations ops(nullptr);
    ASSERT_TRUE(ops.moveToTrashFileFromPath(t.at(QStringLiteral("a.txt"))));
    const QByteArray infoBefore = readText(trash() + QStringLiteral("/info/a.txt.trashinfo"));

    expectRefused(b(trash() + QStringLiteral("/info")), QStringLiteral("“info” folder"));
    expectRefused(b(trash() + QStringLiteral("/files")), QStringLiteral("“files” folder"));
    expectRefused(b(trash()), QStringLiteral("trash folder"));
    expectRefused(b(trash() + QStringLiteral("/info/a.txt.trashinfo")), QStringLiteral("information file"));
    expectRefused(b(Paths::dataHome()), QStringLiteral("holds the trash"));
    EXPECT_EQ(readText(trash() + QStringLiteral("/info/a.txt.trashinfo")), infoBefore);
    EXPECT_EQ(readText(trash() + QStringLiteral("/files/a.txt")), "a");
}

TEST_F(TrashGuardTest, AVolumeTopAndItsPerVolumeTrashAreRefused)
{
    TempTree t;
    TmpfsMount disk(t.at(QStringLiteral("disk")));
    if (!disk.valid())
        GTEST_SKIP() << "mounting a tmpfs needs root";
    writeText(t.at(QStringLiteral("disk/x.txt")), "x");
    FileOprations ops(nullptr);
    ASSERT_TRUE(ops.moveToTrashFileFromPath(t.at(QStringLiteral("disk/x.txt")))) << ops.lastError().toStdString();
    const QString volumeTrash = t.at(QStringLiteral("disk/.Trash-%1").arg(::geteuid()));
    ASSERT_TRUE(QFileInfo(volumeTrash + QStringLiteral("/files/x.txt")).isFile());

    expectRefused(b(t.at(QStringLiteral("disk"))), QStringLiteral("top folder of a mounted volume"));
    expectRefused(b(volumeTrash), QStringLiteral("trash folder"));
    expectRefused(b(volumeTrash + QStringLiteral("/info")), QStringLiteral("“info” folder"));
    EXPECT_TRUE(QFileInfo(volumeTrash + QStringLiteral("/info/x.txt.trashinfo")).isFile());

    // A folder of that name anywhere else is an ordinary folder.
    t.mkdir(QStringLiteral("plain/.Trash-%1/info").arg(::geteuid()));
    EXPECT_FALSE(TrashGuard::refusal(b(t.at(QStringLiteral("plain/.Trash-%1").arg(::geteuid())))).has_value());
}

// The command line asks nobody, so it never deletes for good unless told to.
TEST_F(TrashGuardTest, TheCommandLineRefusesAndKeepsItemsAlreadyInTheTrash)
{
    TempTree t;
    t.mkdir(QStringLiteral("here"));
    writeText(t.at(QStringLiteral("a.txt")), "a");
    const InFolder inside(t.at(QStringLiteral("here")));

    for (const QString& arg : {QString(), QStringLiteral("."), QStringLiteral("../here/.")}) {
        const TestSupport::ProcessResult r = TestSupport::runCli({QStringLiteral("trash"), arg});
        EXPECT_EQ(r.exitCode, 1) << arg.toStdString();
        EXPECT_TRUE(r.err.contains("cannot move")) << r.err.constData();
        EXPECT_TRUE(QFileInfo(t.at(QStringLiteral("here"))).isDir());
    }

    ASSERT_EQ(TestSupport::runCli({QStringLiteral("trash"), t.at(QStringLiteral("a.txt"))}).exitCode, 0);
    const QString inTrash = trash() + QStringLiteral("/files/a.txt");
    TestSupport::ProcessResult r = TestSupport::runCli({QStringLiteral("trash"), inTrash});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("--delete-from-trash")) << r.err.constData();
    EXPECT_EQ(readText(inTrash), "a");

    r = TestSupport::runCli({QStringLiteral("trash"), QStringLiteral("--delete-from-trash"), inTrash});
    EXPECT_EQ(r.exitCode, 0) << r.err.constData();
    EXPECT_FALSE(exists(inTrash));
    EXPECT_FALSE(exists(trash() + QStringLiteral("/info/a.txt.trashinfo")));
}

} // namespace
