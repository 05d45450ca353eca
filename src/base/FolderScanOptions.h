#pragma once

// Choices a scan makes beyond its fixed rules, both off by default. A scan takes them when
// it starts; a change applies to the next scan.
struct FolderScanOptions {
    bool scanHiddenFolders = false;   // enter folders whose name starts with "."
    bool stayOnOneFileSystem = false; // pass over folders whose device differs from the root's

    bool operator==(const FolderScanOptions&) const = default;
};
