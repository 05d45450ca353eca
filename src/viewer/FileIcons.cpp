#include "viewer/FileIcons.h"

#include <QApplication>
#include <QFileInfo>
#include <QHash>
#include <QMimeDatabase>
#include <QStyle>

namespace FileIcons {

namespace {

QIcon styleIcon(QStyle::StandardPixmap pixmap) { return QApplication::style()->standardIcon(pixmap); }

QIcon typeIcon(const QString& path)
{
    static QMimeDatabase mimes;
    const QMimeType type = mimes.mimeTypeForFile(path, QMimeDatabase::MatchExtension);
    QIcon icon = QIcon::fromTheme(type.iconName());
    if (icon.isNull())
        icon = QIcon::fromTheme(type.genericIconName());
    if (icon.isNull())
        icon = QIcon::fromTheme(QStringLiteral("text-x-generic"), styleIcon(QStyle::SP_FileIcon));
    return icon;
}

} // namespace

QIcon iconForPath(const QString& path, bool isFolder)
{
    static QHash<QString, QIcon> cache;
    if (isFolder) {
        static const QIcon folder = QIcon::fromTheme(QStringLiteral("folder"), styleIcon(QStyle::SP_DirIcon));
        return folder;
    }
    const QString extension = QFileInfo(path).suffix().toLower();
    auto it = cache.constFind(extension);
    if (it == cache.cend())
        it = cache.insert(extension, typeIcon(path));
    return *it;
}

QIcon themeIcon(const QString& name, int fallbackStandardPixmap)
{
    return QIcon::fromTheme(name, styleIcon(QStyle::StandardPixmap(fallbackStandardPixmap)));
}

} // namespace FileIcons
