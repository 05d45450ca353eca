#include "viewer/FileViewerTableModel.h"

#include "scan/TFoldInfo.h"
#include "settings/CommonFuncs.h"
#include "ui/icons/IconProvider.h"
#include "viewer/core/FileViewerWindowController.h"

namespace {

struct Column {
    const char* identifier;
    const char* titleKey;
    bool number; // right-aligned
};

const Column kColumns[] = {
    {"name", "ID_COLUMN_NAME", false},          {"path", "ID_COLUMN_PATH", false},
    {"type", "ID_COLUMN_TYPE", false},          {"size", "ID_SIZE", true},
    {"sizeonDisk", "ID_SIZE_ON_DISK", true}, {"lastModified", "ID_MODIFIED", false},
    {"createdDate", "ID_COLUMN_CREATED", false}, {"lastAccessed", "ID_ACCESSED", false},
    {"attributes", "ID_COLUMN_ATTRIBUTE", false},
};
constexpr int kColumnCount = int(std::size(kColumns));

} // namespace

FileViewerTableModel::FileViewerTableModel(FileViewerWindowController& controller, QObject* parent)
    : QAbstractTableModel(parent), controller_(controller)
{
    connect(&controller_, &FileViewerWindowController::tableReloaded, this, [this] {
        beginResetModel();
        endResetModel();
    });
}

const QStringList& FileViewerTableModel::columnIdentifiers()
{
    static const QStringList ids = [] {
        QStringList out;
        for (const Column& c : kColumns)
            out.append(QLatin1String(c.identifier));
        return out;
    }();
    return ids;
}

int FileViewerTableModel::columnOf(const QString& identifier) { return int(columnIdentifiers().indexOf(identifier)); }

int FileViewerTableModel::columnForSortKey(const QString& key)
{
    const QString bare = key.startsWith(u"self.") ? key.mid(5) : key;
    for (int column = 0; column < kColumnCount; ++column)
        if (FileViewerWindowController::sortKeyForColumn(columnIdentifiers()[column]) == bare)
            return column;
    return -1;
}

int FileViewerTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : controller_.rowCount();
}

int FileViewerTableModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kColumnCount; }

QVariant FileViewerTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.column() >= kColumnCount)
        return {};
    const int row = index.row();
    const bool nameColumn = index.column() == 0;
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return controller_.columnText(row, columnIdentifiers()[index.column()]);
    case Qt::CheckStateRole:
        if (nameColumn)
            return controller_.isCheckBoxChecked(row) ? Qt::Checked : Qt::Unchecked;
        return {};
    case Qt::DecorationRole:
        if (nameColumn)
            if (const TFoldInfo* node = controller_.nodeAt(row))
                return IconProvider::shared().iconForNode(node);
        return {};
    case Qt::TextAlignmentRole:
        return int(Qt::AlignVCenter | (kColumns[index.column()].number ? Qt::AlignRight : Qt::AlignLeft));
    case NonDeletableRole:
        return !controller_.isCheckBoxEnabled(row);
    default:
        return {};
    }
}

QVariant FileViewerTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= kColumnCount)
        return {};
    if (role == Qt::DisplayRole)
        return CommonFuncs::getLocalizedStringForKey(QLatin1String(kColumns[section].titleKey));
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignVCenter | (kColumns[section].number ? Qt::AlignRight : Qt::AlignLeft));
    return {};
}

Qt::ItemFlags FileViewerTableModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() == 0 && controller_.isCheckBoxEnabled(index.row()))
        f |= Qt::ItemIsUserCheckable;
    return f;
}

bool FileViewerTableModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::CheckStateRole || index.column() != 0 || !controller_.isCheckBoxEnabled(index.row()))
        return false;
    controller_.checkBoxFileSelctionTapped(index.row(), value.toInt() == Qt::Checked);
    Q_EMIT dataChanged(index, index, {Qt::CheckStateRole});
    return true;
}

void FileViewerTableModel::sort(int column, Qt::SortOrder order)
{
    if (column < 0 || column >= kColumnCount)
        return;
    const QString key = FileViewerWindowController::sortKeyForColumn(columnIdentifiers()[column]);
    if (key.isEmpty())
        return;
    controller_.sortDescriptorsDidChange({SortDescriptor{key, order == Qt::AscendingOrder}});
}
