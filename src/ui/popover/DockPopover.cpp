#include "ui/popover/DockPopover.h"

#include "app/AppDelegate.h"
#include "reports/charts/BarChartView.h"
#include "scan/TFoldInfo.h"
#include "settings/CommonFuncs.h"
#include "ui/icons/IconProvider.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QScreen>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int kChartHeight = 150;
constexpr int kPopoverWidth = 360;

QColor toQColor(const ChartColor& c) { return QColor::fromRgbF(float(c.red), float(c.green), float(c.blue)); }

QString text(const char* key) { return CommonFuncs::getLocalizedStringForKey(QString::fromLatin1(key)); }

// A small square swatch with rounded corners (radius 2) in the group's colour; the
// platform's highlight blue for a group without a colour of its own.
QIcon swatchIcon(const std::optional<ChartColor>& color, const QPalette& palette)
{
    QPixmap pixmap(12, 12);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(color ? toQColor(*color) : palette.color(QPalette::Highlight));
    painter.drawRoundedRect(QRectF(0.5, 0.5, 11, 11), 2, 2);
    return QIcon(pixmap);
}

QTableWidget* makeTable(const QStringList& titles, QWidget* parent)
{
    auto* table = new QTableWidget(0, static_cast<int>(titles.size()), parent);
    table->setHorizontalHeaderLabels(titles);
    table->verticalHeader()->hide();
    table->setShowGrid(false);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setFocusPolicy(Qt::NoFocus);
    table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    table->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    table->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    table->horizontalHeader()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    table->verticalHeader()->setDefaultSectionSize(22);
    return table;
}

QTableWidgetItem* sizeItem(const QString& value)
{
    auto* item = new QTableWidgetItem(value);
    item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return item;
}

} // namespace

// ---- DockTabButton ----

DockTabButton::DockTabButton(const QString& title, int code, QWidget* parent)
    : QAbstractButton(parent)
    , code_(code)
{
    setText(title);
    setCursor(Qt::PointingHandCursor);
}

void DockTabButton::setSelectedLook(bool selected)
{
    selected_ = selected;
    update();
}

QSize DockTabButton::sizeHint() const
{
    QFont font = this->font();
    font.setPointSizeF(10);
    return {QFontMetrics(font).horizontalAdvance(text()) + 16, 28};
}

void DockTabButton::paintEvent(QPaintEvent*)
{
    const DockViewController::TabLook look = DockViewController::tabLook(selected_);
    QPainter painter(this);
    painter.fillRect(rect(), toQColor(look.fill));
    QFont font = this->font();
    font.setPointSizeF(10);
    painter.setFont(font);
    QColor title(Qt::white);
    title.setAlphaF(float(look.titleOpacity));
    painter.setPen(title);
    painter.drawText(rect().adjusted(2, 0, -2, -2), Qt::AlignCenter, text());
    if (look.separatorVisible)
        painter.fillRect(QRect(0, height() - 1, width(), 1), QColor(255, 255, 255, 40));
}

// ---- DockPopover ----

DockPopover::DockPopover(AppDelegate& controller, Scheduler& scheduler, QWidget* parent)
    : QFrame(parent, Qt::Popup | Qt::FramelessWindowHint)
    , controller_(controller)
    , model_(scheduler)
{
    setObjectName(QStringLiteral("DockPopover"));
    setFrameShape(QFrame::StyledPanel);
    setFixedWidth(kPopoverWidth);
    // A dark panel: the bar labels are white with a shadow, as are the tab titles.
    QPalette dark = palette();
    dark.setColor(QPalette::Window, QColor(0x2c, 0x2c, 0x31));
    dark.setColor(QPalette::WindowText, QColor(0xee, 0xee, 0xee));
    dark.setColor(QPalette::Base, QColor(0x36, 0x36, 0x3c));
    dark.setColor(QPalette::AlternateBase, QColor(0x3c, 0x3c, 0x42));
    dark.setColor(QPalette::Text, QColor(0xee, 0xee, 0xee));
    dark.setColor(QPalette::Button, QColor(0x43, 0x43, 0x4a));
    dark.setColor(QPalette::ButtonText, QColor(0xee, 0xee, 0xee));
    setPalette(dark);
    setAutoFillBackground(true);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 8);
    layout->setSpacing(6);
    buildHeader(layout);
    buildTables(layout);
    buildButtons(layout);

    // The biggest files load a moment after the rest; they appear when they are there.
    model_.setTopFilesLoadedHandler([this] {
        reloadDetailTable();
        restyleTabs();
    });
    connect(&controller_, &AppDelegate::reportShown, this, [this] { refreshFromController(); });
    connect(&controller_, &AppDelegate::selectedFolderChanged, this, [this](TFoldInfo* folder) {
        if (!folder) {
            model_.clear();
            syncFromModel();
        }
    });
}

void DockPopover::buildHeader(QVBoxLayout* layout)
{
    scanPath_ = new QLabel(this);
    scanPath_->setTextFormat(Qt::PlainText);
    usedSpace_ = new QLabel(this);
    usedSpace_->setTextFormat(Qt::PlainText);
    QFont bold = usedSpace_->font();
    bold.setBold(true);
    usedSpace_->setFont(bold);
    layout->addWidget(scanPath_);
    layout->addWidget(usedSpace_);

    chartBox_ = new QWidget(this);
    chartBox_->setFixedHeight(kChartHeight);
    // Each new chart fills the box, whatever width the popover's layout gives it.
    auto* chartFill = new QVBoxLayout(chartBox_);
    chartFill->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(chartBox_);
}

void DockPopover::buildTables(QVBoxLayout* layout)
{
    groupTable_ = makeTable({text("ID_FILE_TYPES"), text("ID_SIZE")}, this);
    connect(groupTable_, &QTableWidget::cellClicked, this, [this](int row, int) {
        model_.groupRowSelected(row);
        groupTable_->clearSelection(); // a row never stays selected
        reloadDetailTable();
        restyleTabs();
    });
    layout->addWidget(groupTable_);

    auto* tabRow = new QHBoxLayout;
    tabRow->setSpacing(0);
    const std::array<std::pair<const char*, int>, 5> tabs{{
        {"ID_POPOVER_ALL_FILES", DockViewController::kTabAllFiles},
        {"ID_POPOVER_IMAGES", DockViewController::kTabImages},
        {"ID_POPOVER_DOCUMENTS", DockViewController::kTabDocuments},
        {"ID_POPOVER_VIDEOS", DockViewController::kTabVideos},
        {"ID_POPOVER_MUSIC", DockViewController::kTabMusic},
    }};
    for (size_t i = 0; i < tabs.size(); ++i) {
        auto* tab = new DockTabButton(text(tabs[i].first), tabs[i].second, this);
        tab->setObjectName(QString::fromLatin1(tabs[i].first));
        connect(tab, &QAbstractButton::clicked, this, [this, tab] {
            model_.btnTabsPressed(tab->code());
            reloadDetailTable();
            restyleTabs();
        });
        tabs_[i] = tab;
        tabRow->addWidget(tab, 1);
    }
    layout->addLayout(tabRow);

    detailTable_ = makeTable({text("ID_FILES_ON_DISK_NAME"), text("ID_SIZE")}, this);
    detailTable_->horizontalHeader()->setSortIndicatorShown(true);
    detailTable_->horizontalHeader()->setSectionsClickable(true);
    connect(detailTable_->horizontalHeader(), &QHeaderView::sortIndicatorChanged, this,
            [this](int column, Qt::SortOrder order) {
                model_.sortDetailTable(column == 0 ? QStringLiteral("name") : QStringLiteral("size"),
                                       order == Qt::AscendingOrder);
                reloadDetailTable();
            });
    layout->addWidget(detailTable_);
}

void DockPopover::buildButtons(QVBoxLayout* layout)
{
    auto* row = new QHBoxLayout;
    auto* open = new QToolButton(this);
    open->setObjectName(QStringLiteral("openApp"));
    open->setIcon(IconProvider::shared().programIcon());
    open->setText(text("ID_OPEN_MAIN_WINDOW"));
    open->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    connect(open, &QToolButton::clicked, this, [this] {
        hide();
        Q_EMIT openAppRequested();
    });

    auto* preferences = new QToolButton(this);
    preferences->setObjectName(QStringLiteral("preferences"));
    preferences->setIcon(ActionIcons::settings());
    preferences->setToolTip(QStringLiteral("Preferences"));
    auto preferencesAction = [this] {
        hide();
        Q_EMIT openAppRequested();
        Q_EMIT preferencesRequested();
    };
    connect(preferences, &QToolButton::clicked, this, preferencesAction);

    settingsMenu_ = new QMenu(this);
    connect(settingsMenu_->addAction(QStringLiteral("Help")), &QAction::triggered, this, [this] {
        hide();
        Q_EMIT helpRequested();
    });
    connect(settingsMenu_->addAction(QStringLiteral("Preferences")), &QAction::triggered, this, preferencesAction);
    settingsMenu_->addSeparator();
    connect(settingsMenu_->addAction(QStringLiteral("Quit")), &QAction::triggered, this, [this] {
        hide();
        Q_EMIT quitRequested();
    });
    auto* settings = new QToolButton(this);
    settings->setObjectName(QStringLiteral("settings"));
    settings->setIcon(IconProvider::shared().themeIcon(QStringLiteral("open-menu"), QStyle::SP_TitleBarMenuButton,
                                                       QStringLiteral("emblem-system")));
    settings->setMenu(settingsMenu_);
    settings->setPopupMode(QToolButton::InstantPopup);

    row->addWidget(open);
    row->addStretch(1);
    row->addWidget(preferences);
    row->addWidget(settings);
    layout->addLayout(row);
}

DockTabButton* DockPopover::tabButton(int code) const
{
    for (DockTabButton* tab : tabs_)
        if (tab->code() == code)
            return tab;
    return nullptr;
}

void DockPopover::refreshFromController()
{
    FolderReports& reports = controller_.reports();
    if (!controller_.selectedFolder()) {
        model_.clear();
    } else {
        reports.getFilesOnlyForSelectedRoot();
        reports.loadOverViewList();
        model_.setupDataInStatusMenu(reports.FOverViewList(), reports.arrFilesOnly());
    }
    syncFromModel();
}

void DockPopover::showAt(const QPoint& anchor)
{
    adjustSize();
    QPoint topLeft(anchor.x() - width() / 2, anchor.y());
    if (const QScreen* screen = QGuiApplication::screenAt(anchor)) {
        const QRect area = screen->availableGeometry();
        topLeft.setX(std::clamp(topLeft.x(), area.left(), std::max(area.left(), area.right() - width())));
        if (topLeft.y() + height() > area.bottom()) // a tray at the foot of the screen
            topLeft.setY(std::max(area.top(), anchor.y() - height()));
    }
    move(topLeft);
    show();
    raise();
}

void DockPopover::showEvent(QShowEvent* event)
{
    // The display unit pane marks the controller; the mark passes to the popover here.
    if (controller_.shouldRefresh()) {
        model_.setShouldRefresh(true);
        controller_.setShouldRefresh(false);
    }
    model_.viewWillAppear();
    syncFromModel();
    QFrame::showEvent(event);
}

void DockPopover::syncFromModel()
{
    scanPath_->setText(model_.txtScanPath());
    scanPath_->setToolTip(model_.txtScanPath());
    usedSpace_->setText(model_.txtTotalSpaceUsed());
    if (shownChartGeneration_ != model_.chartGeneration()) {
        // A new chart for new data: the old one's maxLen must not carry over.
        delete barChart_;
        barChart_ = new BarChartView(chartBox_);
        chartBox_->layout()->addWidget(barChart_);
        barChart_->setChartData(model_.chartData());
        barChart_->show();
        shownChartGeneration_ = model_.chartGeneration();
    }
    reloadGroupTable();
    reloadDetailTable();
    restyleTabs();
}

void DockPopover::reloadGroupTable()
{
    groupTable_->setRowCount(model_.groupRowCount());
    for (int row = 0; row < model_.groupRowCount(); ++row) {
        const QString type = model_.groupTypeText(row);
        auto* name = new QTableWidgetItem(swatchIcon(DockViewController::groupColor(type), palette()), type);
        groupTable_->setItem(row, 0, name);
        groupTable_->setItem(row, 1, sizeItem(model_.groupSizeText(row)));
    }
    groupTable_->setFixedHeight(groupTable_->horizontalHeader()->height() + 22 * std::max(1, model_.groupRowCount()) + 4);
}

void DockPopover::reloadDetailTable()
{
    const int rows = model_.detailRowCount();
    detailTable_->setRowCount(rows);
    for (int row = 0; row < rows; ++row) {
        const TFoldInfo* node = model_.detailNode(row);
        auto* name = new QTableWidgetItem(IconProvider::shared().iconForNode(node), model_.detailRankText(row) + QStringLiteral("  ") + model_.detailNameText(row));
        name->setToolTip(node->sPath());
        detailTable_->setItem(row, 0, name);
        detailTable_->setItem(row, 1, sizeItem(model_.detailSizeText(row)));
    }
    detailTable_->setFixedHeight(detailTable_->horizontalHeader()->height() + 22 * DockViewController::kDetailRows + 4);
}

void DockPopover::restyleTabs()
{
    for (DockTabButton* tab : tabs_)
        tab->setSelectedLook(tab->code() == model_.selectedTab());
}
