#pragma once

#include "scan/DriveNode.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

// One line of /proc/self/mountinfo.
struct MountEntry {
    QString mountPoint; // octal escapes (\040 ...) decoded
    QString fsType;
    QString source;     // the mounted device or share
    QString deviceId;   // "major:minor"
    bool readOnly = false;
};

// A file system's block counts, as statvfs gives them.
struct FileSystemBlocks {
    std::uint64_t blocks = 0;          // f_blocks: the whole file system
    std::uint64_t blocksFree = 0;      // f_bfree: free, the root reserve included
    std::uint64_t blocksAvailable = 0; // f_bavail: free for an ordinary user
    std::uint64_t fragmentSize = 0;    // f_frsize: bytes per block
};

// What the system tells about a mounted volume. Sizes are counted as df counts them: the
// blocks reserved for root (ext4 keeps 5 % by default) are neither used nor free.
struct VolumeInfo {
    bool ok = false;            // false: the volume could not be asked
    std::uint64_t total = 0;    // f_blocks
    std::uint64_t free = 0;     // f_bavail: what an ordinary user can still fill
    std::uint64_t used = 0;     // f_blocks - f_bfree
    QString label;              // file-system label, empty when unknown
    bool removable = false;
};

// Asks the system about one mount; tests feed their own answers.
class VolumeProbe {
public:
    virtual ~VolumeProbe() = default;
    // Sizes from fileSystemBlocks, the label from /dev/disk/by-label, removable from
    // /sys/dev/block. Not ok when the blocks cannot be read.
    virtual VolumeInfo probe(const MountEntry& mount) const;
    // statvfs of the mount point; false when it fails.
    virtual bool fileSystemBlocks(const MountEntry& mount, FileSystemBlocks& out) const;
    // Total, free and used bytes from block counts (a free count above the total, as a
    // broken file system might report, leaves used at 0).
    static void setSizes(VolumeInfo& info, const FileSystemBlocks& blocks);
};

// The list of volumes the main window offers for scanning.
class DirectoryParser {
public:
    // The mounted local volumes, in mount-table order, without pseudo file systems,
    // backup volumes, names ending in "dmg", mounts outside "/" and the external-volume
    // area (/media, /run/media), read-only volumes other than "/", and network shares.
    static std::vector<DriveNode> getDiskDrives();
    static std::vector<DriveNode> getDiskDrives(const std::vector<MountEntry>& mounts, const VolumeProbe& probe);

    // Parses mountinfo text; malformed lines are left out. A mount point listed twice (bind
    // or over-mounts) is kept once, at its first place.
    static std::vector<MountEntry> parseMountInfo(const QByteArray& text);

    // Pseudo and virtual file systems that are never volumes.
    static bool isPseudoFileSystem(const QString& fsType);
    // Network file systems: listed like "smbfs" shares, and skipped.
    static bool isNetworkFileSystem(const QString& fsType);
    // A mount point under the external-volume area.
    static bool isInExternalVolumeArea(const QString& path);

    // The home folder row of the start-up dialog.
    static DriveNode homeFolderNode();

    // The texts of the volume table's columns "Drive", "Capacity", "Usage" (a percentage
    // as a number), "Free" and "Other" (empty); unknown columns give an empty text.
    static QString volumeColumnText(const DriveNode& node, const QString& column);
    // Used space in percent of the space an ordinary user could fill, as df shows it:
    // used / (used + sizeFree); 0 when both are 0 (the home folder row).
    static double usagePercent(const DriveNode& node);
};
