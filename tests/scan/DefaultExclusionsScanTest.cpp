#include "common/TestSupport.h"
#include "scan/ScanFixtures.h"

#include <gtest/gtest.h>

using TestSupport::TempTree;

// The default exclusions moved under a fake root, so a scan of that root behaves as a
// scan of "/" would with the defaults.
TEST(DefaultExclusions, ScanOfAFakeRootEntersWhatFillsLinuxDisks)
{
    TempTree t;
    for (const char* file : {"proc/1/status", "sys/kernel/notes", "dev/sda", "run/user/1000/bus",
                             "run/lock/x.lock", "var/lib/docker/overlay2/layer.tar",
                             "var/log/journal/system.journal", "var/cache/apt/archives/pkg.deb",
                             "usr/share/doc/readme", "opt/app/bin/app", "home/u/video.mkv", "swapfile",
                             "swap.img", "etc/fstab", "mnt/disk/file", "srv/www/index.html",
                             "private/not-really-there", "Developer/x"})
        t.file(QString::fromLatin1(file), 100);
    t.mkdir(QStringLiteral("lost+found"));

    QStringList prefixed;
    for (const QString& entry : ExclusionList::defaultExcludedPaths())
        prefixed.append(t.path() + entry);
    auto tree = scanInto(t.path(), 1, excluding(prefixed));
    TFoldInfo* root = tree->root();

    QStringList names = childNames(root);
    names.sort();
    EXPECT_EQ(names, (QStringList{QStringLiteral("etc"), QStringLiteral("home"), QStringLiteral("lost+found"),
                                  QStringLiteral("mnt"), QStringLiteral("opt"), QStringLiteral("srv"),
                                  QStringLiteral("swap.img"), QStringLiteral("swapfile"), QStringLiteral("usr"),
                                  QStringLiteral("var")}));
    EXPECT_NE(findNode(root, QStringLiteral("var/lib/docker/overlay2/layer.tar")), nullptr);
    EXPECT_NE(findNode(root, QStringLiteral("var/cache/apt/archives/pkg.deb")), nullptr);
    EXPECT_NE(findNode(root, QStringLiteral("home/u/video.mkv")), nullptr);
}
