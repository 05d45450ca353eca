#pragma once

#include "scan/ItemAccess.h"

#include <sys/types.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// An open directory descriptor shared by the listing of a folder and the reads of its
// subfolders (which open them relative to it). Closed when the last holder lets go.
class DirFd {
public:
    explicit DirFd(int fd) : fd_(fd) {}
    ~DirFd();
    DirFd(const DirFd&) = delete;
    DirFd& operator=(const DirFd&) = delete;
    int fd() const { return fd_; }

private:
    int fd_;
};
using DirFdPtr = std::shared_ptr<DirFd>;

// One directory entry with what a single statx told about it.
struct DirEntry {
    std::uint32_t nameOffset = 0; // into DirListing::names
    std::uint16_t nameLength = 0;
    std::uint8_t dtype = 0;   // d_type from the directory read
    bool statOk = false;      // statx answered; otherwise only dtype is known
    std::uint32_t mode = 0;
    uid_t uid = 0;
    gid_t gid = 0;
    dev_t dev = 0;
    std::uint64_t size = 0;
    std::uint64_t allocated = 0; // stx_blocks * 512
    double birthTime = 0;        // absolute times (seconds since 2001-01-01 UTC)
    double modificationTime = 0;
    double accessTime = 0;
};

// The complete listing of one folder, in the order the directory returned its entries.
struct DirListing {
    bool opened = false;
    int openError = 0;     // errno of the failed open
    int readError = 0;     // errno when reading the entries stopped at an error (the list is partial)
    DirFdPtr fd;           // kept open so subfolders can be opened relative to it
    dev_t dev = 0;         // the folder's device
    bool readOnly = false; // the folder's file system is mounted read-only
    std::string names;
    std::vector<DirEntry> entries;

    std::string_view name(const DirEntry& e) const { return {names.data() + e.nameOffset, e.nameLength}; }
};

// Where a folder to read is: a name relative to an open parent, or an absolute path.
struct DirLocation {
    DirFdPtr parent;         // null: `path` is opened as it stands
    std::string name;        // the folder's name in the parent
    std::string path;        // the folder's full path (used when there is no parent)
    dev_t dev = 0;           // the folder's device, as its parent's listing saw it
    bool knownDevice = false;
    dev_t parentDev = 0;
    bool parentReadOnly = false;
};

namespace DirReader {

// Reads the whole folder: one directory stream, one statx per entry. Thread-safe; each
// thread uses its own read buffer.
DirListing read(const DirLocation& where);

// The statx of one path relative to a folder (not following a final link), or false.
bool statAt(int dirFd, const char* relativePath, DirEntry& out);

} // namespace DirReader
