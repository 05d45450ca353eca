#include "SettingsFixture.h"

#include "common/TestSupport.h"
#include "settings/CommonFuncs.h"

#include <QSet>


using TestSupport::TempTree;

namespace {

using Helpers = FreshSettings;

QSet<QString> asSet(const QStringList& list) { return QSet<QString>(list.cbegin(), list.cend()); }

} // namespace

TEST(Hierarchy, ListsEveryItemBelowFollowingLinksToFolders)
{
    TempTree t;
    TempTree outside;
    t.file(QStringLiteral("a.txt"), 3);
    t.file(QStringLiteral(".hidden"), 1);
    t.file(QStringLiteral("sub/b.txt"));
    t.file(QStringLiteral("sub/deep/c.txt"));
    t.file(QStringLiteral("sub/deep/d.txt"));
    t.mkdir(QStringLiteral("empty"));
    outside.file(QStringLiteral("far.txt"));
    t.symlink(outside.path(), QStringLiteral("linked"));
    t.symlink(QStringLiteral("/nonexistent/target"), QStringLiteral("broken"));

    const QStringList items = CommonFuncs::getHierarchyOfPaths(t.path());
    EXPECT_EQ(asSet(items), (QSet<QString>{t.at(QStringLiteral("a.txt")), t.at(QStringLiteral(".hidden")),
                                           t.at(QStringLiteral("sub/b.txt")), t.at(QStringLiteral("sub/deep/c.txt")),
                                           t.at(QStringLiteral("sub/deep/d.txt")),
                                           t.at(QStringLiteral("linked/far.txt")), t.at(QStringLiteral("broken"))}));
    EXPECT_EQ(items.size(), 7);
    // Depth first: a folder's items come together, in its place.
    const qsizetype c = items.indexOf(t.at(QStringLiteral("sub/deep/c.txt")));
    const qsizetype d = items.indexOf(t.at(QStringLiteral("sub/deep/d.txt")));
    EXPECT_EQ(std::abs(c - d), 1);
    EXPECT_TRUE(CommonFuncs::getHierarchyOfPaths(t.at(QStringLiteral("a.txt"))).isEmpty());
    EXPECT_TRUE(CommonFuncs::getHierarchyOfPaths(t.at(QStringLiteral("missing"))).isEmpty());
}

TEST(Hierarchy, LinkCyclesEnd)
{
    TempTree t;
    t.file(QStringLiteral("top/x.txt"));
    t.file(QStringLiteral("top/inner/y.txt"));
    t.symlink(t.at(QStringLiteral("top")), QStringLiteral("top/inner/back"));
    t.symlink(QStringLiteral("."), QStringLiteral("top/self"));
    const QStringList items = CommonFuncs::getHierarchyOfPaths(t.at(QStringLiteral("top")));
    EXPECT_EQ(asSet(items), (QSet<QString>{t.at(QStringLiteral("top/x.txt")), t.at(QStringLiteral("top/inner/y.txt"))}));
    EXPECT_EQ(items.size(), 2);
}

TEST(Hierarchy, UnreadableFolderContributesNothing)
{
    TempTree t;
    t.file(QStringLiteral("open/a.txt"));
    t.file(QStringLiteral("closed/secret.txt"));
    t.chmod(QStringLiteral("closed"), 0);
    t.chmod(QString(), 0755); // the unprivileged reader must reach the tree itself
    const QString root = t.path();
    const QString expected = t.at(QStringLiteral("open/a.txt"));
    const int status = TestSupport::runUnprivileged([&] {
        const QStringList items = CommonFuncs::getHierarchyOfPaths(root);
        return items == QStringList{expected} ? 0 : 1;
    });
    t.chmod(QStringLiteral("closed"), 0755);
    EXPECT_EQ(status, 0);
}

TEST_F(Helpers, BookmarksRememberExistingPathsOnce)
{
    TempTree t;
    t.mkdir(QStringLiteral("granted"));
    const QString granted = t.at(QStringLiteral("granted"));
    EXPECT_FALSE(CommonFuncs::saveBookmarkPath(t.at(QStringLiteral("missing"))));
    EXPECT_TRUE(CommonFuncs::saveBookmarkPath(granted));
    EXPECT_TRUE(CommonFuncs::saveBookmarkPath(granted));
    EXPECT_EQ(SettingsStore::value(SettingsKeys::savedPaths).toStringList(), QStringList{granted});
    EXPECT_TRUE(CommonFuncs::loadFromBookmarkPath(granted));
    EXPECT_FALSE(CommonFuncs::loadFromBookmarkPath(t.at(QStringLiteral("missing"))));
    EXPECT_FALSE(CommonFuncs::loadFromBookmarkPath(QString()));
}
