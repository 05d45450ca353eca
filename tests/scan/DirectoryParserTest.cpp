#include "common/TestMounts.h"
#include "common/TestSupport.h"
#include "scan/DirectoryParser.h"
#include "settings/CommonFuncs.h"

#include <QMap>

#include <array>
#include <optional>
#include <utility>

#include <gtest/gtest.h>

namespace {

// Answers for the mounts a test feeds in, by mount point.
class FakeProbe : public VolumeProbe {
public:
    QMap<QString, VolumeInfo> answers;
    VolumeInfo probe(const MountEntry& mount) const override { return answers.value(mount.mountPoint); }
};

VolumeInfo volume(std::uint64_t total, std::uint64_t free, const QString& label = {}, bool removable = false)
{
    VolumeInfo v;
    v.ok = true;
    v.total = total;
    v.free = free;
    v.used = total - free; // no root reserve
    v.label = label;
    v.removable = removable;
    return v;
}

QByteArray line(const char* id, const char* device, const char* mountPoint, const char* opts, const char* type,
                const char* source)
{
    return QByteArray(id) + " 1 " + device + " / " + mountPoint + " " + opts + " shared:1 - " + type + " " + source
           + " rw\n";
}

QStringList paths(const std::vector<DriveNode>& drives)
{
    QStringList out;
    for (const DriveNode& d : drives)
        out.append(d.path);
    return out;
}

} // namespace

TEST(DirectoryParser, ParsesMountInfoLines)
{
    const QByteArray text = "27 1 254:0 / / rw,relatime - ext4 /dev/vda rw,discard\n"
                            "40 27 8:17 / /media/u/My\\040Disk rw,nosuid shared:7 master:1 - vfat /dev/sdb1 ro\n"
                            "garbage line\n"
                            "41 27 8:17 /sub /media/u/My\\040Disk rw - vfat /dev/sdb1 rw\n";
    const std::vector<MountEntry> mounts = DirectoryParser::parseMountInfo(text);
    ASSERT_EQ(mounts.size(), 2u);
    EXPECT_EQ(mounts[0].mountPoint, QStringLiteral("/"));
    EXPECT_EQ(mounts[0].fsType, QStringLiteral("ext4"));
    EXPECT_EQ(mounts[0].source, QStringLiteral("/dev/vda"));
    EXPECT_EQ(mounts[0].deviceId, QStringLiteral("254:0"));
    EXPECT_FALSE(mounts[0].readOnly);
    EXPECT_EQ(mounts[1].mountPoint, QStringLiteral("/media/u/My Disk"));
    EXPECT_TRUE(mounts[1].readOnly); // read-only in the super-block options
}

TEST(DirectoryParser, OffersOnlyLocalWritableVolumesInOrder)
{
    QByteArray table;
    table += line("1", "254:0", "/", "ro", "ext4", "/dev/vda");                       // read-only root: kept
    table += line("2", "0:21", "/proc", "rw", "proc", "proc");                        // pseudo
    table += line("3", "8:1", "/media/u/usb", "rw", "vfat", "/dev/sdb1");             // kept
    table += line("4", "8:2", "/media/u/cdrom", "ro", "iso9660", "/dev/sr0");         // read-only external
    table += line("5", "8:3", "/mnt/data", "rw", "ext4", "/dev/sdc1");                // outside the areas
    table += line("6", "0:50", "/media/u/share", "rw", "cifs", "//server/share");     // network share
    table += line("7", "7:0", "/media/u/image.dmg", "rw", "hfsplus", "/dev/loop0");   // name ends in dmg
    table += line("8", "7:1", "/run/media/u/Backup", "rw", "ext4", "/dev/sdd1");      // label below
    table += line("9", "7:2", "/media/u/zero", "rw", "ext4", "/dev/sde1");            // size 0
    table += line("10", "7:3", "/media/u/gone", "rw", "ext4", "/dev/sdf1");           // cannot be asked
    table += line("11", "7:4", "/run/media/u/Stick", "rw", "exfat", "/dev/sdg1");     // kept
    FakeProbe probe;
    probe.answers[QStringLiteral("/")] = volume(500107862016, 100000000000);
    probe.answers[QStringLiteral("/media/u/usb")] = volume(16000000000, 8000000000, {}, true);
    probe.answers[QStringLiteral("/media/u/cdrom")] = volume(700000000, 0);
    probe.answers[QStringLiteral("/mnt/data")] = volume(1000, 10);
    probe.answers[QStringLiteral("/media/u/share")] = volume(1000, 10);
    probe.answers[QStringLiteral("/media/u/image.dmg")] = volume(1000, 10);
    probe.answers[QStringLiteral("/run/media/u/Backup")] = volume(1000, 10, QStringLiteral("Time Machine Backups"));
    probe.answers[QStringLiteral("/media/u/zero")] = volume(0, 0);
    probe.answers[QStringLiteral("/run/media/u/Stick")] = volume(4000, 1000, QStringLiteral("STICK"));

    const std::vector<DriveNode> drives =
        DirectoryParser::getDiskDrives(DirectoryParser::parseMountInfo(table), probe);
    EXPECT_EQ(paths(drives), (QStringList{QStringLiteral("/"), QStringLiteral("/media/u/usb"),
                                          QStringLiteral("/run/media/u/Stick")}));
    ASSERT_EQ(drives.size(), 3u);

    const DriveNode& root = drives[0];
    EXPECT_EQ(root.name, QStringLiteral("/"));
    EXPECT_EQ(root.desc, CommonFuncs::getLocalizedStringForKey(QStringLiteral("ID_STARTUP_DISK")));
    EXPECT_FALSE(root.isWritable);
    EXPECT_FALSE(root.isUnmountable);
    EXPECT_EQ(root.type, QStringLiteral("ext4"));
    EXPECT_EQ(root.usedSize(), 400107862016u);

    const DriveNode& usb = drives[1];
    EXPECT_EQ(usb.name, QStringLiteral("usb"));
    EXPECT_EQ(usb.desc, QStringLiteral("VFAT Volumes"));
    EXPECT_TRUE(usb.isRemovable);
    EXPECT_TRUE(usb.isWritable);
    EXPECT_TRUE(usb.isUnmountable);
    EXPECT_EQ(drives[2].name, QStringLiteral("STICK"));

    EXPECT_EQ(DirectoryParser::volumeColumnText(usb, QStringLiteral("Drive")), QStringLiteral("usb"));
    EXPECT_EQ(DirectoryParser::volumeColumnText(usb, QStringLiteral("Usage")), QStringLiteral("50.00"));
    EXPECT_EQ(DirectoryParser::volumeColumnText(usb, QStringLiteral("Capacity")),
              CommonFuncs::unitForSizeDriveSize(16000000000));
    EXPECT_EQ(DirectoryParser::volumeColumnText(usb, QStringLiteral("Other")), QString());
}

TEST(DirectoryParser, RemovableRootHasNoDescription)
{
    FakeProbe probe;
    probe.answers[QStringLiteral("/")] = volume(1000, 10, {}, true);
    const auto drives = DirectoryParser::getDiskDrives(
        DirectoryParser::parseMountInfo(line("1", "8:0", "/", "rw", "ext4", "/dev/sda1")), probe);
    ASSERT_EQ(drives.size(), 1u);
    EXPECT_TRUE(drives[0].desc.isNull());
}

TEST(DirectoryParser, HomeFolderRowAndThisMachine)
{
    const DriveNode home = DirectoryParser::homeFolderNode();
    EXPECT_EQ(home.path, QDir::homePath());
    EXPECT_EQ(home.size, 0u);
    EXPECT_TRUE(home.isWritable);
    EXPECT_TRUE(home.type.isNull());
    EXPECT_EQ(DirectoryParser::usagePercent(home), 0.0); // a capacity of 0 does not divide by zero
    // Every machine has a root file system that is offered first.
    const auto drives = DirectoryParser::getDiskDrives();
    ASSERT_FALSE(drives.empty());
    EXPECT_EQ(drives.front().path, QStringLiteral("/"));
}

namespace {

// The real probe, with statvfs's block counts supplied by the test.
class BlocksProbe : public VolumeProbe {
public:
    FileSystemBlocks blocks;
    bool fileSystemBlocks(const MountEntry&, FileSystemBlocks& out) const override
    {
        out = blocks;
        return true;
    }
};

// df's byte counts of the file system holding `path`: size, used, available.
std::optional<std::array<std::uint64_t, 3>> dfBytes(const QString& path)
{
    const auto result = TestSupport::run(QStringLiteral("df"), {QStringLiteral("-B1"), QStringLiteral("--output=size,used,avail"), path});
    const QList<QByteArray> lines = result.out.trimmed().split('\n');
    if (result.exitCode != 0 || lines.size() != 2)
        return std::nullopt;
    const QList<QByteArray> fields = lines[1].simplified().split(' ');
    if (fields.size() != 3)
        return std::nullopt;
    return std::array<std::uint64_t, 3>{fields[0].toULongLong(), fields[1].toULongLong(), fields[2].toULongLong()};
}

} // namespace

TEST(DirectoryParser, RootReserveIsNeitherUsedNorFree)
{
    // 1000 blocks of 4 KiB: 300 free, of which 50 are reserved for root.
    BlocksProbe probe;
    probe.blocks = FileSystemBlocks{1000, 300, 250, 4096};
    const auto drives = DirectoryParser::getDiskDrives(
        DirectoryParser::parseMountInfo(line("1", "8:1", "/", "rw", "ext4", "/dev/sda1")), probe);
    ASSERT_EQ(drives.size(), 1u);
    const DriveNode& root = drives[0];
    EXPECT_EQ(root.size, 4096000u);
    EXPECT_EQ(root.sizeFree, 1024000u);  // what a user can still fill
    EXPECT_EQ(root.usedSize(), 2867200u); // 700 blocks, not 750
    // df's Use%: used / (used + available) = 700 / 950.
    EXPECT_EQ(DirectoryParser::volumeColumnText(root, QStringLiteral("Usage")), QStringLiteral("73.68"));

    // Counts a broken file system might give do not wrap around.
    probe.blocks = FileSystemBlocks{10, 20, 20, 512};
    const auto odd = DirectoryParser::getDiskDrives(
        DirectoryParser::parseMountInfo(line("1", "8:1", "/", "rw", "ext4", "/dev/sda1")), probe);
    ASSERT_EQ(odd.size(), 1u);
    EXPECT_EQ(odd[0].usedSize(), 0u);
    EXPECT_EQ(DirectoryParser::usagePercent(odd[0]), 0.0);
}

TEST(DirectoryParser, SizesAgreeWithDfOnRealFileSystems)
{
    TestSupport::TempTree t;
    // ext4 keeps a root reserve; tmpfs has none.
    const TestMount ext4 = TestMount::ext4Image(t.at(QStringLiteral("ext4")), t.at(QStringLiteral("fs.img")));
    const TestMount tmpfs = TestMount::tmpfs(t.at(QStringLiteral("tmpfs")));
    if (!ext4.mounted() && !tmpfs.mounted())
        GTEST_SKIP() << "mounting test file systems needs root";
    if (tmpfs.mounted())
        t.file(QStringLiteral("tmpfs/data.bin"), 100000);
    const std::pair<const TestMount*, QString> mounts[] = {{&ext4, t.at(QStringLiteral("ext4"))},
                                                           {&tmpfs, t.at(QStringLiteral("tmpfs"))}};
    for (const auto& [mount, path] : mounts) {
        if (!mount->mounted())
            continue;
        MountEntry entry;
        entry.mountPoint = path;
        const VolumeInfo info = VolumeProbe().probe(entry);
        const auto df = dfBytes(path);
        ASSERT_TRUE(info.ok);
        ASSERT_TRUE(df.has_value());
        EXPECT_EQ(info.total, (*df)[0]) << path.toStdString();
        EXPECT_EQ(info.used, (*df)[1]) << path.toStdString();
        EXPECT_EQ(info.free, (*df)[2]) << path.toStdString();
    }
    if (ext4.mounted()) {
        MountEntry entry;
        entry.mountPoint = t.at(QStringLiteral("ext4"));
        const VolumeInfo info = VolumeProbe().probe(entry);
        EXPECT_LT(info.used + info.free, info.total); // the reserve is really there
    }
}
