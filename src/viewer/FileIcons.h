#pragma once

#include <QIcon>
#include <QString>

// Icons for files and folders by their type, from the desktop's icon theme (the MIME type's
// icon, then its generic icon, then the theme's plain folder or file icon, then the
// style's). Main thread only; icons are cached per lower-case extension.
namespace FileIcons {

QIcon iconForPath(const QString& path, bool isFolder);

// A named theme icon with the style's standard icon as fall-back (toolbars, panes).
QIcon themeIcon(const QString& name, int fallbackStandardPixmap);

} // namespace FileIcons
