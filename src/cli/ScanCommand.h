#pragma once

#include <QStringList>

#include <memory>

class ScanTree;
struct ScanOptions;

namespace Cli {

// quorvel-cli scan [--json] [--exclusions FILE] [--threads N] PATH
int runScan(const QStringList& args);

// Scans options.path into a new tree with its root totals computed, as the application
// does. Progress goes to stderr when it is a terminal; Ctrl-C ends the scan early and the
// partial tree is returned. Sets *seconds to the scan's wall time.
std::unique_ptr<ScanTree> scanPath(const ScanOptions& options, double* seconds, int* exitCode);

// The display name of a scanned path: its last component, "/" for the root folder.
QString displayNameForPath(const QString& path);

} // namespace Cli
