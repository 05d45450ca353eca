#pragma once

// Shared set-up of the fuzz targets: a throw-away home (HOME and the XDG folders) made once
// per process, so every stored file a target writes lands there and never in a real home.

#include "settings/Log.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace FuzzHome {

inline void prepare()
{
    static QTemporaryDir home(QDir::tempPath() + QStringLiteral("/quorvel-fuzz-home-XXXXXX"));
    if (!home.isValid())
        std::abort();
    const QByteArray root = QFile::encodeName(home.path());
    ::setenv("HOME", root.constData(), 1);
    for (const char* name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_STATE_HOME", "XDG_CACHE_HOME"}) {
        const QByteArray folder = root + '/' + name;
        QDir().mkpath(QFile::decodeName(folder));
        ::setenv(name, folder.constData(), 1);
    }
    QDir().mkpath(home.path() + QStringLiteral("/Documents"));
    QCoreApplication::setOrganizationName(QStringLiteral("Quorvel"));
    QCoreApplication::setApplicationName(QStringLiteral("Quorvel"));
    Log::setSink(Log::Sink::Discard);
}

inline QByteArray bytes(const uint8_t* data, size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}

inline void write(const QString& path, const QByteArray& content)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(content) != content.size())
        std::abort();
}

inline QByteArray read(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// Stops the run with a message the fuzzer shows next to the input that caused it.
[[noreturn]] inline void fail(const char* what)
{
    std::fprintf(stderr, "fuzz invariant broken: %s\n", what);
    std::abort();
}

} // namespace FuzzHome
