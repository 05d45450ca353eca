#pragma once

#include <QAbstractTableModel>
#include <QStyledItemDelegate>

class AppDelegate;

// The volume table of the main window over the controller's volume list: Drive (name and
// icon), Capacity, Usage (a level bar; the display text is the percentage) and Free.
class VolumeTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { DriveColumn = 0, CapacityColumn, UsageColumn, FreeColumn, ColumnCount };
    // The used share of a volume in percent (double), for the level bar and sorting.
    static constexpr int UsagePercentRole = Qt::UserRole + 1;

    explicit VolumeTableModel(AppDelegate& app, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    AppDelegate& app_;
};

// Paints a cell's UsagePercentRole value as a level bar with its percentage; the bar turns
// to the warning colour from 90 % up.
class LevelBarDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};
