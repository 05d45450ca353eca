#include "scan/ExtensionKinds.h"

#include <QMimeDatabase>

KindTable::Id ExtensionKinds::kindForName(std::string_view name)
{
    const std::size_t dot = name.rfind('.');
    const std::string_view raw = dot == std::string_view::npos ? std::string_view() : name.substr(dot + 1);
    scratch_.resize(raw.size());
    for (std::size_t i = 0; i < raw.size(); ++i) {
        const char c = raw[i];
        scratch_[i] = (c >= 'A' && c <= 'Z') ? char(c + 32) : c;
    }
    const std::string_view ext = scratch_;
    if (lastKind_ != KindTable::kNone && ext == lastExtension_)
        return lastKind_;
    KindTable::Id id;
    if (auto it = kinds_.find(ext); it != kinds_.end()) {
        id = it->second;
    } else {
        id = lookUp(ext);
        kinds_.emplace(std::string(ext), id);
    }
    lastExtension_.assign(ext);
    lastKind_ = id;
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
