#pragma once

#include "common/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QString>

#include <sys/mount.h>

// A real second file system mounted on a folder for the life of the object. Mounting
// needs root; when it fails (or a tool is missing), mounted() is false and the test should
// skip. Declare it after the fixture tree it mounts into, so it goes first.
class TestMount {
public:
    // A tmpfs of 4 MB.
    static TestMount tmpfs(const QString& folder)
    {
        TestMount m(folder);
        m.mounted_ = ::mount("quorvel-test", m.path_.constData(), "tmpfs", MS_NOSUID | MS_NODEV, "size=4m") == 0;
        return m;
    }
    // An ext4 file system of 16 MB in an image file, with 5 % of its blocks reserved for
    // root as mkfs.ext4 makes by default, mounted through a loop device.
    static TestMount ext4Image(const QString& folder, const QString& image)
    {
        TestMount m(folder);
        QFile file(image);
        if (!file.open(QIODevice::WriteOnly) || !file.resize(16 * 1024 * 1024))
            return m;
        file.close();
        if (TestSupport::run(QStringLiteral("mkfs.ext4"), {QStringLiteral("-q"), QStringLiteral("-m"), QStringLiteral("5"), image}).exitCode != 0)
            return m;
        m.mounted_ = TestSupport::run(QStringLiteral("mount"), {QStringLiteral("-o"), QStringLiteral("loop"), image, folder}).exitCode == 0;
        return m;
    }

    TestMount(TestMount&& other) noexcept : path_(other.path_), mounted_(other.mounted_) { other.mounted_ = false; }
    TestMount(const TestMount&) = delete;
    TestMount& operator=(const TestMount&) = delete;
    ~TestMount()
    {
        if (mounted_)
            ::umount2(path_.constData(), MNT_DETACH);
    }

    bool mounted() const { return mounted_; }

private:
    explicit TestMount(const QString& folder) : path_(QFile::encodeName(folder)) { QDir().mkpath(folder); }

    QByteArray path_;
    bool mounted_ = false;
};
