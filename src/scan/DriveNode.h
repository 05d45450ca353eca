#pragma once

#include <QString>

#include <cstdint>

// One mounted volume that can be scanned (or the home folder row of the start-up dialog).
struct DriveNode {
    QString name;                // display name: the file-system label, else the mount point's last component
    QString path;                // mount point
    std::uint64_t size = 0;      // capacity in bytes
    std::uint64_t sizeFree = 0;  // free bytes an ordinary user can still fill (f_bavail)
    std::uint64_t sizeUsed = 0;  // used bytes as df counts them (f_blocks - f_bfree)
    bool isRemovable = false;
    bool isWritable = false;
    bool isUnmountable = false;
    QString desc;                // description shown in the start-up dialog; null when absent
    QString type;                // file-system type; null when absent

    // Used space: what the usage bar, the usage percentage and a scanned volume root's size
    // show. Not size - sizeFree: that would count the root reserve as used.
    std::uint64_t usedSize() const { return sizeUsed; }
};
