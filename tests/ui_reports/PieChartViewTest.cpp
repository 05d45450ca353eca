// The ring chart drawn into an image: slice colours at known angles, the grey disc of an
// empty folder, the textured centre and where the centre label lands.

#include "reports/charts/PieChartView.h"
#include "settings/CommonFuncs.h"
#include "settings/GeneralLib.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr int kSide = 240;

class PieChartViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        GeneralLib::registerUserDefaultsForSettings();
        GeneralLib::readRegistry();
    }

    QImage render(std::vector<std::uint64_t> sizes, int w = kSide, int h = kSide)
    {
        view_.setElementSizes(std::move(sizes));
        QImage image(w, h, QImage::Format_ARGB32);
        image.fill(Qt::black);
        QPainter painter(&image);
        view_.drawChart(painter, w, h);
        return image;
    }

    // The pixel on the ring (between the centre disc and the outer edge) at an angle in
    // degrees, counter-clockwise from 3 o'clock as a person sees it.
    static QColor ringPixel(const QImage& image, double degrees)
    {
        const double outer = image.height() / 2.0;
        const double r = (outer + PieChartView::kCentreRadius) / 2.0;
        const double a = degrees * M_PI / 180.0;
        const int x = int(std::lround(image.width() / 2.0 + r * std::cos(a)));
        const int y = int(std::lround(image.height() / 2.0 - r * std::sin(a)));
        return image.pixelColor(x, y);
    }

    static QColor palette(int i)
    {
        const ChartColor& c = GeneralLib::cache().chartColors[i];
        return QColor::fromRgbF(float(c.red), float(c.green), float(c.blue));
    }

    static bool near(const QColor& a, const QColor& b, int tolerance = 2)
    {
        return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance
               && std::abs(a.blue() - b.blue()) <= tolerance;
    }

    PieChartView view_;
};

TEST_F(PieChartViewTest, SlicesRunCounterClockwiseFromThreeOClockInPaletteOrder)
{
    const QImage image = render({3, 1, 0, 0, 0, 0, 0});
    if (const QString shots = qEnvironmentVariable("QUORVEL_UI_SHOTS"); !shots.isEmpty())
        image.save(shots + QStringLiteral("/pie-3-1-0.png"));
    EXPECT_EQ(view_.tSize(), 4u);
    const std::vector<double> angles = view_.sliceAngles();
    ASSERT_EQ(angles.size(), 8u);
    EXPECT_DOUBLE_EQ(angles[1], 270.0);
    EXPECT_DOUBLE_EQ(angles[2], 360.0);
    EXPECT_DOUBLE_EQ(angles[7], 360.0);

    // 3 of 4 bytes: colour 0 from 0 to 270 degrees, through 12, 9 and 6 o'clock.
    for (double degrees : {10.0, 45.0, 90.0, 135.0, 180.0, 225.0, 260.0})
        EXPECT_TRUE(near(ringPixel(image, degrees), palette(0))) << degrees;
    // 1 of 4 bytes: colour 1 in the last quarter, between 6 and 3 o'clock.
    for (double degrees : {280.0, 315.0, 350.0})
        EXPECT_TRUE(near(ringPixel(image, degrees), palette(1))) << degrees;
    // Outside the ring the background is untouched.
    EXPECT_EQ(image.pixelColor(2, 2), QColor(Qt::black));
}

TEST_F(PieChartViewTest, EmptyOrZeroByteFolderShowsTheGreyDisc)
{
    const QColor grey(100, 100, 100); // 0.391111 of 255
    for (const auto& sizes : {std::vector<std::uint64_t>{}, std::vector<std::uint64_t>(6, 0)}) {
        const QImage image = render(sizes);
        EXPECT_TRUE(view_.sliceAngles().empty());
        EXPECT_EQ(view_.tSize(), 0u);
        for (double degrees : {0.0, 90.0, 200.0, 315.0})
            EXPECT_TRUE(near(ringPixel(image, degrees), grey, 1)) << degrees << " " << sizes.size();
    }
}

TEST_F(PieChartViewTest, CentreDiscIsTexturedAndDarkerThanTheRing)
{
    const QImage image = render({5});
    // A point inside the centre disc, above the label's line.
    const QColor inside = image.pixelColor(kSide / 2, kSide / 2 - 45);
    EXPECT_FALSE(near(inside, palette(0), 30));
    EXPECT_LT(inside.lightness(), 110);
    // The texture varies: not every pixel of a small patch has the same colour.
    QSet<QRgb> colours;
    for (int dy = 0; dy < 8; ++dy)
        for (int dx = 0; dx < 8; ++dx)
            colours.insert(image.pixel(kSide / 2 - 20 + dx, kSide / 2 - 40 + dy));
    EXPECT_GT(colours.size(), 1);
}

TEST_F(PieChartViewTest, CentreLabelSitsOnItsBaselineAndStartsLeftOfCentre)
{
    const int h = 220; // the height at which the baseline crosses the disc's middle
    const QImage image = render({3, 1}, kSide, h);
    QFont bold = view_.font();
    bold.setBold(true);
    bold.setPixelSize(17);
    const QFontMetricsF metrics(bold);
    const QString text = CommonFuncs::unitForSize(4);
    const double startX = kSide / 2.0 - (metrics.horizontalAdvance(text) + 25.0) / 2.0;
    const double baseline = h - PieChartView::kLabelBaseline;

    int left = kSide, right = -1, top = h, bottom = -1;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < kSide; ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.red() > 235 && c.green() > 235 && c.blue() > 235) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    ASSERT_GE(right, 0) << "no white label drawn";
    EXPECT_NEAR(left, startX, 3.0);
    EXPECT_LE(right, startX + metrics.horizontalAdvance(text) + 2);
    EXPECT_GE(top, baseline - metrics.ascent() - 1);
    EXPECT_LE(bottom, baseline + metrics.descent() + 1);
    EXPECT_LT(top, baseline); // glyphs stand on the baseline, counted from the bottom edge
}

} // namespace
