// The main window's tabs, toolbar, file actions and remembered state.

#include "UiFixture.h"

#include "settings/CommonFuncs.h"
#include "ui/FolderTreeModel.h"
#include "ui/FolderTreeView.h"
#include "ui/StatusBarPanel.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QFileInfo>
#include <QHeaderView>
#include <QSplitter>
#include <QToolBar>

namespace {

QString text(const char* key) { return CommonFuncs::getLocalizedStringForKey(QLatin1String(key)); }

void makeTree(const TestSupport::TempTree& tree)
{
    tree.file(QStringLiteral("big/sub1/a.bin"), 3000);
    tree.file(QStringLiteral("big/sub2/b.bin"), 1000);
    tree.file(QStringLiteral("mid/c.txt"), 2000);
    tree.file(QStringLiteral("small.txt"), 10);
    tree.file(QStringLiteral("old.tmp"), 5);
}

bool fileActionsEnabled(MainWindow& window)
{
    const bool trash = window.action(MainWindow::Command::Trash)->isEnabled();
    for (auto command : {MainWindow::Command::Copy, MainWindow::Command::Move, MainWindow::Command::Zip})
        EXPECT_EQ(window.action(command)->isEnabled(), trash);
    return trash;
}

} // namespace

class MainWindowUi : public UiFixture {};

TEST_F(MainWindowUi, PressedTabIsDisabledAndToolbarFollowsTheController)
{
    makeTree(tree_);
    TFoldInfo* root = scanTree();
    ASSERT_NE(root, nullptr);
    EXPECT_TRUE(window().action(MainWindow::Command::Rescan)->isEnabled());
    EXPECT_TRUE(window().action(MainWindow::Command::RemoveFromTree)->isEnabled());

    for (int index : {ReportIndex::FileExplorer, ReportIndex::SizeRanges, ReportIndex::ObsoleteFiles, ReportIndex::Overview}) {
        QAbstractButton* tab = window().reportTabButton(index);
        ASSERT_NE(tab, nullptr);
        ASSERT_TRUE(tab->isEnabled());
        QTest::mouseClick(tab, Qt::LeftButton);
        ASSERT_TRUE(waitForIdle());
        EXPECT_EQ(app().currentReportIndex(), index);
        for (int other = 0; other < 12; ++other)
            EXPECT_EQ(window().reportTabButton(other)->isEnabled(), other != index) << "tab " << other << " after " << index;
        EXPECT_EQ(fileActionsEnabled(window()), app().fileActionButtonsEnabled()) << "tab " << index;
        if (index == ReportIndex::SizeRanges || index == ReportIndex::ObsoleteFiles) {
            EXPECT_FALSE(fileActionsEnabled(window())) << "nothing checked on tab " << index;
        }
    }

    // Checking an explorer entry enables the four commands.
    QTest::mouseClick(window().reportTabButton(ReportIndex::FileExplorer), Qt::LeftButton);
    ASSERT_TRUE(waitForIdle());
    TFoldInfo* mid = childNamed(root, QStringLiteral("mid"));
    app().btnCheckBoxFileExplorerTableTapped(mid, true);
    EXPECT_TRUE(fileActionsEnabled(window()));
    app().btnCheckBoxFileExplorerTableTapped(mid, false);
    EXPECT_FALSE(fileActionsEnabled(window()));
}

TEST_F(MainWindowUi, TrashFromTheToolbarUpdatesTreeAndStatusBarKeepingExpansion)
{
    makeTree(tree_);
    TFoldInfo* root = scanTree();
    ASSERT_NE(root, nullptr);
    FolderTreeView* view = window().folderTree();
    FolderTreeModel* model = view->folderModel();
    // Checks every signal the removal sends against the model's answers.
    QAbstractItemModelTester tester(model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    QSignalSpy resets(model, &QAbstractItemModel::modelReset);
    QSignalSpy removed(model, &QAbstractItemModel::rowsRemoved);
    TFoldInfo* big = childNamed(root, QStringLiteral("big"));
    TFoldInfo* mid = childNamed(root, QStringLiteral("mid"));
    view->expand(model->indexForNode(big));
    ASSERT_TRUE(view->isNodeExpanded(big));
    const QString sizeBefore = window().statusPanel()->sizeText();
    EXPECT_EQ(sizeBefore, app().statusBarSize());

    QTest::mouseClick(window().reportTabButton(ReportIndex::FileExplorer), Qt::LeftButton);
    ASSERT_TRUE(waitForIdle());
    app().btnCheckBoxFileExplorerTableTapped(mid, true);
    ASSERT_TRUE(window().action(MainWindow::Command::Trash)->isEnabled());

    answerNextMessageBox(text("ID_YES"));
    window().action(MainWindow::Command::Trash)->trigger();
    ASSERT_TRUE(waitForIdle());
    EXPECT_EQ(messageBoxesAnswered_, 1);
    EXPECT_EQ(lastMessage_, text("ID_TRASH_SELECTED_FILES"));
    EXPECT_FALSE(QFileInfo::exists(tree_.at(QStringLiteral("mid"))));

    // The tree lost the row; the open folder stayed open and the root stayed selected.
    const QModelIndex rootIndex = model->indexForNode(root);
    ASSERT_EQ(model->rowCount(rootIndex), 1);
    EXPECT_EQ(FolderTreeModel::nodeAt(model->index(0, 0, rootIndex)), big);
    EXPECT_TRUE(view->isNodeExpanded(big));
    EXPECT_EQ(view->selectedNode(), root);
    EXPECT_EQ(resets.count(), 0) << "a removal is no reset";
    EXPECT_EQ(removed.count(), 1);
    EXPECT_EQ(root->cSize(), 4015u);
    EXPECT_EQ(window().statusPanel()->sizeText(), app().statusBarSize());
    EXPECT_NE(window().statusPanel()->sizeText(), sizeBefore);
    EXPECT_EQ(window().statusPanel()->foldersText(), app().statusBarFolders());
}

TEST_F(MainWindowUi, DecliningTheTrashQuestionChangesNothing)
{
    makeTree(tree_);
    TFoldInfo* root = scanTree();
    ASSERT_NE(root, nullptr);
    QTest::mouseClick(window().reportTabButton(ReportIndex::FileExplorer), Qt::LeftButton);
    ASSERT_TRUE(waitForIdle());
    app().btnCheckBoxFileExplorerTableTapped(childNamed(root, QStringLiteral("mid")), true);
    answerNextMessageBox(text("ID_NO"));
    window().action(MainWindow::Command::Trash)->trigger();
    ASSERT_TRUE(waitForIdle());
    EXPECT_EQ(messageBoxesAnswered_, 1);
    EXPECT_TRUE(QFileInfo::exists(tree_.at(QStringLiteral("mid/c.txt"))));
    EXPECT_EQ(window().folderTree()->folderModel()->rowCount(window().folderTree()->folderModel()->indexForNode(root)), 2);
}

TEST_F(MainWindowUi, RemoveFromTreeOfTheLastRootEmptiesTheWindow)
{
    makeTree(tree_);
    ASSERT_NE(scanTree(), nullptr);
    window().action(MainWindow::Command::RemoveFromTree)->trigger();
    ASSERT_TRUE(waitForIdle());
    EXPECT_EQ(window().folderTree()->folderModel()->rowCount(), 0);
    EXPECT_FALSE(window().action(MainWindow::Command::Rescan)->isEnabled());
    EXPECT_FALSE(window().action(MainWindow::Command::RemoveFromTree)->isEnabled());
    EXPECT_TRUE(window().statusPanel()->pathText().isEmpty());
    EXPECT_TRUE(window().statusPanel()->sizeText().isEmpty());
}

TEST_F(MainWindowUi, HooksAddActionsAndTakeViewerRequests)
{
    launch();
    QSignalSpy settings(&window(), &MainWindow::settingsRequested);
    window().action(MainWindow::Command::Settings)->trigger();
    EXPECT_EQ(settings.count(), 1);

    auto* summary = new QAction(QStringLiteral("Summary"), &window());
    window().addToolBarAction(summary);
    const QList<QAction*> actions = window().mainToolBar()->actions();
    ASSERT_GE(actions.indexOf(summary), 0);
    EXPECT_LT(actions.indexOf(summary), actions.indexOf(window().action(MainWindow::Command::Settings)));

    QString title;
    std::size_t count = 0;
    window().setFileViewerHandler([&](const NodeList& files, const QString& t) {
        title = t;
        count = files.size();
    });
    Q_EMIT app().fileViewerRequested(NodeList(3, nullptr), QStringLiteral("Big Files"));
    EXPECT_EQ(title, QStringLiteral("Big Files"));
    EXPECT_EQ(count, 3u);
}

TEST_F(MainWindowUi, GeometrySplittersAndColumnsAreRememberedAcrossRuns)
{
    launch();
    window().resize(1000, 700);
    auto* mainSplitter = window().findChild<QSplitter*>(QStringLiteral("mainSplitter"));
    ASSERT_NE(mainSplitter, nullptr);
    mainSplitter->setSizes({420, 580});
    const QList<int> sizes = mainSplitter->sizes();
    window().folderTree()->header()->resizeSection(FolderTreeModel::SizeColumn, 133);
    QSignalSpy quit(desktop_.get(), &DesktopApp::quitRequested);
    window().close();
    EXPECT_EQ(quit.count(), 1) << "closing the main window ends the application";

    desktop_.reset();
    launch();
    EXPECT_EQ(window().size(), QSize(1000, 700));
    EXPECT_EQ(window().findChild<QSplitter*>(QStringLiteral("mainSplitter"))->sizes(), sizes);
    EXPECT_EQ(window().folderTree()->header()->sectionSize(FolderTreeModel::SizeColumn), 133);
}
