#pragma once

#include <QString>

#include <cstdint>

// One mounted volume that can be scanned (or the home folder row of the start-up dialog).
struct DriveNode {
    QString name;                // display name: the file-system label, else the mount point's last component
    QString path;                // mount point
    std::uint64_t size = 0;      // capacity in bytes
    std::uint64_t sizeFree = 0;  // free bytes
    bool isRemovable = false;
    bool isWritable = false;
    bool isUnmountable = false;
    QString desc;                // description shown in the start-up dialog; null when absent
    QString type;                // file-system type; null when absent

    // Used space: size - sizeFree.
    std::uint64_t usedSize() const { return size >= sizeFree ? size - sizeFree : 0; }
};
