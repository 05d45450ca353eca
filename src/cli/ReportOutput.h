#pragma once

#include "reports/ReportRows.h"
#include "viewer/core/FileViewerFilter.h"

#include <QByteArray>
#include <QJsonValue>
#include <QString>
#include <QStringList>

#include <functional>
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

// One report as a text table: a title line, a header of the report's column titles and
// one line of cell texts per row, read through the report's ReportTable at the moment of
// rendering (so render a report right after visiting it: the two top lists share the
// overview's file list).
struct RenderedReport {
    QString table;
    qsizetype rows = 0;
};

// Renders the report the controller has just visited. `filter` keeps only the matching
// rows of the node reports (explorer, applications, obsolete files, the top lists), in row
// order.
RenderedReport renderReport(FolderReports& reports, ReportName name, const std::optional<FileViewerFilterValues>& filter);

// Writes the rows of the report the controller has just visited as one compact JSON array
// of grouped, node or folder row objects, a row at a time: the bytes are those of the whole
// array put through QJsonDocument, but only one row is ever held. `filter` as above.
// Returns the number of rows written.
qsizetype writeReportJson(FolderReports& reports, ReportName name, const std::optional<FileViewerFilterValues>& filter,
                          const std::function<void(const QByteArray&)>& out);

// Compact JSON of one value as QJsonDocument writes it inside an array or object.
QByteArray compactJson(const QJsonValue& value);

} // namespace Cli
