#include "scan/ExtensionKinds.h"

#include <QMimeDatabase>

namespace {

char lower(char c) { return (c >= 'A' && c <= 'Z') ? char(c + 32) : c; }

} // namespace

KindTable::Id ExtensionKinds::kindForName(std::string_view name)
{
    const std::size_t dot = name.rfind('.');
    const std::string_view extension = dot == std::string_view::npos ? std::string_view() : name.substr(dot + 1);
    return extension.size() <= 8 ? shortKind(extension) : longKind(extension);
}

KindTable::Id ExtensionKinds::shortKind(std::string_view extension)
{
    // Bytes of a name are never NUL, so the zero padding tells the lengths apart; the empty
    // extension packs to 0 like any other key.
    std::uint64_t key = 0;
    for (std::size_t i = 0; i < extension.size(); ++i)
        key |= std::uint64_t(static_cast<unsigned char>(lower(extension[i]))) << (8 * i);
    std::size_t at = std::size_t((key * 0x9E3779B97F4A7C15ull) >> 54) & (kSlots - 1);
    for (;; at = (at + 1) & (kSlots - 1)) {
        Slot& slot = slots_[at];
        if (slot.id != KindTable::kNone && slot.key == key)
            return slot.id;
        if (slot.id == KindTable::kNone)
            break;
    }
    char bytes[8];
    for (std::size_t i = 0; i < extension.size(); ++i)
        bytes[i] = lower(extension[i]);
    const std::string_view lowered(bytes, extension.size());
    // Kept here while the table stays at most half full; beyond that (a tree with hundreds
    // of distinct short extensions) the rest go through the map.
    const bool full = used_ >= kSlots / 2;
    if (full)
        if (auto it = kinds_.find(lowered); it != kinds_.end())
            return it->second;
    const KindTable::Id id = lookUp(lowered);
    if (full) {
        kinds_.emplace(std::string(lowered), id);
    } else {
        slots_[at] = Slot{key, id};
        ++used_;
    }
    return id;
}

KindTable::Id ExtensionKinds::longKind(std::string_view extension)
{
    scratch_.resize(extension.size());
    for (std::size_t i = 0; i < extension.size(); ++i)
        scratch_[i] = lower(extension[i]);
    if (auto it = kinds_.find(std::string_view(scratch_)); it != kinds_.end())
        return it->second;
    const KindTable::Id id = lookUp(scratch_);
    kinds_.emplace(scratch_, id);
    return id;
}

KindTable::Id ExtensionKinds::lookUp(std::string_view ext)
{
    // Ask about the extension alone, so one answer serves every name that shares it,
    // whichever name came first.
    static thread_local QMimeDatabase database;
    QString kind;
    if (!ext.empty()) {
        const QMimeType type = database.mimeTypeForFile(
            QStringLiteral("x.") + QString::fromUtf8(ext.data(), qsizetype(ext.size())), QMimeDatabase::MatchExtension);
        if (type.isValid() && !type.isDefault())
            kind = type.comment();
    }
    if (kind.isEmpty())
        kind = QStringLiteral("Unknown File Type");
    kind.remove(QLatin1Char('\''));
    return KindTable::intern(kind);
}
