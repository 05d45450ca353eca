#include "cli/ReportOutput.h"

#include "reports/FolderReports.h"
#include "settings/CommonFuncs.h"
#include "settings/GeneralLib.h"

#include <QJsonObject>

#include <algorithm>
#include <array>

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

template <class Row>
void addGrouped(ReportContent& content, const std::vector<Row>& rows, QString Row::*label)
{
    for (const Row& row : rows)
        content.grouped.push_back({row.*label, row.Files, row.Size, row.ASize});
}

ReportContent nodes(const NodeList& list)
{
    ReportContent content;
    content.kind = ReportContent::NodeRows;
    content.nodes = list;
    return content;
}

ReportContent groupedContent(const FolderReports& r, ReportName name)
{
    ReportContent c;
    switch (name) {
    case ReportName::Overview: addGrouped(c, r.FOverViewList(), &TSpInfo::sType); break;
    case ReportName::Types: addGrouped(c, r.FExtList2(), &TExtInfo::sType); break;
    case ReportName::Attributes: addGrouped(c, r.FAttrList(), &TAttrInfo::Attr); break;
    case ReportName::Sizes: addGrouped(c, r.FSizeList(), &TSizeInfo::SizeRange); break;
    case ReportName::Dates: addGrouped(c, r.FDateList(), &TDateInfo::DateRange); break;
    case ReportName::Times: addGrouped(c, r.FTimeList(), &TTimeInfo::TimeRange); break;
    case ReportName::Ownership: addGrouped(c, r.FOwnerList(), &TOwnerInfo::sOwner); break;
    case ReportName::Custom: addGrouped(c, r.FSpList(), &TSpInfo::sType); break;
    default: break;
    }
    return c;
}

QJsonObject groupedJson(const ReportContent::Grouped& row)
{
    return QJsonObject{{QStringLiteral("label"), row.label},
                       {QStringLiteral("files"), qint64(row.files)},
                       {QStringLiteral("size"), qint64(row.size)},
                       {QStringLiteral("size_on_disk"), qint64(row.sizeOnDisk)}};
}

QJsonObject nodeJson(const TFoldInfo* node)
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
    return QJsonObject{{QStringLiteral("name"), row.sName},
                       {QStringLiteral("path"), row.sPath},
                       {QStringLiteral("files"), qint64(row.Files)},
                       {QStringLiteral("folders"), qint64(row.Folders)},
                       {QStringLiteral("size"), qint64(row.Size)},
                       {QStringLiteral("size_on_disk"), qint64(row.ASize)},
                       {QStringLiteral("modified"), row.lMTime}};
}

// One table line: label, files, size, size on disk, share.
using Line = std::array<QString, 5>;

QString size(std::uint64_t bytes) { return CommonFuncs::sizeUnitFor(GeneralLib::cache().allDiskReports, bytes); }

QString formatLines(const std::vector<Line>& lines)
{
    std::array<qsizetype, 5> width{};
    for (const Line& line : lines)
        for (std::size_t i = 0; i < line.size(); ++i)
            width[i] = std::max(width[i], line[i].size());
    QString out;
    for (const Line& line : lines) {
        QString text = line[0].leftJustified(width[0]);
        for (std::size_t i = 1; i < line.size(); ++i)
            text += QLatin1String("  ") + line[i].rightJustified(width[i]);
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

ReportContent computeReport(FolderReports& reports, ReportName name)
{
    if (name == ReportName::TopSize || name == ReportName::TopOldest) {
        reports.getFilesOnlyForSelectedRoot();
        reports.loadTopSizeFilesTableFor(name == ReportName::TopSize ? reports.top100FilesBySize()
                                                                     : reports.top100OldestFiles());
        return nodes(reports.arrTopSizeFiles());
    }
    reports.generateReport(reportIndexOf(name));
    return reportContent(reports, name);
}

ReportContent reportContent(const FolderReports& reports, ReportName name)
{
    if (name == ReportName::TopSize || name == ReportName::TopOldest)
        return nodes(reports.arrTopSizeFiles());
    switch (name) {
    case ReportName::Explorer: return nodes(reports.arrFilesExplorer());
    case ReportName::Apps: return nodes(reports.arrAllChildApps());
    case ReportName::Obsolete: return nodes(reports.FObsoleteFileList());
    case ReportName::Folders: {
        ReportContent content;
        content.kind = ReportContent::FolderRows;
        content.folders = reports.FAllFolderList();
        return content;
    }
    default: return groupedContent(reports, name);
    }
}

QJsonArray reportJson(const ReportContent& content)
{
    QJsonArray rows;
    switch (content.kind) {
    case ReportContent::GroupedRows:
        for (const auto& row : content.grouped)
            rows.append(groupedJson(row));
        break;
    case ReportContent::NodeRows:
        for (const TFoldInfo* node : content.nodes)
            rows.append(nodeJson(node));
        break;
    case ReportContent::FolderRows:
        for (const TAllFoldInfo& row : content.folders)
            rows.append(folderJson(row));
        break;
    }
    return rows;
}

QString reportTable(const FolderReports& reports, ReportName name, const ReportContent& content)
{
    const bool byPath = name != ReportName::Explorer;
    std::vector<Line> lines{{content.kind == ReportContent::GroupedRows ? QStringLiteral("Row")
                                                                         : (byPath ? QStringLiteral("Path")
                                                                                   : QStringLiteral("Name")),
                             QStringLiteral("Files"), QStringLiteral("Size"), QStringLiteral("Size on disk"),
                             QStringLiteral("Share")}};
    for (const auto& row : content.grouped)
        lines.push_back({row.label, QString::number(row.files), size(row.size), size(row.sizeOnDisk),
                         reports.shareText(row.size)});
    for (const TFoldInfo* node : content.nodes)
        lines.push_back({byPath ? node->sPath() : node->sName(), QString::number(node->cFiles()),
                         size(node->cSize()), size(node->cASize()), reports.shareText(node->cSize())});
    for (const TAllFoldInfo& row : content.folders)
        lines.push_back({row.sPath, QString::number(row.Files), size(row.Size), size(row.ASize),
                         reports.shareText(row.Size)});
    const QString title = QStringLiteral("== %1 (%2 rows) ==\n")
                              .arg(QLatin1String(info(name).title))
                              .arg(qsizetype(lines.size() - 1));
    return title + formatLines(lines);
}

} // namespace Cli
