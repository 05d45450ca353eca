#include "settings/Paths.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

#include <pwd.h>
#include <unistd.h>

namespace {

QString xdgFolder(const char* variable, const char* fallbackUnderHome)
{
    const QString value = qEnvironmentVariable(variable);
    // The XDG rules ignore relative values.
    if (!value.isEmpty() && QDir::isAbsolutePath(value))
        return QDir::cleanPath(value);
    return Paths::home() + QLatin1Char('/') + QLatin1String(fallbackUnderHome);
}

} // namespace

namespace Paths {

QString home() { return QDir::homePath(); }

QString documents() { return home() + QLatin1String("/Documents"); }

QString configHome() { return xdgFolder("XDG_CONFIG_HOME", ".config"); }

QString dataHome() { return xdgFolder("XDG_DATA_HOME", ".local/share"); }

QString stateHome() { return xdgFolder("XDG_STATE_HOME", ".local/state"); }

QString supportFolder() { return dataHome() + QLatin1String("/Quorvel"); }

QString logFile() { return stateHome() + QLatin1String("/Quorvel/Quorvel.log"); }

QString trashFiles() { return dataHome() + QLatin1String("/Trash/files"); }

QString userName()
{
    if (const passwd* pw = ::getpwuid(::geteuid()); pw && pw->pw_name)
        return QString::fromLocal8Bit(pw->pw_name);
    const QString fromEnv = qEnvironmentVariable("USER");
    return fromEnv.isEmpty() ? QDir(home()).dirName() : fromEnv;
}

QString inDocuments(const QString& fileName) { return documents() + QLatin1Char('/') + fileName; }

QString brokenFileBackupPath(const QString& file)
{
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString candidate = file + QStringLiteral(".broken-") + stamp;
    for (int n = 1; QFileInfo::exists(candidate); ++n)
        candidate = file + QStringLiteral(".broken-") + stamp + QLatin1Char('-') + QString::number(n);
    return candidate;
}

bool ensureFolder(const QString& path) { return QDir().mkpath(path); }

} // namespace Paths
