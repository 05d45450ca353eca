#pragma once

#include <QHash>
#include <QIcon>
#include <QString>
#include <QStyle>

class TFoldInfo;

// Icons from the desktop's icon theme. File icons come from the file's MIME type as its
// name says (QMimeDatabase -> theme icon, then the type's generic icon), looked up once per
// extension and kept, so a table of a million files costs a hash look-up per row. Nothing
// here reads a file's contents.
class IconProvider {
public:
    // The one provider of the process (main thread only).
    static IconProvider& shared();

    // Makes theme icons available also where no desktop set a theme (offscreen, bare
    // window managers): adds the system icon folders to the search path and names the
    // installed fallback theme. shared() calls it on first use; needs the QApplication.
    static void setUpIconTheme();

    // The icon of a scanned node: a folder, an application, or the file's type.
    QIcon iconForNode(const TFoldInfo* node);
    // The icon of a path as its name says (a folder when `isFolder`).
    QIcon iconForPath(const QString& path, bool isFolder);
    // The icon of a MIME type by name ("image/png"); the generic file icon when unknown.
    QIcon iconForMimeType(const QString& mimeTypeName);

    QIcon folderIcon();
    QIcon applicationIcon();
    // Quorvel's own icon: the installed theme icon, else the one built into the program.
    QIcon programIcon();
    QIcon driveIcon();
    QIcon homeIcon();
    QIcon genericFileIcon();
    // A named theme icon (toolbars, panes, buttons), else the theme's `alternative`, else
    // the style's standard icon, so a button never shows blank.
    QIcon themeIcon(const QString& name, QStyle::StandardPixmap fallback, const QString& alternative = {});

    // Number of distinct kinds looked up so far (one per extension).
    int cachedKindCount() const { return int(byExtension_.size()); }

private:
    QIcon themed(const QString& name, const QString& fallbackName = {});
    QIcon iconForExtension(const QString& lowerExtension);

    QHash<QString, QIcon> byExtension_;
    QHash<QString, QIcon> byName_;
};

// Theme icons of the windows' commands (main window and file viewer alike).
namespace ActionIcons {
QIcon trash();
QIcon copy();
QIcon move();
QIcon zip();
QIcon settings();
QIcon selectFolder();
QIcon rescan();
QIcon removeFromTree();
} // namespace ActionIcons
