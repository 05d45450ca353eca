#include "SettingsFixture.h"

#include "common/TestSupport.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

using TestSupport::TempTree;

namespace {

class ScanUnits : public FreshSettings {
protected:
    void SetUp() override
    {
        FreshSettings::SetUp();
        tree_.file(QStringLiteral("a.bin"), 1000);
        tree_.file(QStringLiteral("sub/b.bin"), 500);
    }
    // The "Size:" line of a human scan with the given options.
    QString sizeLine(QStringList options)
    {
        options << tree_.path();
        const TestSupport::ProcessResult r = TestSupport::runCli(QStringList{QStringLiteral("scan")} + options);
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        const QRegularExpressionMatch m =
            QRegularExpression(QStringLiteral("^Size: +(.*)$"), QRegularExpression::MultilineOption)
                .match(QString::fromUtf8(r.out));
        return m.captured(1);
    }
    TempTree tree_;
};

} // namespace

TEST_F(ScanUnits, HumanSizesFollowTheSummaryUnitSetting)
{
    EXPECT_EQ(sizeLine({}).toStdString(), "1.50 KB");
    ASSERT_TRUE(SettingsStore::setValue(SettingsKeys::diskReportSummary, 1));
    EXPECT_EQ(sizeLine({}).toStdString(), "1500 Bytes");
    ASSERT_TRUE(SettingsStore::setValue(SettingsKeys::diskReportSummary, 3));
    ASSERT_TRUE(SettingsStore::setValue(SettingsKeys::decimalPlaces, 4));
    EXPECT_EQ(sizeLine({}).toStdString(), "0.0015 MB");
}

TEST_F(ScanUnits, OptionsOverrideForOneRunWithoutStoringAndAreChecked)
{
    ASSERT_TRUE(SettingsStore::setValue(SettingsKeys::diskReportSummary, 3));
    EXPECT_EQ(sizeLine({QStringLiteral("--unit"), QStringLiteral("auto"), QStringLiteral("--decimals"), QStringLiteral("0")})
                  .toStdString(),
              "2 KB");
    EXPECT_EQ(sizeLine({QStringLiteral("--unit"), QStringLiteral("KB")}).toStdString(), "1.50 KB");
    EXPECT_EQ(sizeLine({QStringLiteral("--unit"), QStringLiteral("bytes")}).toStdString(), "1500 Bytes");
    EXPECT_EQ(SettingsStore::integerForKey(SettingsKeys::diskReportSummary), 3);
    EXPECT_FALSE(SettingsStore::isStored(SettingsKeys::decimalPlaces));

    // JSON keeps raw byte counts whatever the unit.
    const TestSupport::ProcessResult json =
        TestSupport::runCli({QStringLiteral("scan"), QStringLiteral("--json"), QStringLiteral("--unit"),
                             QStringLiteral("mb"), tree_.path()});
    EXPECT_EQ(QJsonDocument::fromJson(json.out).object().value(QStringLiteral("size")).toInteger(), 1500);

    for (const QStringList& bad : {QStringList{QStringLiteral("--unit"), QStringLiteral("tb")},
                                   QStringList{QStringLiteral("--decimals"), QStringLiteral("-1")},
                                   QStringList{QStringLiteral("--unit")}}) {
        const TestSupport::ProcessResult r =
            TestSupport::runCli(QStringList{QStringLiteral("scan")} + bad + QStringList{tree_.path()});
        EXPECT_EQ(r.exitCode, 2) << bad.join(QLatin1Char(' ')).toStdString();
        EXPECT_FALSE(r.err.isEmpty());
    }
}
