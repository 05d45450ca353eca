#include "fileops/PathBytes.h"

#include <QList>

#include <climits>
#include <sys/stat.h>
#include <unistd.h>

namespace PathBytes {

QByteArray clean(const QByteArray& path)
{
    if (path.isEmpty())
        return path;
    const bool rooted = path.startsWith('/');
    QByteArray out;
    out.reserve(path.size());
    if (rooted)
        out.append('/');
    for (const QByteArray& part : path.split('/')) {
        if (part.isEmpty() || part == ".")
            continue;
        if (!out.isEmpty() && !out.endsWith('/'))
            out.append('/');
        out.append(part);
    }
    if (out.isEmpty())
        return QByteArrayLiteral(".");
    return out;
}

QByteArray absolute(const QByteArray& path)
{
    if (path.startsWith('/'))
        return clean(path);
    char buffer[PATH_MAX];
    if (!::getcwd(buffer, sizeof buffer))
        return clean(path);
    return clean(join(QByteArray(buffer), path));
}

QByteArray lastComponent(const QByteArray& path)
{
    const qsizetype slash = path.lastIndexOf('/');
    return slash < 0 ? path : path.mid(slash + 1);
}

QByteArray parent(const QByteArray& path)
{
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0)
        return {};
    if (slash == 0)
        return QByteArrayLiteral("/");
    return path.left(slash);
}

QByteArray join(const QByteArray& folder, const QByteArray& name)
{
    if (folder.isEmpty())
        return name;
    if (folder.endsWith('/'))
        return folder + name;
    return folder + '/' + name;
}

NameParts splitExtension(const QByteArray& name)
{
    const qsizetype dot = name.lastIndexOf('.');
    if (dot <= 0 || dot == name.size() - 1)
        return {name, {}};
    return {name.left(dot), name.mid(dot + 1)};
}

bool exists(const QByteArray& path)
{
    struct stat st;
    return ::lstat(path.constData(), &st) == 0;
}

} // namespace PathBytes
