// The bulk file commands when a system call fails half way: a full disk, a refused
// permission, a rename across file systems, a rename that fails after the trash's
// information file was written. After each, no file may be lost, nothing half made may be
// left under an item's name, and the scan tree (once the gone nodes left it) must be what
// a fresh scan of the disk gives.

#include "fileops/FailingSystemCalls.h"
#include "fileops/FileOpsFixtures.h"
#include "scan/ScanFixtures.h"

#include "fileops/FileCommands.h"
#include "settings/Paths.h"

#include <QDirIterator>

#include <gtest/gtest.h>

#include <map>

using namespace FileOpsFixtures;
using Call = FailingSystemCalls::Call;

namespace {

// Each node's name and size, in pre-order. (Counts are left out: taking a folder out of the
// tree subtracts one folder from its ancestors' counts, not what it held.)
QString shape(const TFoldInfo* node, int depth = 0)
{
    QString out = QString(depth, QLatin1Char(' ')) + node->sName() + QStringLiteral(" %1\n").arg(node->cSize());
    for (const TFoldInfo* child : node->SubList())
        out += shape(child, depth + 1);
    return out;
}

// Every file beneath a folder by its content: content -> relative path.
std::multimap<QByteArray, QString> filesByContent(const QString& folder)
{
    std::multimap<QByteArray, QString> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files.emplace(readText(path), QDir(folder).relativeFilePath(path));
    }
    return files;
}

class FileCommandFaults : public ::testing::Test {
protected:
    void SetUp() override
    {
        previous_ = TestSupport::testHome();
        TestSupport::setTestHome(home_.path());
        // Distinct contents, so each file can be found again wherever it ended up.
        const QStringList files{"root/keep.txt", "root/a.txt", "root/Folder/x.bin", "root/Folder/y.bin",
                                "root/Folder/Sub/z.bin"};
        for (int i = 0; i < files.size(); ++i) {
            const QByteArray content = QByteArray(100 * (i + 1), char('a' + i));
            writeText(t_.at(files[i]), content);
            originals_.emplace(content, files[i]);
        }
        t_.mkdir("dest");
        tree_ = scanAndTotal(t_.at("root"), 1);
    }

    void TearDown() override { TestSupport::setTestHome(previous_); }

    static QString trashInfo() { return Paths::dataHome() + QStringLiteral("/Trash/info"); }

    TFoldInfo* node(const QString& relative) const { return findNode(tree_->root(), relative); }

    // The gone nodes leave the tree; the tree must then be what the disk holds.
    void expectTreeMatchesDisk(const FileCommands::Outcome& outcome)
    {
        FileCommands::takeOutOfTree(outcome.gone);
        EXPECT_EQ(shape(tree_->root()), shape(scanAndTotal(t_.at("root"), 1)->root()));
    }

    // Every original file is still somewhere whole: at its place, in the destination or in
    // the trash; and the destination holds no file that is not a whole original.
    void expectNothingLost()
    {
        std::multimap<QByteArray, QString> found = filesByContent(t_.at("root"));
        const auto dest = filesByContent(t_.at("dest"));
        found.insert(dest.begin(), dest.end());
        const auto trashed = filesByContent(Paths::trashFiles());
        found.insert(trashed.begin(), trashed.end());
        for (const auto& [content, path] : originals_)
            EXPECT_TRUE(found.count(content) > 0) << "lost " << path.toStdString();
        for (const auto& [content, path] : dest)
            EXPECT_TRUE(originals_.count(content) > 0) << "half made " << path.toStdString();
    }

    TestSupport::TempTree home_;
    QString previous_;
    TestSupport::TempTree t_;
    std::multimap<QByteArray, QString> originals_;
    std::unique_ptr<ScanTree> tree_;
    RecordingUi ui_;
};

FileCommands commandsWith(RecordingUi& ui, FailingSystemCalls& calls, NodeList* unchecked = nullptr)
{
    FileCommands::Options options;
    options.systemCalls = &calls;
    if (unchecked)
        options.failed = [unchecked](TFoldInfo* node) { unchecked->push_back(node); };
    return FileCommands(&ui, std::move(options));
}

} // namespace

TEST_F(FileCommandFaults, TrashWhoseRenameFailsAfterTheInformationFileKeepsTheItemAndLeavesNoInformation)
{
    for (const int error : {EACCES, EIO}) {
        SCOPED_TRACE(error);
        FailingSystemCalls calls(Call::Rename, 1, error);
        NodeList unchecked;
        TFoldInfo* a = node("a.txt");
        TFoldInfo* folder = node("Folder");
        const FileCommands::Outcome outcome =
            commandsWith(ui_, calls, &unchecked).trash({a, folder});

        ASSERT_TRUE(calls.failed());
        EXPECT_EQ(outcome.failed, NodeList{a});
        EXPECT_EQ(unchecked, NodeList{a});
        EXPECT_EQ(outcome.done, NodeList{folder}); // the next item still went
        EXPECT_TRUE(exists(t_.at("root/a.txt")));
        EXPECT_FALSE(exists(trashInfo() + QStringLiteral("/a.txt.trashinfo")));
        EXPECT_EQ(ui_.alerts.size(), 1);
        expectTreeMatchesDisk(outcome);
        expectNothingLost();
        // Put the folder back for the next round.
        ASSERT_EQ(::rename(b(Paths::trashFiles() + QStringLiteral("/Folder")).constData(),
                           b(t_.at("root/Folder")).constData()), 0);
        ::unlink(b(trashInfo() + QStringLiteral("/Folder.trashinfo")).constData());
        tree_ = scanAndTotal(t_.at("root"), 1);
        ui_.alerts.clear();
    }
}

TEST_F(FileCommandFaults, TrashWhoseInformationFileCannotBeWrittenMovesNothing)
{
    for (const Call call : {Call::Write, Call::Close, Call::Open}) {
        FailingSystemCalls calls(call, 1, call == Call::Open ? EACCES : ENOSPC);
        TFoldInfo* a = node("a.txt");
        const FileCommands::Outcome outcome = commandsWith(ui_, calls).trash({a});
        ASSERT_TRUE(calls.failed());
        EXPECT_EQ(outcome.failed, NodeList{a});
        EXPECT_TRUE(outcome.gone.empty());
        EXPECT_TRUE(exists(t_.at("root/a.txt")));
        EXPECT_TRUE(names(trashInfo()).filter(QStringLiteral("a.txt")).isEmpty());
        expectTreeMatchesDisk(outcome);
    }
    expectNothingLost();
}

TEST_F(FileCommandFaults, MoveToAnotherFileSystemThatFailsPartWayKeepsTheSourceAndLeavesNoHalfCopy)
{
    // The rename says "another file system", so the folder is copied: its second file meets
    // a full disk, or its first cannot be flushed.
    struct AcrossFileSystems : FailingSystemCalls {
        using FailingSystemCalls::FailingSystemCalls;
        int renameNoReplace(const char*, const char*) override
        {
            errno = EXDEV;
            return -1;
        }
    };
    const struct {
        Call call;
        int nth;
        int error;
        const char* text;
    } cases[] = {{Call::Write, 2, ENOSPC, "No space left on device"}, {Call::Fsync, 1, EIO, "Input/output error"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        AcrossFileSystems calls(c.call, c.nth, c.error);
        TFoldInfo* folder = node("Folder");
        TFoldInfo* a = node("a.txt");
        ui_.alerts.clear();
        const FileCommands::Outcome outcome = commandsWith(ui_, calls).move({folder, a}, t_.at("dest"));

        ASSERT_TRUE(calls.failed());
        EXPECT_EQ(outcome.failed, NodeList{folder});
        EXPECT_EQ(outcome.done, NodeList{a});
        EXPECT_EQ(names(t_.at("dest")), QStringList{"a.txt"}); // no partial "Folder"
        ASSERT_EQ(ui_.alerts.size(), 1);
        EXPECT_TRUE(ui_.alerts[0].informative.contains(QLatin1String(c.text)));
        expectTreeMatchesDisk(outcome);
        expectNothingLost();
        // a.txt back for the next round.
        ASSERT_EQ(::rename(b(t_.at("dest/a.txt")).constData(), b(t_.at("root/a.txt")).constData()), 0);
        tree_ = scanAndTotal(t_.at("root"), 1);
    }
}

TEST_F(FileCommandFaults, MoveWhoseSourceCannotBeRemovedWholeKeepsEveryFileAndTheTreeFollowsTheDisk)
{
    struct Calls : FailingSystemCalls {
        Calls() : FailingSystemCalls(Call::Unlink, 2, EACCES) {}
        int renameNoReplace(const char*, const char*) override
        {
            errno = EXDEV;
            return -1;
        }
    } calls;
    TFoldInfo* folder = node("Folder");
    NodeList unchecked;
    const FileCommands::Outcome outcome = commandsWith(ui_, calls, &unchecked).move({folder}, t_.at("dest"));

    ASSERT_TRUE(calls.failed());
    EXPECT_EQ(outcome.failed, NodeList{folder});
    EXPECT_EQ(unchecked, NodeList{folder});
    ASSERT_EQ(ui_.alerts.size(), 1);
    EXPECT_TRUE(ui_.alerts[0].informative.contains(QStringLiteral("could not be removed from its old place")));
    // The whole copy arrived; one file already left the source before the failure.
    EXPECT_EQ(filesByContent(t_.at("dest")).size(), 3u);
    EXPECT_EQ(outcome.gone.size(), 1u);
    const TFoldInfo* up = outcome.gone.front()->PFoldInfo();
    EXPECT_TRUE(up == folder || up->PFoldInfo() == folder);
    expectTreeMatchesDisk(outcome);
    expectNothingLost();
}

TEST_F(FileCommandFaults, CopyThatFailsChangesNeitherTheSourceNorTheTree)
{
    const struct {
        Call call;
        int nth;
        int error;
    } cases[] = {{Call::Write, 1, ENOSPC}, {Call::Open, 2, EACCES}, {Call::Mkdir, 2, EACCES}, {Call::Close, 1, EDQUOT}};
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.call));
        FailingSystemCalls calls(c.call, c.nth, c.error);
        TFoldInfo* folder = node("Folder");
        const FileCommands::Outcome outcome = commandsWith(ui_, calls).copy({folder}, t_.at("dest"));
        ASSERT_TRUE(calls.failed());
        EXPECT_EQ(outcome.failed, NodeList{folder});
        EXPECT_TRUE(outcome.gone.empty());
        EXPECT_TRUE(names(t_.at("dest")).isEmpty()) << names(t_.at("dest")).join(QLatin1Char(',')).toStdString();
        expectTreeMatchesDisk(outcome);
    }
    expectNothingLost();
}
