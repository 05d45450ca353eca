#pragma once

#include "scan/KindTable.h"

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
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
    };
    std::unordered_map<std::string, KindTable::Id, Hash, std::equal_to<>> kinds_;
    // The last extension seen and its kind: neighbours in a folder often share it.
    std::string lastExtension_;
    std::string scratch_; // the lower-cased extension of the name being looked up
    KindTable::Id lastKind_ = KindTable::kNone;
};
