#include "common/TestSupport.h"
#include "settings/Plist.h"

#include <QDateTime>
#include <QFile>
#include <QTimeZone>

#include <gtest/gtest.h>

TEST(Plist, RoundTripsEveryValueType)
{
    TestSupport::TempTree t;
    const QVariantMap value{
        {QStringLiteral("text"), QStringLiteral("caf\u00e9 <&> \"quoted\"")},
        {QStringLiteral("yes"), true},
        {QStringLiteral("no"), false},
        {QStringLiteral("count"), qint64(1) << 40},
        {QStringLiteral("negative"), qint64(-5)},
        {QStringLiteral("real"), 2.5},
        {QStringLiteral("data"), QByteArray("\x00\x01\xff", 3)},
        {QStringLiteral("date"), QDateTime(QDate(2020, 2, 29), QTime(12, 30, 15), QTimeZone::utc())},
        {QStringLiteral("list"), QVariantList{QStringLiteral("a"), qint64(2), QVariantList{}}},
        {QStringLiteral("nested"), QVariantMap{{QStringLiteral("empty"), QVariantMap{}}}},
    };
    const QString path = t.at(QStringLiteral("sub/folder/value.plist"));
    ASSERT_TRUE(Plist::writeFile(path, value));
    const Plist::ReadResult back = Plist::readFile(path);
    ASSERT_TRUE(back) << back.error.toStdString();
    const QVariantMap map = back.value->toMap();
    EXPECT_EQ(map.value(QStringLiteral("text")).toString(), value.value(QStringLiteral("text")).toString());
    EXPECT_EQ(map.value(QStringLiteral("yes")).typeId(), QMetaType::Bool);
    EXPECT_TRUE(map.value(QStringLiteral("yes")).toBool());
    EXPECT_FALSE(map.value(QStringLiteral("no")).toBool());
    EXPECT_EQ(map.value(QStringLiteral("count")).toLongLong(), qint64(1) << 40);
    EXPECT_EQ(map.value(QStringLiteral("negative")).toLongLong(), -5);
    EXPECT_DOUBLE_EQ(map.value(QStringLiteral("real")).toDouble(), 2.5);
    EXPECT_EQ(map.value(QStringLiteral("data")).toByteArray(), QByteArray("\x00\x01\xff", 3));
    EXPECT_EQ(map.value(QStringLiteral("date")).toDateTime(), value.value(QStringLiteral("date")).toDateTime());
    EXPECT_EQ(map.value(QStringLiteral("list")).toList().size(), 3);
    EXPECT_EQ(map.value(QStringLiteral("list")).toList().at(1).toLongLong(), 2);
    EXPECT_TRUE(map.value(QStringLiteral("nested")).toMap().contains(QStringLiteral("empty")));
}

TEST(Plist, BrokenOrMissingFilesReportAnError)
{
    TestSupport::TempTree t;
    EXPECT_FALSE(Plist::readFile(t.at(QStringLiteral("missing.plist"))));
    for (const QByteArray& text : {QByteArray(""), QByteArray("not xml at all"),
                                   QByteArray("<?xml version=\"1.0\"?><plist><dict><key>a</key>")}) {
        const QString path = t.file(QStringLiteral("broken.plist"));
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
        f.close();
        const Plist::ReadResult result = Plist::readFile(path);
        EXPECT_FALSE(result) << text.toStdString();
        EXPECT_FALSE(result.error.isEmpty());
    }
    // A dictionary is asked for but the root is an array: empty map and an error.
    const QString arrayFile = t.at(QStringLiteral("array.plist"));
    ASSERT_TRUE(Plist::writeFile(arrayFile, QVariantList{QStringLiteral("x")}));
    QString why;
    EXPECT_TRUE(Plist::readDictionary(arrayFile, &why).isEmpty());
    EXPECT_FALSE(why.isEmpty());
}

TEST(Plist, FailedWriteLeavesTheOldFileWhole)
{
    TestSupport::TempTree t;
    const QString path = t.at(QStringLiteral("keep.plist"));
    ASSERT_TRUE(Plist::writeFile(path, QVariantMap{{QStringLiteral("v"), qint64(1)}}));
    t.chmod(QString(), 0555);
    QString why;
    const bool wrote = Plist::writeFile(path, QVariantMap{{QStringLiteral("v"), qint64(2)}}, &why);
    t.chmod(QString(), 0755);
    if (TestSupport::runningAsRoot())
        GTEST_SKIP() << "root may write into a read-only folder";
    EXPECT_FALSE(wrote);
    EXPECT_FALSE(why.isEmpty());
    EXPECT_EQ(Plist::readDictionary(path).value(QStringLiteral("v")).toLongLong(), 1);
}
