#pragma once

#include "scan/KindTable.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

// The kind of a file from its name's extension, remembered per extension (in lower case):
// the MIME database is asked once per distinct extension, then each name costs one hash
// look-up. Not thread-safe: each scanning thread keeps its own.
class ExtensionKinds {
public:
    // The kind id of a file name: its extension's MIME comment, or "Unknown File Type" when
    // there is none; apostrophes removed.
    KindTable::Id kindForName(std::string_view name);

    // The same, asking the MIME database directly (no memory between calls).
    static KindTable::Id lookUp(std::string_view lowerCaseExtension);

private:
    // Extensions of up to 8 bytes (nearly all) are looked up by their lower-cased bytes
    // packed into one number, in a small open-addressing table: no string is built or
    // hashed per name. Longer ones go through the map below.
    struct Slot {
        std::uint64_t key = 0;
        KindTable::Id id = KindTable::kNone; // kNone: an empty slot
    };
    static constexpr std::size_t kSlots = 1024; // a power of two
    KindTable::Id shortKind(std::string_view extension);
    KindTable::Id longKind(std::string_view extension);

    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
    };
    std::array<Slot, kSlots> slots_{};
    std::size_t used_ = 0;
    std::unordered_map<std::string, KindTable::Id, Hash, std::equal_to<>> kinds_;
    std::string scratch_; // a long extension in lower case
};
