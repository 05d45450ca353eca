#include "reports/GroupFilter.h"

#include <algorithm>

namespace {

bool isAscii(std::string_view bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return (unsigned char)c < 0x80; });
}

std::string lowerUtf8(const QString& text)
{
    const QByteArray bytes = text.toLower().toUtf8();
    return std::string(bytes.constData(), std::size_t(bytes.size()));
}

} // namespace

bool lowerCaseExtensionKey(const TFoldInfo& node, std::string& out)
{
    if (node.isFolder())
        return false;
    const std::string_view ext = node.extBytes();
    if (ext.empty()) {
        out.assign("unknown");
        return true;
    }
    if (isAscii(ext)) {
        // ASCII lower-casing is what QString::toLower does to ASCII text.
        out.assign(ext.data(), ext.size());
        for (char& c : out)
            if (c >= 'A' && c <= 'Z')
                c = char(c - 'A' + 'a');
        return true;
    }
    out = lowerUtf8(node.sExt());
    return true;
}

GroupFilter::GroupFilter(const QStringList& extensions)
{
    extensions_.reserve(std::size_t(extensions.size()));
    for (const QString& ext : extensions) {
        std::string key = lowerUtf8(ext);
        if (lookup_.insert(key).second)
            extensions_.push_back(std::move(key));
    }
}

bool GroupFilter::matches(const TFoldInfo& node) const
{
    std::string key;
    if (!lowerCaseExtensionKey(node, key))
        return false;
    return lookup_.contains(key);
}

void ExtensionIndex::add(const GroupFilter& filter, int group)
{
    for (const std::string& ext : filter.extensions())
        groups_.emplace(ext, group);
}

int ExtensionIndex::groupOf(const TFoldInfo& node) const
{
    std::string key;
    if (groups_.empty() || !lowerCaseExtensionKey(node, key))
        return -1;
    const auto it = groups_.find(key);
    return it == groups_.end() ? -1 : it->second;
}
