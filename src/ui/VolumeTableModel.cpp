#include "ui/VolumeTableModel.h"

#include "app/AppDelegate.h"
#include "scan/DirectoryParser.h"
#include "ui/icons/IconProvider.h"
#include "ui/UiTexts.h"

#include <QApplication>
#include <QPainter>

VolumeTableModel::VolumeTableModel(AppDelegate& app, QObject* parent) : QAbstractTableModel(parent), app_(app)
{
    connect(&app_, &AppDelegate::volumesChanged, this, [this] {
        beginResetModel();
        endResetModel();
    });
}

int VolumeTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(app_.arrDiskDrive().size());
}

int VolumeTableModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColumnCount; }

QVariant VolumeTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const DriveNode& drive = app_.arrDiskDrive()[std::size_t(index.row())];
    const double usage = DirectoryParser::usagePercent(drive);
    switch (role) {
    case Qt::DisplayRole:
        switch (index.column()) {
        case DriveColumn: return DirectoryParser::volumeColumnText(drive, QStringLiteral("Drive"));
        case CapacityColumn: return DirectoryParser::volumeColumnText(drive, QStringLiteral("Capacity"));
        case UsageColumn: return QStringLiteral("%1 %").arg(qRound(usage));
        case FreeColumn: return DirectoryParser::volumeColumnText(drive, QStringLiteral("Free"));
        default: return {};
        }
    case Qt::DecorationRole:
        return index.column() == DriveColumn ? IconProvider::shared().driveIcon() : QVariant();
    case Qt::ToolTipRole:
        return drive.type.isEmpty() ? drive.path : drive.path + QStringLiteral(" (") + drive.type + u')';
    case Qt::TextAlignmentRole:
        return index.column() == DriveColumn ? QVariant(Qt::AlignLeft | Qt::AlignVCenter)
                                             : QVariant(Qt::AlignRight | Qt::AlignVCenter);
    case UsagePercentRole:
        return usage;
    default:
        return {};
    }
}

QVariant VolumeTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case DriveColumn: return uiText("ID_DRIVE");
    case CapacityColumn: return uiText("ID_CAPACITY");
    case UsageColumn: return uiText("ID_USAGE");
    case FreeColumn: return uiText("ID_FREE");
    default: return {};
    }
}

void LevelBarDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const QVariant value = index.data(VolumeTableModel::UsagePercentRole);
    if (!value.isValid()) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    QStyleOptionViewItem background = option;
    initStyleOption(&background, index);
    background.text.clear();
    const QWidget* widget = option.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &background, painter, widget);

    const double percent = std::clamp(value.toDouble(), 0.0, 100.0);
    const QRect bar = option.rect.adjusted(4, option.rect.height() / 4, -4, -option.rect.height() / 4);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(option.palette.color(QPalette::Mid));
    painter->setBrush(option.palette.color(QPalette::Base));
    painter->drawRoundedRect(QRectF(bar).adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
    QRectF filled = QRectF(bar).adjusted(1, 1, -1, -1);
    filled.setWidth(filled.width() * percent / 100.0);
    painter->setPen(Qt::NoPen);
    painter->setBrush(percent >= 90 ? QColor(0xd0, 0x40, 0x30) : option.palette.color(QPalette::Highlight));
    painter->drawRoundedRect(filled, 2, 2);
    painter->setPen(option.palette.color(QPalette::Text));
    painter->drawText(bar, Qt::AlignCenter, index.data(Qt::DisplayRole).toString());
    painter->restore();
}

QSize LevelBarDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    size.setWidth(std::max(size.width(), 90));
    return size;
}
