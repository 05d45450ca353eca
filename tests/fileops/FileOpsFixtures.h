#pragma once

#include "base/UserInterface.h"
#include "common/TestSupport.h"
#include "fileops/FileSystemOps.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QString>
#include <QStringList>

#include <minizip/unzip.h>

#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace FileOpsFixtures {

// Records what the file operations ask of the person; answers nothing interesting.
class RecordingUi : public UserInterface {
public:
    struct Alert {
        QString message;
        QString informative;
    };
    QList<Alert> alerts;
    QStringList revealed;
    QStringList opened;

    void alert(const QString& message, const QString& informative) override { alerts.append({message, informative}); }
    bool confirm(const QString&, const QString&) override { return true; }
    bool confirm(const QString&, const QString&, const QString&, const QString&) override { return true; }
    std::optional<QString> chooseFolder(const FolderChoice&) override { return std::nullopt; }
    void preview(const QString&) override {}
    void reveal(const QString& path) override { revealed.append(path); }
    void open(const QString& path) override { opened.append(path); }
};

inline QByteArray b(const QString& path) { return QFile::encodeName(path); }

inline bool exists(const QByteArray& path)
{
    struct stat st;
    return ::lstat(path.constData(), &st) == 0;
}
inline bool exists(const QString& path) { return exists(b(path)); }

inline void writeBytes(const QByteArray& path, const QByteArray& data)
{
    const qsizetype slash = path.lastIndexOf('/');
    if (slash > 0)
        QDir().mkpath(QFile::decodeName(path.left(slash)));
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0)
        return;
    [[maybe_unused]] ssize_t n = ::write(fd, data.constData(), size_t(data.size()));
    ::close(fd);
}
inline void writeText(const QString& path, const QByteArray& data) { writeBytes(b(path), data); }

inline QByteArray readBytes(const QByteArray& path)
{
    const int fd = ::open(path.constData(), O_RDONLY);
    if (fd < 0)
        return QByteArray("<unreadable>");
    QByteArray out;
    char buffer[65536];
    for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;)
        out.append(buffer, n);
    ::close(fd);
    return out;
}
inline QByteArray readText(const QString& path) { return readBytes(b(path)); }

// Sorted names in a folder, "." and ".." left out.
inline QStringList names(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

// Bytes that are not valid UTF-8, for names that must survive unchanged.
inline QByteArray oddName() { return QByteArray("odd-\xff\xfe-name.txt"); }

// QTemporaryDir cannot remove a name it cannot decode; this deletes the given items (files
// or whole folders) by their bytes when the test ends.
class RemoveAtEnd {
public:
    explicit RemoveAtEnd(QList<QByteArray> paths) : paths_(std::move(paths)) {}
    ~RemoveAtEnd()
    {
        for (const QByteArray& path : std::as_const(paths_))
            FsOps::removeItem(path);
    }

private:
    QList<QByteArray> paths_;
};

// One entry of an archive as read back by minizip's reader.
struct ZipEntry {
    QByteArray name;
    QByteArray data;
    unsigned long flag = 0;
    unsigned long method = 0;
    unsigned long dosDate = 0;
    bool crcOk = false;
};

// Every entry of the archive in order; `ok` false when the archive cannot be read.
inline std::vector<ZipEntry> readZip(const QByteArray& path, bool* ok = nullptr)
{
    std::vector<ZipEntry> entries;
    if (ok)
        *ok = false;
    unzFile zip = unzOpen64(path.constData());
    if (!zip)
        return entries;
    int rc = unzGoToFirstFile(zip);
    while (rc == UNZ_OK) {
        unz_file_info64 info;
        char name[1024];
        if (unzGetCurrentFileInfo64(zip, &info, name, sizeof name, nullptr, 0, nullptr, 0) != UNZ_OK)
            break;
        ZipEntry entry;
        entry.name = QByteArray(name, int(info.size_filename));
        entry.flag = info.flag;
        entry.method = info.compression_method;
        entry.dosDate = info.dosDate;
        if (unzOpenCurrentFile(zip) != UNZ_OK)
            break;
        char buffer[65536];
        for (int n; (n = unzReadCurrentFile(zip, buffer, sizeof buffer)) > 0;)
            entry.data.append(buffer, n);
        entry.crcOk = unzCloseCurrentFile(zip) == UNZ_OK;
        entries.push_back(entry);
        rc = unzGoToNextFile(zip);
    }
    if (ok)
        *ok = rc == UNZ_END_OF_LIST_OF_FILE;
    unzClose(zip);
    return entries;
}

inline QList<QByteArray> entryNames(const std::vector<ZipEntry>& entries)
{
    QList<QByteArray> out;
    for (const ZipEntry& e : entries)
        out.append(e.name);
    return out;
}

// A small tmpfs mounted for the test's life, for moves across file systems and a full
// disk. Needs root; valid() is false elsewhere and the test skips.
class TmpfsMount {
public:
    explicit TmpfsMount(const QString& where, const char* size = "4m") : path_(where)
    {
        QDir().mkpath(where);
        const std::string options = std::string("size=") + size + ",mode=0755";
        mounted_ = TestSupport::runningAsRoot()
            && ::mount("tmpfs", b(where).constData(), "tmpfs", 0, options.c_str()) == 0;
    }
    ~TmpfsMount()
    {
        if (mounted_)
            ::umount2(b(path_).constData(), MNT_DETACH);
    }
    bool valid() const { return mounted_; }
    const QString& path() const { return path_; }

private:
    QString path_;
    bool mounted_ = false;
};

} // namespace FileOpsFixtures
