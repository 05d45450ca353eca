#pragma once

#include "app/DockViewController.h"

#include <QRectF>
#include <QWidget>

#include <vector>

// The popover's bar chart: one bar per entry, its height a share of the largest value the
// view has seen (maxLen only grows, so a new chart wants a new view), and a label rotated
// to read from bottom to top. Geometry is worked out with the origin at the bottom-left
// corner and y growing upward, then mapped to the widget's top-left coordinates.
class BarChartView : public QWidget {
    Q_OBJECT
public:
    explicit BarChartView(QWidget* parent = nullptr);

    // Sets the bars and redraws.
    void setChartData(std::vector<BarChartEntry> entries);
    const std::vector<BarChartEntry>& chartData() const { return chartData_; }
    // numberOfBars := number of entries; maxLen := the larger of maxLen and every size.
    void calculate();
    qint64 numberOfBars() const { return numberOfBars_; }
    float maxLen() const { return maxLen_; }

    // The drawn height of a bar of value v in a chart of height h: d = v / maxLen × h,
    // then 0.5 for d ≤ 0, 1 up to 1, 5 × d below 5, d above, at most 120.
    static double barHeight(double value, double maxLen, double height);
    // Bar i's rectangle in widget coordinates (left 5 + 32 i, bottom 5 from the foot of the
    // view, width 26).
    QRectF barRect(int index) const;
    // How many leading characters of a label are white: all of them unless the bar is
    // taller than 20 points of label room and the label runs past it.
    static int whiteCharacterCount(const QString& label, double barHeight, double plainLabelWidth);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void drawLabel(QPainter& painter, int index, double barHeight);

    std::vector<BarChartEntry> chartData_;
    qint64 numberOfBars_ = 0;
    float maxLen_ = 0;
};
