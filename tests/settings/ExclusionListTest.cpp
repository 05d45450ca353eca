#include "common/TestSupport.h"
#include "base/ItemAccess.h"
#include "settings/ExclusionList.h"
#include "settings/Paths.h"
#include "settings/Plist.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

// Gives each test a home of its own.
class ExclusionListTest : public ::testing::Test {
protected:
    void SetUp() override { TestSupport::setTestHome(home_.path()); }
    void TearDown() override { TestSupport::setTestHome(previous_); }
    QTemporaryDir home_;
    QString previous_ = TestSupport::testHome();
};

QVariantMap dictExcluding(const QStringList& dirs, const QStringList& files = {})
{
    QVariantList d, f;
    for (const QString& s : dirs)
        d.append(s);
    for (const QString& s : files)
        f.append(s);
    return {{QStringLiteral("Hard"), QVariantMap{{QStringLiteral("dirPath"), d}, {QStringLiteral("filePath"), f}}}};
}

} // namespace

TEST_F(ExclusionListTest, DefaultFileIsWrittenOnceWithLinuxAdjustments)
{
    ASSERT_FALSE(QFile::exists(ExclusionList::filePath()));
    ExclusionList list;
    list.readAndLoadExclusionList();
    ASSERT_TRUE(QFile::exists(ExclusionList::filePath()));

    const QVariantMap onDisk = Plist::readDictionary(ExclusionList::filePath());
    EXPECT_EQ(onDisk.keys(), (QStringList{QStringLiteral("Hard"), QStringLiteral("Smart"), QStringLiteral("Soft")}));
    const QVariantMap hard = onDisk.value(QStringLiteral("Hard")).toMap();
    const QStringList dirs = Plist::stringList(hard, QStringLiteral("dirPath"));
    // The kernel's virtual file systems and the macOS-only names; what fills Linux disks
    // is scanned.
    EXPECT_EQ(dirs, (QStringList{QStringLiteral("/System"), QStringLiteral("/afs"), QStringLiteral("/dev"),
                                 QStringLiteral("/net"), QStringLiteral("/proc"), QStringLiteral("/cores"),
                                 QStringLiteral("/Network"), QStringLiteral("/mach"), QStringLiteral("/private"),
                                 QStringLiteral("/Developer"), QStringLiteral("/sys"), QStringLiteral("/run")}));
    // The protected folders stay as they were: the system folders, then /sys.
    const QStringList protectedDirs = Plist::stringList(hard, QStringLiteral("dirNotDelete"));
    EXPECT_EQ(protectedDirs.first(), QStringLiteral("/Applications"));
    EXPECT_TRUE(protectedDirs.contains(QStringLiteral("/usr")));
    EXPECT_TRUE(protectedDirs.contains(QStringLiteral("/var")));
    EXPECT_EQ(protectedDirs.last(), QStringLiteral("/sys"));
    // The test home lives under /tmp, so "/tmp" is left out there.
    EXPECT_EQ(protectedDirs.contains(QStringLiteral("/tmp")), !Paths::home().startsWith(QStringLiteral("/tmp")));
    EXPECT_EQ(Plist::stringList(hard, QStringLiteral("filePrefix")),
              (QStringList{QStringLiteral(".DS_Store"), QStringLiteral(".localized")}));
    EXPECT_FALSE(onDisk.value(QStringLiteral("Soft")).toMap().value(QStringLiteral("filePackage")).toBool());

    for (const char* scanned : {"/usr", "/usr/share", "/var/lib/docker", "/opt", "/home/u", "/swapfile",
                                "/swap.img", "/etc", "/bin", "/lost+found", "/mnt/data", "/media/u/usb"})
        EXPECT_FALSE(list.isExcludedDirectory(QString::fromLatin1(scanned))) << scanned;
    for (const char* excluded : {"/proc/1", "/sys/kernel", "/dev/shm", "/run/user/1000", "/System/Library"})
        EXPECT_TRUE(list.isExcludedDirectory(QString::fromLatin1(excluded))) << excluded;
    EXPECT_FALSE(list.isExcludedDirectory(QStringLiteral("/USR/lib")));
    EXPECT_FALSE(list.isExcludedDirectory(QStringLiteral("/Users")));
    EXPECT_EQ(list.dirNotDeleted().mid(list.dirNotDeleted().size() - 2),
              (QStringList{Paths::home() + QStringLiteral("/Library"), Paths::home() + QStringLiteral("/Applications")}));

    // An existing file is read, not rewritten: a list written with earlier defaults, or
    // edited by the user, is used as it stands.
    Plist::writeFile(ExclusionList::filePath(), dictExcluding({QStringLiteral("/data"), QStringLiteral("/usr")}));
    ExclusionList again;
    again.readAndLoadExclusionList();
    EXPECT_EQ(again.excDirPath(), (QStringList{QStringLiteral("/data"), QStringLiteral("/usr")}));
    EXPECT_TRUE(again.isExcludedDirectory(QStringLiteral("/usr/share")));
    EXPECT_FALSE(again.isExcludedDirectory(QStringLiteral("/proc")));
}

TEST_F(ExclusionListTest, HomeUnderAnExcludedEntryIsNotExcluded)
{
    // A home under /home (as on most machines) must stay scannable and is not protected
    // as a whole; a home under an excluded folder is not excluded either.
    ::setenv("HOME", "/home/someone", 1);
    const QStringList underHome = ExclusionList::defaultNotDeletablePaths();
    ::setenv("HOME", "/private/someone", 1);
    const QStringList underPrivate = ExclusionList::defaultExcludedPaths();
    TestSupport::setTestHome(home_.path());
    EXPECT_FALSE(underHome.contains(QStringLiteral("/home")));
    EXPECT_TRUE(underHome.contains(QStringLiteral("/usr")));
    EXPECT_FALSE(underPrivate.contains(QStringLiteral("/private")));
    EXPECT_EQ(underPrivate.size(), ExclusionList::defaultExcludedPaths().size() - 1);
}

TEST_F(ExclusionListTest, WiderEntriesDoNotReachIntoTheVolumeAreas)
{
    // "/run" holds the volumes mounted under /run/media, which the volume table offers.
    const ExclusionList list(dictExcluding({QStringLiteral("/run"), QStringLiteral("/run/media/u/Stick/cache"),
                                            QStringLiteral("/me")}));
    EXPECT_TRUE(list.isExcludedDirectory(QStringLiteral("/run/user/1000")));
    EXPECT_TRUE(list.isExcludedDirectory(QStringLiteral("/run")));
    EXPECT_TRUE(list.isExcludedDirectory(QStringLiteral("/run/mediaextra")));
    EXPECT_FALSE(list.isExcludedDirectory(QStringLiteral("/run/media")));
    EXPECT_FALSE(list.isExcludedDirectory(QStringLiteral("/run/media/u/Stick/photo.jpg")));
    EXPECT_FALSE(list.isExcludedDirectory(QStringLiteral("/media/u/usb")));
    EXPECT_TRUE(list.isExcludedDirectory(QStringLiteral("/mediaplayer")));
    // Entries inside an area, or naming it, are the user's wish and apply.
    EXPECT_TRUE(list.isExcludedDirectory(QStringLiteral("/run/media/u/Stick/cache/x")));
    const ExclusionList media(dictExcluding({QStringLiteral("/media"), QStringLiteral("/run/media/u")}));
    EXPECT_TRUE(media.isExcludedDirectory(QStringLiteral("/media/u/usb")));
    EXPECT_TRUE(media.isExcludedDirectory(QStringLiteral("/run/media/u/Stick")));
}

TEST_F(ExclusionListTest, PrefixTestIsRawAndCaseSensitive)
{
    const ExclusionList list(dictExcluding({QStringLiteral("/Users/a/Music")}, {QStringLiteral("/tmp/file.txt")}));
    EXPECT_TRUE(list.isExcludedDirectory(QStringLiteral("/Users/a/Music")));
    EXPECT_TRUE(list.isExcludedDirectory(QStringLiteral("/Users/a/Music2")));
    EXPECT_TRUE(list.isExcludedDirectory(QStringLiteral("/tmp/file.txt.bak")));
    EXPECT_FALSE(list.isExcludedDirectory(QStringLiteral("/users/a/music")));
    EXPECT_FALSE(list.isExcludedDirectory(QStringLiteral("/Users/a")));
    const ExclusionList empty(dictExcluding({}));
    EXPECT_FALSE(empty.isExcludedDirectory(QStringLiteral("/")));
    EXPECT_FALSE(empty.isExcludedDirectory(QStringLiteral("/usr")));
}

TEST_F(ExclusionListTest, UnparsableFileUsesTheDefaultsSaysWhyAndIsKept)
{
    QDir().mkpath(Paths::documents());
    QFile broken(ExclusionList::filePath());
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("<plist><dict><key>Hard</key><dict><key>dirPath</key><array><string>/usr");
    broken.close();
    ExclusionList list;
    list.readAndLoadExclusionList();
    EXPECT_EQ(list.excDirPath(), ExclusionList::defaultExcludedPaths());
    EXPECT_TRUE(list.isExcludedDirectory(QStringLiteral("/proc")));
    EXPECT_TRUE(list.loadProblem().contains(QStringLiteral("not a valid XML property list")))
        << list.loadProblem().toStdString();
    // The user's broken file is left for them to mend, not replaced.
    QFile again(ExclusionList::filePath());
    ASSERT_TRUE(again.open(QIODevice::ReadOnly));
    EXPECT_TRUE(again.readAll().endsWith("<string>/usr"));
}

TEST_F(ExclusionListTest, SharedListIsSwappedNotEdited)
{
    auto before = std::make_shared<const ExclusionList>(dictExcluding({QStringLiteral("/a")}));
    ExclusionList::setShared(before);
    std::shared_ptr<const ExclusionList> heldByAScan = ExclusionList::shared();
    ExclusionList::setShared(std::make_shared<const ExclusionList>(dictExcluding({QStringLiteral("/b")})));
    EXPECT_TRUE(heldByAScan->isExcludedDirectory(QStringLiteral("/a/x")));
    EXPECT_FALSE(heldByAScan->isExcludedDirectory(QStringLiteral("/b/x")));
    EXPECT_TRUE(ExclusionList::shared()->isExcludedDirectory(QStringLiteral("/b/x")));
    ExclusionList::setShared(nullptr);
    EXPECT_FALSE(ExclusionList::shared()->isExcludedDirectory(QStringLiteral("/b/x")));
}

TEST_F(ExclusionListTest, StartupExclusionFileIsCreatedOnlyWhenMissing)
{
    ExclusionList::makeStartupExclusionFileIfMissing();
    const QString path = Paths::inDocuments(QStringLiteral("exclusion.plist"));
    const QVariantMap dict = Plist::readDictionary(path);
    EXPECT_EQ(Plist::stringList(dict, QStringLiteral("excludePath")).size(), 8);
    EXPECT_EQ(Plist::stringList(dict, QStringLiteral("excludeFile")),
              (QStringList{QStringLiteral("/dev"), QStringLiteral("/etc")}));
    Plist::writeFile(path, QVariantMap{{QStringLiteral("mine"), true}});
    ExclusionList::makeStartupExclusionFileIfMissing();
    EXPECT_TRUE(Plist::readDictionary(path).value(QStringLiteral("mine")).toBool());
}

TEST(ItemAccess, WritableAndDeletableFollowTheModeClassTheUserFallsIn)
{
    UserIdentity user;
    user.uid = 1000;
    user.gid = 100;
    user.groups = {20, 100};
    const AccessFacts ownWritable{S_IFREG | 0644, 1000, 1, false};
    const AccessFacts groupOnly{S_IFREG | 0464, 5, 20, false};
    const AccessFacts othersOnly{S_IFREG | 0446, 5, 7, false};
    const AccessFacts groupClassReadOnly{S_IFREG | 0446, 5, 20, false};
    const AccessFacts readOnlyForOwner{S_IFREG | 0466, 1000, 20, false};
    EXPECT_TRUE(ItemAccess::isWritable(user, ownWritable));
    EXPECT_TRUE(ItemAccess::isWritable(user, groupOnly));
    EXPECT_TRUE(ItemAccess::isWritable(user, othersOnly));
    EXPECT_FALSE(ItemAccess::isWritable(user, groupClassReadOnly)); // we are in the group class
    EXPECT_FALSE(ItemAccess::isWritable(user, readOnlyForOwner));  // the owner class decides
    EXPECT_FALSE(ItemAccess::isWritable(user, {S_IFREG | 0666, 1000, 100, true}));

    const AccessFacts openFolder{S_IFDIR | 0777, 5, 7, false};
    const AccessFacts stickyFolder{S_IFDIR | 01777, 5, 7, false};
    EXPECT_TRUE(ItemAccess::isDeletable(user, othersOnly, openFolder));
    EXPECT_FALSE(ItemAccess::isDeletable(user, othersOnly, stickyFolder)); // not ours, not our folder
    EXPECT_TRUE(ItemAccess::isDeletable(user, ownWritable, stickyFolder));
    EXPECT_FALSE(ItemAccess::isDeletable(user, ownWritable, {S_IFDIR | 0755, 5, 7, false}));

    UserIdentity root;
    EXPECT_TRUE(ItemAccess::isWritable(root, othersOnly));
    EXPECT_TRUE(ItemAccess::isDeletable(root, othersOnly, stickyFolder));
    EXPECT_FALSE(ItemAccess::isWritable(root, {S_IFREG | 0666, 0, 0, true}));
}
