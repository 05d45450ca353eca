// The viewer's own trash, copy, move and zip on real files, each with a file that fails.

#include "viewer/ViewerFixture.h"

#include "settings/CommonFuncs.h"
#include "settings/Paths.h"

#include <QFile>
#include <QProcess>

namespace {

QStringList zipEntries(const QString& archive)
{
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-Z1"), archive});
    unzip.waitForFinished();
    return QString::fromUtf8(unzip.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

class ViewerActions : public ViewerTest {
protected:
    void SetUp() override
    {
        ViewerTest::SetUp();
        dir_.file(QStringLiteral("a.txt"), 100);
        dir_.file(QStringLiteral("b.txt"), 200);
        dir_.file(QStringLiteral("c.txt"), 400);
        files_ = scanFiles();
        viewer_ = open(files_);
        ASSERT_NE(viewer_, nullptr); // rows: c, b, a (largest first)
    }

    TFoldInfo* node(const char* name) const { return nodeNamed(files_, QLatin1String(name)); }
    int rowOf(const char* name) const
    {
        for (int row = 0; row < viewer_->rowCount(); ++row)
            if (viewer_->nodeAt(row) == node(name))
                return row;
        return -1;
    }
    void check(std::initializer_list<const char*> names)
    {
        for (const char* name : names)
            viewer_->checkBoxFileSelctionTapped(rowOf(name), true);
    }
    // The file disappears behind the scan's back, so the next operation on it fails.
    void vanish(const char* name) { QFile::remove(dir_.at(QLatin1String(name))); }
    bool inTrash(const char* name) const { return QFile::exists(Paths::trashFiles() + QLatin1Char('/') + QLatin1String(name)); }

    NodeList files_;
    std::unique_ptr<FileViewerWindowController> viewer_;
    TestSupport::TempTree dest_;
};

} // namespace

TEST_F(ViewerActions, DeleteWithOneFailureRemovesOnlyTheTrashedRow)
{
    check({"a.txt", "b.txt"});
    vanish("b.txt");
    ui_.answers = {true};
    viewer_->btnDeleteFilesTapped();

    EXPECT_EQ(ui_.questions, QStringList{CommonFuncs::getLocalizedStringForKey(QStringLiteral("ID_TRASH_SELECTED_FILES"))});
    EXPECT_EQ(ui_.alerts.size(), 1); // the failure, shown by the file operation
    EXPECT_TRUE(inTrash("a.txt"));
    EXPECT_FALSE(QFile::exists(dir_.at(QStringLiteral("a.txt"))));
    EXPECT_EQ(names(viewer_->arrFilesList()), (QStringList{"c.txt", "b.txt"}));
    EXPECT_EQ(node("b.txt")->stateAtViewer(), 1); // the failed row stays, still checked
    EXPECT_TRUE(viewer_->toolBarButtonsEnabled());
    EXPECT_EQ(viewer_->statusCountText(), QStringLiteral("Files: 2"));
    ASSERT_EQ(delegate_.calls.size(), 1u);
    EXPECT_EQ(delegate_.calls[0], NodeList{node("a.txt")});
}

TEST_F(ViewerActions, CommandsTakeTheCheckedRowsOfTheShownListOnly)
{
    check({"a.txt", "c.txt"});
    viewer_->setFileNameForFilter(QStringLiteral("C.TXT"));
    viewer_->btnApplyFilterTapped();
    ASSERT_EQ(viewer_->rowCount(), 1);

    ui_.answers = {false};
    viewer_->deleteFiles();
    EXPECT_TRUE(QFile::exists(dir_.at(QStringLiteral("c.txt"))));
    EXPECT_TRUE(delegate_.calls.empty());

    ui_.answers = {true};
    viewer_->deleteFiles();
    EXPECT_TRUE(inTrash("c.txt"));
    EXPECT_TRUE(QFile::exists(dir_.at(QStringLiteral("a.txt"))));
    EXPECT_TRUE(viewer_->isFilteredResult());
    EXPECT_EQ(viewer_->rowCount(), 0);
    EXPECT_EQ(viewer_->statusCountText(), QStringLiteral("Files: 0"));
    EXPECT_FALSE(viewer_->toolBarButtonsEnabled());
    ASSERT_EQ(delegate_.calls.size(), 1u);
    EXPECT_EQ(delegate_.calls[0], NodeList{node("c.txt")});
}

TEST_F(ViewerActions, ContextMenuTrashTakesTheClickedRowWhenNoCheckedFileWent)
{
    using Cmd = FileViewerWindowController::MenuCommand;
    ASSERT_TRUE(viewer_->validateMenuItem(Cmd::MoveToTrash, rowOf("c.txt")));
    ui_.answers = {true};
    viewer_->moveToTrashFileMenuOption(node("c.txt"));
    EXPECT_TRUE(inTrash("c.txt"));
    ASSERT_EQ(delegate_.calls.size(), 1u);
    EXPECT_EQ(delegate_.calls[0], NodeList{node("c.txt")});

    // Every checked file fails: the right-clicked one goes instead, and the failed one
    // keeps its row.
    check({"a.txt"});
    vanish("a.txt");
    ASSERT_TRUE(viewer_->validateMenuItem(Cmd::MoveToTrash, rowOf("b.txt")));
    ui_.answers = {true};
    viewer_->moveToTrashFileMenuOption(node("b.txt"));
    EXPECT_EQ(ui_.alerts.size(), 1);
    EXPECT_TRUE(inTrash("b.txt"));
    EXPECT_EQ(viewer_->rowCount(), 1);
    ASSERT_EQ(delegate_.calls.size(), 2u);
    EXPECT_EQ(delegate_.calls[1], NodeList{node("b.txt")});
}

TEST_F(ViewerActions, CopyWithOneFailureChangesNoRow)
{
    check({"a.txt", "b.txt", "c.txt"});
    vanish("b.txt");
    ui_.folders = {dest_.path()};
    ui_.answers = {true};
    viewer_->btnCopyFilesTapped();

    EXPECT_EQ(ui_.questions.first(),
              CommonFuncs::getLocalizedStringForKey(QStringLiteral("ID_COPY_SELECTED_FILES")) + QLatin1Char(' ')
                  + dest_.path() + QStringLiteral("/?"));
    EXPECT_EQ(ui_.alerts.size(), 1);
    EXPECT_TRUE(QFile::exists(dest_.at(QStringLiteral("a.txt"))));
    EXPECT_TRUE(QFile::exists(dest_.at(QStringLiteral("c.txt"))));
    EXPECT_TRUE(QFile::exists(dir_.at(QStringLiteral("a.txt"))));
    EXPECT_EQ(viewer_->rowCount(), 3);
    for (TFoldInfo* n : files_)
        EXPECT_EQ(n->stateAtViewer(), 1);
    EXPECT_TRUE(delegate_.calls.empty());

    // Copying again lands beside the first copy.
    ui_.answers = {true};
    viewer_->copySelectedFilesAt(dest_.path());
    EXPECT_TRUE(QFile::exists(dest_.at(QStringLiteral("a 1.txt"))));
}

TEST_F(ViewerActions, MoveWithOneFailureRemovesTheMovedRows)
{
    check({"a.txt", "b.txt"});
    vanish("b.txt");
    ui_.folders = {dest_.path()};
    ui_.answers = {true};
    viewer_->btnMoveFilesTapped();

    EXPECT_EQ(ui_.alerts.size(), 1);
    EXPECT_TRUE(QFile::exists(dest_.at(QStringLiteral("a.txt"))));
    EXPECT_FALSE(QFile::exists(dir_.at(QStringLiteral("a.txt"))));
    EXPECT_EQ(names(viewer_->arrFilesList()), (QStringList{"c.txt", "b.txt"}));
    EXPECT_EQ(node("b.txt")->stateAtViewer(), 1);
    EXPECT_EQ(viewer_->statusSizeText(), QStringLiteral("Size: 600 Bytes"));
    ASSERT_EQ(delegate_.calls.size(), 1u);
    EXPECT_EQ(delegate_.calls[0], NodeList{node("a.txt")});
}

TEST_F(ViewerActions, ZipNamesTheArchiveAndReportsAnArchiveThatWasNotMade)
{
    check({"a.txt"});
    ui_.answers = {true};
    viewer_->zipSelectedFilesAt(dest_.path());
    EXPECT_EQ(zipEntries(dest_.at(QStringLiteral("a.zip"))), QStringList{"a.txt"});

    // Two checked files, one of them gone: "Archive.zip" holds the other; nothing else moves.
    check({"c.txt"});
    vanish("a.txt");
    ui_.answers = {true};
    viewer_->zipSelectedFilesAt(dest_.path());
    EXPECT_EQ(zipEntries(dest_.at(QStringLiteral("Archive.zip"))), QStringList{"c.txt"});
    EXPECT_EQ(viewer_->rowCount(), 3);
    EXPECT_TRUE(delegate_.calls.empty());
    EXPECT_TRUE(ui_.alerts.isEmpty());

    ui_.answers = {true};
    viewer_->zipSelectedFilesAt(dest_.at(QStringLiteral("missing")));
    EXPECT_EQ(ui_.alerts.size(), 1);
    EXPECT_FALSE(QFile::exists(dest_.at(QStringLiteral("missing"))));
}
