#include "scan/NodeArena.h"

#include <cstring>

void* NodeArena::allocate(std::size_t bytes)
{
    bytes = (bytes + 7) & ~std::size_t(7);
    if (bytes > left_) {
        // Oversized requests (a folder's child array of a huge folder) get a block of
        // their own, so the current block keeps serving small nodes.
        const std::size_t size = bytes > kBlockSize / 4 ? bytes : kBlockSize;
        // Not value-initialised: pages stay untouched (and unbacked) until a node lands there.
        auto block = std::unique_ptr<std::byte[]>(new std::byte[size]);
        std::byte* start = block.get();
        blocks_.push_back(std::move(block));
        reserved_ += size;
        if (size != kBlockSize) {
            used_ += bytes;
            std::memset(start, 0, bytes);
            return start;
        }
        next_ = start;
        left_ = size;
    }
    std::byte* out = next_;
    next_ += bytes;
    left_ -= bytes;
    used_ += bytes;
    std::memset(out, 0, bytes);
    return out;
}

void NodeArena::adopt(NodeArena&& other)
{
    for (auto& block : other.blocks_)
        blocks_.push_back(std::move(block));
    used_ += other.used_;
    reserved_ += other.reserved_;
    other.blocks_.clear();
    other.next_ = nullptr;
    other.left_ = other.used_ = other.reserved_ = 0;
}
