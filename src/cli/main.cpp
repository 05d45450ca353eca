// quorvel-cli: Quorvel's scan and reports in a terminal.

#include "cli/CliCommon.h"
#include "cli/ReportCommand.h"
#include "cli/ScanCommand.h"
#include "cli/TrashCommand.h"
#include "cli/VolumesCommand.h"
#include "cli/ZipCommand.h"
#include "settings/Log.h"

#include "QuorvelVersion.h"

#include <QCoreApplication>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

const char kUsage[] =
    "Usage: quorvel-cli COMMAND [OPTIONS] ...\n"
    "\n"
    "Commands:\n"
    "  scan [--json] [--exclusions FILE] [--threads N] [--unit auto|bytes|kb|mb|gb] [--decimals N]\n"
    "       [--hidden] [--one-file-system|-x] PATH\n"
    "      Scan PATH and print its size, size on disk, files, folders and scan time.\n"
    "      --hidden enters folders whose name starts with a dot; --one-file-system (-x)\n"
    "      passes over folders on other file systems mounted beneath PATH. The settings\n"
    "      \"scanHiddenFolders\" and \"stayOnOneFileSystem\" turn them on for every scan.\n"
    "  report NAME[,NAME...] [--json] [--timings] [--exclusions FILE] [--threads N]\n"
    "         [--unit auto|bytes|kb|mb|gb] [--decimals N] [--hidden] [--one-file-system|-x] PATH\n"
    "      Scan PATH and print the named reports of it: overview, explorer, types,\n"
    "      attributes, sizes, dates, times, ownership, custom, folders, apps, obsolete,\n"
    "      top-size, top-oldest, or all. The node reports take the file viewer's filter:\n"
    "      --name NAME, --size-between LOW HIGH, --size OP VALUE (= < <= > >=),\n"
    "      --size-unit bytes|kb|mb|gb, --date accessed|modified|created FROM TO, --top N\n"
    "  zip --to FOLDER [--name BASE] PATH...\n"
    "      Pack the files into a new archive in FOLDER and print the archive's path.\n"
    "      Entries are named after the files; a name met again gets \" 1\", \" 2\" ...\n"
    "      before its extension. Modification times and permissions are kept.\n"
    "  volumes [--json]\n"
    "      List the volumes that can be scanned.\n"
    "  trash [--delete-from-trash] PATH...\n"
    "      Move each item to the trash; print the ones that could not be moved. The root,\n"
    "      home and current folders (and the folders holding them), volume tops, protected\n"
    "      folders and the trash's own folders are refused. An item already in the trash\n"
    "      is deleted for good only with --delete-from-trash.\n"
    "\n"
    "Exit codes: 0 done; 1 part of the work failed, or the output could not be written;\n"
    "  2 bad arguments or nothing could be done; 130 interrupted by Ctrl-C (partial result).\n"
    "\n"
    "Options for every command:\n"
    "  --log-stderr   write log lines to stderr instead of the log file\n"
    "  --help         show this text\n"
    "  --version      print the program's version\n";

int runCommand(QStringList& args)
{
    const QString command = args.takeFirst();
    if (command == QLatin1String("scan"))
        return Cli::runScan(args);
    if (command == QLatin1String("report"))
        return Cli::runReport(args);
    if (command == QLatin1String("zip"))
        return Cli::runZip(args);
    if (command == QLatin1String("volumes"))
        return Cli::runVolumes(args);
    if (command == QLatin1String("trash"))
        return Cli::runTrash(args);
    Cli::printError(QStringLiteral("unknown command '%1' (see --help)").arg(command));
    return ExitCode::Usage;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Quorvel"));
    QCoreApplication::setApplicationName(QStringLiteral("Quorvel"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QUORVEL_VERSION));

    QStringList args = QCoreApplication::arguments().mid(1);
    if (args.isEmpty() || args.contains(QStringLiteral("--help")) || args.contains(QStringLiteral("-h"))) {
        std::fputs(kUsage, args.isEmpty() ? stderr : stdout);
        return args.isEmpty() ? ExitCode::Usage : ExitCode::Ok;
    }
    if (args.contains(QStringLiteral("--version"))) {
        std::fputs("quorvel-cli " QUORVEL_VERSION "\n", stdout);
        return ExitCode::Ok;
    }
    // The terminal's stderr is for the command's own errors; log lines go to the log file.
    if (!Cli::takeFlag(args, QStringLiteral("--log-stderr")))
        Log::setSink(Log::Sink::LogFile);

    const int exitCode = runCommand(args);
    // Output that could not be written (a full disk, a closed pipe) is a failure, not a
    // silent success.
    errno = 0;
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        const int err = errno ? errno : EIO;
        Cli::printError(QStringLiteral("cannot write the output: %1").arg(QString::fromLocal8Bit(std::strerror(err))));
        return exitCode == ExitCode::Ok ? ExitCode::Failed : exitCode;
    }
    return exitCode;
}
