#include "ui/icons/IconProvider.h"

#include "scan/TFoldInfo.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QStandardPaths>

IconProvider& IconProvider::shared()
{
    // The theme is set up before the first look-up, whoever asks first (a window made
    // without the desktop application, a test).
    static IconProvider provider = [] {
        setUpIconTheme();
        return IconProvider();
    }();
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

// Without any theme the style's plain icons stand in, so no row goes without one.
QIcon IconProvider::folderIcon() { return themeIcon(QStringLiteral("folder"), QStyle::SP_DirIcon); }
QIcon IconProvider::applicationIcon()
{
    return themeIcon(QStringLiteral("application-x-executable"), QStyle::SP_ComputerIcon, QStringLiteral("applications-system"));
}
QIcon IconProvider::programIcon()
{
    QIcon icon = themed(QStringLiteral("quorvel"));
    return icon.isNull() ? QIcon(QStringLiteral(":/icons/quorvel.svg")) : icon;
}
QIcon IconProvider::driveIcon() { return themeIcon(QStringLiteral("drive-harddisk"), QStyle::SP_DriveHDIcon); }
QIcon IconProvider::homeIcon() { return themeIcon(QStringLiteral("user-home"), QStyle::SP_DirHomeIcon, QStringLiteral("folder")); }
QIcon IconProvider::genericFileIcon()
{
    return themeIcon(QStringLiteral("text-x-generic"), QStyle::SP_FileIcon, QStringLiteral("unknown"));
}

QIcon IconProvider::themeIcon(const QString& name, QStyle::StandardPixmap fallback, const QString& alternative)
{
    QIcon icon = themed(name, alternative);
    if (icon.isNull() && QApplication::style())
        icon = QApplication::style()->standardIcon(fallback);
    return icon;
}

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
QIcon theme(const char* name, const char* alternative, QStyle::StandardPixmap fallback)
{
    return IconProvider::shared().themeIcon(QLatin1String(name), fallback, QLatin1String(alternative));
}
} // namespace
QIcon trash() { return theme("user-trash", "edit-delete", QStyle::SP_TrashIcon); }
QIcon copy() { return theme("edit-copy", "edit-copy-symbolic", QStyle::SP_FileDialogNewFolder); }
QIcon move() { return theme("go-jump", "edit-cut", QStyle::SP_ArrowForward); }
QIcon zip() { return theme("package-x-generic", "application-x-archive", QStyle::SP_DriveFDIcon); }
QIcon settings() { return theme("preferences-system", "emblem-system", QStyle::SP_FileDialogDetailedView); }
QIcon selectFolder() { return theme("folder-open", "document-open", QStyle::SP_DirOpenIcon); }
QIcon rescan() { return theme("view-refresh", "view-refresh-symbolic", QStyle::SP_BrowserReload); }
QIcon removeFromTree() { return theme("list-remove", "edit-clear", QStyle::SP_DialogDiscardButton); }
} // namespace ActionIcons
