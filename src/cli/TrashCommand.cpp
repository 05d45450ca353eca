#include "cli/TrashCommand.h"

#include "cli/CliCommon.h"
#include "cli/ZipCommand.h"
#include "fileops/FileOprations.h"
#include "fileops/PathBytes.h"

namespace Cli {

int runTrash(const QStringList& args)
{
    QList<QByteArray> paths;
    bool optionsEnded = false;
    for (const QByteArray& arg : rawArguments(args)) {
        if (!optionsEnded && arg == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && arg.startsWith("--")) {
            printError(QStringLiteral("unknown option %1").arg(PathBytes::display(arg)));
            return ExitCode::Usage;
        } else {
            paths.append(arg);
        }
    }
    if (paths.isEmpty()) {
        printError(QStringLiteral("trash needs at least one PATH"));
        return ExitCode::Usage;
    }
    // Failures are reported here, one line each, rather than as alerts.
    FileOprations operations(nullptr);
    int failed = 0;
    for (const QByteArray& path : std::as_const(paths)) {
        if (operations.moveToTrashFileFromPath(absoluteArgument(path)))
            continue;
        ++failed;
        printError(QStringLiteral("cannot move '%1' to the trash: %2").arg(PathBytes::display(path), operations.lastError()));
    }
    return failed == 0 ? ExitCode::Ok : ExitCode::Failed;
}

} // namespace Cli
