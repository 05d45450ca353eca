#include "common/TestSupport.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

using TestSupport::TempTree;

namespace {

class ReportFilterCli : public ::testing::Test {
protected:
    void SetUp() override
    {
        TestSupport::setTestHome(home_.path());
        tree_.file(QStringLiteral("Report.PDF"), 1500);
        tree_.file(QStringLiteral("notes.txt"), 999);
        tree_.file(QStringLiteral("big.bin"), 2000);
        tree_.file(QStringLiteral("huge.bin"), 2001);
        tree_.setTimes(QStringLiteral("notes.txt"), 1600000000, 1600000000); // 2020-09-13 UTC
    }
    void TearDown() override { TestSupport::setTestHome(previous_); }

    QStringList names(const QStringList& filter)
    {
        QStringList args{QStringLiteral("report"), QStringLiteral("explorer"), QStringLiteral("--json")};
        args += filter;
        args.append(tree_.path());
        const auto result = TestSupport::runCli(args);
        EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
        QStringList out;
        const QJsonArray rows = QJsonDocument::fromJson(result.out)
                                    .object()
                                    .value(QStringLiteral("reports"))
                                    .toObject()
                                    .value(QStringLiteral("explorer"))
                                    .toArray();
        for (const QJsonValue& row : rows)
            out.append(row.toObject().value(QStringLiteral("name")).toString());
        out.sort();
        return out;
    }

    QTemporaryDir home_;
    QString previous_ = TestSupport::testHome();
    TempTree tree_;
};

} // namespace

TEST_F(ReportFilterCli, NodeReportsTakeTheViewerFilter)
{
    EXPECT_EQ(names({}).size(), 4);
    EXPECT_EQ(names({QStringLiteral("--name"), QStringLiteral("report.pdf")}), QStringList{QStringLiteral("Report.PDF")});
    // 1 to 2 KB, both ends included.
    EXPECT_EQ(names({QStringLiteral("--size-between"), QStringLiteral("1"), QStringLiteral("2"),
                     QStringLiteral("--size-unit"), QStringLiteral("kb")}),
              (QStringList{QStringLiteral("Report.PDF"), QStringLiteral("big.bin")}));
    EXPECT_EQ(names({QStringLiteral("--size"), QStringLiteral(">"), QStringLiteral("2000"), QStringLiteral("--size-unit"),
                     QStringLiteral("bytes")}),
              QStringList{QStringLiteral("huge.bin")});
    EXPECT_TRUE(names({QStringLiteral("--size"), QStringLiteral("<"), QStringLiteral("0")}).isEmpty());
    const QString day = QDateTime::fromSecsSinceEpoch(1600000000).toString(QStringLiteral("MM/dd/yyyy"));
    EXPECT_EQ(names({QStringLiteral("--date"), QStringLiteral("modified"), day, day}), QStringList{QStringLiteral("notes.txt")});
    EXPECT_EQ(names({QStringLiteral("--top"), QStringLiteral("2")}).size(), 2);
}

TEST_F(ReportFilterCli, BadFilterValuesAreRefused)
{
    for (const QStringList& bad : {QStringList{QStringLiteral("--size"), QStringLiteral("~"), QStringLiteral("1")},
                                   QStringList{QStringLiteral("--size-between"), QStringLiteral("a"), QStringLiteral("2")},
                                   QStringList{QStringLiteral("--top"), QStringLiteral("0")},
                                   QStringList{QStringLiteral("--date"), QStringLiteral("born"), QStringLiteral("x"), QStringLiteral("y")}}) {
        QStringList args{QStringLiteral("report"), QStringLiteral("explorer")};
        args += bad;
        args.append(tree_.path());
        const auto result = TestSupport::runCli(args);
        EXPECT_EQ(result.exitCode, 2) << bad.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(result.out.isEmpty());
    }
}
