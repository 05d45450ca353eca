#include "ui/StartupDialog.h"

#include "app/AppDelegate.h"
#include "app/InitailWindowViewController.h"
#include "settings/CommonFuncs.h"
#include "ui/ElidedLabel.h"
#include "ui/icons/IconProvider.h"
#include "ui/UiTexts.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QVBoxLayout>

namespace {
constexpr int kRowHeight = 53;

QLabel* smallLabel(const QString& text)
{
    auto* label = new QLabel(text);
    label->setTextFormat(Qt::PlainText);
    QFont font = label->font();
    font.setPointSizeF(font.pointSizeF() * 0.9);
    label->setFont(font);
    label->setForegroundRole(QPalette::PlaceholderText);
    return label;
}
} // namespace

StartupDialog::StartupDialog(AppDelegate& app, UserInterface& ui, QWidget* parent)
    : QDialog(parent, Qt::Sheet | Qt::Dialog), controller_(new InitailWindowViewController(app, ui, this)),
      rowsLayout_(nullptr), rowsHost_(new QWidget), radios_(new QButtonGroup(this)),
      start_(new QPushButton(InitailWindowViewController::startButtonTitle())),
      selectFolder_(new QPushButton(InitailWindowViewController::selectFolderTitle())),
      close_(new QPushButton(uiText("ID_CLOSE")))
{
    setObjectName(QStringLiteral("startupDialog"));
    setWindowModality(Qt::WindowModal);
    setWindowTitle(QCoreApplication::applicationName());

    auto* title = new QLabel(InitailWindowViewController::titleText());
    title->setWordWrap(true);
    title->setAlignment(Qt::AlignCenter);
    QFont titleFont = title->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.25);
    titleFont.setBold(true);
    title->setFont(titleFont);

    rowsLayout_ = new QVBoxLayout(rowsHost_);
    rowsLayout_->setContentsMargins(0, 0, 0, 0);
    rowsLayout_->setSpacing(0);
    auto* scroll = new QScrollArea;
    scroll->setWidget(rowsHost_);
    scroll->setWidgetResizable(true);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setFixedHeight(controller_->tableHeight() + 2 * scroll->frameWidth());

    QFont startFont = start_->font();
    startFont.setPixelSize(20);
    start_->setFont(startFont);
    start_->setDefault(true);
    start_->setMinimumHeight(44);
    start_->setIcon(ActionIcons::rescan());

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(selectFolder_);
    buttons->addStretch(1);
    buttons->addWidget(close_);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 20, 24, 16);
    layout->setSpacing(12);
    layout->addWidget(title);
    layout->addWidget(scroll);
    layout->addWidget(start_, 0, Qt::AlignHCenter);
    layout->addStretch(1);
    layout->addLayout(buttons);
    setFixedSize(600, controller_->windowHeight());

    buildRows();
    connect(controller_, &InitailWindowViewController::changed, this, &StartupDialog::refreshRows);
    connect(controller_, &InitailWindowViewController::closeRequested, this, &QDialog::hide);
    connect(controller_, &InitailWindowViewController::quitRequested, this, &StartupDialog::quitRequested);
    connect(start_, &QPushButton::clicked, controller_, &InitailWindowViewController::btnStartScanTapped);
    connect(selectFolder_, &QPushButton::clicked, controller_, &InitailWindowViewController::btnScanFolderTapped);
    connect(close_, &QPushButton::clicked, controller_, &InitailWindowViewController::btnCloseAppTapped);
    connect(radios_, &QButtonGroup::idClicked, controller_, &InitailWindowViewController::radioButtonTappedForDriveCell);
}

StartupDialog::~StartupDialog() = default;

void StartupDialog::buildRows()
{
    const auto& drives = controller_->arrDiskDrive();
    for (std::size_t i = 0; i < drives.size(); ++i) {
        const int row = int(i);
        const DriveNode& drive = drives[i];
        const InitailWindowViewController::RowTexts texts = controller_->rowTexts(row);

        auto* widget = new QWidget;
        widget->setFixedHeight(kRowHeight);
        auto* grid = new QGridLayout(widget);
        grid->setContentsMargins(8, 4, 8, 4);
        grid->setHorizontalSpacing(10);
        grid->setVerticalSpacing(0);

        auto* radio = new QRadioButton;
        radios_->addButton(radio, row);
        auto* icon = new QLabel;
        icon->setPixmap((row == 0 ? IconProvider::shared().homeIcon() : IconProvider::shared().driveIcon()).pixmap(32, 32));
        auto* name = new ElidedLabel(Qt::ElideMiddle);
        name->setFullText(drive.name.isEmpty() ? drive.path : drive.name);
        QFont bold = name->font();
        bold.setBold(true);
        name->setFont(bold);
        const QString detail = texts.lblDiskType.isEmpty() ? texts.lblDiskSize
                                                           : texts.lblDiskSize + QStringLiteral("  ·  ") + texts.lblDiskType;
        auto* description = smallLabel(detail);
        description->setToolTip(drive.path);

        auto* usage = new QProgressBar;
        usage->setRange(0, 100);
        usage->setValue(qRound(texts.usage));
        usage->setTextVisible(false);
        usage->setFixedSize(120, 10);
        auto* avail = smallLabel(texts.lblDiskAvailSize);
        auto* free = smallLabel(uiText("ID_FREE") + QStringLiteral(": ") + CommonFuncs::unitForSizeDriveSize(drive.sizeFree));

        auto* scan = new QPushButton(uiText("ID_SCAN"));
        scan->setAutoDefault(false);
        connect(scan, &QPushButton::clicked, controller_, [this, row] { controller_->scanDriveForCell(row); });

        grid->addWidget(radio, 0, 0, 2, 1);
        grid->addWidget(icon, 0, 1, 2, 1);
        grid->addWidget(name, 0, 2);
        grid->addWidget(description, 1, 2);
        grid->addWidget(usage, 0, 3, Qt::AlignBottom);
        grid->addWidget(avail, 1, 3);
        grid->addWidget(free, 1, 4);
        grid->addWidget(scan, 0, 5, 2, 1);
        grid->setColumnStretch(2, 1);
        // The home folder row carries no capacity: an empty bar and "Free: 0 Bytes" would
        // misstate its disk, so the row shows no usage at all.
        const bool sized = drive.size > 0;
        usage->setVisible(sized);
        free->setVisible(sized);

        rowsLayout_->addWidget(widget);
        rows_.push_back(widget);
        rowScanButtons_.push_back(scan);
    }
    rowsLayout_->addStretch(1);
    refreshRows();
}

void StartupDialog::refreshRows()
{
    for (int row = 0; row < rowCount(); ++row)
        if (QAbstractButton* radio = radios_->button(row))
            radio->setChecked(controller_->rowTexts(row).radioOn);
    start_->setEnabled(controller_->startButtonEnabled());
}

int StartupDialog::rowCount() const { return int(rows_.size()); }
QWidget* StartupDialog::rowWidget(int row) const { return row >= 0 && row < rowCount() ? rows_[std::size_t(row)] : nullptr; }
QPushButton* StartupDialog::rowScanButton(int row) const
{
    return row >= 0 && row < rowCount() ? rowScanButtons_[std::size_t(row)] : nullptr;
}

void StartupDialog::present()
{
    refreshRows();
    if (QWidget* window = parentWidget() ? parentWidget()->window() : nullptr) {
        const QRect frame = window->geometry();
        move(frame.x() + (frame.width() - width()) / 2, frame.y() + 30);
    }
    show();
    raise();
    activateWindow();
}

void StartupDialog::reject() { controller_->btnCloseAppTapped(); }
