#pragma once

#include "reports/ReportTable.h"

#include <QAbstractTableModel>

#include <memory>

// The one table model of the report lists: a thin adapter over a ReportTable, which reads
// the controller's live row lists. It computes nothing: texts, sort values, check boxes
// and sorting all come from the table.
//
// Sorting goes through the table (sort() sorts the report's own list and, for the reports
// that keep one, stores the sort), so there is no proxy model; rows keep their selection
// across a sort. After the controller recomputes or re-sorts a report, call reload().
//
// Roles: DisplayRole is the cell text; DecorationRole the first column's icon (the row's
// file, folder or application; a file kind's icon in the types report); SortRole the number (or text) behind it; the check
// column answers CheckStateRole and CheckEnabledRole; NodeRole gives the node behind a row
// (as a pointer in a QVariant) where there is one.
class ReportTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Role { SortRole = Qt::UserRole + 1, CheckEnabledRole, NodeRole, ShareRole };

    // Takes ownership of the table.
    explicit ReportTableModel(std::unique_ptr<ReportTable> table, QObject* parent = nullptr);
    ~ReportTableModel() override;

    ReportTable& table() const { return *table_; }
    // The node behind a row, or null (grouped rows, out of range).
    TFoldInfo* nodeAt(int row) const { return table_->node(row); }
    // The column index of an identifier ("size", "percent" ...), or -1.
    int columnOf(QStringView id) const { return table_->columnIndex(id); }

    // The report's rows changed wholesale (recomputed, re-sorted by a visit, emptied).
    void reload();
    // Only texts changed (the display unit): the rows stay, every cell is redrawn.
    void refreshTexts();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    // A header click: the table sorts the report's list (and stores the sort where the
    // report keeps one). Selected rows follow their rows. Nothing happens for a column
    // that does not sort.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;
    // Whether a header click on the column sorts.
    bool isSortable(int column) const;
    // Numbers right, labels left.
    Qt::Alignment alignment(int column) const;

Q_SIGNALS:
    // A row's check box was toggled by the person.
    void checkToggled(int row, bool checked);

private:
    // The first cell's icon, or invalid.
    QVariant rowIcon(int row) const;
    // What identifies a row across a sort: its node, its folder, or its label.
    QVariant rowIdentity(int row) const;

    std::unique_ptr<ReportTable> table_;
};
