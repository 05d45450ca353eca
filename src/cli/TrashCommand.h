#pragma once

#include <QStringList>

namespace Cli {

// quorvel-cli trash PATH...
// Moves each item to the trash as the application does (an item already lying directly in
// the home trash is deleted for good). Prints a line on stderr for each item that could not
// be trashed; exit 0 when all went, 1 when any failed, 2 without a PATH.
int runTrash(const QStringList& args);

} // namespace Cli
