#include "reports/charts/PieChartView.h"

#include "settings/CommonFuncs.h"
#include "settings/GeneralLib.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

namespace {

// The centre disc's texture: a small tile of a dark woven pattern, made once. Tiles repeat
// seamlessly because every line wraps at the tile's edges.
const QPixmap& mainPattern()
{
    static const QPixmap tile = [] {
        constexpr int size = 8;
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(QColor(52, 56, 62));
        for (int i = 0; i < size; ++i) {
            image.setPixelColor(i, i, QColor(64, 69, 76));                 // falling diagonal
            image.setPixelColor((i + size / 2) % size, size - 1 - i, QColor(44, 47, 52)); // rising
        }
        return QPixmap::fromImage(image);
    }();
    return tile;
}

QColor paletteColour(std::size_t index)
{
    const QList<ChartColor>& palette = GeneralLib::cache().chartColors;
    if (palette.isEmpty())
        return QColor(Qt::gray);
    // The overview never has more rows than colours; a longer list repeats the palette.
    const ChartColor& c = palette[qsizetype(index % std::size_t(palette.size()))];
    return QColor::fromRgbF(float(c.red), float(c.green), float(c.blue));
}

} // namespace

PieChartView::PieChartView(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

void PieChartView::setArrChartElement(const std::vector<TSpInfo>& rows)
{
    std::vector<std::uint64_t> sizes;
    sizes.reserve(rows.size());
    for (const TSpInfo& row : rows)
        sizes.push_back(row.Size);
    setElementSizes(std::move(sizes));
}

void PieChartView::setElementSizes(std::vector<std::uint64_t> sizes)
{
    sizes_ = std::move(sizes);
    update();
}

std::vector<double> PieChartView::sliceAngles() const
{
    std::uint64_t total = 0;
    for (std::uint64_t size : sizes_)
        total += size;
    if (sizes_.empty() || total == 0)
        return {};
    // Single precision throughout, so the boundaries are the ones drawn.
    const float denominator = float(CommonFuncs::denominator(total));
    std::vector<double> angles{0.0};
    float sum = 0.0f;
    for (std::uint64_t size : sizes_) {
        sum += float(size) * 100.0f / denominator / 100.0f;
        angles.push_back(double(360.0f * sum));
    }
    return angles;
}

void PieChartView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    drawChart(painter, width(), height());
}

void PieChartView::drawChart(QPainter& painter, int w, int h)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(Qt::NoPen);
    tSize_ = 0;
    for (std::uint64_t size : sizes_)
        tSize_ += size;
    const QPointF centre(w / 2.0, h / 2.0);
    drawSlices(painter, centre, h / 2.0);
    drawCentre(painter, centre);
    drawLabel(painter, w, h);
    painter.restore();
}

void PieChartView::drawSlices(QPainter& painter, const QPointF& centre, double radius)
{
    const QRectF bounds(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
    const std::vector<double> angles = sliceAngles();
    if (angles.empty()) {
        painter.setBrush(QColor::fromRgbF(float(kEmptyGrey), float(kEmptyGrey), float(kEmptyGrey)));
        painter.drawEllipse(bounds);
        return;
    }
    // Qt's arc angles run counter-clockwise from 3 o'clock on screen, as the slices do.
    for (std::size_t i = 0; i + 1 < angles.size(); ++i) {
        const double sweep = angles[i + 1] - angles[i];
        if (sweep <= 0.0)
            continue; // a group of 0 bytes has no slice
        QPainterPath slice(centre);
        slice.arcTo(bounds, angles[i], sweep);
        slice.closeSubpath();
        painter.fillPath(slice, paletteColour(i));
    }
}

void PieChartView::drawCentre(QPainter& painter, const QPointF& centre)
{
    QPainterPath disc;
    disc.addEllipse(centre, kCentreRadius, kCentreRadius);
    painter.fillPath(disc, QBrush(mainPattern()));
    painter.fillPath(disc, QColor::fromRgbF(1.0f, 1.0f, 1.0f, 0.05f));
}

void PieChartView::drawLabel(QPainter& painter, int w, int h)
{
    // The chart's geometry is in logical pixels (radius 60, baseline 95 above the bottom),
    // and so is the label's size, which keeps the label inside the centre disc at any
    // screen resolution.
    QFont bold = font();
    bold.setBold(true);
    bold.setPixelSize(17);
    const QString text = CommonFuncs::unitForSize(tSize_);
    const double textWidth = QFontMetricsF(bold).horizontalAdvance(text);
    const QPointF baselineStart(w / 2.0 - (textWidth + 25.0) / 2.0, h - kLabelBaseline);
    QPainterPath glyphs;
    glyphs.addText(baselineStart, bold, text);
    painter.fillPath(glyphs, Qt::white);
}
