#include "cli/CliCommon.h"

#include "cli/ZipCommand.h"
#include "fileops/PathBytes.h"
#include "settings/ExclusionList.h"
#include "settings/Plist.h"

#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

namespace Cli {

QString printable(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (c == u'\n')
            out += QLatin1String("\\n");
        else if (c == u'\t')
            out += QLatin1String("\\t");
        else if (c == u'\r')
            out += QLatin1String("\\r");
        else if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            out += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        else
            out += c;
    }
    return out;
}

void addBytesIfNotUtf8(QJsonObject& object, const QString& key, const QByteArray& bytes)
{
    if (QString::fromUtf8(bytes).toUtf8() != bytes)
        object.insert(key + QStringLiteral("_bytes"), QString::fromLatin1(bytes.toBase64()));
}

void printError(const QString& message)
{
    std::fprintf(stderr, "quorvel-cli: %s\n", message.toLocal8Bit().constData());
    std::fflush(stderr);
}

void printOut(const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
}

std::optional<QString> takeValue(QStringList& args, const QString& name, std::optional<CliError>& error)
{
    const qsizetype at = args.indexOf(name);
    if (at < 0)
        return std::nullopt;
    if (at + 1 >= args.size()) {
        error = CliError{QStringLiteral("%1 needs a value").arg(name)};
        args.removeAt(at);
        return std::nullopt;
    }
    QString value = args.at(at + 1);
    args.remove(at, 2);
    return value;
}

bool takeFlag(QStringList& args, const QString& name) { return args.removeAll(name) > 0; }

std::optional<CliError> parseScanOptions(QStringList args, ScanOptions& out)
{
    std::optional<CliError> error;
    out.json = takeFlag(args, QStringLiteral("--json"));
    out.hidden = takeFlag(args, QStringLiteral("--hidden"));
    out.oneFileSystem = takeFlag(args, QStringLiteral("--one-file-system"));
    out.oneFileSystem = takeFlag(args, QStringLiteral("-x")) || out.oneFileSystem;
    if (auto v = takeValue(args, QStringLiteral("--exclusions"), error))
        out.exclusionsFile = *v;
    if (auto v = takeValue(args, QStringLiteral("--threads"), error)) {
        bool ok = false;
        out.threads = v->toInt(&ok);
        if (!ok || out.threads < 1 || out.threads > 256)
            return CliError{QStringLiteral("--threads needs a number from 1 to 256")};
    }
    if (auto v = takeValue(args, QStringLiteral("--unit"), error)) {
        static const QStringList units{QStringLiteral("auto"), QStringLiteral("bytes"), QStringLiteral("kb"),
                                       QStringLiteral("mb"), QStringLiteral("gb")};
        const qsizetype code = units.indexOf(v->toLower());
        if (code < 0)
            return CliError{QStringLiteral("--unit needs one of auto, bytes, kb, mb, gb")};
        out.unitCode = int(code);
    }
    if (auto v = takeValue(args, QStringLiteral("--decimals"), error)) {
        bool ok = false;
        const int places = v->toInt(&ok);
        if (!ok || places < 0 || places > 15)
            return CliError{QStringLiteral("--decimals needs a number from 0 to 15")};
        out.decimals = places;
    }
    if (error)
        return error;
    for (const QString& arg : std::as_const(args))
        if (arg.startsWith(QLatin1String("--")))
            return CliError{QStringLiteral("unknown option %1").arg(arg)};
    if (args.size() != 1)
        return CliError{QStringLiteral("expected one PATH to scan")};
    out.path = args.first();
    return std::nullopt;
}

std::optional<CliError> findPathBytes(const QStringList& commandArgs, ScanOptions& options)
{
    const QList<QByteArray> raw = rawArguments(commandArgs);
    std::optional<QByteArray> found;
    for (qsizetype i = 0; i < commandArgs.size(); ++i) {
        if (commandArgs.at(i) != options.path)
            continue;
        if (found && *found != raw.at(i))
            return CliError{QStringLiteral("cannot tell PATH '%1' apart from another argument that reads the same")
                                .arg(printable(options.path))};
        found = raw.at(i);
    }
    options.pathBytes = found.value_or(QFile::encodeName(options.path));
    return std::nullopt;
}

std::optional<CliError> loadExclusions(const ScanOptions& options, std::shared_ptr<const ExclusionList>& out)
{
    if (options.exclusionsFile.isEmpty()) {
        out = ExclusionList::loadShared();
        if (!out->loadProblem().isEmpty())
            printError(QStringLiteral("warning: ") + out->loadProblem());
        return std::nullopt;
    }
    QString why;
    const QVariantMap dict = Plist::readDictionary(options.exclusionsFile, &why);
    if (!why.isEmpty())
        return CliError{QStringLiteral("cannot read the exclusion list %1: %2").arg(options.exclusionsFile, why)};
    auto list = std::make_shared<const ExclusionList>(dict);
    ExclusionList::setShared(list);
    out = list;
    return std::nullopt;
}

std::optional<CliError> checkScanPath(const QByteArray& path, const ExclusionList& exclusions)
{
    const QString shown = printable(PathBytes::display(path));
    const int fd = ::open(path.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        const int err = errno;
        return CliError{QStringLiteral("cannot scan '%1': %2").arg(shown, QString::fromLocal8Bit(std::strerror(err)))};
    }
    ::close(fd);
    if (exclusions.isExcludedDirectory(std::string_view(path.constData(), size_t(path.size()))))
        return CliError{QStringLiteral("'%1' is excluded from scanning (see ExclusionList.plist)").arg(shown)};
    return std::nullopt;
}

} // namespace Cli
