#include "ui/reports/ReportPanels.h"

#include "app/AppDelegate.h"
#include "settings/GeneralLib.h"
#include "ui/reports/AppsOutlineModel.h"
#include "ui/reports/OverviewPanel.h"
#include "ui/reports/ReportContextMenu.h"
#include "ui/reports/ReportTableModel.h"
#include "ui/reports/ReportTableView.h"

#include <QHeaderView>
#include <QLabel>
#include <QScrollBar>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace {

using namespace ReportIndex;

// The command-line names of the reports, by report index.
constexpr const char* kNames[ReportPanels::kReportCount] = {
    "explorer", "types", "attributes", "sizes", "dates", "times",
    "ownership", "custom", "folders", "apps", "overview", "obsolete",
};

// The lists whose rows are entries a person can act on (context menu).
bool hasContextMenu(int index)
{
    return index == FileExplorer || index == Applications || index == Overview || index == ObsoleteFiles;
}

} // namespace

ReportPanels::ReportPanels(AppDelegate& controller, QWidget* parent) : QWidget(parent), controller_(controller)
{
    stack_ = new QStackedWidget(this);
    stack_->setObjectName(QStringLiteral("reportStack"));
    for (int index = 0; index < kReportCount; ++index) {
        QWidget* panel = index == Overview       ? (overview_ = new OverviewPanel(controller_, stack_))
                         : index == Applications ? makeAppsPanel()
                                                 : makeTablePanel(index);
        panel->setObjectName(QStringLiteral("panel_") + reportName(index));
        stack_->addWidget(panel);
    }
    stack_->setCurrentIndex(Overview);

    hint_ = new QLabel(this);
    hint_->setObjectName(QStringLiteral("reportHint"));
    hint_->setWordWrap(true);
    hint_->setForegroundRole(QPalette::PlaceholderText);
    hint_->setContentsMargins(4, 2, 4, 2);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    layout->addWidget(stack_, 1);
    layout->addWidget(hint_);

    connect(overview_->fileView(), &ReportTableView::rowContextMenuRequested, this,
            [this](int row, const QPoint& pos) { showContextMenu(Overview, overview_->fileView(), row, pos); });
    connect(&controller_, &AppDelegate::reportShown, this, &ReportPanels::reportShown);
    connect(&controller_, &AppDelegate::reportTableReload, this, &ReportPanels::reloadReport);
    connect(&controller_, &AppDelegate::selectedFolderChanged, this, &ReportPanels::selectedFolderChanged);
    connect(&controller_, &AppDelegate::topSizeFilesChanged, overview_, &OverviewPanel::reloadFileList);
}

ReportPanels::~ReportPanels() = default;

int ReportPanels::reportIndexForName(const QString& name)
{
    for (int index = 0; index < kReportCount; ++index)
        if (name == QLatin1String(kNames[index]))
            return index;
    return -1;
}

QString ReportPanels::reportName(int index)
{
    return index >= 0 && index < kReportCount ? QLatin1String(kNames[index]) : QString();
}

bool ReportPanels::showReportByName(const QString& name)
{
    const int index = reportIndexForName(name);
    if (index < 0)
        return false;
    stack_->setCurrentIndex(index);
    return true;
}

int ReportPanels::currentPanel() const { return stack_->currentIndex(); }

QTreeView* ReportPanels::viewForReport(int index) const
{
    if (index == Overview)
        return overview_->fileView();
    if (index == Applications)
        return appsView_;
    return index >= 0 && index < kReportCount ? views_[std::size_t(index)] : nullptr;
}

ReportTableModel* ReportPanels::modelForReport(int index) const
{
    if (index == Overview)
        return overview_->groupModel();
    return index >= 0 && index < kReportCount ? models_[std::size_t(index)] : nullptr;
}

QWidget* ReportPanels::makeTablePanel(int index)
{
    auto* model = new ReportTableModel(controller_.reportTable(index), this);
    auto* view = new ReportTableView(stack_);
    view->setReportModel(model);
    models_[std::size_t(index)] = model;
    views_[std::size_t(index)] = view;
    connect(view, &ReportTableView::rowActivated, this, [this, index](int row) { rowActivated(index, row); });
    if (hasContextMenu(index))
        connect(view, &ReportTableView::rowContextMenuRequested, this,
                [this, index, view](int row, const QPoint& pos) { showContextMenu(index, view, row, pos); });
    return view;
}

QWidget* ReportPanels::makeAppsPanel()
{
    appsModel_ = new AppsOutlineModel(controller_, this);
    auto* view = new QTreeView(stack_);
    view->setModel(appsModel_);
    view->setRootIsDecorated(false);
    view->setUniformRowHeights(true);
    view->setAlternatingRowColors(true);
    view->setAllColumnsShowFocus(true);
    view->setTextElideMode(Qt::ElideMiddle);
    view->setContextMenuPolicy(Qt::CustomContextMenu);
    view->setSortingEnabled(false);
    QHeaderView* head = view->header();
    head->setSectionsClickable(true);
    head->setSortIndicatorShown(true);
    head->setStretchLastSection(false);
    head->setSectionResizeMode(0, QHeaderView::Stretch);
    head->resizeSection(1, fontMetrics().horizontalAdvance(QLatin1Char('0')) * 14);
    head->resizeSection(2, fontMetrics().horizontalAdvance(QStringLiteral("999.99 Bytes")) * 3 / 2);
    const auto syncIndicator = [this, head] {
        const auto indicator = appsModel_->table().sortIndicator();
        const QSignalBlocker block(head);
        head->setSortIndicator(indicator ? indicator->first : -1,
                               indicator && indicator->second ? Qt::AscendingOrder : Qt::DescendingOrder);
    };
    connect(head, &QHeaderView::sectionClicked, this, [this, head](int section) {
        appsModel_->sort(section, head->sortIndicatorOrder());
    });
    connect(appsModel_, &QAbstractItemModel::modelReset, this, syncIndicator);
    connect(view, &QTreeView::activated, this,
            [this](const QModelIndex& index) { controller_.doubleClickedOVAppsPackage(appsModel_->nodeAt(index)); });
    connect(view, &QWidget::customContextMenuRequested, this, [this, view](const QPoint& pos) {
        const QModelIndex index = view->indexAt(pos);
        showContextMenu(Applications, view, index.isValid() ? index.row() : -1, view->viewport()->mapToGlobal(pos));
    });
    syncIndicator();
    appsView_ = view;
    return view;
}

void ReportPanels::reportShown(int index)
{
    if (index < 0 || index >= kReportCount)
        return;
    if (index == Overview)
        overview_->load();
    else if (index == Applications)
        appsModel_->reload();
    else
        models_[std::size_t(index)]->reload();
    stack_->setCurrentIndex(index);
    hint_->setText(controller_.tipsText());
}

void ReportPanels::reloadReport(int index)
{
    if (index < 0 || index >= kReportCount)
        return;
    if (index == Overview) {
        overview_->reloadGroups();
        overview_->reloadFileList();
        return;
    }
    if (index == Applications) {
        appsModel_->reload();
        return;
    }
    // Keep the person's place in the list: the rows are the same list, redrawn.
    ReportTableView* view = views_[std::size_t(index)];
    const int scroll = view->verticalScrollBar()->value();
    models_[std::size_t(index)]->reload();
    view->verticalScrollBar()->setValue(scroll);
}

void ReportPanels::selectedFolderChanged()
{
    // Every row list was emptied; no view may keep rows of the previous folder.
    for (ReportTableModel* model : models_)
        if (model)
            model->reload();
    appsModel_->reload();
    overview_->load();
    overview_->reloadFileList();
}

void ReportPanels::rowActivated(int index, int row)
{
    switch (index) {
    case FileExplorer:
        controller_.doubleClickedTableExplorer(models_[std::size_t(index)]->nodeAt(row));
        break;
    case AllFolders:
        controller_.doubleClickedTableAllFoldersAndSubfolders(row);
        break;
    case ObsoleteFiles:
        break; // the obsolete files open nothing on a double-click; the context menu previews
    default:
        controller_.doubleClickedGroupedRow(index, row);
        break;
    }
}

void ReportPanels::showContextMenu(int index, QTreeView* view, int row, const QPoint& globalPos)
{
    if (!hasContextMenu(index) || controller_.currentReportIndex() != index)
        return;
    if (row >= 0)
        view->setCurrentIndex(view->model()->index(row, 0));
    ReportContextMenu::exec(controller_, row, globalPos, view);
}
