#include "common/TestSupport.h"
#include "scan/DirectoryParser.h"
#include "settings/CommonFuncs.h"

#include <QMap>

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
