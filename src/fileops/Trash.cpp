#include "fileops/Trash.h"

#include "fileops/PathBytes.h"
#include "fileops/SystemCalls.h"
#include "settings/Paths.h"

#include <QDateTime>
#include <QFile>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Trash {

namespace {

using FsOps::Failure;
using FsOps::Result;

const char kInfoSuffix[] = ".trashinfo";
constexpr int kNameMax = 255;

QByteArray bytes(const QString& path) { return PathBytes::clean(QFile::encodeName(path)); }

// A trash folder this user may use: an existing folder (not a link) that the user owns,
// or one made now with owner-only access.
bool makeUserTrashFolder(const QByteArray& path)
{
    if (FsOps::systemCalls().mkdir(path.constData(), 0700) == 0)
        return true;
    if (errno != EEXIST)
        return false;
    struct stat st;
    return ::lstat(path.constData(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::geteuid();
}

bool makeFolder(const QByteArray& path)
{
    if (FsOps::systemCalls().mkdir(path.constData(), 0700) == 0)
        return true;
    struct stat st;
    return errno == EEXIST && ::stat(path.constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

// The top folder of the file system that holds `resolvedFolder` (a path without links).
QByteArray mountTop(const QByteArray& resolvedFolder, dev_t device)
{
    QByteArray at = resolvedFolder;
    while (at != "/") {
        const QByteArray up = PathBytes::parent(at);
        struct stat st;
        if (up.isEmpty() || ::stat(up.constData(), &st) != 0 || st.st_dev != device)
            return at;
        at = up;
    }
    return at;
}

// The trash of a file system other than the home one, or empty when it has none usable.
QByteArray topTrash(const QByteArray& top)
{
    const QByteArray uid = QByteArray::number(qulonglong(::geteuid()));
    const QByteArray shared = PathBytes::join(top, ".Trash");
    struct stat st;
    // An administrator's shared trash counts only when it is a real folder with the sticky
    // bit; a link there could point anywhere.
    if (::lstat(shared.constData(), &st) == 0 && S_ISDIR(st.st_mode) && (st.st_mode & S_ISVTX)) {
        const QByteArray mine = PathBytes::join(shared, uid);
        if (makeUserTrashFolder(mine))
            return mine;
    }
    const QByteArray own = PathBytes::join(top, ".Trash-" + uid);
    return makeUserTrashFolder(own) ? own : QByteArray();
}

bool writeAll(int fd, const QByteArray& data)
{
    const char* p = data.constData();
    qsizetype left = data.size();
    while (left > 0) {
        const ssize_t n = FsOps::systemCalls().write(fd, p, size_t(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        p += n;
        left -= n;
    }
    return true;
}

// Writes the information file of a trashed item; false (errno set) when it cannot be
// written whole.
bool writeInfo(int fd, const QByteArray& originalPath)
{
    const QByteArray text = "[Trash Info]\nPath=" + originalPath.toPercentEncoding("/")
        + "\nDeletionDate="
        + QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd'T'HH:mm:ss")).toLatin1() + '\n';
    return writeAll(fd, text);
}

// The n-th name tried in the trash: the item's own name, then "name-0000", "name-0001" ...
// shortened when needed so that the information file's name still fits.
QByteArray candidateName(const QByteArray& name, int attempt)
{
    const int room = kNameMax - int(sizeof kInfoSuffix - 1);
    if (attempt == 0 && name.size() <= room)
        return name;
    const QByteArray suffix = '-' + QByteArray::number(qMax(0, attempt - 1)).rightJustified(4, '0');
    return name.left(room - suffix.size()) + suffix;
}

} // namespace

Result moveToTrash(const QByteArray& absolutePath, QByteArray* trashedAt)
{
    const QByteArray path = PathBytes::clean(absolutePath);
    const QByteArray name = PathBytes::lastComponent(path);
    struct stat item;
    if (::lstat(path.constData(), &item) != 0)
        return Failure{errno, path, {}};
    if (name.isEmpty() || name == "..")
        return Failure{EINVAL, path, QStringLiteral("this folder cannot be moved to the trash")};

    const QByteArray parent = PathBytes::parent(path);
    struct stat parentStat;
    if (::stat(parent.constData(), &parentStat) != 0)
        return Failure{errno, parent, {}};

    // Without the data folder there is no home trash; make it rather than trash elsewhere.
    const QByteArray dataHome = bytes(Paths::dataHome());
    struct stat dataStat;
    if (!Paths::ensureFolder(Paths::dataHome()) || ::stat(dataHome.constData(), &dataStat) != 0)
        return Failure{errno ? errno : EACCES, dataHome, {}};

    QByteArray trashDir;
    QByteArray pathForInfo = path;
    if (dataStat.st_dev == parentStat.st_dev) {
        trashDir = PathBytes::join(dataHome, "Trash");
        if (!makeFolder(trashDir))
            return Failure{errno, trashDir, {}};
    } else {
        char resolved[PATH_MAX];
        if (!::realpath(parent.constData(), resolved))
            return Failure{errno, parent, {}};
        const QByteArray top = mountTop(QByteArray(resolved), parentStat.st_dev);
        trashDir = topTrash(top);
        if (trashDir.isEmpty())
            return Failure{EXDEV, path, QStringLiteral("its file system has no trash that could take it")};
        // The trash of a removable disk names its items relative to the disk's top, so
        // they can be put back wherever the disk is mounted next time.
        pathForInfo = PathBytes::join(QByteArray(resolved), name);
        if (top != "/")
            pathForInfo = pathForInfo.mid(top.size() + 1);
    }

    const QByteArray filesDir = PathBytes::join(trashDir, "files");
    const QByteArray infoDir = PathBytes::join(trashDir, "info");
    if (!makeFolder(filesDir))
        return Failure{errno, filesDir, {}};
    if (!makeFolder(infoDir))
        return Failure{errno, infoDir, {}};

    // The information file is made first and exclusively, as the trash rules ask, so two
    // programs trashing the same name at once end up with two different entries.
    for (int attempt = 0; attempt < 100000; ++attempt) {
        const QByteArray trashName = candidateName(name, attempt);
        const QByteArray infoPath = PathBytes::join(infoDir, trashName + kInfoSuffix);
        const int fd = FsOps::systemCalls().open(infoPath.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0) {
            if (errno == EEXIST)
                continue;
            return Failure{errno, infoPath, {}};
        }
        const bool written = writeInfo(fd, pathForInfo);
        int err = written ? 0 : errno;
        if (FsOps::systemCalls().close(fd) != 0 && written)
            err = errno;
        if (err != 0) {
            FsOps::systemCalls().unlinkat(AT_FDCWD, infoPath.constData(), 0);
            return Failure{err, infoPath, {}};
        }
        const QByteArray target = PathBytes::join(filesDir, trashName);
        err = FsOps::renameNoReplace(path, target);
        if (err == EEXIST) {
            FsOps::systemCalls().unlinkat(AT_FDCWD, infoPath.constData(), 0);
            continue;
        }
        if (err != 0) {
            FsOps::systemCalls().unlinkat(AT_FDCWD, infoPath.constData(), 0);
            return Failure{err, path, {}};
        }
        // The rename said yes; make sure the very item now lies in the trash.
        struct stat moved;
        if (::lstat(target.constData(), &moved) != 0 || moved.st_ino != item.st_ino || moved.st_dev != item.st_dev)
            return Failure{EIO, path, QStringLiteral("the trash did not receive it")};
        if (trashedAt)
            *trashedAt = target;
        return std::nullopt;
    }
    return Failure{EEXIST, path, QStringLiteral("the trash holds too many items of that name")};
}

bool liesDirectlyInHomeTrash(const QByteArray& absolutePath)
{
    const QByteArray folder = PathBytes::parent(PathBytes::clean(absolutePath));
    const QByteArray trash = bytes(Paths::trashFiles());
    if (PathBytes::display(folder).toLower() != PathBytes::display(trash).toLower())
        return false;
    struct stat a, b;
    return ::stat(folder.constData(), &a) == 0 && ::stat(trash.constData(), &b) == 0 && a.st_dev == b.st_dev
        && a.st_ino == b.st_ino;
}

Result deleteFromHomeTrash(const QByteArray& absolutePath)
{
    const QByteArray path = PathBytes::clean(absolutePath);
    if (Result r = FsOps::removeItem(path))
        return r;
    const QByteArray trashDir = PathBytes::parent(PathBytes::parent(path));
    const QByteArray info = PathBytes::join(PathBytes::join(trashDir, "info"), PathBytes::lastComponent(path) + kInfoSuffix);
    FsOps::systemCalls().unlinkat(AT_FDCWD, info.constData(), 0); // the item may never have had one
    return std::nullopt;
}

} // namespace Trash
