#include "ui/reports/OverviewPanel.h"

#include "app/AppDelegate.h"
#include "reports/charts/PieChartView.h"
#include "settings/CommonFuncs.h"
#include "settings/GeneralLib.h"
#include "settings/TextFormat.h"
#include "ui/reports/ReportTableModel.h"
#include "ui/reports/ReportTableView.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSplitter>
#include <QVBoxLayout>

namespace {

QString text(const char* key) { return CommonFuncs::getLocalizedStringForKey(QLatin1String(key)); }

// The overview's group table: the report table plus each row's colour swatch, the chart
// palette's colour of its position.
class OverviewGroupModel : public ReportTableModel {
public:
    using ReportTableModel::ReportTableModel;

    QVariant data(const QModelIndex& index, int role) const override
    {
        if (role == Qt::DecorationRole && index.isValid() && index.column() == 0)
            return swatch(index.row());
        return ReportTableModel::data(index, role);
    }

    static QPixmap swatch(int position)
    {
        const QList<ChartColor>& palette = GeneralLib::cache().chartColors;
        QPixmap pixmap(12, 12);
        pixmap.fill(Qt::transparent);
        if (palette.isEmpty())
            return pixmap;
        const ChartColor& c = palette[position % palette.size()];
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QColor(0, 0, 0, 60));
        painter.setBrush(QColor::fromRgbF(float(c.red), float(c.green), float(c.blue)));
        painter.drawRoundedRect(QRectF(0.5, 0.5, 11, 11), 2, 2);
        return pixmap;
    }
};

// The file list, whose first column's title says what the list holds.
class OverviewFileModel : public ReportTableModel {
public:
    OverviewFileModel(std::unique_ptr<ReportTable> table, AppDelegate& controller, QObject* parent)
        : ReportTableModel(std::move(table), parent), controller_(controller)
    {
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (section == 0 && orientation == Qt::Horizontal && role == Qt::DisplayRole
            && !controller_.topFilesColumnTitle().isEmpty())
            return controller_.topFilesColumnTitle();
        return ReportTableModel::headerData(section, orientation, role);
    }

private:
    AppDelegate& controller_;
};

constexpr int kChartSide = 220; // the centre label's baseline sits mid-disc at this height

} // namespace

OverviewPanel::OverviewPanel(AppDelegate& controller, QWidget* parent) : QWidget(parent), controller_(controller)
{
    groupModel_ = new OverviewGroupModel(controller_.reportTable(ReportIndex::Overview), this);
    fileModel_ = new OverviewFileModel(controller_.reportTable(ReportTableId::TopFiles), controller_, this);

    fileView_ = new ReportTableView(this);
    fileView_->setObjectName(QStringLiteral("overviewFileList"));
    fileView_->setReportModel(fileModel_);

    auto* splitter = new QSplitter(Qt::Vertical, this);
    splitter->setChildrenCollapsible(false);
    splitter->addWidget(makeGroupArea());
    splitter->addWidget(fileView_);
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(splitter);

    connect(groupView_, &ReportTableView::selectedRowChanged, this, [this](int row) {
        if (row >= 0)
            controller_.overviewRowSelected(row);
    });
    connect(groupView_, &ReportTableView::rowActivated, this,
            [this](int row) { controller_.doubleClickedTableOverView(row); });
    connect(fileView_, &ReportTableView::selectedRowChanged, this, [this](int row) {
        if (!reloadingFiles_)
            controller_.topSizeFileSelected(fileModel_->nodeAt(row));
    });
    connect(fileView_, &ReportTableView::rowActivated, this,
            [this](int row) { controller_.doubleClickedTableTopSizeFiles(row); });
    connect(topBySize_, &QPushButton::clicked, this, [this] { controller_.btnTopFilesBySizeTapped(); });
    connect(topOldest_, &QPushButton::clicked, this, [this] { controller_.btnTopOldestFilesTapped(); });
}

OverviewPanel::~OverviewPanel() = default;

QPushButton* OverviewPanel::makeLink(const QString& title)
{
    auto* link = new QPushButton(title, this);
    link->setFlat(true);
    link->setCursor(Qt::PointingHandCursor);
    link->setStyleSheet(QStringLiteral("QPushButton { color: palette(link); text-decoration: underline;"
                                       " border: none; padding: 2px 4px; text-align: left; }"));
    return link;
}

QWidget* OverviewPanel::makeGroupArea()
{
    auto* area = new QWidget(this);
    groupView_ = new ReportTableView(area);
    groupView_->setObjectName(QStringLiteral("overviewGroups"));
    groupView_->setReportModel(groupModel_);
    groupView_->setAlternatingRowColors(false);
    groupView_->header()->setSectionsClickable(false); // the groups keep their order
    groupView_->header()->setSortIndicatorShown(false);
    groupView_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Room for the six groups and the rest row without scrolling.
    const int rowHeight = fontMetrics().height() + 8;
    groupView_->setFixedHeight(groupView_->header()->sizeHint().height() + 7 * rowHeight + 4);

    fileCount_ = new QLabel(area);
    fileCount_->setObjectName(QStringLiteral("overviewFileCount"));
    QFont bold = fileCount_->font();
    bold.setBold(true);
    fileCount_->setFont(bold);
    topBySize_ = makeLink(TextFormat::format(text("ID_TOP_BIGEST_FILES_NAME"), {qint64(100)}));
    topOldest_ = makeLink(TextFormat::format(text("ID_TOP_OLDEST_FILES_NAME"), {qint64(100)}));

    auto* links = new QHBoxLayout;
    links->addWidget(fileCount_);
    links->addStretch(1);
    links->addWidget(topBySize_);
    links->addWidget(topOldest_);

    auto* left = new QVBoxLayout;
    left->addWidget(groupView_);
    left->addLayout(links);
    left->addStretch(1);

    chart_ = new PieChartView(area);
    chart_->setObjectName(QStringLiteral("overviewChart"));
    chart_->setFixedSize(kChartSide, kChartSide);

    auto* row = new QHBoxLayout(area);
    row->setContentsMargins(0, 0, 8, 4);
    row->addLayout(left, 1);
    row->addSpacing(8);
    row->addWidget(chart_, 0, Qt::AlignTop);
    return area;
}

void OverviewPanel::load()
{
    groupModel_->reload();
    const FolderReports& reports = controller_.reports();
    fileCount_->setText(TextFormat::format(QStringLiteral("%@: %ld"),
                                           {text("ID_FILES"), qint64(reports.totalFilesCount())}));
    chart_->setArrChartElement(reports.FOverViewList());
}

void OverviewPanel::reloadGroups()
{
    groupModel_->reload();
    chart_->setArrChartElement(controller_.reports().FOverViewList());
}

void OverviewPanel::reloadFileList()
{
    reloadingFiles_ = true;
    fileModel_->reload();
    fileModel_->headerDataChanged(Qt::Horizontal, 0, 0);
    fileView_->selectRow(controller_.selectedTopSizeFileRow());
    reloadingFiles_ = false;
}
