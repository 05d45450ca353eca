#include "ui/IconProvider.h"

#include "scan/TFoldInfo.h"

#include <QDir>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QStandardPaths>

IconProvider& IconProvider::shared()
{
    static IconProvider provider;
    return provider;
}

void IconProvider::setUpIconTheme()
{
    QStringList paths = QIcon::themeSearchPaths();
    const QStringList dataDirs = QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation);
    for (const QString& dir : dataDirs)
        paths << dir + QStringLiteral("/icons");
    paths << QStringLiteral("/usr/share/icons") << QStringLiteral("/usr/local/share/icons");
    paths.removeDuplicates();
    QIcon::setThemeSearchPaths(paths);
    QIcon::setFallbackThemeName(QStringLiteral("Adwaita"));
    // Without a desktop session Qt names no theme (or only the bare "hicolor").
    const QString current = QIcon::themeName();
    if (current.isEmpty() || current == QLatin1String("hicolor"))
        QIcon::setThemeName(QStringLiteral("Adwaita"));
}

QIcon IconProvider::themed(const QString& name, const QString& fallbackName)
{
    const QString key = name + u'|' + fallbackName;
    auto found = byName_.constFind(key);
    if (found != byName_.constEnd())
        return *found;
    QIcon icon = QIcon::fromTheme(name);
    if (icon.isNull() && !fallbackName.isEmpty())
        icon = QIcon::fromTheme(fallbackName);
    byName_.insert(key, icon);
    return icon;
}

QIcon IconProvider::folderIcon() { return themed(QStringLiteral("folder")); }
QIcon IconProvider::applicationIcon() { return themed(QStringLiteral("application-x-executable"), QStringLiteral("applications-system")); }
QIcon IconProvider::driveIcon() { return themed(QStringLiteral("drive-harddisk")); }
QIcon IconProvider::homeIcon() { return themed(QStringLiteral("user-home"), QStringLiteral("folder")); }
QIcon IconProvider::genericFileIcon() { return themed(QStringLiteral("text-x-generic"), QStringLiteral("unknown")); }

QIcon IconProvider::iconForMimeType(const QString& mimeTypeName)
{
    const QMimeType type = QMimeDatabase().mimeTypeForName(mimeTypeName);
    if (!type.isValid())
        return genericFileIcon();
    QIcon icon = themed(type.iconName(), type.genericIconName());
    return icon.isNull() ? genericFileIcon() : icon;
}

QIcon IconProvider::iconForExtension(const QString& lowerExtension)
{
    auto found = byExtension_.constFind(lowerExtension);
    if (found != byExtension_.constEnd())
        return *found;
    QIcon icon;
    if (!lowerExtension.isEmpty()) {
        // The name alone decides (no file is opened): a made-up name with the extension.
        const QMimeType type = QMimeDatabase().mimeTypeForFile(QStringLiteral("x.") + lowerExtension,
                                                               QMimeDatabase::MatchExtension);
        if (type.isValid() && !type.isDefault())
            icon = themed(type.iconName(), type.genericIconName());
    }
    if (icon.isNull())
        icon = genericFileIcon();
    byExtension_.insert(lowerExtension, icon);
    return icon;
}

QIcon IconProvider::iconForNode(const TFoldInfo* node)
{
    if (!node)
        return {};
    if (node->isApp())
        return applicationIcon();
    if (node->isFolder() || !node->PFoldInfo())
        return folderIcon();
    const std::string_view ext = node->extBytes();
    return iconForExtension(QString::fromUtf8(ext.data(), qsizetype(ext.size())).toLower());
}

QIcon IconProvider::iconForPath(const QString& path, bool isFolder)
{
    if (isFolder)
        return path == QDir::homePath() ? homeIcon() : folderIcon();
    return iconForExtension(QFileInfo(path).suffix().toLower());
}

namespace ActionIcons {
namespace {
QIcon theme(const char* name, const char* fallback)
{
    QIcon icon = QIcon::fromTheme(QLatin1String(name));
    return icon.isNull() ? QIcon::fromTheme(QLatin1String(fallback)) : icon;
}
} // namespace
QIcon trash() { return theme("user-trash", "edit-delete"); }
QIcon copy() { return theme("edit-copy", "edit-copy-symbolic"); }
QIcon move() { return theme("go-jump", "edit-cut"); }
QIcon zip() { return theme("package-x-generic", "application-x-archive"); }
QIcon settings() { return theme("preferences-system", "emblem-system"); }
QIcon selectFolder() { return theme("folder-open", "document-open"); }
QIcon rescan() { return theme("view-refresh", "view-refresh-symbolic"); }
QIcon removeFromTree() { return theme("list-remove", "edit-clear"); }
} // namespace ActionIcons
