#pragma once

#include "app/AppDelegate.h"
#include "base/UserInterface.h"

#include <QStringList>

#include <memory>

struct ScanOptions;

namespace Cli {

// quorvel-cli scan [--json] [--exclusions FILE] [--threads N] PATH
int runScan(const QStringList& args);

// quorvel-cli runs the application's own controller: the scan on its thread, the
// completion, the selection of the root and the reports of the selected folder.
struct ScanSession {
    ScanSession();
    ~ScanSession();
    std::unique_ptr<UserInterface> ui; // alerts go to stderr; questions are answered no
    ImmediateScheduler scheduler;
    std::unique_ptr<AppDelegate> app;
    // The scanned root (selected), and the scan's wall time in seconds.
    TFoldInfo* root = nullptr;
    double seconds = 0;
    // True when Ctrl-C ended the scan early: the tree and its totals are partial.
    bool partial = false;
    // Folders beneath the root that could not be read (their content is missing).
    std::int64_t unreadable = 0;
};

// Loads the exclusion list, the settings and the catalog as the application does at
// start-up, then scans options.path through the controller. Progress goes to stderr when
// it is a terminal; Ctrl-C ends the scan early and the partial tree is reported, with a line
// on stderr, session->partial set and *exitCode ExitCode::Interrupted. Folders that could not
// be read are counted in session->unreadable, said on stderr and make *exitCode
// ExitCode::Failed (an interruption takes precedence). The root ends up selected, its
// reports not yet computed (AppDelegate::refreshAllReports does that). Null (and *exitCode
// set) when the path cannot be scanned.
std::unique_ptr<ScanSession> scanThroughController(const ScanOptions& options, int* exitCode);

} // namespace Cli
