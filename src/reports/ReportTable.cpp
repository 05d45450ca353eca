#include "reports/ReportTable.h"

#include "reports/FolderReports.h"
#include "reports/ReportRanges.h"
#include "settings/CommonFuncs.h"
#include "settings/GeneralLib.h"
#include "settings/TextFormat.h"

namespace {

using namespace ReportIndex;

// ---- cell texts shared by the tables ----

QString sizeText(std::uint64_t bytes) { return CommonFuncs::sizeUnitFor(GeneralLib::cache().allDiskReports, bytes); }

QString sizeOrDash(std::uint64_t bytes) { return bytes == 0 ? QStringLiteral("--") : sizeText(bytes); }

QString countText(std::int64_t count) { return TextFormat::format(QStringLiteral("%lu"), {qint64(count)}); }

QString dateText(double absoluteTime)
{
    return CommonFuncs::getFomattedDateString(CommonFuncs::dateFromAbsoluteTime(absoluteTime));
}

// A column and how its cells read a row of type Row.
template <class Row>
struct ColumnSpec {
    ReportColumn column;
    QString (*text)(const FolderReports&, const Row&);
    QVariant (*value)(const FolderReports&, const Row&);
};

ReportColumn col(const char* id, const char* titleKey, const char* sortKey, bool numeric)
{
    return {QLatin1String(id), QLatin1String(titleKey), QLatin1String(sortKey), numeric};
}

// ---- grouped rows ----

using GroupSpec = ColumnSpec<TGroupRow>;

GroupSpec groupLabel(const char* id, const char* titleKey, const char* field)
{
    return {col(id, titleKey, field, false), [](const FolderReports&, const TGroupRow& r) { return r.label; },
            [](const FolderReports&, const TGroupRow& r) { return QVariant(r.label); }};
}

// The range columns show the bucket's title and sort by its number, so that a click
// orders the rows as the ranges follow each other.
template <class Row>
GroupSpec groupRange(const char* id, const char* titleKey)
{
    return {col(id, titleKey, "SrNo", false), [](const FolderReports&, const TGroupRow& r) { return r.label; },
            [](const FolderReports&, const TGroupRow& r) {
                return QVariant::fromValue(qint64(static_cast<const Row&>(r).SrNo));
            }};
}

GroupSpec groupFiles(const char* id = "files")
{
    return {col(id, "ID_FILES", "Files", true), [](const FolderReports&, const TGroupRow& r) { return countText(r.Files); },
            [](const FolderReports&, const TGroupRow& r) { return QVariant::fromValue(qint64(r.Files)); }};
}

GroupSpec groupSize()
{
    return {col("size", "ID_SIZE", "Size", true), [](const FolderReports&, const TGroupRow& r) { return sizeText(r.Size); },
            [](const FolderReports&, const TGroupRow& r) { return QVariant::fromValue(quint64(r.Size)); }};
}

GroupSpec groupSizeOnDisk()
{
    return {col("sizeondisk", "ID_SIZE_ON_DISK", "ASize", true),
            [](const FolderReports&, const TGroupRow& r) { return sizeText(r.ASize); },
            [](const FolderReports&, const TGroupRow& r) { return QVariant::fromValue(quint64(r.ASize)); }};
}

GroupSpec groupShare()
{
    return {col("percent", "ID_COLUMN_SHARE", "Size", true),
            [](const FolderReports& f, const TGroupRow& r) { return f.shareText(r.Size); },
            [](const FolderReports& f, const TGroupRow& r) { return QVariant(double(f.share(r.Size))); }};
}

// The overview's size and share read "--" for a group without files.
GroupSpec overviewSize()
{
    GroupSpec def = groupSize();
    def.text = [](const FolderReports&, const TGroupRow& r) {
        return r.Files == 0 ? QStringLiteral("--") : sizeText(r.Size);
    };
    return def;
}

GroupSpec overviewShare()
{
    GroupSpec def = groupShare();
    def.column.id = QStringLiteral("percentage");
    def.text = [](const FolderReports& f, const TGroupRow& r) {
        return r.Files == 0 ? QStringLiteral("--") : f.shareText(r.Size);
    };
    return def;
}

GroupSpec ownerDomain()
{
    return {col("domainname", "ID_COLUMN_DOMAIN", "sDomain", false),
            [](const FolderReports&, const TGroupRow& r) { return static_cast<const TOwnerInfo&>(r).sDomain; },
            [](const FolderReports&, const TGroupRow& r) { return QVariant(static_cast<const TOwnerInfo&>(r).sDomain); }};
}

std::vector<GroupSpec> groupColumns(int index)
{
    switch (index) {
    case SizeRanges:
        return {groupRange<TSizeInfo>("sizerange", "ID_COLUMN_SIZE_RANGE"), groupFiles(), groupShare(), groupSize(),
                groupSizeOnDisk()};
    case TimeOfDay:
        return {groupRange<TTimeInfo>("timerange", "ID_COLUMN_TIME_RANGE"), groupFiles(), groupSize(), groupSizeOnDisk()};
    case DateRanges:
        return {groupRange<TDateInfo>("daterange", "ID_COLUMN_DATE_RANGE"), groupFiles(), groupSize(), groupSizeOnDisk()};
    case FileTypes:
        return {groupLabel("type", "ID_COLUMN_TYPE", "sType"), groupShare(), groupFiles(), groupSize(), groupSizeOnDisk()};
    case Attributes:
        return {groupLabel("attribute", "ID_COLUMN_ATTRIBUTE", "Attr"), groupFiles(), groupSize(), groupSizeOnDisk()};
    case Ownership:
        return {groupLabel("ownername", "ID_COLUMN_OWNER", "sOwner"), ownerDomain(), groupFiles(), groupShare(),
                groupSize(), groupSizeOnDisk()};
    case CustomTypes:
        return {groupLabel("type", "ID_COLUMN_TYPE", "sType"), groupFiles(), groupSize(), groupSizeOnDisk()};
    case Overview:
        return {groupLabel("type", "ID_COLUMN_TYPE", "sType"), groupFiles("filecount"), overviewSize(), overviewShare()};
    default: return {};
    }
}

// ---- node rows ----

using NodeSpec = ColumnSpec<TFoldInfo>;

NodeSpec nodeName(const char* id = "name")
{
    return {col(id, "ID_COLUMN_NAME", "sName", false), [](const FolderReports&, const TFoldInfo& n) { return n.sName(); },
            [](const FolderReports&, const TFoldInfo& n) { return QVariant(n.sName()); }};
}

NodeSpec nodePath()
{
    return {col("path", "ID_COLUMN_PATH", "sPath", false), [](const FolderReports&, const TFoldInfo& n) { return n.sPath(); },
            [](const FolderReports&, const TFoldInfo& n) { return QVariant(n.sPath()); }};
}

NodeSpec nodeShare(const char* id)
{
    return {col(id, "ID_COLUMN_SHARE", "cSize", true),
            [](const FolderReports& f, const TFoldInfo& n) { return f.shareText(n.cSize()); },
            [](const FolderReports& f, const TFoldInfo& n) { return QVariant(double(f.share(n.cSize()))); }};
}

NodeSpec nodeSize(bool dashForZero)
{
    NodeSpec def{col("size", "ID_SIZE", "cSize", true),
                  [](const FolderReports&, const TFoldInfo& n) { return sizeText(n.cSize()); },
                  [](const FolderReports&, const TFoldInfo& n) { return QVariant::fromValue(quint64(n.cSize())); }};
    if (dashForZero)
        def.text = [](const FolderReports&, const TFoldInfo& n) { return sizeOrDash(n.cSize()); };
    return def;
}

NodeSpec nodeSizeOnDisk(bool dashForZero)
{
    NodeSpec def{col("sizeondisk", "ID_SIZE_ON_DISK", "cASize", true),
                  [](const FolderReports&, const TFoldInfo& n) { return sizeText(n.cASize()); },
                  [](const FolderReports&, const TFoldInfo& n) { return QVariant::fromValue(quint64(n.cASize())); }};
    if (dashForZero)
        def.text = [](const FolderReports&, const TFoldInfo& n) { return sizeOrDash(n.cASize()); };
    return def;
}

NodeSpec nodeFolders()
{
    return {col("folders", "ID_FOLDERS", "cFolders", true),
            [](const FolderReports&, const TFoldInfo& n) { return countText(n.cFolders()); },
            [](const FolderReports&, const TFoldInfo& n) { return QVariant::fromValue(qint64(n.cFolders())); }};
}

NodeSpec nodeFiles()
{
    return {col("files", "ID_FILES", "cFiles", true),
            [](const FolderReports&, const TFoldInfo& n) { return countText(n.cFiles()); },
            [](const FolderReports&, const TFoldInfo& n) { return QVariant::fromValue(qint64(n.cFiles())); }};
}

NodeSpec nodeKind()
{
    return {col("type", "ID_COLUMN_TYPE", "fType", false), [](const FolderReports&, const TFoldInfo& n) { return n.fType(); },
            [](const FolderReports&, const TFoldInfo& n) { return QVariant(n.fType()); }};
}

template <double (TFoldInfo::*Time)() const>
NodeSpec nodeDate(const char* id, const char* titleKey, const char* field)
{
    return {col(id, titleKey, field, true), [](const FolderReports&, const TFoldInfo& n) { return dateText((n.*Time)()); },
            [](const FolderReports&, const TFoldInfo& n) { return QVariant((n.*Time)()); }};
}

NodeSpec nodeAttributes()
{
    // The attribute text is made from the permissions and flags; no row field holds it.
    return {col("attributes", "ID_COLUMN_ATTRIBUTE", "", false),
            [](const FolderReports&, const TFoldInfo& n) { return ReportRanges::GetAttributes(const_cast<TFoldInfo*>(&n)); },
            [](const FolderReports&, const TFoldInfo& n) {
                return QVariant(ReportRanges::GetAttributes(const_cast<TFoldInfo*>(&n)));
            }};
}

NodeSpec emptyColumn(const char* id, const char* titleKey)
{
    return {col(id, titleKey, "", false), [](const FolderReports&, const TFoldInfo&) { return QString(); },
            [](const FolderReports&, const TFoldInfo&) { return QVariant(QString()); }};
}

std::vector<NodeSpec> nodeColumns(int tableId)
{
    switch (tableId) {
    case FileExplorer:
        return {nodeName(),
                nodeShare("parent"),
                nodeSize(false),
                nodeSizeOnDisk(false),
                nodeFolders(),
                nodeFiles(),
                nodeKind(),
                nodeDate<&TFoldInfo::lMTime>("lmd", "ID_MODIFIED", "lMTime"),
                nodeDate<&TFoldInfo::cTime>("cd", "ID_COLUMN_CREATED", "cTime"),
                nodeDate<&TFoldInfo::lATime>("lad", "ID_ACCESSED", "lATime"),
                nodeAttributes()};
    case Applications:
        return {nodeName("itemName"), emptyColumn("attributes", "ID_COLUMN_ATTRIBUTE"), nodeSize(true)};
    case ObsoleteFiles: return {nodeName(), nodePath(), nodeSize(true), nodeSizeOnDisk(true)};
    case ReportTableId::TopFiles:
        return {nodeName(), nodeSize(true), nodeShare("percent"),
                nodeDate<&TFoldInfo::cTime>("createdDate", "ID_COLUMN_CREATED", "cTime")};
    default: return {};
    }
}

const NodeList& nodeList(const FolderReports& reports, int tableId)
{
    switch (tableId) {
    case FileExplorer: return reports.arrFilesExplorer();
    case Applications: return reports.arrAllChildApps();
    case ObsoleteFiles: return reports.FObsoleteFileList();
    default: return reports.arrTopSizeFiles();
    }
}

// ---- all-folders rows ----

using FolderSpec = ColumnSpec<TAllFoldInfo>;

std::vector<FolderSpec> folderColumns()
{
    const auto none = [](const FolderReports&, const TAllFoldInfo&) { return QString(); };
    std::vector<FolderSpec> specs{
        {col("name", "ID_COLUMN_NAME", "sName", false), none, nullptr},
        {col("path", "ID_COLUMN_PATH", "sPath", false), none, nullptr},
        {col("parent", "ID_COLUMN_SHARE", "Size", true), none, nullptr},
        {col("size", "ID_SIZE", "Size", true), none, nullptr},
        {col("sizeondisk", "ID_SIZE_ON_DISK", "ASize", true), none, nullptr},
        {col("folders", "ID_FOLDERS", "Folders", true), none, nullptr},
        {col("files", "ID_FILES", "Files", true), none, nullptr},
        {col("lmd", "ID_MODIFIED", "lMTime", true), none, nullptr},
    };
    specs[0].text = [](const FolderReports&, const TAllFoldInfo& r) { return r.sName(); };
    specs[0].value = [](const FolderReports&, const TAllFoldInfo& r) { return QVariant(r.sName()); };
    specs[1].text = [](const FolderReports&, const TAllFoldInfo& r) { return r.sPath(); };
    specs[1].value = [](const FolderReports&, const TAllFoldInfo& r) { return QVariant(r.sPath()); };
    specs[2].text = [](const FolderReports& f, const TAllFoldInfo& r) { return f.shareText(r.Size); };
    specs[2].value = [](const FolderReports& f, const TAllFoldInfo& r) { return QVariant(double(f.share(r.Size))); };
    specs[3].text = [](const FolderReports&, const TAllFoldInfo& r) { return sizeText(r.Size); };
    specs[3].value = [](const FolderReports&, const TAllFoldInfo& r) { return QVariant::fromValue(quint64(r.Size)); };
    specs[4].text = [](const FolderReports&, const TAllFoldInfo& r) { return sizeText(r.ASize); };
    specs[4].value = [](const FolderReports&, const TAllFoldInfo& r) { return QVariant::fromValue(quint64(r.ASize)); };
    specs[5].text = [](const FolderReports&, const TAllFoldInfo& r) { return countText(r.Folders); };
    specs[5].value = [](const FolderReports&, const TAllFoldInfo& r) { return QVariant::fromValue(qint64(r.Folders)); };
    specs[6].text = [](const FolderReports&, const TAllFoldInfo& r) { return countText(r.Files); };
    specs[6].value = [](const FolderReports&, const TAllFoldInfo& r) { return QVariant::fromValue(qint64(r.Files)); };
    specs[7].text = [](const FolderReports&, const TAllFoldInfo& r) { return dateText(r.lMTime); };
    specs[7].value = [](const FolderReports&, const TAllFoldInfo& r) { return QVariant(r.lMTime); };
    return specs;
}

template <class Row>
std::vector<ReportColumn> columnsOf(const std::vector<ColumnSpec<Row>>& specs)
{
    std::vector<ReportColumn> columns;
    for (const auto& def : specs)
        columns.push_back(def.column);
    return columns;
}

// ---- the three kinds of table ----

class GroupTable final : public ReportTable {
public:
    GroupTable(FolderReports& reports, int index, std::vector<GroupSpec> specs)
        : ReportTable(reports, index, columnsOf(specs), -1), specs_(std::move(specs))
    {
    }
    int rowCount() const override { return int(reports_.groupedRowCount(tableId())); }
    const TGroupRow* groupRow(int row) const override
    {
        return row < 0 ? nullptr : reports_.groupedRow(tableId(), std::size_t(row));
    }

protected:
    QString cellText(int row, int col) const override { return specs_[std::size_t(col)].text(reports_, *groupRow(row)); }
    QVariant cellValue(int row, int col) const override
    {
        return specs_[std::size_t(col)].value(reports_, *groupRow(row));
    }

private:
    std::vector<GroupSpec> specs_;
};

class NodeTable final : public ReportTable {
public:
    NodeTable(FolderReports& reports, int tableId, std::vector<NodeSpec> specs, int checkColumn)
        : ReportTable(reports, tableId, columnsOf(specs), checkColumn), specs_(std::move(specs))
    {
    }
    int rowCount() const override { return int(nodeList(reports_, tableId()).size()); }
    TFoldInfo* node(int row) const override
    {
        const NodeList& list = nodeList(reports_, tableId());
        return row >= 0 && std::size_t(row) < list.size() ? list[std::size_t(row)] : nullptr;
    }

protected:
    QString cellText(int row, int col) const override { return specs_[std::size_t(col)].text(reports_, *node(row)); }
    QVariant cellValue(int row, int col) const override { return specs_[std::size_t(col)].value(reports_, *node(row)); }

private:
    std::vector<NodeSpec> specs_;
};

class FolderTable final : public ReportTable {
public:
    explicit FolderTable(FolderReports& reports)
        : ReportTable(reports, AllFolders, columnsOf(folderColumns()), -1), specs_(folderColumns())
    {
    }
    int rowCount() const override { return int(reports_.FAllFolderList().size()); }
    const TAllFoldInfo* folderRow(int row) const override
    {
        const auto& rows = reports_.FAllFolderList();
        return row >= 0 && std::size_t(row) < rows.size() ? &rows[std::size_t(row)] : nullptr;
    }
    TFoldInfo* node(int row) const override
    {
        const TAllFoldInfo* info = folderRow(row);
        return info ? info->foldInfo : nullptr;
    }

protected:
    QString cellText(int row, int col) const override { return specs_[std::size_t(col)].text(reports_, *folderRow(row)); }
    QVariant cellValue(int row, int col) const override
    {
        return specs_[std::size_t(col)].value(reports_, *folderRow(row));
    }

private:
    std::vector<FolderSpec> specs_;
};

// The node's check state in a table with boxes.
bool nodeState(int tableId, const TFoldInfo& node)
{
    return (tableId == ObsoleteFiles ? node.stateAtObsoleteFiles() : node.state()) != 0;
}

} // namespace

// ---- ReportTable ----

std::unique_ptr<ReportTable> ReportTable::create(FolderReports& reports, int tableId, CheckHandler onCheck)
{
    std::unique_ptr<ReportTable> table;
    switch (tableId) {
    case FileExplorer:
    case ObsoleteFiles: table = std::make_unique<NodeTable>(reports, tableId, nodeColumns(tableId), 0); break;
    case Applications:
    case ReportTableId::TopFiles: table = std::make_unique<NodeTable>(reports, tableId, nodeColumns(tableId), -1); break;
    case AllFolders: table = std::make_unique<FolderTable>(reports); break;
    default:
        if (tableId < 0 || tableId >= ReportTableId::Count)
            return nullptr;
        table = std::make_unique<GroupTable>(reports, tableId, groupColumns(tableId));
        break;
    }
    table->onCheck_ = std::move(onCheck);
    return table;
}

ReportTable::ReportTable(FolderReports& reports, int tableId, std::vector<ReportColumn> columns, int checkColumn)
    : reports_(reports), tableId_(tableId), columns_(std::move(columns)), checkColumn_(checkColumn)
{
}

ReportTable::~ReportTable() = default;

QString ReportTable::columnId(int col) const
{
    return col >= 0 && col < columnCount() ? column(col).id : QString();
}

QString ReportTable::columnTitle(int col) const
{
    return col >= 0 && col < columnCount() ? CommonFuncs::getLocalizedStringForKey(column(col).titleKey) : QString();
}

int ReportTable::columnIndex(QAnyStringView id) const
{
    for (int c = 0; c < columnCount(); ++c)
        if (QAnyStringView::equal(column(c).id, id))
            return c;
    return -1;
}

bool ReportTable::validCell(int row, int col) const
{
    return row >= 0 && row < rowCount() && col >= 0 && col < columnCount();
}

QString ReportTable::text(int row, int col) const { return validCell(row, col) ? cellText(row, col) : QString(); }

QVariant ReportTable::sortValue(int row, int col) const
{
    return validCell(row, col) ? cellValue(row, col) : QVariant();
}

bool ReportTable::isChecked(int row) const
{
    const TFoldInfo* n = checkColumn_ < 0 ? nullptr : node(row);
    return n && !n->isNonDeleteableFile() && nodeState(tableId_, *n);
}

bool ReportTable::isCheckEnabled(int row) const
{
    const TFoldInfo* n = checkColumn_ < 0 ? nullptr : node(row);
    return n && !n->isNonDeleteableFile();
}

bool ReportTable::setChecked(int row, bool checked)
{
    if (!isCheckEnabled(row))
        return false;
    TFoldInfo* n = node(row);
    if (onCheck_)
        onCheck_(n, checked);
    else if (tableId_ == ObsoleteFiles)
        n->setStateAtObsoleteFiles(checked ? 1 : 0);
    else
        n->setState(checked ? 1 : 0);
    return true;
}

TFoldInfo* ReportTable::node(int) const { return nullptr; }

const TGroupRow* ReportTable::groupRow(int) const { return nullptr; }

const TAllFoldInfo* ReportTable::folderRow(int) const { return nullptr; }

int ReportTable::rowOfNode(const TFoldInfo* wanted) const
{
    if (!wanted)
        return -1;
    for (int r = 0; r < rowCount(); ++r)
        if (node(r) == wanted)
            return r;
    return -1;
}

bool ReportTable::sort(int col, bool ascending)
{
    if (col < 0 || col >= columnCount() || column(col).sortKey.isEmpty())
        return false;
    const SortDescriptor descriptor{column(col).sortKey, ascending};
    if (tableId_ == ReportTableId::TopFiles)
        return reports_.sortTopSizeFiles(descriptor);
    return reports_.sortReport(tableId_, descriptor);
}

std::optional<std::pair<int, bool>> ReportTable::sortIndicator() const
{
    const std::optional<SortDescriptor> current = tableId_ == ReportTableId::TopFiles
                                                      ? GeneralLib::sortDescriptor(SortSetting::TopFiles)
                                                      : FolderReports::currentSort(tableId_);
    if (!current)
        return std::nullopt;
    QStringView key = current->key;
    if (key.startsWith(u"self."))
        key = key.mid(5);
    for (int c = 0; c < columnCount(); ++c)
        if (column(c).sortKey == key)
            return std::pair{c, current->ascending};
    return std::nullopt;
}
