#pragma once

#include <cstddef>
#include <memory>
#include <vector>

// Bump allocator for the nodes of one scan tree and their names. Memory comes in large
// blocks and is released all at once when the arena (the tree) goes away; single nodes are
// never freed, which is what a tree that only ever shrinks by removal needs.
// Not thread-safe: one arena is filled by one thread at a time.
class NodeArena {
public:
    NodeArena() = default;
    NodeArena(const NodeArena&) = delete;
    NodeArena& operator=(const NodeArena&) = delete;
    NodeArena(NodeArena&&) noexcept = default;
    NodeArena& operator=(NodeArena&&) noexcept = default;

    // Returns `bytes` of zeroed memory aligned to 8 bytes. Never returns null.
    void* allocate(std::size_t bytes);

    // Takes over every block of `other` (left empty), so that nodes made in another arena
    // live as long as this one.
    void adopt(NodeArena&& other);

    // Bytes handed out so far and bytes reserved from the system.
    std::size_t usedBytes() const { return used_; }
    std::size_t reservedBytes() const { return reserved_; }

private:
    static constexpr std::size_t kBlockSize = 1u << 20;
    std::vector<std::unique_ptr<std::byte[]>> blocks_;
    std::byte* next_ = nullptr;
    std::size_t left_ = 0;
    std::size_t used_ = 0;
    std::size_t reserved_ = 0;
};
