#pragma once

#include <QString>

// Every place on disk that Quorvel reads or writes, derived from HOME and the XDG_*
// variables at the time of the call, so tests can point them at a temporary home.
namespace Paths {

QString home();             // $HOME (QDir::homePath())
QString documents();        // "%@/Documents" over home()
QString configHome();       // $XDG_CONFIG_HOME or ~/.config
QString dataHome();         // $XDG_DATA_HOME or ~/.local/share
QString stateHome();        // $XDG_STATE_HOME or ~/.local/state
QString supportFolder();    // dataHome()/Quorvel: ScanInfo.plist lives here
QString logFile();          // stateHome()/Quorvel/Quorvel.log
QString trashFiles();       // dataHome()/Trash/files: the user's trash on the home file system
QString userName();         // the login name of the current user

// Path of a file in the documents folder ("ExclusionList.plist", "file_extns.plist" ...).
QString inDocuments(const QString& fileName);

// A free name next to a file that cannot be parsed, to keep it under before it is replaced:
// "<file>.broken-<yyyyMMdd-HHmmss>", with "-<n>" added when that name is taken.
QString brokenFileBackupPath(const QString& file);

// Creates the folder (and its parents) when missing. Returns false when it cannot.
bool ensureFolder(const QString& path);

} // namespace Paths
