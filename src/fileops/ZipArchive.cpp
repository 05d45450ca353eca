#include "fileops/ZipArchive.h"

#include "fileops/PathBytes.h"

#include <QFile>

#include <minizip/zip.h>

#include <cerrno>
#include <climits>
#include <cstdint>
#include <ctime>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// General purpose flag bit 11: the entry's name is UTF-8.
constexpr uLong kUtf8NameFlag = 1u << 11;
// "Version made by": Unix, zip format 2.0.
constexpr uLong kMadeOnUnix = (3u << 8) | 20u;
// Entries this large need the zip64 sizes; deflate may grow incompressible data a little,
// so the switch comes a margin below 4 GiB.
constexpr off_t kZip64Threshold = off_t(0xFFFFFFFFll) - 64 * 1024 * 1024;

QString systemText(int code) { return QString::fromLocal8Bit(std::strerror(code)); }

bool isAscii(const QByteArray& name)
{
    for (const char c : name)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

bool isUtf8(const QByteArray& name) { return QString::fromUtf8(name).toUtf8() == name; }

// The DOS date and time of a modification time, in local time as zip tools read it; DOS
// dates run from 1980 to 2107, so a time outside is taken to the nearest end.
tm_zip dosTime(time_t when)
{
    struct tm local{};
    tm_zip out{};
    if (!::localtime_r(&when, &local) || local.tm_year < 80) {
        out.tm_year = 1980;
        out.tm_mday = 1;
        return out;
    }
    if (local.tm_year > 207)
        return tm_zip{58, 59, 23, 31, 11, 2107};
    out.tm_sec = uInt(local.tm_sec);
    out.tm_min = uInt(local.tm_min);
    out.tm_hour = uInt(local.tm_hour);
    out.tm_mday = uInt(local.tm_mday);
    out.tm_mon = uInt(local.tm_mon);
    out.tm_year = uInt(local.tm_year + 1900);
    return out;
}

// The "extended timestamp" extra field (0x5455) with the modification time in UTC seconds,
// which unzip restores to the second; empty for a time it cannot hold.
QByteArray timestampField(time_t when)
{
    if (when < INT32_MIN || when > INT32_MAX)
        return {};
    const quint32 t = quint32(qint32(when));
    const char field[] = {0x55, 0x54, 5, 0, 1, char(t & 0xff), char((t >> 8) & 0xff), char((t >> 16) & 0xff),
                          char((t >> 24) & 0xff)};
    return QByteArray(field, sizeof field);
}

// The archive is created exclusively: minizip's own opener would truncate whatever file
// already has the name.
voidpf ZCALLBACK openExclusive(voidpf, const void* filename, int)
{
    const int fd = ::open(static_cast<const char*>(filename), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0)
        return nullptr;
    FILE* file = ::fdopen(fd, "wb");
    if (!file) {
        const int err = errno;
        ::close(fd);
        ::unlink(static_cast<const char*>(filename));
        errno = err;
    }
    return file;
}

// Flushes the archive to disk before closing, so that a full disk is noticed here and not
// later by whoever opens the archive.
int ZCALLBACK closeDurably(voidpf, voidpf stream)
{
    FILE* file = static_cast<FILE*>(stream);
    int rc = std::fflush(file) == 0 && ::fsync(::fileno(file)) == 0 ? 0 : -1;
    const int err = errno;
    if (std::fclose(file) != 0)
        rc = -1;
    else if (rc != 0)
        errno = err;
    return rc;
}

} // namespace

ZipArchive::ZipArchive(const QByteArray& path) : path_(path) {}

ZipArchive::ZipArchive(const QString& path) : ZipArchive(QFile::encodeName(path)) {}

ZipArchive::~ZipArchive()
{
    if (zip_)
        close();
}

void ZipArchive::fail(const QString& why)
{
    archiveFailed_ = true;
    if (error_.isEmpty())
        error_ = why;
}

bool ZipArchive::open()
{
    if (zip_)
        throw std::logic_error("Attempting open an archive which is already open");
    zlib_filefunc64_def functions;
    fill_fopen64_filefunc(&functions);
    functions.zopen64_file = openExclusive;
    functions.zclose_file = closeDurably;
    errno = 0;
    zip_ = zipOpen2_64(path_.constData(), APPEND_STATUS_CREATE, nullptr, &functions);
    if (!zip_) {
        error_ = systemText(errno ? errno : EIO);
        return false;
    }
    struct stat st;
    if (::stat(path_.constData(), &st) == 0) {
        archiveDevice_ = st.st_dev;
        archiveInode_ = st.st_ino;
    }
    archiveFailed_ = false;
    error_.clear();
    return true;
}

bool ZipArchive::writeFile(const QString& path) { return writeFile(QFile::encodeName(path)); }

bool ZipArchive::writeFile(const QByteArray& path)
{
    if (!zip_)
        throw std::logic_error("Attempting to write to an archive which was never opened");
    sourceError_.clear();
    if (archiveFailed_)
        return false;

    // Not blocking: opening a named pipe would otherwise wait for a writer forever.
    const int fd = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        sourceError_ = systemText(errno);
        return false;
    }
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)
        || (st.st_dev == archiveDevice_ && st.st_ino == archiveInode_)) {
        // Not a file, or the archive itself reached through a link: reading it would
        // never end.
        sourceError_ = S_ISDIR(st.st_mode) ? QStringLiteral("it is a folder")
            : S_ISREG(st.st_mode)          ? QStringLiteral("it is the archive itself")
                                           : QStringLiteral("it is not a regular file");
        ::close(fd);
        return false;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);

    const QByteArray name = uniqueEntryName(PathBytes::lastComponent(PathBytes::clean(path)));
    const int zip64 = st.st_size >= kZip64Threshold ? 1 : 0;
    // Every entry says it was made on Unix: unzip then takes its name as it is (entries
    // from MS-DOS get their names converted from the DOS code page and "\" turned into a
    // folder separator) and restores the mode kept in the external attributes. The UTF-8
    // flag is set when a name beyond ASCII is UTF-8; other bytes are stored as they are.
    zip_fileinfo info{};
    info.tmz_date = dosTime(st.st_mtime);
    info.external_fa = uLong(S_IFREG | (st.st_mode & 0777)) << 16;
    const QByteArray extra = timestampField(st.st_mtime);
    const uLong flags = !isAscii(name) && isUtf8(name) ? kUtf8NameFlag : 0;
    const int opened = zipOpenNewFileInZip4_64(zip_, name.constData(), &info, extra.constData(), uInt(extra.size()),
                                               extra.constData(), uInt(extra.size()), nullptr, Z_DEFLATED,
                                               Z_DEFAULT_COMPRESSION, 0, -MAX_WBITS, DEF_MEM_LEVEL, Z_DEFAULT_STRATEGY,
                                               nullptr, 0, kMadeOnUnix, flags, zip64);
    if (opened != ZIP_OK) {
        ::close(fd);
        fail(QStringLiteral("cannot add an entry (%1)").arg(systemText(errno ? errno : EIO)));
        return false;
    }

    std::unique_ptr<char[]> chunk(new char[kChunkSize]);
    bool readFailed = false;
    for (;;) {
        const ssize_t n = ::read(fd, chunk.get(), size_t(kChunkSize));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            readFailed = true;
            sourceError_ = systemText(errno);
            break;
        }
        if (n == 0)
            break;
        if (zipWriteInFileInZip(zip_, chunk.get(), unsigned(n)) != ZIP_OK) {
            fail(systemText(errno ? errno : EIO));
            break;
        }
    }
    if (zipCloseFileInZip(zip_) != ZIP_OK)
        fail(systemText(errno ? errno : EIO));
    ::close(fd);
    return !readFailed && !archiveFailed_;
}

QByteArray ZipArchive::uniqueEntryName(const QByteArray& name)
{
    QByteArray candidate = name;
    const PathBytes::NameParts parts = PathBytes::splitExtension(name);
    for (qint64 k = 1; entryNames_.contains(candidate); ++k) {
        candidate = parts.base + ' ' + QByteArray::number(k);
        if (!parts.extension.isEmpty())
            candidate += '.' + parts.extension;
    }
    entryNames_.insert(candidate);
    return candidate;
}

bool ZipArchive::close()
{
    if (!zip_)
        throw std::logic_error("[ZipArchive] Attempting to close an archive which was never opened");
    errno = 0;
    const int rc = zipClose(static_cast<zipFile>(zip_), nullptr);
    zip_ = nullptr;
    if (rc != ZIP_OK)
        fail(systemText(errno ? errno : EIO));
    if (!archiveFailed_)
        return true;
    // Take away the unfinished archive, but only if the name still refers to the file this
    // writer created.
    struct stat st;
    if (::lstat(path_.constData(), &st) == 0 && st.st_dev == archiveDevice_ && st.st_ino == archiveInode_)
        ::unlink(path_.constData());
    return false;
}

bool ZipArchive::createZipFileAtPath(const QString& path, const QStringList& withFilesAtPaths, ZipResult* result)
{
    QList<QByteArray> files;
    files.reserve(withFilesAtPaths.size());
    for (const QString& file : withFilesAtPaths)
        files.append(QFile::encodeName(file));
    return createZipFileAtPath(QFile::encodeName(path), files, result);
}

bool ZipArchive::createZipFileAtPath(const QByteArray& path, const QList<QByteArray>& withFilesAtPaths,
                                     ZipResult* result)
{
    ZipResult local;
    ZipResult& out = result ? *result : local;
    ZipArchive archive(path);
    if (!archive.open()) {
        out.error = archive.errorString();
        return false;
    }
    qsizetype written = 0;
    for (const QByteArray& file : withFilesAtPaths) {
        if (archive.writeFile(file)) {
            ++written;
            continue;
        }
        if (archive.archiveFailed_)
            break; // the archive cannot take more; close() reports it
        out.leftOut.append(file);
        out.leftOutReasons.append(archive.sourceError_);
    }
    // An archive of nothing is no archive: it goes, and the first source's reason is why.
    if (written == 0 && !withFilesAtPaths.isEmpty() && !archive.archiveFailed_)
        archive.fail(QStringLiteral("no file could be read (“%1”: %2)")
                         .arg(PathBytes::display(PathBytes::lastComponent(out.leftOut.first())), out.leftOutReasons.first()));
    const bool finished = archive.close();
    if (!finished)
        out.error = archive.errorString();
    return finished;
}
