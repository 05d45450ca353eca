#pragma once

#include <QString>
#include <QVariantMap>

#include <span>

class TFoldInfo;

// "ScanReport.plist" in the documents folder: a one-time summary of the first overview.
// It is written once and never updated; a later overview finds it and leaves it alone.
namespace ScanReportFile {

// One overview row's totals.
struct OverviewRow {
    QString sType;
    qint64 files = 0;
    quint64 size = 0;
};

QString filePath();

// The running system's version: the kernel release's first three numbers.
struct SystemVersion {
    int major = 0, minor = 0, patch = 0;
};
SystemVersion systemVersion();

// {"version": "major.minor", "osName": the release name for that version}.
QVariantMap getSystemInfo(const SystemVersion& version);
inline QVariantMap getSystemInfo() { return getSystemInfo(systemVersion()); }

// The report's dictionary: the first 101 top files, the selected folder's totals (empty
// without a selection), the system information and one entry per overview row.
QVariantMap reportDictionary(std::span<TFoldInfo* const> topFiles, std::span<const OverviewRow> overview,
                             const TFoldInfo* selectedFolder);

// Writes the report unless a file (or anything) is already there. Returns true when it
// wrote one. A failed write is not reported; the next overview tries again.
bool writeScanReportFile(std::span<TFoldInfo* const> topFiles, std::span<const OverviewRow> overview,
                         const TFoldInfo* selectedFolder);

} // namespace ScanReportFile
