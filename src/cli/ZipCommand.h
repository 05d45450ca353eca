#pragma once

#include <QByteArray>
#include <QList>
#include <QStringList>

namespace Cli {

// quorvel-cli zip --to FOLDER [--name BASE] PATH...
// Packs the files into one new archive in FOLDER and prints the archive's path. Exit 0
// when every file went in, 1 when some could not be read and were left out (each named on
// stderr with the reason; when none could be read no archive is left), 2 when the archive
// cannot be written or the arguments are wrong.
int runZip(const QStringList& args);

// The command's arguments (after the command word) as the bytes given on the command line,
// so that a path that is not valid UTF-8 reaches the file system unchanged. Falls back to
// the decoded `args` when the raw command line cannot be matched with them.
QList<QByteArray> rawArguments(const QStringList& args);

// A path given on the command line, made absolute against the current folder.
QByteArray absoluteArgument(const QByteArray& path);

// Writes raw bytes and a newline to stdout.
void printBytesLine(const QByteArray& bytes);

} // namespace Cli
