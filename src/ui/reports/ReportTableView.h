#pragma once

#include <QTreeView>

class ReportCellDelegate;
class ReportTableModel;

// A report list as a person expects it from a disk-usage tool: one row per entry, rows
// selected whole, numbers right-aligned, long paths elided in the middle, and a header
// whose clicks sort through the model (the report's own list is sorted; no proxy).
//
// The view shows the sort indicator of the report's stored sort after each reload; for
// reports that keep no sort it shows the last click until the next visit.
class ReportTableView : public QTreeView {
    Q_OBJECT
public:
    explicit ReportTableView(QWidget* parent = nullptr);

    // Shows the model (not owned) and sizes its columns.
    void setReportModel(ReportTableModel* model);
    ReportTableModel* reportModel() const { return model_; }
    ReportCellDelegate* cellDelegate() const { return delegate_; }

    // The model was reloaded: the header shows the report's stored sort again.
    void syncSortIndicator();
    // Sets sensible widths for the columns by their identifiers.
    void applyColumnWidths();
    // Selects a row (and scrolls to it); -1 clears the selection.
    void selectRow(int row);
    // The selected row, or -1.
    int selectedRow() const;

Q_SIGNALS:
    // A row was double-clicked (or Return pressed on it).
    void rowActivated(int row);
    // The selected row changed (-1: none).
    void selectedRowChanged(int row);
    // A context menu was asked for over a row (-1: over no row) at a global position.
    void rowContextMenuRequested(int row, const QPoint& globalPos);

private:
    void headerClicked(int section);

    ReportTableModel* model_ = nullptr;
    ReportCellDelegate* delegate_ = nullptr;
    // The sort the rows are in as the header shows it (-1: none shown).
    int shownSection_ = -1;
    Qt::SortOrder shownOrder_ = Qt::DescendingOrder;
};
