#include "cli/ReportOutput.h"

#include "cli/CliCommon.h"
#include "fileops/PathBytes.h"
#include "reports/FolderReports.h"
#include "reports/ReportTable.h"
#include "settings/CommonFuncs.h"
#include "settings/GeneralLib.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

namespace Cli {

namespace {

struct NameInfo {
    ReportName name;
    const char* text;
    const char* title;
    int index;
};

const NameInfo kNames[] = {
    {ReportName::Overview, "overview", "Overview", ReportIndex::Overview},
    {ReportName::Explorer, "explorer", "File explorer", ReportIndex::FileExplorer},
    {ReportName::Types, "types", "File types", ReportIndex::FileTypes},
    {ReportName::Attributes, "attributes", "Attributes", ReportIndex::Attributes},
    {ReportName::Sizes, "sizes", "Size ranges", ReportIndex::SizeRanges},
    {ReportName::Dates, "dates", "Date ranges (created)", ReportIndex::DateRanges},
    {ReportName::Times, "times", "Time of day (created)", ReportIndex::TimeOfDay},
    {ReportName::Ownership, "ownership", "Ownership", ReportIndex::Ownership},
    {ReportName::Custom, "custom", "Custom type summary", ReportIndex::CustomTypes},
    {ReportName::Folders, "folders", "All folders and subfolders", ReportIndex::AllFolders},
    {ReportName::Apps, "apps", "Applications", ReportIndex::Applications},
    {ReportName::Obsolete, "obsolete", "Obsolete files", ReportIndex::ObsoleteFiles},
    {ReportName::TopSize, "top-size", "Top 100 files by size", -1},
    {ReportName::TopOldest, "top-oldest", "Top 100 oldest files (accessed)", -1},
};

const NameInfo& info(ReportName name) { return kNames[int(name)]; }

std::unique_ptr<ReportTable> tableOf(FolderReports& reports, ReportName name)
{
    return ReportTable::create(reports, info(name).index < 0 ? ReportTableId::TopFiles : info(name).index);
}

QJsonObject groupedJson(const TGroupRow& row)
{
    return QJsonObject{{QStringLiteral("label"), row.label},
                       {QStringLiteral("files"), qint64(row.Files)},
                       {QStringLiteral("size"), qint64(row.Size)},
                       {QStringLiteral("size_on_disk"), qint64(row.ASize)}};
}

QJsonObject nodeFields(const TFoldInfo* node);

// A node's fields; a name or path that is not valid UTF-8 also comes as its exact bytes
// ("name_bytes", "path_bytes", base64), since the text fields had to replace them.
QJsonObject nodeJson(const TFoldInfo* node)
{
    QJsonObject object = nodeFields(node);
    const QByteArray path = node->sPathBytes();
    if (!node->isRoot())
        addBytesIfNotUtf8(object, QStringLiteral("name"), PathBytes::lastComponent(path));
    addBytesIfNotUtf8(object, QStringLiteral("path"), path);
    return object;
}

QJsonObject nodeFields(const TFoldInfo* node)
{
    return QJsonObject{{QStringLiteral("name"), node->sName()},
                       {QStringLiteral("path"), node->sPath()},
                       {QStringLiteral("is_folder"), node->isFolder()},
                       {QStringLiteral("is_app"), node->isApp()},
                       {QStringLiteral("kind"), node->fType()},
                       {QStringLiteral("size"), qint64(node->cSize())},
                       {QStringLiteral("size_on_disk"), qint64(node->cASize())},
                       {QStringLiteral("files"), qint64(node->cFiles())},
                       {QStringLiteral("folders"), qint64(node->cFolders())},
                       {QStringLiteral("modified"), node->lMTime()},
                       {QStringLiteral("created"), node->cTime()},
                       {QStringLiteral("accessed"), node->lATime()}};
}

QJsonObject folderJson(const TAllFoldInfo& row)
{
    return QJsonObject{{QStringLiteral("name"), row.sName()},
                       {QStringLiteral("path"), row.sPath()},
                       {QStringLiteral("files"), qint64(row.Files)},
                       {QStringLiteral("folders"), qint64(row.Folders)},
                       {QStringLiteral("size"), qint64(row.Size)},
                       {QStringLiteral("size_on_disk"), qint64(row.ASize)},
                       {QStringLiteral("modified"), row.lMTime}};
}

QJsonObject rowJson(const ReportTable& table, int row)
{
    if (const TAllFoldInfo* folder = table.folderRow(row))
        return folderJson(*folder);
    if (const TGroupRow* group = table.groupRow(row))
        return groupedJson(*group);
    return nodeJson(table.node(row));
}

// The rows to print: all, or for the node reports those the filter keeps, in row order.
std::vector<int> shownRows(const ReportTable& table, const std::optional<FileViewerFilterValues>& filter)
{
    std::vector<int> rows;
    const bool nodeRows = table.rowCount() > 0 && !table.folderRow(0) && table.node(0);
    if (!filter || !nodeRows) {
        for (int r = 0; r < table.rowCount(); ++r)
            rows.push_back(r);
        return rows;
    }
    NodeList nodes;
    QHash<const TFoldInfo*, int> rowOf;
    for (int r = 0; r < table.rowCount(); ++r) {
        nodes.push_back(table.node(r));
        rowOf.insert(nodes.back(), r);
    }
    for (const TFoldInfo* node : FileViewerFilter::filteredNodes(nodes, *filter))
        rows.push_back(rowOf.value(node));
    return rows;
}

// The header and the cells as aligned text: text columns left, numbers right.
QString formatLines(const ReportTable& table, const std::vector<QStringList>& lines)
{
    std::vector<qsizetype> width(std::size_t(table.columnCount()), 0);
    for (const QStringList& line : lines)
        for (int c = 0; c < line.size(); ++c)
            width[std::size_t(c)] = std::max(width[std::size_t(c)], line[c].size());
    QString out;
    for (const QStringList& line : lines) {
        QString text;
        for (int c = 0; c < line.size(); ++c) {
            if (c > 0)
                text += QLatin1String("  ");
            const qsizetype w = width[std::size_t(c)];
            text += table.column(c).numeric ? line[c].rightJustified(w) : line[c].leftJustified(w);
        }
        while (text.endsWith(QLatin1Char(' ')))
            text.chop(1);
        out += text + QLatin1Char('\n');
    }
    return out;
}

} // namespace

const std::vector<ReportName>& allReportNames()
{
    static const std::vector<ReportName> names = [] {
        std::vector<ReportName> all;
        for (const NameInfo& n : kNames)
            all.push_back(n.name);
        return all;
    }();
    return names;
}

QString reportNameText(ReportName name) { return QLatin1String(info(name).text); }

int reportIndexOf(ReportName name) { return info(name).index; }

std::optional<std::vector<ReportName>> parseReportNames(const QString& text, QString* bad)
{
    std::vector<ReportName> names;
    const auto add = [&names](ReportName name) {
        if (std::find(names.begin(), names.end(), name) == names.end())
            names.push_back(name);
    };
    for (const QString& word : text.split(QLatin1Char(','))) {
        if (word == QLatin1String("all")) {
            for (ReportName name : allReportNames())
                add(name);
            continue;
        }
        const auto it = std::find_if(std::begin(kNames), std::end(kNames),
                                     [&word](const NameInfo& n) { return word == QLatin1String(n.text); });
        if (it == std::end(kNames)) {
            *bad = word;
            return std::nullopt;
        }
        add(it->name);
    }
    if (names.empty()) {
        *bad = text;
        return std::nullopt;
    }
    return names;
}

RenderedReport renderReport(FolderReports& reports, ReportName name, const std::optional<FileViewerFilterValues>& filter)
{
    const std::unique_ptr<ReportTable> table = tableOf(reports, name);
    RenderedReport out;
    std::vector<QStringList> lines(1);
    for (int c = 0; c < table->columnCount(); ++c)
        lines[0].append(table->columnTitle(c));
    for (int row : shownRows(*table, filter)) {
        QStringList cells;
        for (int c = 0; c < table->columnCount(); ++c)
            cells.append(printable(table->text(row, c))); // a newline in a name stays on its row
        lines.push_back(cells);
    }
    out.rows = qsizetype(lines.size() - 1);
    out.table = QStringLiteral("== %1 (%2 rows) ==\n").arg(QLatin1String(info(name).title)).arg(out.rows)
                + formatLines(*table, lines);
    return out;
}

qsizetype writeReportJson(FolderReports& reports, ReportName name, const std::optional<FileViewerFilterValues>& filter,
                          const std::function<void(const QByteArray&)>& out)
{
    const std::unique_ptr<ReportTable> table = tableOf(reports, name);
    const std::vector<int> rows = shownRows(*table, filter);
    out(QByteArrayLiteral("["));
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (i > 0)
            out(QByteArrayLiteral(","));
        out(QJsonDocument(rowJson(*table, rows[i])).toJson(QJsonDocument::Compact));
    }
    out(QByteArrayLiteral("]"));
    return qsizetype(rows.size());
}

QByteArray compactJson(const QJsonValue& value)
{
    // A one-element array is the smallest document that holds any value; its brackets go.
    const QByteArray array = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
    return array.mid(1, array.size() - 2);
}

} // namespace Cli
