#include "scan/TFoldInfo.h"

#include "scan/NodeArena.h"
#include "scan/ScanTree.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace {

constexpr std::size_t kFolderPartSize = 32;
constexpr std::size_t kRootPartSize = 24;

} // namespace

TFoldInfo* TFoldInfo::allocate(NodeArena& arena, std::string_view name, bool folderPart, bool rootPart)
{
    static_assert(sizeof(FolderPart) == kFolderPartSize);
    static_assert(sizeof(RootPart) == kRootPartSize);
    // A name ends at its first NUL; no file name holds one.
    const std::size_t length = std::min(name.size(), name.find('\0'));
    const std::size_t bytes = sizeof(TFoldInfo) + (folderPart ? kFolderPartSize : 0)
                              + (rootPart ? kRootPartSize : 0) + length + 1;
    void* memory = arena.allocate(bytes);
    auto* node = new (memory) TFoldInfo();
    node->setBit(kHasFolderPart, folderPart);
    node->setBit(kIsRoot, rootPart);
    std::memcpy(const_cast<char*>(node->nameData()), name.data(), length);
    return node;
}

TFoldInfo* TFoldInfo::create(NodeArena& arena, std::string_view name, TFoldInfo* parent,
                             const CatalogInfo& info, bool isFolder)
{
    TFoldInfo* node = allocate(arena, name, isFolder, false);
    node->parent_ = parent;
    node->setIsFolder(isFolder);
    node->setvalueDetailForFileAndFolder(info);
    return node;
}

void TFoldInfo::setvalueDetailForFileAndFolder(const CatalogInfo& info)
{
    setCFiles(0);
    setCFolders(0);
    setItemFlags(info.itemFlags);
    mode_ = info.mode;
    if (isFolder()) {
        cASize_ = 0;
        cSize_ = 0;
        kind_ = KindTable::kFileFolder;
    } else {
        cSize_ = info.logicalSize;
        cASize_ = info.physicalSize;
    }
    cTime_ = info.creationDate;
    lMTime_ = info.modificationDate;
    lATime_ = info.accessDate;
    setBRead(false);
}

TFoldInfo::FolderPart* TFoldInfo::folderPart() const
{
    if (!hasFolderPart())
        return nullptr;
    auto* base = reinterpret_cast<const std::byte*>(this) + sizeof(TFoldInfo);
    return reinterpret_cast<FolderPart*>(const_cast<std::byte*>(base));
}

TFoldInfo::RootPart* TFoldInfo::rootPart() const
{
    if (!isRoot())
        return nullptr;
    auto* base = reinterpret_cast<const std::byte*>(this) + sizeof(TFoldInfo) + kFolderPartSize;
    return reinterpret_cast<RootPart*>(const_cast<std::byte*>(base));
}

const char* TFoldInfo::nameData() const
{
    const std::size_t offset = sizeof(TFoldInfo) + (hasFolderPart() ? kFolderPartSize : 0)
                               + (isRoot() ? kRootPartSize : 0);
    return reinterpret_cast<const char*>(this) + offset;
}

std::string_view TFoldInfo::nameBytes() const { return nameData(); }

QString TFoldInfo::sName() const
{
    if (const RootPart* root = rootPart())
        return QString::fromUtf8(root->displayName, qsizetype(root->displayLength));
    const std::string_view name = nameBytes();
    return QString::fromUtf8(name.data(), qsizetype(name.size()));
}

QByteArray TFoldInfo::sPathBytes() const
{
    if (!parent_)
        return QByteArray(nameData());
    // Built from the end backwards in one allocation, without recursion, so a node at any
    // depth has a path. The root's name is a path: "dir/" and "dir//" give "dir/name", as
    // path joining does.
    const TFoldInfo* root = this;
    qsizetype length = 0;
    for (; root->parent_; root = root->parent_)
        length += qsizetype(std::strlen(root->nameData())) + 1;
    std::string_view prefix = root->nameBytes();
    while (prefix.size() > 1 && prefix.back() == '/')
        prefix.remove_suffix(1);
    if (!prefix.empty() && prefix.back() == '/')
        prefix.remove_suffix(1); // the separator comes with the first name
    QByteArray out(qsizetype(prefix.size()) + length, Qt::Uninitialized);
    char* end = out.data() + out.size();
    for (const TFoldInfo* node = this; node->parent_; node = node->parent_) {
        const std::size_t size = std::strlen(node->nameData());
        end -= size;
        std::memcpy(end, node->nameData(), size);
        *--end = '/';
    }
    std::memcpy(out.data(), prefix.data(), prefix.size());
    return out;
}

QString TFoldInfo::sPath() const { return QString::fromUtf8(sPathBytes()); }

std::string_view TFoldInfo::extBytes() const
{
    const std::string_view name = nameBytes();
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos)
        return {};
    return name.substr(dot + 1);
}

QString TFoldInfo::sExt() const
{
    if (isFolder())
        return QString();
    const std::string_view ext = extBytes();
    if (ext.empty())
        return QStringLiteral("Unknown");
    return QString::fromUtf8(ext.data(), qsizetype(ext.size()));
}

std::int64_t TFoldInfo::cFiles() const
{
    const FolderPart* part = folderPart();
    return part ? part->cFiles : 0;
}

void TFoldInfo::setCFiles(std::int64_t v)
{
    if (FolderPart* part = folderPart())
        part->cFiles = v;
}

std::int64_t TFoldInfo::cFolders() const
{
    const FolderPart* part = folderPart();
    return part ? part->cFolders : 0;
}

void TFoldInfo::setCFolders(std::int64_t v)
{
    if (FolderPart* part = folderPart())
        part->cFolders = v;
}

std::span<TFoldInfo* const> TFoldInfo::SubList() const
{
    const FolderPart* part = folderPart();
    if (!part || !part->children)
        return {};
    return {part->children, part->count};
}

std::size_t TFoldInfo::childCount() const
{
    const FolderPart* part = folderPart();
    return part ? part->count : 0;
}

std::ptrdiff_t TFoldInfo::indexOfChild(const TFoldInfo* node) const
{
    const auto list = SubList();
    const auto it = std::find(list.begin(), list.end(), node);
    return it == list.end() ? -1 : it - list.begin();
}

void TFoldInfo::setSubList(NodeArena& arena, TFoldInfo* const* children, std::size_t count)
{
    FolderPart* part = folderPart();
    if (!part)
        return;
    if (count == 0) {
        part->children = nullptr;
        part->count = 0;
        return;
    }
    auto* copy = static_cast<TFoldInfo**>(arena.allocate(count * sizeof(TFoldInfo*)));
    std::copy(children, children + count, copy);
    part->children = copy;
    part->count = std::uint32_t(count);
}

bool TFoldInfo::removeFromSubList(const TFoldInfo* node)
{
    FolderPart* part = folderPart();
    const std::ptrdiff_t index = indexOfChild(node);
    if (!part || index < 0)
        return false;
    auto* children = const_cast<TFoldInfo**>(part->children);
    std::copy(children + index + 1, children + part->count, children + index);
    --part->count;
    return true;
}

float TFoldInfo::fPercent() const
{
    const ScanTree* owner = tree();
    return owner ? owner->share(this) : 0.0f;
}

void TFoldInfo::setFPercent(float v)
{
    if (ScanTree* owner = tree())
        owner->setShare(this, v);
}

ScanTree* TFoldInfo::tree() const
{
    const TFoldInfo* node = this;
    while (node->parent_)
        node = node->parent_;
    const RootPart* root = node->rootPart();
    return root ? root->tree : nullptr;
}
