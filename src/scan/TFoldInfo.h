#pragma once

#include "scan/KindTable.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <span>
#include <string_view>

class NodeArena;
class ScanTree;

// Item-information flag bits of a node (only these are consulted anywhere).
namespace ItemFlags {
constexpr std::uint32_t PlainFile = 0x1;
constexpr std::uint32_t Package = 0x2;
constexpr std::uint32_t Application = 0x4;
constexpr std::uint32_t Container = 0x8;
constexpr std::uint32_t AliasFile = 0x10;
constexpr std::uint32_t SymbolicLink = 0x20;
constexpr std::uint32_t Invisible = 0x40;
constexpr std::uint32_t NativeApplication = 0x80;
constexpr std::uint32_t ClassicApplication = 0x100;
constexpr std::uint32_t PrefersNative = 0x200;
constexpr std::uint32_t PrefersClassic = 0x400;
constexpr std::uint32_t Scriptable = 0x800;
constexpr std::uint32_t Volume = 0x1000;
constexpr std::uint32_t AllBits = 0x1FFF;
} // namespace ItemFlags

// The item information of a path; only the flags are ever filled.
struct ItemAttrInfo {
    std::uint32_t flags = 0;
};

// What the directory read learnt about one entry: the catalog record a node is filled from.
struct CatalogInfo {
    std::uint32_t itemFlags = 0; // ItemFlags bits
    std::uint16_t mode = 0;      // st_mode (type and permission bits)
    bool isDirectory = false;
    std::uint64_t logicalSize = 0;  // stx_size
    std::uint64_t physicalSize = 0; // stx_blocks * 512
    double creationDate = 0;        // absolute times: seconds since 2001-01-01 UTC
    double modificationDate = 0;
    double accessDate = 0;
};

// Seconds since 2001-01-01 00:00:00 UTC for a Unix time.
constexpr double absoluteTimeFromUnix(std::int64_t seconds, std::uint32_t nanoseconds)
{
    return double(seconds - 978307200) + double(nanoseconds) / 1e9;
}

// One file or folder of a scan tree.
//
// A node is compact: a fixed part of 56 bytes, followed in the same allocation by the
// folder part (children and counts; folders and roots only) and the name's bytes, ended by
// a NUL (a name holds none, so its length is not stored). The path is not stored; sPath()
// is built from the parents. The share of a list (fPercent), set only for the few nodes a
// list shows, lives beside the nodes in the tree. Nodes live in the NodeArena of their
// ScanTree and are never freed one by one; the tree owns them all.
//
// Names are kept as the raw bytes the file system gave, so a name that is not valid UTF-8
// still reaches file operations unchanged through sPathBytes().
class TFoldInfo {
public:
    TFoldInfo(const TFoldInfo&) = delete;
    TFoldInfo& operator=(const TFoldInfo&) = delete;

    // initWithPath:parentFoldInfo:catalogInfo:isFolder: for a node under `parent`, named by
    // the last component of its path. `childCapacity` is ignored for files.
    static TFoldInfo* create(NodeArena& arena, std::string_view name, TFoldInfo* parent,
                             const CatalogInfo& info, bool isFolder);

    // setvalueDetailForFileAndFolder: fills counts, item information, sizes, kind of a
    // folder, times and the read latch from the record.
    void setvalueDetailForFileAndFolder(const CatalogInfo& info);

    // --- names and paths ---
    QString sName() const;                // last path component; a root's display name
    std::string_view nameBytes() const;   // raw bytes of the last component (a root: its path)
    QString sPath() const;                // absolute path, built from the parents
    QByteArray sPathBytes() const;        // the same as raw bytes, for file-system calls
    QString sExt() const;                 // files: extension as written or "Unknown"; folders: null
    std::string_view extBytes() const;    // files: raw extension (empty when none)

    // --- sizes and counts ---
    std::uint64_t cSize() const { return cSize_; }
    void setCSize(std::uint64_t v) { cSize_ = v; }
    std::uint64_t cASize() const { return cASize_; }
    void setCASize(std::uint64_t v) { cASize_ = v; }
    std::int64_t cFiles() const;
    void setCFiles(std::int64_t v);     // ignored on files, which always count 0
    std::int64_t cFolders() const;
    void setCFolders(std::int64_t v);   // ignored on files

    // --- kind ---
    QString fType() const { return KindTable::text(kind_); }
    KindTable::Id kindId() const { return kind_; }
    void setFType(const QString& kind) { kind_ = KindTable::intern(kind); }
    void setKindId(KindTable::Id id) { kind_ = id; }

    // --- times (seconds since 2001-01-01 UTC) ---
    double lATime() const { return lATime_; }
    void setLATime(double v) { lATime_ = v; }
    double lMTime() const { return lMTime_; }
    void setLMTime(double v) { lMTime_ = v; }
    double cTime() const { return cTime_; }
    void setCTime(double v) { cTime_ = v; }

    // --- tree ---
    TFoldInfo* PFoldInfo() const { return parent_; }
    void setPFoldInfo(TFoldInfo* parent) { parent_ = parent; }
    // Children in directory order; empty for files.
    std::span<TFoldInfo* const> SubList() const;
    std::size_t childCount() const;
    TFoldInfo* child(std::size_t index) const { return SubList()[index]; }
    // Index of a child in SubList(), or -1.
    std::ptrdiff_t indexOfChild(const TFoldInfo* node) const;
    // Replaces the child list with `count` nodes copied from `children` (arena memory).
    void setSubList(NodeArena& arena, TFoldInfo* const* children, std::size_t count);
    // Takes a node out of SubList(); false when it is not a child. Sizes are not touched.
    bool removeFromSubList(const TFoldInfo* node);
    bool hasFolderPart() const { return bit(kHasFolderPart); }
    bool isRoot() const { return bit(kIsRoot); }
    // The tree this node belongs to (walks up to the root).
    ScanTree* tree() const;

    // --- flags ---
    ItemAttrInfo itemAttrInfo() const { return {bits_ & ItemFlags::AllBits}; }
    void setItemFlags(std::uint32_t flags) { bits_ = (bits_ & ~ItemFlags::AllBits) | (flags & ItemFlags::AllBits); }
    bool isFolder() const { return bit(kIsFolder); }
    void setIsFolder(bool v) { setBit(kIsFolder, v); }
    bool isApp() const { return bit(kIsApp); }
    void setIsApp(bool v) { setBit(kIsApp, v); }
    bool isNonDeleteableFile() const { return bit(kNonDeletable); }
    void setIsNonDeleteableFile(bool v) { setBit(kNonDeletable, v); }
    // A folder whose listing failed: it could not be opened, or reading it stopped at an
    // error, so what lies beneath it is missing or incomplete. Set by the scanner; views
    // mark such folders and the command-line tool counts them.
    bool isUnreadable() const { return bit(kUnreadable); }
    void setIsUnreadable(bool v) { setBit(kUnreadable, v); }
    bool bRead() const { return bit(kRead); }
    void setBRead(bool v) { setBit(kRead, v); }
    // The share kept for the node (ScanTree::share); 0 until set.
    float fPercent() const;
    void setFPercent(float v);
    bool bPerCalculated() const { return bit(kPerCalculated); }
    void setBPerCalculated(bool v) { setBit(kPerCalculated, v); }

    // Check-box states of the node's rows: 0 unchecked, 1 checked.
    std::int64_t state() const { return bit(kState); }
    void setState(std::int64_t v) { setBit(kState, v != 0); }
    std::int64_t stateAtViewer() const { return bit(kStateAtViewer); }
    void setStateAtViewer(std::int64_t v) { setBit(kStateAtViewer, v != 0); }
    std::int64_t stateAtObsoleteFiles() const { return bit(kStateAtObsolete); }
    void setStateAtObsoleteFiles(std::int64_t v) { setBit(kStateAtObsolete, v != 0); }

    // st_mode as the scan read it (file type and permission bits).
    std::uint16_t mode() const { return mode_; }

    // How the lazily read attribute dictionary stands (see ScanTree::attributes).
    enum class AttrState : std::uint8_t { Absent = 0, Read = 1, Failed = 2 };
    AttrState attrState() const { return AttrState((bits_ >> kAttrShift) & 3u); }
    void setAttrState(AttrState s) { bits_ = (bits_ & ~(3u << kAttrShift)) | (std::uint32_t(s) << kAttrShift); }

private:
    friend class ScanTree;

    struct FolderPart {
        TFoldInfo* const* children;
        std::int64_t cFiles;
        std::int64_t cFolders;
        std::uint32_t count;
        std::uint32_t reserved;
    };
    struct RootPart {
        ScanTree* tree;
        const char* displayName;
        std::uint32_t displayLength;
        std::uint32_t reserved;
    };

    enum Bit : std::uint32_t {
        kIsFolder = 13,
        kIsApp,
        kNonDeletable,
        kRead,
        kPerCalculated,
        kState,
        kStateAtViewer,
        kStateAtObsolete,
        kHasFolderPart,
        kIsRoot,
        kAttrShift, // two bits
        kUnreadable = kAttrShift + 2,
    };

    TFoldInfo() = default;
    static TFoldInfo* allocate(NodeArena& arena, std::string_view name, bool folderPart,
                               bool rootPart);

    bool bit(std::uint32_t b) const { return (bits_ >> b) & 1u; }
    void setBit(std::uint32_t b, bool v) { bits_ = v ? (bits_ | (1u << b)) : (bits_ & ~(1u << b)); }
    FolderPart* folderPart() const;
    RootPart* rootPart() const;
    const char* nameData() const;

    TFoldInfo* parent_ = nullptr;
    std::uint64_t cSize_ = 0;
    std::uint64_t cASize_ = 0;
    double cTime_ = 0;
    double lMTime_ = 0;
    double lATime_ = 0;
    std::uint32_t bits_ = 0;
    KindTable::Id kind_ = KindTable::kNone;
    std::uint16_t mode_ = 0;
};

static_assert(sizeof(TFoldInfo) == 56, "the fixed part of a node must stay at 56 bytes");

// Accumulator of totals over a list of nodes.
struct TFolderInfo {
    std::uint64_t cFoldSize = 0; // sum of cSize of the files counted
    std::int64_t cFolders = 0;
    std::int64_t cFiles = 0;
    std::uint64_t cASize = 0;    // sum of cASize of the files counted
};
