#pragma once

#include "reports/ReportRows.h"
#include "base/FieldTable.h"

#include <QString>
#include <QAnyStringView>
#include <QVariant>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class FolderReports;

// Which table a ReportTable shows: the report indexes of ReportIndex (0 file explorer ...
// 11 obsolete files), and the overview's file list, which has a table of its own.
namespace ReportTableId {
constexpr int TopFiles = 12;
constexpr int Count = 13;
} // namespace ReportTableId

// One column of a report table.
struct ReportColumn {
    QString id;       // the identifier views and cells use: "files", "size", "percent" ...
    QString titleKey; // the text table key of its header
    // The row field a click on the header sorts by; it becomes the report's stored sort
    // descriptor key ("Size", "cSize", "SrNo" ...). Empty: the column does not sort.
    QString sortKey;
    bool numeric = false; // the cells show numbers (counts, sizes, shares, dates): right-aligned
};

// One report shown as a table: what the windows' one generic table model and the
// command-line tables both read. The table does not copy rows: it reads the report's live
// list in FolderReports on every call, so after the controller recomputes or re-sorts a
// report the same object shows the new rows (a view resets its model then). Rows are in
// list order, columns in the report's order.
//
// Cell texts follow the reports' rules: counts as "%lu", sizes in the "allDiskReports"
// unit, shares of the selected folder as "12.50 %", dates as "MMM-dd-yyyy h:mm:ss a", and
// "--" for the sizes and shares of an overview row without files and for the zero sizes
// of the applications, obsolete files and overview file list.
//
// The table keeps a reference to the FolderReports it was made for; it must not outlive it.
// All calls on the main thread.
class ReportTable {
public:
    // A check box changed: the controller stores the state and re-evaluates its buttons.
    using CheckHandler = std::function<void(TFoldInfo* node, bool checked)>;

    // The table of one report (ReportIndex value) or of the overview's file list
    // (ReportTableId::TopFiles). Null for an unknown id. `onCheck` receives the check box
    // changes of the file explorer and the obsolete files; without one, setChecked() stores
    // the state in the node itself.
    static std::unique_ptr<ReportTable> create(FolderReports& reports, int tableId, CheckHandler onCheck = {});
    virtual ~ReportTable();

    int tableId() const { return tableId_; }

    // ---- shape ----
    virtual int rowCount() const = 0;
    int columnCount() const { return int(columns_.size()); }
    // The column at an index (in range), its identifier and header text; -1 / empty out of
    // range. The header text is the text table's text of titleKey.
    const ReportColumn& column(int col) const { return columns_[std::size_t(col)]; }
    QString columnId(int col) const;
    QString columnTitle(int col) const;
    // The index of the column with that identifier, or -1.
    int columnIndex(QAnyStringView id) const;

    // ---- cells ----

    // The cell's text as shown; empty for a row or column out of range.
    QString text(int row, int col) const;
    // The cell's value for sorting and for bars: a number (qint64, quint64 or double; the
    // share columns give the share, 0 to 100) for numeric columns and the range columns
    // (their bucket number), the text otherwise. Invalid out of range.
    QVariant sortValue(int row, int col) const;

    // ---- check boxes (file explorer, obsolete files) ----

    // The column that carries the row's check box, or -1 when the table has none.
    int checkColumn() const { return checkColumn_; }
    // The box's state: the node's state for the report; always unchecked for a file that
    // may not be deleted. False out of range and for tables without boxes.
    bool isChecked(int row) const;
    // Whether the box can be toggled: not for a file that may not be deleted.
    bool isCheckEnabled(int row) const;
    // Toggles the box through the check handler. False (and nothing changes) when the box
    // is disabled, the row is out of range or the table has no boxes.
    bool setChecked(int row, bool checked);

    // ---- what lies behind a row ----

    // The node of a row (explorer, applications, obsolete files, overview file list: the
    // node itself; all folders: the folder), for icons, previews and commands. Null for
    // grouped rows and out of range.
    virtual TFoldInfo* node(int row) const;
    // The grouped row (sizes, dates, times, types, attributes, ownership, custom types,
    // overview): label, counts and files. Null for node tables and out of range.
    virtual const TGroupRow* groupRow(int row) const;
    // The all-folders row, or null.
    virtual const TAllFoldInfo* folderRow(int row) const;
    // The row showing the node (node() == node), or -1.
    int rowOfNode(const TFoldInfo* node) const;

    // ---- sorting ----

    // A click on a column header: sorts the report's list in place by the column's sort
    // key, and for the reports that keep their sort the descriptor becomes the report's
    // stored sort. False (nothing changes) for a column that does not sort.
    bool sort(int col, bool ascending);
    // The column and direction of the sort the report's next visit applies (for the header
    // indicator); absent when the report keeps none or no column sorts by its key.
    std::optional<std::pair<int, bool>> sortIndicator() const;

protected:
    ReportTable(FolderReports& reports, int tableId, std::vector<ReportColumn> columns, int checkColumn);
    bool validCell(int row, int col) const;
    virtual QString cellText(int row, int col) const = 0;
    virtual QVariant cellValue(int row, int col) const = 0;

    FolderReports& reports_;
    CheckHandler onCheck_;

private:
    int tableId_;
    std::vector<ReportColumn> columns_;
    int checkColumn_;
};
