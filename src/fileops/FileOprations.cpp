#include "fileops/FileOprations.h"

#include "base/UserInterface.h"
#include "fileops/FileSystemOps.h"
#include "fileops/PathBytes.h"
#include "fileops/Trash.h"
#include "fileops/TrashGuard.h"
#include "settings/Log.h"

#include <QFile>

#include <cerrno>
#include <sys/stat.h>

namespace {

using PathBytes::display;

QByteArray bytes(const QString& path) { return QFile::encodeName(path); }

// How many times a free name is looked for again when another program takes it between
// the look-up and the copy.
constexpr int kNameAttempts = 100;

// "Permission denied", or "“x.jpg”: Permission denied" when the failure was on an item
// inside the one being copied.
QString reasonFor(const FsOps::Failure& failure, const QByteArray& source, const QByteArray& target)
{
    if (failure.path.isEmpty() || failure.path == source || failure.path == target)
        return failure.text();
    return QStringLiteral("“%1”: %2").arg(display(PathBytes::lastComponent(failure.path)), failure.text());
}

} // namespace

FileOprations::FileOprations(UserInterface* ui) : ui_(ui) {}

QString FileOprations::failureAlertText(const QString& description)
{
    return description + QStringLiteral(" or because it\u2019s required by OS\u00A0X.");
}

void FileOprations::reportFailure(const QString& logPrefix, const QString& description)
{
    lastError_ = description;
    qvlog(logPrefix + description);
    if (ui_)
        ui_->alert(QString(), failureAlertText(description));
}

// --- reveal and open ---

void FileOprations::showInFinder(const QString& path)
{
    qvlog(QStringLiteral("showInFinder:") + path);
    if (ui_)
        ui_->reveal(path);
}

void FileOprations::openFile(const QString& path)
{
    qvlog(QStringLiteral("openFile:") + path);
    if (!ui_ || !PathBytes::exists(bytes(path))) {
        qvlog(QStringLiteral("File Not Open at Path:") + path);
        return;
    }
    ui_->open(path);
}

// --- free names ---

QString FileOprations::getFileTargetPath(const QString& path)
{
    return QFile::decodeName(getFileTargetPath(bytes(path)));
}

QByteArray FileOprations::getFileTargetPath(const QByteArray& path)
{
    if (!PathBytes::exists(path))
        return path;
    const QByteArray clean = PathBytes::clean(path);
    const QByteArray folder = PathBytes::parent(clean);
    const PathBytes::NameParts parts = PathBytes::splitExtension(PathBytes::lastComponent(clean));
    for (qint64 k = 1;; ++k) {
        QByteArray name = parts.base + ' ' + QByteArray::number(k);
        if (!parts.extension.isEmpty())
            name += '.' + parts.extension;
        const QByteArray candidate = PathBytes::join(folder, name);
        if (!PathBytes::exists(candidate))
            return candidate;
    }
}

QString FileOprations::makeZipFilePathAtPath(const QString& atPath, const QString& name)
{
    return QFile::decodeName(makeZipFilePathAtPath(bytes(atPath), bytes(name)));
}

QByteArray FileOprations::makeZipFilePathAtPath(const QByteArray& atPath, const QByteArray& name)
{
    QByteArray candidate = name;
    for (qint64 k = 1; PathBytes::exists(PathBytes::join(atPath, candidate + ".zip")); ++k)
        candidate = name + ' ' + QByteArray::number(k);
    return candidate + ".zip";
}

// --- copy and move ---

bool FileOprations::copyFileFromPath(const QString& fromPath, const QString& toPath)
{
    return copyFileFromPath(bytes(fromPath), bytes(toPath));
}

bool FileOprations::copyFileFromPath(const QByteArray& fromPath, const QByteArray& toPath)
{
    qvlog(QStringLiteral("copyFileFromPath:%1 toPath:%2").arg(display(fromPath), display(toPath)));
    return transfer(Transfer::Copy, fromPath, toPath);
}

bool FileOprations::moveFileFromPath(const QString& fromPath, const QString& toPath)
{
    return moveFileFromPath(bytes(fromPath), bytes(toPath));
}

bool FileOprations::moveFileFromPath(const QByteArray& fromPath, const QByteArray& toPath)
{
    qvlog(QStringLiteral("moveFileFromPath:%1 toPath:%2").arg(display(fromPath), display(toPath)));
    return transfer(Transfer::Move, fromPath, toPath);
}

bool FileOprations::transfer(Transfer kind, const QByteArray& fromPath, const QByteArray& toPath)
{
    lastError_.clear();
    const bool copying = kind == Transfer::Copy;
    const QByteArray source = PathBytes::absolute(fromPath);
    const QByteArray folder = PathBytes::absolute(toPath);
    const QByteArray name = PathBytes::lastComponent(source);
    QByteArray target;

    const auto fail = [&](const FsOps::Failure& failure) {
        const QString description =
            QStringLiteral("“%1” couldn’t be %2 to “%3” (%4)")
                .arg(display(name.isEmpty() ? source : name), copying ? QStringLiteral("copied") : QStringLiteral("moved"),
                     display(PathBytes::lastComponent(folder).isEmpty() ? folder : PathBytes::lastComponent(folder)),
                     reasonFor(failure, source, target));
        reportFailure(copying ? QStringLiteral("Error coping file:") : QStringLiteral("Error moving file:"), description);
        return false;
    };

    struct stat st;
    if (name.isEmpty() || name == "..")
        return fail({EINVAL, source, QStringLiteral("this folder cannot be taken from its place")});
    if (::lstat(source.constData(), &st) != 0)
        return fail({errno, source, {}});
    if (!copying && S_ISDIR(st.st_mode)) {
        struct stat parent;
        if (::stat(PathBytes::parent(source).constData(), &parent) == 0 && parent.st_dev != st.st_dev)
            return fail({EBUSY, source, QStringLiteral("a mounted volume cannot be moved")});
    }
    if (::stat(folder.constData(), &st) != 0)
        return fail({errno, folder, {}});
    if (!S_ISDIR(st.st_mode))
        return fail({ENOTDIR, folder, {}});
    // Copying a folder into itself would never end; moving it there would detach it.
    if (FsOps::isSameOrInside(folder, source))
        return fail({EINVAL, folder, QStringLiteral("a folder cannot be put inside itself")});

    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        target = getFileTargetPath(PathBytes::join(folder, name));
        bool crossDevice = copying;
        if (!copying) {
            const int err = FsOps::renameNoReplace(source, target);
            if (err == 0)
                return true;
            if (err == EEXIST)
                continue; // the name was taken meanwhile
            if (err != EXDEV)
                return fail({err, source, {}});
            crossDevice = true;
        }
        if (crossDevice) {
            // A move to another file system copies and flushes first; the source goes only
            // once the whole copy is safely on disk.
            if (FsOps::Result r = FsOps::copyItem(source, target, copying ? FsOps::Purpose::Copy : FsOps::Purpose::Move)) {
                if (r->code == EEXIST && r->path == target)
                    continue;
                return fail(*r);
            }
            if (copying)
                return true;
            if (FsOps::Result r = FsOps::removeItem(source)) {
                FsOps::Failure kept = *r;
                kept.reason = QStringLiteral("it was copied to “%1”, but could not be removed from its old place: %2")
                                  .arg(display(PathBytes::lastComponent(target)), reasonFor(*r, source, target));
                return fail(kept);
            }
            return true;
        }
    }
    return fail({EEXIST, target, {}});
}

// --- trash ---

bool FileOprations::removeFileFromPath(const QString& path) { return removeFileFromPath(bytes(path)); }

bool FileOprations::removeFileFromPath(const QByteArray& path)
{
    qvlog(QStringLiteral("removeFileFromPath:") + display(path));
    return moveToTrashFileFromPath(path);
}

bool FileOprations::moveToTrashFileFromPath(const QString& path) { return moveToTrashFileFromPath(bytes(path)); }

bool FileOprations::moveToTrashFileFromPath(const QByteArray& path)
{
    qvlog(QStringLiteral("moveToTrashFileFromPath:") + display(path));
    return trash(path);
}

bool FileOprations::trash(const QByteArray& path)
{
    lastError_.clear();
    const QByteArray absolute = PathBytes::absolute(path);
    const bool alreadyInTrash = Trash::liesDirectlyInHomeTrash(absolute);
    FsOps::Result r = TrashGuard::refusal(path);
    if (!r)
        r = alreadyInTrash ? Trash::deleteFromHomeTrash(absolute) : Trash::moveToTrash(absolute);
    if (!r)
        return true;
    const QByteArray name = path.isEmpty() ? QByteArrayLiteral("(empty path)") : PathBytes::lastComponent(absolute);
    const QString description =
        QStringLiteral("“%1” couldn’t be %2 (%3)")
            .arg(display(name.isEmpty() ? absolute : name),
                 alreadyInTrash ? QStringLiteral("deleted from the trash") : QStringLiteral("moved to the trash"),
                 reasonFor(*r, absolute, absolute));
    reportFailure(QStringLiteral("Error Trash file:"), description);
    return false;
}

// --- zip ---

bool FileOprations::zipFiles(const QStringList& files, const QString& toPath, const std::optional<QString>& zipFileName)
{
    QList<QByteArray> paths;
    paths.reserve(files.size());
    for (const QString& file : files)
        paths.append(bytes(file));
    std::optional<QByteArray> name;
    if (zipFileName)
        name = bytes(*zipFileName);
    return zipFiles(paths, bytes(toPath), name);
}

bool FileOprations::zipFiles(const QList<QByteArray>& files, const QByteArray& toPath,
                             const std::optional<QByteArray>& zipFileName, ZipOutcome* outcome)
{
    lastError_.clear();
    if (files.isEmpty()) {
        lastError_ = QStringLiteral("there is nothing to put in the archive");
        return false;
    }
    QByteArray base;
    if (zipFileName && !zipFileName->isEmpty()) {
        base = *zipFileName;
    } else if (files.size() == 1) {
        base = PathBytes::splitExtension(PathBytes::lastComponent(PathBytes::clean(files.first()))).base;
    }
    if (base.isEmpty())
        base = QByteArrayLiteral("Archive");
    if (base.contains('/')) {
        lastError_ = QStringLiteral("an archive name cannot hold “/”: %1").arg(display(base));
        qvlog(QStringLiteral("Error zipping files:") + lastError_);
        return false;
    }
    const QByteArray folder = PathBytes::absolute(toPath);
    const QByteArray fileName = makeZipFilePathAtPath(folder, base);
    ZipOutcome local;
    ZipOutcome& result = outcome ? *outcome : local;
    result.archivePath = PathBytes::join(folder, fileName);
    if (ZipArchive::createZipFileAtPath(result.archivePath, files, &result))
        return true;
    lastError_ = QStringLiteral("“%1” couldn’t be created in “%2” (%3)")
                     .arg(display(fileName), display(folder), result.error);
    qvlog(QStringLiteral("Error zipping files:") + lastError_);
    return false;
}
