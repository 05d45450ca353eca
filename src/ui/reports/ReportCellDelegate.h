#pragma once

#include <QStyledItemDelegate>

#include <set>

// Paints the report lists' cells: plain cells as usual, a check box that may not be
// toggled (a file that may not be deleted) drawn disabled while the rest of its cell stays
// readable, and share columns as their text beside a bar of the share (0 to 100, read from
// ReportTableModel::SortRole).
class ReportCellDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit ReportCellDelegate(QObject* parent = nullptr);

    // Columns drawn as a share bar with text.
    void setBarColumns(std::set<int> columns) { barColumns_ = std::move(columns); }
    bool isBarColumn(int column) const { return barColumns_.count(column) != 0; }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    // The part of a cell's rect the bar takes, for a cell of this width and text width
    // (tests check the bar grows with the share).
    static QRect barRect(const QRect& cell, int textWidth);

private:
    void paintShareBar(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const;
    void paintDisabledCheck(QPainter* painter, const QStyleOptionViewItem& option) const;

    std::set<int> barColumns_;
};
