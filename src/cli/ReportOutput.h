#pragma once

#include "reports/ReportRows.h"

#include <QJsonArray>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

class FolderReports;

namespace Cli {

// The reports quorvel-cli can print, in the order "all" prints them.
enum class ReportName {
    Overview, Explorer, Types, Attributes, Sizes, Dates, Times, Ownership, Custom, Folders, Apps, Obsolete,
    TopSize, TopOldest,
};

// Every report name in "all" order, and the command-line spelling of one.
const std::vector<ReportName>& allReportNames();
QString reportNameText(ReportName name);
// Parses "overview,sizes" or "all"; absent (and *bad set to the offending word) when a
// name is unknown or the list is empty. Repeated names are printed once.
std::optional<std::vector<ReportName>> parseReportNames(const QString& text, QString* bad);

// The report index of FolderReports behind a name; -1 for the two top lists, which are
// the overview's file list.
int reportIndexOf(ReportName name);

// What one report shows: grouped rows, nodes, or folder rows; only one list is filled.
struct ReportContent {
    struct Grouped {
        QString label;
        std::int64_t files = 0;
        std::uint64_t size = 0;
        std::uint64_t sizeOnDisk = 0;
    };
    std::vector<Grouped> grouped;
    NodeList nodes;
    std::vector<TAllFoldInfo> folders;
    enum Kind { GroupedRows, NodeRows, FolderRows } kind = GroupedRows;
};

// Visits one report (FolderReports::generateReport; the top lists are loaded into the
// overview's file list) and returns its rows in display order.
ReportContent computeReport(FolderReports& reports, ReportName name);
// The rows of a report already visited, in display order.
ReportContent reportContent(const FolderReports& reports, ReportName name);

// The rows as JSON (grouped, node and folder row objects).
QJsonArray reportJson(const ReportContent& content);
// The rows as a text table with a title and a header line: label, files, size, size on
// disk (in the "allDiskReports" unit) and share of the selected folder.
QString reportTable(const FolderReports& reports, ReportName name, const ReportContent& content);

} // namespace Cli
