#include "cli/TrashCommand.h"

#include "cli/CliCommon.h"
#include "cli/ZipCommand.h"
#include "fileops/FileOprations.h"
#include "fileops/PathBytes.h"
#include "fileops/Trash.h"
#include "settings/ExclusionList.h"

namespace Cli {

int runTrash(const QStringList& args)
{
    QList<QByteArray> paths;
    bool optionsEnded = false;
    bool deleteFromTrash = false;
    for (const QByteArray& arg : rawArguments(args)) {
        if (!optionsEnded && arg == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && arg == "--delete-from-trash") {
            deleteFromTrash = true;
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
    // The protected folders come from the exclusion list, loaded as the application does.
    ExclusionList::loadShared();
    // Failures are reported here, one line each, rather than as alerts.
    FileOprations operations(nullptr);
    int failed = 0;
    for (const QByteArray& path : std::as_const(paths)) {
        // Trashing an item of the home trash deletes it for good; nobody is asked at a
        // terminal, so that takes the explicit option.
        if (!deleteFromTrash && !path.isEmpty() && Trash::liesDirectlyInHomeTrash(absoluteArgument(path))) {
            ++failed;
            printError(QStringLiteral("'%1' is already in the trash; trashing it again would delete it for good "
                                      "(add --delete-from-trash to do that)")
                           .arg(PathBytes::display(path)));
            continue;
        }
        if (operations.moveToTrashFileFromPath(path))
            continue;
        ++failed;
        printError(QStringLiteral("cannot move '%1' to the trash: %2").arg(PathBytes::display(path), operations.lastError()));
    }
    return failed == 0 ? ExitCode::Ok : ExitCode::Failed;
}

} // namespace Cli
