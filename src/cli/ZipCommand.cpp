#include "cli/ZipCommand.h"

#include "cli/CliCommon.h"
#include "fileops/FileOprations.h"
#include "fileops/PathBytes.h"

#include <QFile>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>

namespace Cli {

QList<QByteArray> rawArguments(const QStringList& args)
{
    QList<QByteArray> decodedFallback;
    for (const QString& arg : args)
        decodedFallback.append(QFile::encodeName(arg));

    QFile cmdline(QStringLiteral("/proc/self/cmdline"));
    if (!cmdline.open(QIODevice::ReadOnly))
        return decodedFallback;
    QByteArray all = cmdline.readAll();
    if (all.endsWith('\0'))
        all.chop(1);
    QList<QByteArray> raw = all.split('\0');
    // Undo what main() did to the decoded list: drop the program, the logging flag and the
    // command word.
    if (raw.isEmpty())
        return decodedFallback;
    raw.removeFirst();
    raw.removeAll(QByteArrayLiteral("--log-stderr"));
    if (raw.isEmpty())
        return decodedFallback;
    raw.removeFirst();
    if (raw.size() != args.size())
        return decodedFallback;
    for (qsizetype i = 0; i < raw.size(); ++i)
        if (QFile::decodeName(raw.at(i)) != args.at(i))
            return decodedFallback;
    return raw;
}

QByteArray absoluteArgument(const QByteArray& path) { return PathBytes::absolute(path); }

void printBytesLine(const QByteArray& bytes)
{
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

int runZip(const QStringList& args)
{
    const QList<QByteArray> raw = rawArguments(args);
    std::optional<QByteArray> folder;
    std::optional<QByteArray> name;
    QList<QByteArray> paths;
    bool optionsEnded = false;
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const QByteArray& arg = raw.at(i);
        if (!optionsEnded && (arg == "--to" || arg == "--name")) {
            if (i + 1 >= raw.size()) {
                printError(QStringLiteral("%1 needs a value").arg(QString::fromLatin1(arg)));
                return ExitCode::Usage;
            }
            (arg == "--to" ? folder : name) = raw.at(++i);
        } else if (!optionsEnded && arg == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && arg.startsWith("--")) {
            printError(QStringLiteral("unknown option %1").arg(PathBytes::display(arg)));
            return ExitCode::Usage;
        } else {
            paths.append(absoluteArgument(arg));
        }
    }
    if (!folder || folder->isEmpty()) {
        printError(QStringLiteral("zip needs --to FOLDER"));
        return ExitCode::Usage;
    }
    if (paths.isEmpty()) {
        printError(QStringLiteral("zip needs at least one PATH"));
        return ExitCode::Usage;
    }
    if (name && (name->isEmpty() || name->contains('/'))) {
        printError(QStringLiteral("--name must be a file name without '/'"));
        return ExitCode::Usage;
    }
    const QByteArray destination = absoluteArgument(*folder);
    struct stat st;
    QString problem;
    if (::stat(destination.constData(), &st) != 0)
        problem = QString::fromLocal8Bit(std::strerror(errno));
    else if (!S_ISDIR(st.st_mode))
        problem = QStringLiteral("not a folder");
    if (!problem.isEmpty()) {
        printError(QStringLiteral("cannot write an archive in '%1': %2").arg(PathBytes::display(destination), problem));
        return ExitCode::Usage;
    }

    FileOprations operations(nullptr);
    FileOprations::ZipOutcome outcome;
    const bool made = operations.zipFiles(paths, destination, name, &outcome);
    for (qsizetype i = 0; i < outcome.leftOut.size(); ++i)
        printError(QStringLiteral("left out '%1': %2").arg(PathBytes::display(outcome.leftOut.at(i)), outcome.leftOutReasons.value(i)));
    if (!made) {
        printError(QStringLiteral("cannot write the archive %1: %2")
                       .arg(PathBytes::display(outcome.archivePath), outcome.error.isEmpty() ? operations.lastError() : outcome.error));
        // Nothing readable is the inputs' fault (exit 1, like the files left out); a failing
        // archive is the destination's (exit 2).
        return !outcome.leftOut.isEmpty() && outcome.leftOut.size() == paths.size() ? ExitCode::Failed : ExitCode::Usage;
    }
    printBytesLine(outcome.archivePath);
    return outcome.leftOut.isEmpty() ? ExitCode::Ok : ExitCode::Failed;
}

} // namespace Cli
