#pragma once

#include <QByteArray>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include <sys/types.h>

// What became of an archive's sources, for callers that report it.
struct ZipResult {
    QList<QByteArray> leftOut;    // sources that could not be read as files, in list order
    QStringList leftOutReasons;   // why, one per leftOut entry ("Permission denied", "it is a folder")
    QString error;                // why the archive itself could not be made; empty on success
};

// Writes one new zip archive: each source file becomes one deflated entry (zlib's default
// level) named by the file's last path component, with no folder structure, no comments
// and no encryption. Entry names are unique within the archive: a name already taken gets
// " 1", " 2" ... before its extension, as copies do in a folder ("x.txt", "x 1.txt").
// Each entry keeps the file's modification time (the DOS date and time, and the exact
// second in an extended-timestamp extra field) and its permission bits, and says it was
// made on Unix, so names are extracted as they are ("\" included). Names keep their
// bytes; a name beyond ASCII that is UTF-8 is flagged as such.
// Each source is streamed through one 16384-byte buffer, whatever its size.
//
// A writer goes closed -> open -> closed and serves one archive. Misuse (opening twice,
// writing to or closing a writer that was never opened) is a programming error and
// throws std::logic_error; createZipFileAtPath never misuses a writer.
class ZipArchive {
public:
    static constexpr qsizetype kChunkSize = 16384;

    // createZipFileAtPath:withFilesAtPaths: writes the archive at `path` with every
    // source in list order. A source that cannot be read as a file is left out (listed in
    // result->leftOut, with its reason). True when the archive was created and finished;
    // false when it cannot be created or written (no such folder, no permission, full disk)
    // or when no source could be read, in which case no archive is left behind and
    // result->error says why.
    static bool createZipFileAtPath(const QByteArray& path, const QList<QByteArray>& withFilesAtPaths,
                                    ZipResult* result = nullptr);
    static bool createZipFileAtPath(const QString& path, const QStringList& withFilesAtPaths,
                                    ZipResult* result = nullptr);

    // initWithPath: keeps a copy of the path; nothing is opened yet.
    explicit ZipArchive(const QByteArray& path);
    explicit ZipArchive(const QString& path);
    ZipArchive(const ZipArchive&) = delete;
    ZipArchive& operator=(const ZipArchive&) = delete;
    // A writer dropped while open finishes its archive.
    ~ZipArchive();

    // Creates the archive file, new and empty. An item that already exists at the path is
    // never replaced: the call fails instead. True on success.
    bool open();

    // Adds one entry for the source file. False, with no entry started, when the source
    // cannot be opened or is not a regular file (a folder, a pipe, a device: such a source
    // could not be read to its end, so it is left out). False too when reading fails after
    // the entry was started; the entry is then ended with the bytes read so far, so the
    // archive stays well-formed and the writer usable. False when the archive itself could
    // not be written; close() then reports the failure.
    bool writeFile(const QByteArray& path);
    bool writeFile(const QString& path);

    // Finishes the archive (central directory) and releases it. True when the whole
    // archive was written; false when any write to it failed, in which case the unfinished
    // file is removed.
    bool close();

    bool isOpen() const { return zip_ != nullptr; }
    const QByteArray& path() const { return path_; }
    // Why the last open, write or close failed.
    const QString& errorString() const { return error_; }
    // Why the last writeFile left its source out ("Permission denied", "it is a folder");
    // empty when it did not.
    const QString& sourceError() const { return sourceError_; }

private:
    void fail(const QString& why);
    // The name, or the first of "base 1.ext", "base 2.ext" ... no entry has yet; taken.
    QByteArray uniqueEntryName(const QByteArray& name);

    QByteArray path_;
    void* zip_ = nullptr; // minizip's zipFile while open
    bool archiveFailed_ = false;
    dev_t archiveDevice_ = 0;
    ino_t archiveInode_ = 0;
    QString error_;
    QString sourceError_;
    QSet<QByteArray> entryNames_;
};
