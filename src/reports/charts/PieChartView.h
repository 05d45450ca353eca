#pragma once

#include "reports/ReportRows.h"

#include <QWidget>

#include <cstdint>
#include <vector>

// The overview's ring chart: how the selected folder's bytes divide among the overview's
// type groups. Slice i is drawn in palette colour i, counter-clockwise from 3 o'clock; an
// empty folder (or one of 0 bytes) shows a grey disc. A textured centre disc carries the
// total in the automatic size unit.
//
// The chart keeps only the rows' sizes; the total is recomputed from them at every paint,
// so a total set from outside is replaced (as the overview expects).
class PieChartView : public QWidget {
    Q_OBJECT
public:
    explicit PieChartView(QWidget* parent = nullptr);

    // The overview rows; only their Size is read. Repaints.
    void setArrChartElement(const std::vector<TSpInfo>& rows);
    // The sizes of the elements directly (tests, and views without row records).
    void setElementSizes(std::vector<std::uint64_t> sizes);
    const std::vector<std::uint64_t>& elementSizes() const { return sizes_; }
    // The total of the last paint (the sum of the element sizes).
    std::uint64_t tSize() const { return tSize_; }
    void setTSize(std::uint64_t total) { tSize_ = total; }

    // The slice boundaries in degrees, counter-clockwise from 3 o'clock: element i runs
    // from angles[i] to angles[i + 1]. Fractions are single precision, as drawn. Empty
    // when the grey disc is drawn instead.
    std::vector<double> sliceAngles() const;

    // Draws the chart into a painter over a w x h area (the paint event does this on the
    // widget; tests render into an image).
    void drawChart(QPainter& painter, int w, int h);

    QSize sizeHint() const override { return {220, 220}; }
    QSize minimumSizeHint() const override { return {140, 140}; }

    // Radius of the textured centre disc, and the baseline of the centre label above the
    // bottom edge, in logical pixels.
    static constexpr double kCentreRadius = 60.0;
    static constexpr double kLabelBaseline = 95.0;
    // The grey of an empty chart (each of red, green and blue).
    static constexpr double kEmptyGrey = 0.391111;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void drawSlices(QPainter& painter, const QPointF& centre, double radius);
    void drawCentre(QPainter& painter, const QPointF& centre);
    void drawLabel(QPainter& painter, int w, int h);

    std::vector<std::uint64_t> sizes_;
    std::uint64_t tSize_ = 0;
};
