#include "ui/reports/AppsOutlineModel.h"

#include "app/AppDelegate.h"
#include "settings/GeneralLib.h"

AppsOutlineModel::AppsOutlineModel(AppDelegate& controller, QObject* parent)
    : QAbstractItemModel(parent), controller_(controller), table_(controller.reportTable(ReportIndex::Applications))
{
    apps_ = controller_.appsOutlineChildren(nullptr);
}

AppsOutlineModel::~AppsOutlineModel() = default;

void AppsOutlineModel::reload()
{
    beginResetModel();
    apps_ = controller_.appsOutlineChildren(nullptr);
    endResetModel();
}

TFoldInfo* AppsOutlineModel::nodeAt(const QModelIndex& index) const
{
    if (!index.isValid() || index.internalPointer() || std::size_t(index.row()) >= apps_.size())
        return nullptr;
    return apps_[std::size_t(index.row())];
}

QModelIndex AppsOutlineModel::index(int row, int column, const QModelIndex& parent) const
{
    // Applications are shown closed: only the top level has rows.
    if (parent.isValid() || row < 0 || column < 0 || row >= rowCount() || column >= columnCount())
        return {};
    return createIndex(row, column);
}

QModelIndex AppsOutlineModel::parent(const QModelIndex&) const { return {}; }

int AppsOutlineModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(apps_.size());
}

int AppsOutlineModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : table_->columnCount();
}

bool AppsOutlineModel::hasChildren(const QModelIndex& parent) const
{
    return !parent.isValid() ? !apps_.empty() : AppDelegate::isAppsOutlineItemExpandable(nodeAt(parent));
}

QVariant AppsOutlineModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    TFoldInfo* app = nodeAt(index);
    if (!app)
        return {};
    const QString column = table_->columnId(index.column());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return controller_.appsOutlineText(app, column);
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(table_->column(index.column()).numeric ? Qt::AlignRight | Qt::AlignVCenter
                                                                          : Qt::AlignLeft | Qt::AlignVCenter);
    case NodeRole: return QVariant::fromValue(static_cast<void*>(app));
    default: return {};
    }
}

QVariant AppsOutlineModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount())
        return QAbstractItemModel::headerData(section, orientation, role);
    switch (role) {
    case Qt::DisplayRole: return table_->columnTitle(section);
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(table_->column(section).numeric ? Qt::AlignRight | Qt::AlignVCenter
                                                                   : Qt::AlignLeft | Qt::AlignVCenter);
    case Qt::InitialSortOrderRole:
        return table_->column(section).numeric ? Qt::DescendingOrder : Qt::AscendingOrder;
    default: return {};
    }
}

Qt::ItemFlags AppsOutlineModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

void AppsOutlineModel::sort(int column, Qt::SortOrder order)
{
    if (column < 0 || column >= columnCount() || table_->column(column).sortKey.isEmpty())
        return;
    const QModelIndexList before = persistentIndexList();
    std::vector<TFoldInfo*> nodes;
    for (const QModelIndex& index : before)
        nodes.push_back(nodeAt(index));
    Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    table_->sort(column, order == Qt::AscendingOrder);
    apps_ = controller_.appsOutlineChildren(nullptr);
    QModelIndexList after;
    for (qsizetype i = 0; i < before.size(); ++i) {
        const auto it = std::find(apps_.begin(), apps_.end(), nodes[std::size_t(i)]);
        after.append(it == apps_.end() ? QModelIndex() : createIndex(int(it - apps_.begin()), before[i].column()));
    }
    changePersistentIndexList(before, after);
    Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}
