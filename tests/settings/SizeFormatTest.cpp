#include "SettingsFixture.h"

#include "settings/CommonFuncs.h"

#include <cstdint>
#include <limits>

namespace {

class SizeFormat : public FreshSettings {
protected:
    void setDecimals(int places) { GeneralLib::overrideDisplayUnitSettings(0, 0, 0, places); }
};

struct Case {
    std::uint64_t bytes;
    const char* text;
};

void expectAll(const std::initializer_list<Case>& cases, QString (*fn)(std::uint64_t))
{
    for (const Case& c : cases)
        EXPECT_EQ(fn(c.bytes).toStdString(), c.text) << c.bytes << " bytes";
}

} // namespace

TEST_F(SizeFormat, AutomaticUnitTruncatesAndShowsTheNextUnitFrom970)
{
    expectAll({{0, "0 Bytes"},
               {1, "1 Bytes"},
               {969, "969 Bytes"},
               {970, "0.97 KB"},
               {979, "0.97 KB"},
               {980, "0.98 KB"},
               {989, "0.98 KB"},
               {999, "0.99 KB"},
               {1000, "1.00 KB"},
               {1500, "1.50 KB"},
               {1999, "1.99 KB"}, // truncated, not rounded
               {1150, "1.15 KB"}, // exact: floor(1.15 x 100) in binary floating point is 114
               {2010, "2.01 KB"},
               {969999, "969.99 KB"},
               {975000, "0.97 MB"},
               {979999, "0.97 MB"},
               {989999, "0.98 MB"},
               {999999, "0.99 MB"},
               {1000000, "1.00 MB"},
               {500107862016ull, "500.10 GB"},
               {999999999999ull, "0.99 TB"},
               {1000000000000ull, "1.00 TB"}},
              &CommonFuncs::unitForSize);
}

TEST_F(SizeFormat, TerabytesAreTheLastUnit)
{
    expectAll({{970000000000000ull, "970.00 TB"},
               {999990000000000ull, "999.99 TB"},
               {1000000000000000ull, "1000.00 TB"},
               {std::numeric_limits<std::uint64_t>::max(), "18446744.07 TB"}},
              &CommonFuncs::unitForSize);
    EXPECT_EQ(CommonFuncs::unitForSizeDriveSize(2500000000000000ull).toStdString(), "2500 TB");
}

TEST_F(SizeFormat, ZeroDecimalsRoundHalfToEvenOnTheShownValue)
{
    setDecimals(0);
    expectAll({{1500, "2 KB"}, {2500, "2 KB"}, {3500, "4 KB"}, {970, "1 KB"}, {2499, "2 KB"}},
              &CommonFuncs::unitForSize);
    expectAll({{1500, "2 KB"}, {2500, "2 KB"}, {2501, "3 KB"}}, &CommonFuncs::sizeUnitInKB);
    setDecimals(1);
    expectAll({{1250, "1.2 KB"}, {1350, "1.4 KB"}, {1000, "1.0 KB"}}, &CommonFuncs::unitForSize);
    setDecimals(3);
    // The truncated value keeps two decimals; more places only pad.
    expectAll({{1500, "1.500 KB"}, {1234567, "1.230 MB"}}, &CommonFuncs::unitForSize);
}

TEST_F(SizeFormat, FixedUnitsNeitherTruncateNorSwitchUnits)
{
    expectAll({{999, "1.00 KB"}, {1234567, "1234.57 KB"}, {0, "0.00 KB"}}, &CommonFuncs::sizeUnitInKB);
    expectAll({{1234567, "1.23 MB"}, {975000, "0.98 MB"}}, &CommonFuncs::sizeUnitInMB);
    expectAll({{500107862016ull, "500.11 GB"}, {5000000, "0.00 GB"}, {15000000, "0.02 GB"}}, &CommonFuncs::sizeUnitInGB);

    EXPECT_EQ(CommonFuncs::sizeUnitFor(CommonFuncs::Bytes, 1500).toStdString(), "1500 Bytes");
    EXPECT_EQ(CommonFuncs::sizeUnitFor(CommonFuncs::KB, 1500).toStdString(), "1.50 KB");
    EXPECT_EQ(CommonFuncs::sizeUnitFor(CommonFuncs::GB, 1500).toStdString(), "0.00 GB");
    // Codes outside 1..4 behave as automatic.
    for (int code : {0, 5, -1, 99})
        EXPECT_EQ(CommonFuncs::sizeUnitFor(code, 975000), CommonFuncs::unitForSize(975000)) << code;
}

TEST_F(SizeFormat, VolumeSizesHaveNoFractionAndNo097Rule)
{
    expectAll({{500107862016ull, "500 GB"},
               {0, "0 Bytes"},
               {970, "970 Bytes"},
               {999999, "1000 KB"},
               {1500, "2 KB"},
               {2500, "2 KB"},
               {3500000000000ull, "4 TB"}},
              &CommonFuncs::unitForSizeDriveSize);
}

TEST_F(SizeFormat, DecimalSeparatorFollowsTheLocaleWithoutGrouping)
{
    ScopedLocale german(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(CommonFuncs::unitForSize(1500).toStdString(), "1,50 KB");
    EXPECT_EQ(CommonFuncs::sizeUnitInKB(123456789).toStdString(), "123456,79 KB");
    EXPECT_EQ(CommonFuncs::roundingNumber(1234.5).toStdString(), "1234,50");
}

TEST_F(SizeFormat, PercentagesHaveTwoDigitsRoundedOnTheirDecimalValue)
{
    EXPECT_EQ(CommonFuncs::roundingNumber(12.5).toStdString(), "12.50");
    EXPECT_EQ(CommonFuncs::roundingNumber(0.125).toStdString(), "0.12");
    EXPECT_EQ(CommonFuncs::roundingNumber(0.375).toStdString(), "0.38");
    EXPECT_EQ(CommonFuncs::roundingNumber(1.005).toStdString(), "1.00"); // 1.005 shown, not 1.00499...
    EXPECT_EQ(CommonFuncs::roundingNumber(double(33.333332f)).toStdString(), "33.33");
    EXPECT_EQ(CommonFuncs::roundingNumber(123456.789).toStdString(), "123456.79");
    EXPECT_EQ(CommonFuncs::roundingNumber(-0.001).toStdString(), "0.00");
    setDecimals(0);
    EXPECT_EQ(CommonFuncs::sizeWithFractionDigits(0.5).toStdString(), "0");
    EXPECT_EQ(CommonFuncs::sizeWithFractionDigits(1.5).toStdString(), "2");
}
