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

// What the system tells about a mounted volume.
struct VolumeInfo {
    bool ok = false;            // false: the volume could not be asked
    std::uint64_t total = 0;
    std::uint64_t free = 0;
    QString label;              // file-system label, empty when unknown
    bool removable = false;
};

// Asks the system about one mount; tests feed their own answers.
class VolumeProbe {
public:
    virtual ~VolumeProbe() = default;
    // statvfs for the sizes, /dev/disk/by-label for the label, /sys/dev/block for removable.
    virtual VolumeInfo probe(const MountEntry& mount) const;
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
    // Used space in percent of capacity (a capacity of 0 counts as 1 byte).
    static double usagePercent(const DriveNode& node);
};
