#include "settings/TextFormat.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

using TextFormat::format;

namespace {
std::string s(const QString& text) { return text.toStdString(); }
} // namespace

TEST(TextFormat, FillsMarkersInOrderOfAppearance)
{
    EXPECT_EQ(s(format(QStringLiteral("%@ %@/?"), {"Copy the files to", "/media/backup"})),
              "Copy the files to /media/backup/?");
    EXPECT_EQ(s(format(QStringLiteral("%d %@ - %d %@"), {16, "KB", 32, "KB"})), "16 KB - 32 KB");
    EXPECT_EQ(s(format(QStringLiteral("%@: %ld"), {"Files", qint64(-3)})), "Files: -3");
    EXPECT_EQ(s(format(QStringLiteral("%lu|%llu"), {std::numeric_limits<std::uint64_t>::max(), 7u})),
              "18446744073709551615|7");
    EXPECT_EQ(s(format(QStringLiteral("%.2f %%"), {12.5})), "12.50 %");
    EXPECT_EQ(s(format(QStringLiteral("self.lMTime < %f"), {1.5})), "self.lMTime < 1.500000");
}

TEST(TextFormat, WidthsPadAndTextsStayTexts)
{
    EXPECT_EQ(s(format(QStringLiteral("%4.0f %@"), {969, "Bytes"})), " 969 Bytes");
    EXPECT_EQ(s(format(QStringLiteral("[%-4d][%04d][%+d]"), {7, -7, 7})), "[7   ][-007][+7]");
    // A number given to "%@" is written plainly; a text given to "%d" gives its leading integer.
    EXPECT_EQ(s(format(QStringLiteral("%@ %@ %@"), {42, 12.5, 0.1})), "42 12.5 0.1");
    EXPECT_EQ(s(format(QStringLiteral("%d %d %.1f"), {"12abc", "abc", " 2.26x"})), "12 0 2.3");
}

TEST(TextFormat, HostileFormatsAreHarmless)
{
    // Texts from the table or the user never reach printf: unknown conversions stay as they
    // are, markers without arguments give nothing, extra arguments are ignored.
    EXPECT_EQ(s(format(QStringLiteral("%s%s%s%n%x"), {})), "%n%x");
    EXPECT_EQ(s(format(QStringLiteral("100%"), {"unused"})), "100%");
    EXPECT_EQ(s(format(QStringLiteral("%@ and %@"), {"one"})), "one and ");
    EXPECT_EQ(format(QStringLiteral("%999999999d"), {1}).size(), 99);
    EXPECT_EQ(s(format(QStringLiteral("Last %@Month"), {""})), "Last Month");
}
