#include "ui/reports/ReportCellDelegate.h"

#include "ui/reports/ReportTableModel.h"

#include <QApplication>
#include <QPainter>

ReportCellDelegate::ReportCellDelegate(QObject* parent) : QStyledItemDelegate(parent) {}

void ReportCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    if (isBarColumn(index.column())) {
        paintShareBar(painter, option, index);
        return;
    }
    QStyledItemDelegate::paint(painter, option, index);
    const QVariant check = index.data(Qt::CheckStateRole);
    if (check.isValid() && !index.data(ReportTableModel::CheckEnabledRole).toBool()) {
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        paintDisabledCheck(painter, opt);
    }
}

// Draws the check indicator again over the one just painted, in the disabled state: the
// cell's background under the box first, so the enabled box does not show through.
void ReportCellDelegate::paintDisabledCheck(QPainter* painter, const QStyleOptionViewItem& opt) const
{
    const QWidget* widget = opt.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    const QRect box = style->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &opt, widget);
    painter->save();
    painter->setClipRect(box);
    const bool alternate = opt.features & QStyleOptionViewItem::Alternate;
    painter->fillRect(box, alternate ? opt.palette.alternateBase() : opt.palette.base());
    style->drawPrimitive(QStyle::PE_PanelItemViewItem, &opt, painter, widget);
    QStyleOptionViewItem check = opt;
    check.rect = box;
    check.state &= ~QStyle::State_Enabled;
    check.state &= ~(QStyle::State_On | QStyle::State_NoChange);
    check.state |= QStyle::State_Off;
    style->drawPrimitive(QStyle::PE_IndicatorItemViewItemCheck, &check, painter, widget);
    painter->restore();
}

QRect ReportCellDelegate::barRect(const QRect& cell, int textWidth)
{
    const int margin = 4;
    const int width = cell.width() - textWidth - 3 * margin;
    if (width < 12)
        return {};
    const int height = std::min(cell.height() - 2 * margin, 12);
    return QRect(cell.left() + margin, cell.center().y() - height / 2, width, height);
}

void ReportCellDelegate::paintShareBar(QPainter* painter, const QStyleOptionViewItem& option,
                                       const QModelIndex& index) const
{
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QWidget* widget = opt.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    const QString text = opt.text;
    opt.text.clear();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget); // background, selection

    const QFontMetrics metrics(opt.font);
    const int textWidth = metrics.horizontalAdvance(QStringLiteral("100.00 %"));
    const QRect bar = barRect(opt.rect, textWidth);
    painter->save();
    if (!bar.isEmpty()) {
        const double share = std::clamp(index.data(ReportTableModel::SortRole).toDouble(), 0.0, 100.0);
        painter->setPen(opt.palette.color(QPalette::Mid));
        painter->setBrush(opt.palette.base());
        painter->drawRect(bar.adjusted(0, 0, -1, -1));
        const int filled = int(std::lround((bar.width() - 2) * share / 100.0));
        if (filled > 0)
            painter->fillRect(QRect(bar.left() + 1, bar.top() + 1, filled, bar.height() - 2), QColor(70, 130, 200));
    }
    const bool selected = opt.state & QStyle::State_Selected;
    painter->setPen(opt.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
    const QRect textRect = opt.rect.adjusted(4, 0, -4, 0);
    painter->drawText(textRect, Qt::AlignRight | Qt::AlignVCenter, text);
    painter->restore();
}

QSize ReportCellDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    if (isBarColumn(index.column()))
        size.setWidth(std::max(size.width(), 160));
    return size;
}
