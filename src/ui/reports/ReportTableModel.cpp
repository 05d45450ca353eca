#include "ui/reports/ReportTableModel.h"

#include "reports/ReportRows.h"
#include "settings/GeneralLib.h"
#include "ui/icons/IconProvider.h"

#include <QHash>

ReportTableModel::ReportTableModel(std::unique_ptr<ReportTable> table, QObject* parent)
    : QAbstractTableModel(parent), table_(std::move(table))
{
    Q_ASSERT(table_);
}

ReportTableModel::~ReportTableModel() = default;

void ReportTableModel::reload()
{
    beginResetModel();
    endResetModel();
}

void ReportTableModel::refreshTexts()
{
    if (rowCount() > 0)
        Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1), {Qt::DisplayRole});
    Q_EMIT headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

int ReportTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : table_->rowCount();
}

int ReportTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : table_->columnCount();
}

QVariant ReportTableModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const int row = index.row();
    const int col = index.column();
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return table_->text(row, col);
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(alignment(col));
    case SortRole:
        return table_->sortValue(row, col);
    case Qt::CheckStateRole:
        if (col != table_->checkColumn())
            return {};
        return table_->isChecked(row) ? Qt::Checked : Qt::Unchecked;
    case CheckEnabledRole:
        return col == table_->checkColumn() && table_->isCheckEnabled(row);
    case Qt::DecorationRole:
        return col == 0 ? rowIcon(row) : QVariant();
    case NodeRole:
        return QVariant::fromValue(static_cast<void*>(table_->node(row)));
    default:
        return {};
    }
}

QVariant ReportTableModel::rowIcon(int row) const
{
    if (const TFoldInfo* node = table_->node(row))
        return IconProvider::shared().iconForNode(node);
    // A kind's row shows the kind's icon (its files share the extension); the other grouped
    // rows are ranges and categories, which no one icon stands for.
    if (table_->tableId() == ReportIndex::FileTypes)
        if (const TGroupRow* group = table_->groupRow(row); group && !group->nodes.empty())
            return IconProvider::shared().iconForNode(group->nodes.front());
    return {};
}

QVariant ReportTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount())
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (role) {
    case Qt::DisplayRole: return table_->columnTitle(section);
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(alignment(section));
    // Numbers are most telling biggest first; names read from A.
    case Qt::InitialSortOrderRole:
        return table_->column(section).numeric ? Qt::DescendingOrder : Qt::AscendingOrder;
    default: return {};
    }
}

Qt::Alignment ReportTableModel::alignment(int column) const
{
    return (table_->column(column).numeric ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
}

Qt::ItemFlags ReportTableModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    if (index.column() == table_->checkColumn() && table_->isCheckEnabled(index.row()))
        f |= Qt::ItemIsUserCheckable;
    return f;
}

bool ReportTableModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::CheckStateRole || !index.isValid() || index.column() != table_->checkColumn())
        return false;
    const bool checked = value.toInt() == Qt::Checked;
    if (!table_->setChecked(index.row(), checked))
        return false;
    Q_EMIT dataChanged(index, index, {Qt::CheckStateRole});
    Q_EMIT checkToggled(index.row(), checked);
    return true;
}

bool ReportTableModel::isSortable(int column) const
{
    return column >= 0 && column < columnCount() && !table_->column(column).sortKey.isEmpty();
}

QVariant ReportTableModel::rowIdentity(int row) const
{
    if (TFoldInfo* node = table_->node(row))
        return QVariant::fromValue(quintptr(node));
    if (const TAllFoldInfo* folder = table_->folderRow(row))
        return QVariant::fromValue(quintptr(folder->foldInfo));
    return table_->text(row, 0); // grouped rows: their label
}

void ReportTableModel::sort(int column, Qt::SortOrder order)
{
    if (!isSortable(column))
        return;
    const QModelIndexList before = persistentIndexList();
    std::vector<QVariant> identities;
    identities.reserve(std::size_t(before.size()));
    for (const QModelIndex& index : before)
        identities.push_back(rowIdentity(index.row()));

    Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const bool sorted = table_->sort(column, order == Qt::AscendingOrder);
    QModelIndexList after;
    after.reserve(before.size());
    if (sorted && !before.isEmpty()) {
        QHash<QString, int> rowOf;
        for (int row = 0; row < rowCount(); ++row)
            rowOf.insert(rowIdentity(row).toString(), row);
        for (qsizetype i = 0; i < before.size(); ++i) {
            const int row = rowOf.value(identities[std::size_t(i)].toString(), -1);
            after.append(row < 0 ? QModelIndex() : index(row, before[i].column()));
        }
    } else {
        after = before;
    }
    changePersistentIndexList(before, after);
    Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}
