#include "reports/charts/BarChartView.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

constexpr double kBarLeft = 5;
constexpr double kBarPitch = 32;
constexpr double kBarWidth = 26;
constexpr double kBarBottom = 5;
constexpr double kMaxBarHeight = 120;
constexpr double kLabelOffsetX = 17;
constexpr double kLabelBottom = 20;
constexpr double kLabelWidth = 100;
constexpr double kLabelHeight = 12;

QFont labelFont(bool bold)
{
    QFont font;
    font.setPointSizeF(10);
    font.setBold(bold);
    return font;
}

QColor toQColor(const ChartColor& c) { return QColor::fromRgbF(float(c.red), float(c.green), float(c.blue)); }

} // namespace

BarChartView::BarChartView(QWidget* parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_TranslucentBackground);
}

void BarChartView::setChartData(std::vector<BarChartEntry> entries)
{
    chartData_ = std::move(entries);
    update();
}

void BarChartView::calculate()
{
    numberOfBars_ = static_cast<qint64>(chartData_.size());
    for (const BarChartEntry& entry : chartData_)
        maxLen_ = std::max(maxLen_, static_cast<float>(entry.size));
}

double BarChartView::barHeight(double value, double maxLen, double height)
{
    const double d = value / maxLen * height;
    double b;
    if (!(d > 0)) // also a 0 / 0 share
        b = 0.5;
    else if (d <= 1)
        b = 1;
    else if (d < 5)
        b = 5 * d;
    else
        b = d;
    return std::min(b, kMaxBarHeight);
}

QRectF BarChartView::barRect(int index) const
{
    const BarChartEntry& entry = chartData_.at(static_cast<size_t>(index));
    const double b = barHeight(entry.size, maxLen_, height());
    const double left = kBarLeft + kBarPitch * index;
    return QRectF(left, height() - kBarBottom - b, kBarWidth, b);
}

int BarChartView::whiteCharacterCount(const QString& label, double barHeight, double plainLabelWidth)
{
    const int room = static_cast<int>(barHeight + 5);
    const int length = static_cast<int>(label.size());
    if (room <= 20 || plainLabelWidth <= room - 20 || length == 0)
        return length;
    const int averageWidth = static_cast<int>(plainLabelWidth / length);
    if (averageWidth <= 0)
        return length;
    return std::min(length, (room - 20) / averageWidth);
}

void BarChartView::paintEvent(QPaintEvent*)
{
    calculate();
    if (numberOfBars_ == 0)
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    for (int i = 0; i < static_cast<int>(numberOfBars_); ++i) {
        const BarChartEntry& entry = chartData_[static_cast<size_t>(i)];
        const QRectF bar = barRect(i);
        if (entry.color)
            painter.fillRect(bar, toQColor(*entry.color));
        drawLabel(painter, i, bar.height());
    }
}

void BarChartView::drawLabel(QPainter& painter, int index, double barHeightValue)
{
    const QString& text = chartData_[static_cast<size_t>(index)].sizetxt;
    const double plainWidth = QFontMetricsF(labelFont(false)).horizontalAdvance(text);
    const int white = whiteCharacterCount(text, barHeightValue, plainWidth);

    // The label's frame starts at (x + 17, 20) from the bottom-left and is turned a quarter
    // to the left, so the text climbs from there with the glyph tops facing left.
    painter.save();
    painter.translate(kBarLeft + kBarPitch * index + kLabelOffsetX, height() - kLabelBottom);
    painter.rotate(-90);
    painter.setFont(labelFont(true));
    const QRectF frame(0, -kLabelHeight, kLabelWidth, kLabelHeight);
    const int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine;

    // A soft black shadow offset two points upward on screen (along the turned text's
    // baseline direction): faint copies spread around the offset stand in for the blur.
    const QRectF shadow = frame.translated(2, 0);
    painter.setPen(QColor(0, 0, 0, 60));
    for (double du : {-1.5, 0.0, 1.5})
        for (double dv : {-1.5, 0.0, 1.5})
            painter.drawText(shadow.translated(du, dv), flags, text);
    painter.setPen(QColor(0, 0, 0, 150));
    painter.drawText(shadow, flags, text);

    const QString head = text.left(white);
    painter.setPen(Qt::white);
    painter.drawText(frame, flags, head);
    if (white < text.size()) {
        const double headWidth = QFontMetricsF(labelFont(true)).horizontalAdvance(head);
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(frame.adjusted(headWidth, 0, 0, 0), flags, text.mid(white));
    }
    painter.restore();
}
