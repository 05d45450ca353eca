#pragma once

#include "fileops/ZipArchive.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class UserInterface;

// One file-system operation on one path: the only place where Quorvel changes the user's
// files. A command creates one object, calls it once per file and uses each result to
// decide whether the file leaves the scan tree.
//
// Nothing is ever overwritten or merged into: a copy, move or archive that meets an
// existing name lands beside it under the next free numbered name. Nothing is deleted
// outside the user's trash; an item already lying directly in the home trash is the only
// one deleted for good.
//
// A copy, move or trash that fails logs what happened and shows its own alert (empty
// message, the failure's description followed by " or because it’s required by OS X." as
// informative text) before it returns false, so a caller never shows a second message and
// simply goes on with the next file.
//
// Every operation takes absolute paths, as text or as the raw bytes the file system uses
// (TFoldInfo::sPathBytes()); the byte forms keep names that are not valid UTF-8 intact.
class FileOprations {
public:
    // `ui` shows the failure alerts and does reveal and open; without one (nullptr) the
    // failures are only logged, for front ends that report lastError() themselves.
    explicit FileOprations(UserInterface* ui);

    // showInFinder: shows the item in the file browser.
    void showInFinder(const QString& path);
    // openFile: opens the item with its default application. A missing item is not handed
    // on; "File Not Open at Path:" is logged instead.
    void openFile(const QString& path);

    // getFileTargetPath: the wished path when nothing exists there (a dangling link counts
    // as something), otherwise the first free one of "base 1.ext", "base 2.ext" ... in the
    // same folder ("archive.tar.gz" -> "archive.tar 1.gz", "Photos" -> "Photos 1").
    static QString getFileTargetPath(const QString& path);
    static QByteArray getFileTargetPath(const QByteArray& path);

    // copyFileFromPath:toPath: copies a file, link or whole folder into the destination
    // folder under a free name. True when the copy is complete. A folder is never copied
    // into itself or one of its own sub-folders.
    bool copyFileFromPath(const QString& fromPath, const QString& toPath);
    bool copyFileFromPath(const QByteArray& fromPath, const QByteArray& toPath);

    // moveFileFromPath:toPath: moves an item into the destination folder under a free name
    // (its own folder included: it then takes the next numbered name). Across file systems
    // the item is copied, flushed to disk, and only then removed from its old place. True
    // when the item is at its new place and gone from the old one.
    bool moveFileFromPath(const QString& fromPath, const QString& toPath);
    bool moveFileFromPath(const QByteArray& fromPath, const QByteArray& toPath);

    // removeFileFromPath: the same as moveToTrashFileFromPath:, with its own log line.
    bool removeFileFromPath(const QString& path);
    bool removeFileFromPath(const QByteArray& path);

    // moveToTrashFileFromPath: moves the item to the trash of its file system, or deletes it
    // for good when it already lies directly in the user's home trash folder. True when the
    // item is gone from its place. A path TrashGuard refuses (the root, home or current
    // folder, a volume top, a protected folder, the trash's own folders ...) fails with
    // the guard's reason and nothing moves.
    bool moveToTrashFileFromPath(const QString& path);
    bool moveToTrashFileFromPath(const QByteArray& path);

    // zipFiles:toPath:zipFileName: packs the files into one new archive in the folder. The
    // archive is named "zipFileName.zip", or without a name after the single file (its name
    // without extension) or "Archive" for several, numbered when taken. False when the list
    // is empty, the name holds a slash, or the archive cannot be written. `result`, when
    // given, receives the archive's path and what was left out.
    bool zipFiles(const QStringList& files, const QString& toPath, const std::optional<QString>& zipFileName);
    struct ZipOutcome : ZipResult {
        QByteArray archivePath;
    };
    bool zipFiles(const QList<QByteArray>& files, const QByteArray& toPath,
                  const std::optional<QByteArray>& zipFileName, ZipOutcome* outcome = nullptr);

    // makeZipFilePathAtPath:name: the file name (not a path) of a free archive name in the
    // folder: "name.zip", else "name 1.zip", "name 2.zip" ...
    static QString makeZipFilePathAtPath(const QString& atPath, const QString& name);
    static QByteArray makeZipFilePathAtPath(const QByteArray& atPath, const QByteArray& name);

    // The description of the last failure ("“a.txt” couldn’t be copied to “Backup” (No space
    // left on device)"), empty after a success.
    const QString& lastError() const { return lastError_; }

    // The alert's informative text for a failure description.
    static QString failureAlertText(const QString& description);

private:
    enum class Transfer { Copy, Move };
    bool transfer(Transfer kind, const QByteArray& fromPath, const QByteArray& toPath);
    bool trash(const QByteArray& path);
    void reportFailure(const QString& logPrefix, const QString& description);

    UserInterface* ui_;
    QString lastError_;
};
