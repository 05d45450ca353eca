#include "ui/reports/ReportTableView.h"

#include "ui/reports/ReportCellDelegate.h"
#include "ui/reports/ReportTableModel.h"

#include <QHeaderView>

namespace {

// A first width for a column by what it holds, never narrower than its title with the sort
// arrow; the person may resize.
int widthFor(const QString& id, const QString& title, const QFontMetrics& metrics)
{
    const auto text = [&metrics](const char* sample) { return metrics.horizontalAdvance(QLatin1String(sample)); };
    const int digit = text("0");
    int width = digit * 9; // counts
    if (id == u"path")
        width = digit * 40;
    else if (id == u"name" || id == u"itemName")
        width = digit * 28;
    else if (id == u"type" || id == u"attribute" || id == u"ownername" || id == u"domainname")
        width = digit * 22;
    else if (id.endsWith(u"range"))
        width = digit * 18;
    else if (id == u"lmd" || id == u"cd" || id == u"lad" || id == u"createdDate")
        width = text("May-28-2026 12:48:37 PM") + digit * 2;
    else if (id == u"attributes")
        width = digit * 16;
    else if (id == u"size" || id == u"sizeondisk")
        width = text("999.99 Bytes") + digit * 2;
    else if (id == u"percent" || id == u"percentage" || id == u"parent")
        width = text("100.00 %") + digit * 2;
    return std::max(width, metrics.horizontalAdvance(title) + 28);
}

} // namespace

ReportTableView::ReportTableView(QWidget* parent) : QTreeView(parent), delegate_(new ReportCellDelegate(this))
{
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAlternatingRowColors(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setTextElideMode(Qt::ElideMiddle);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setContextMenuPolicy(Qt::CustomContextMenu);
    setItemDelegate(delegate_);
    QHeaderView* head = header();
    head->setSectionsClickable(true);
    head->setSortIndicatorShown(true);
    head->setSortIndicator(-1, Qt::DescendingOrder);
    head->setStretchLastSection(false);
    head->setSectionsMovable(false);
    connect(head, &QHeaderView::sectionClicked, this, &ReportTableView::headerClicked);
    connect(this, &QTreeView::activated, this, [this](const QModelIndex& index) { Q_EMIT rowActivated(index.row()); });
    connect(this, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        const QModelIndex index = indexAt(pos);
        Q_EMIT rowContextMenuRequested(index.isValid() ? index.row() : -1, viewport()->mapToGlobal(pos));
    });
}

void ReportTableView::setReportModel(ReportTableModel* model)
{
    model_ = model;
    setModel(model);
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { Q_EMIT selectedRowChanged(current.isValid() ? current.row() : -1); });
    connect(model, &QAbstractItemModel::modelReset, this, &ReportTableView::syncSortIndicator);
    std::set<int> bars;
    for (int col = 0; col < model->columnCount(); ++col)
        if (model->table().columnId(col) == u"percent" && model->table().tableId() == ReportTableId::TopFiles)
            bars.insert(col);
    delegate_->setBarColumns(bars);
    applyColumnWidths();
    syncSortIndicator();
}

void ReportTableView::applyColumnWidths()
{
    if (!model_)
        return;
    QHeaderView* head = header();
    const int columns = model_->columnCount();
    // The path, or in a narrow table the first column, takes the room left over; a wide
    // table (the file explorer) scrolls sideways instead of squeezing its columns.
    int stretch = model_->columnOf(u"path");
    if (stretch < 0 && columns <= 6)
        stretch = 0;
    for (int col = 0; col < columns; ++col) {
        const QString id = model_->table().columnId(col);
        int width = widthFor(id, model_->headerData(col, Qt::Horizontal).toString(), fontMetrics());
        if (delegate_->isBarColumn(col))
            width = std::max(width, 170);
        if (stretch >= 0 && col == 0 && col != stretch)
            width = width * 3 / 4; // names beside a full path can be shorter
        head->resizeSection(col, width);
        head->setSectionResizeMode(col, col == stretch ? QHeaderView::Stretch : QHeaderView::Interactive);
    }
    head->setMinimumSectionSize(40);
}

void ReportTableView::syncSortIndicator()
{
    if (!model_)
        return;
    const auto indicator = model_->table().sortIndicator();
    shownSection_ = indicator ? indicator->first : -1;
    shownOrder_ = indicator && indicator->second ? Qt::AscendingOrder : Qt::DescendingOrder;
    const QSignalBlocker block(header());
    header()->setSortIndicator(shownSection_, shownOrder_);
}

void ReportTableView::headerClicked(int section)
{
    if (!model_)
        return;
    if (!model_->isSortable(section)) {
        // The header flipped its indicator already; put back the order the rows are in.
        const QSignalBlocker block(header());
        header()->setSortIndicator(shownSection_, shownOrder_);
        return;
    }
    shownSection_ = section;
    shownOrder_ = header()->sortIndicatorOrder();
    model_->sort(section, shownOrder_);
    if (const QModelIndex current = currentIndex(); current.isValid())
        scrollTo(current);
}

void ReportTableView::selectRow(int row)
{
    if (!model_ || row < 0 || row >= model_->rowCount()) {
        clearSelection();
        setCurrentIndex(QModelIndex());
        return;
    }
    const QModelIndex index = model_->index(row, 0);
    setCurrentIndex(index);
    scrollTo(index);
}

int ReportTableView::selectedRow() const
{
    const QModelIndexList rows = selectionModel() ? selectionModel()->selectedRows() : QModelIndexList();
    return rows.isEmpty() ? -1 : rows.first().row();
}
