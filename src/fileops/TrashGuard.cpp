#include "fileops/TrashGuard.h"

#include "fileops/PathBytes.h"
#include "settings/ExclusionList.h"
#include "settings/Paths.h"

#include <QFile>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace TrashGuard {

namespace {

using FsOps::Failure;

QByteArray bytes(const QString& path) { return PathBytes::clean(QFile::encodeName(path)); }

bool sameItem(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

// The top folder of a mounted volume: "/" or a folder on another device than its parent.
bool isVolumeTop(const QByteArray& folder)
{
    struct stat st, up;
    if (::lstat(folder.constData(), &st) != 0 || !S_ISDIR(st.st_mode))
        return false;
    if (folder == "/")
        return true;
    return ::stat(PathBytes::parent(folder).constData(), &up) == 0 && (up.st_dev != st.st_dev || sameItem(up, st));
}

bool isNumber(const QByteArray& text)
{
    if (text.isEmpty())
        return false;
    for (char c : text)
        if (c < '0' || c > '9')
            return false;
    return true;
}

// True when the folder holds the same folder as `other` (by device and inode).
bool isSameFolder(const QByteArray& folder, const QByteArray& other)
{
    struct stat a, b;
    return ::lstat(folder.constData(), &a) == 0 && S_ISDIR(a.st_mode) && ::stat(other.constData(), &b) == 0
        && sameItem(a, b);
}

// A trash folder: the home trash, or a volume's "$top/.Trash-$uid", "$top/.Trash" or
// "$top/.Trash/$uid" (any user's: this user must not disturb another's trash either).
bool isTrashFolder(const QByteArray& folder)
{
    if (isSameFolder(folder, bytes(Paths::dataHome() + QStringLiteral("/Trash"))))
        return true;
    const QByteArray name = PathBytes::lastComponent(folder);
    const QByteArray up = PathBytes::parent(folder);
    if (name.startsWith(".Trash-") && isNumber(name.mid(7)))
        return isVolumeTop(up);
    if (name == ".Trash")
        return isVolumeTop(up);
    if (isNumber(name) && PathBytes::lastComponent(up) == ".Trash")
        return isVolumeTop(PathBytes::parent(up));
    return false;
}

std::optional<QByteArray> trashRefusal(const QByteArray& item)
{
    if (isTrashFolder(item))
        return QByteArrayLiteral("it is a trash folder");
    const QByteArray name = PathBytes::lastComponent(item);
    const QByteArray up = PathBytes::parent(item);
    if ((name == "files" || name == "info") && isTrashFolder(up))
        return "it is the trash's own “" + name + "” folder";
    if (name.endsWith(".trashinfo") && PathBytes::lastComponent(up) == "info" && isTrashFolder(PathBytes::parent(up)))
        return QByteArrayLiteral("it is the information file of an item in the trash");
    if (FsOps::isSameOrInside(bytes(Paths::dataHome() + QStringLiteral("/Trash")), item))
        return QByteArrayLiteral("it holds the trash");
    return std::nullopt;
}

bool isProtected(const QByteArray& item)
{
    const std::shared_ptr<const ExclusionList> list = ExclusionList::shared();
    for (const QString& entry : list->dirNotDeleted()) {
        const QByteArray protectedPath = bytes(entry);
        if (protectedPath == item || isSameFolder(item, protectedPath))
            return true;
    }
    return false;
}

Failure refuse(const QByteArray& path, const QString& reason) { return Failure{EPERM, path, reason}; }

} // namespace

FsOps::Result refusal(const QByteArray& path)
{
    if (path.isEmpty())
        return Failure{EINVAL, path, QStringLiteral("an empty path names no item")};
    QByteArray trimmed = path;
    while (trimmed.size() > 1 && trimmed.endsWith('/'))
        trimmed.chop(1);
    const QByteArray lastAsGiven = PathBytes::lastComponent(trimmed);
    if (lastAsGiven == "." || lastAsGiven == "..")
        return Failure{EINVAL, path, QStringLiteral("a path ending in “.” or “..” is refused; name the item itself")};

    // The item as it lies on disk: its folder with every link resolved, and its own name
    // (a link stays the link).
    const QByteArray absolute = PathBytes::absolute(path);
    char resolvedParent[PATH_MAX];
    struct stat st;
    if (absolute != "/" && !::realpath(PathBytes::parent(absolute).constData(), resolvedParent))
        return std::nullopt;
    const QByteArray item = absolute == "/" ? absolute : PathBytes::join(QByteArray(resolvedParent), PathBytes::lastComponent(absolute));
    if (::lstat(item.constData(), &st) != 0)
        return std::nullopt;

    if (item == "/")
        return refuse(path, QStringLiteral("it is the root folder"));
    if (S_ISDIR(st.st_mode)) {
        if (isVolumeTop(item))
            return refuse(path, QStringLiteral("it is the top folder of a mounted volume"));
        const QByteArray home = bytes(Paths::home());
        if (isSameFolder(item, home))
            return refuse(path, QStringLiteral("it is the home folder"));
        if (FsOps::isSameOrInside(home, item))
            return refuse(path, QStringLiteral("it holds the home folder"));
        char cwd[PATH_MAX];
        if (::getcwd(cwd, sizeof cwd) && FsOps::isSameOrInside(QByteArray(cwd), item))
            return refuse(path, isSameFolder(item, QByteArray(cwd)) ? QStringLiteral("it is the current folder")
                                                                    : QStringLiteral("it holds the current folder"));
        if (isProtected(item))
            return refuse(path, QStringLiteral("it is a protected system folder (see ExclusionList.plist)"));
    }
    if (const std::optional<QByteArray> why = trashRefusal(item))
        return refuse(path, QString::fromUtf8(*why));
    return std::nullopt;
}

} // namespace TrashGuard
