#include "scan/ScanTree.h"

#include <QFile>

#include <cstring>

ScanTree::ScanTree(const QString& path, const QString& displayName) : ScanTree(QFile::encodeName(path), displayName) {}

ScanTree::ScanTree(const QByteArray& pathBytes, const QString& displayName)
{
    root_ = TFoldInfo::allocate(arena_, std::string_view(pathBytes.constData(), size_t(pathBytes.size())),
                                true, true);
    TFoldInfo::RootPart* part = root_->rootPart();
    part->tree = this;
    const QByteArray display = displayName.toUtf8();
    char* copy = static_cast<char*>(arena_.allocate(size_t(display.size()) + 1));
    std::memcpy(copy, display.constData(), size_t(display.size()));
    part->displayName = copy;
    part->displayLength = std::uint32_t(display.size());
}
