#pragma once

#include <QStringList>

namespace Cli {

// quorvel-cli report NAME[,NAME...] [--json] [--timings] [--exclusions FILE] [--threads N]
//                    [--unit auto|bytes|kb|mb|gb] [--decimals N] PATH
//
// Scans PATH as `scan` does, makes its root the selected folder and prints each named
// report with the rows the application would show, in its order. NAME is overview,
// explorer, types, attributes, sizes, dates, times, ownership, custom, folders, apps,
// obsolete, top-size, top-oldest, or all (every one, in that order). --timings adds the
// scan's and the reports' wall times (seconds). Returns the exit code.
int runReport(const QStringList& args);

} // namespace Cli
