#include "settings/CommonFuncs.h"
#include "settings/TextFormat.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>

#include <gtest/gtest.h>

namespace {

QString text(const char* key) { return CommonFuncs::getLocalizedStringForKey(QLatin1String(key)); }

// Keys named as string literals anywhere in the program's sources.
QSet<QString> keysUsedInSources()
{
    const QString sources = QFileInfo(QStringLiteral(__FILE__)).absolutePath() + QStringLiteral("/../../src");
    static const QRegularExpression literal(QStringLiteral("\"(ID_[A-Z0-9_]+)\""));
    QSet<QString> keys;
    QDirIterator it(sources, {QStringLiteral("*.h"), QStringLiteral("*.cpp")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QString code = QString::fromUtf8(file.readAll());
        for (const QRegularExpressionMatch& m : literal.globalMatch(code))
            keys.insert(m.captured(1));
    }
    return keys;
}

// Fails the run when anything in this program asked for a key that the table lacks.
class NoMissingTexts : public ::testing::Environment {
public:
    void TearDown() override
    {
        QStringList missing = CommonFuncs::missingLocalizedStringKeys();
        missing.removeAll(QStringLiteral("ID_NOT_IN_THE_TABLE")); // asked for on purpose below
        EXPECT_TRUE(missing.isEmpty()) << "texts missing from QVL_EN.plist: "
                                       << missing.join(QStringLiteral(", ")).toStdString();
    }
};
const auto* const g_noMissingTexts = ::testing::AddGlobalTestEnvironment(new NoMissingTexts);

} // namespace

TEST(TextTable, EveryKeyTheCodeNamesHasAText)
{
    const QSet<QString> used = keysUsedInSources();
    ASSERT_FALSE(used.isEmpty());
    for (const QString& key : used)
        EXPECT_TRUE(CommonFuncs::hasLocalizedStringForKey(key)) << key.toStdString();
    EXPECT_GE(CommonFuncs::localizedStringKeys().size(), 110);
}

TEST(TextTable, TextsOthersDependOnReadExactly)
{
    const std::pair<const char*, const char*> exact[] = {
        {"ID_IMAGE_FILES", "Image Files"},   {"ID_DOCUMENT_FILES", "Document Files"},
        {"ID_VIDEO_FILES", "Video Files"},   {"ID_AUDIO_FILES", "Audio Files"},
        {"ID_OTHER_FILES", "Other Files"},   {"ID_FINANCIAL_FILES", "Financial Files"},
        {"ID_EBOOKS", "E-Books"},            {"ID_BYTES", "Bytes"},
        {"ID_KB", "KB"},                     {"ID_MB", "MB"},
        {"ID_GB", "GB"},                     {"ID_TB", "TB"},
        {"ID_AM", "AM"},                     {"ID_PM", "PM"}};
    for (const auto& [key, value] : exact)
        EXPECT_EQ(text(key).toStdString(), value) << key;
}

TEST(TextTable, PlaceholdersBecomeFormatMarkers)
{
    EXPECT_EQ(text("ID_LAST_DAYS").count(QStringLiteral("%@")), 1);
    EXPECT_EQ(text("ID_LAST_MONTH").count(QStringLiteral("%@")), 1);
    EXPECT_EQ(TextFormat::format(text("ID_LAST_DAYS"), {TextFormat::format(QStringLiteral("%d"), {7})}).toStdString(),
              "Last 7 Days");
    EXPECT_EQ(TextFormat::format(text("ID_LAST_MONTH"), {""}).toStdString(), "Last Month");
    EXPECT_EQ(TextFormat::format(text("ID_LAST_MONTH"), {TextFormat::format(QStringLiteral("%d "), {3})}).toStdString(),
              "Last 3 Month");
    EXPECT_TRUE(TextFormat::format(text("ID_TOP_OLDEST_FILES_NAME"), {30}).contains(QStringLiteral("30")));

    EXPECT_EQ(CommonFuncs::replaceOccuranceOfSpecialCharacter(QStringLiteral("{0} of {1}: {2}{3}{4} {5}")).toStdString(),
              "%@ of %@: %@%@%@ {5}");
}

TEST(TextTable, NoTextCarriesAStrayFormatMarker)
{
    // Texts serve as formats; a "%" of their own would swallow an argument.
    for (const QString& key : CommonFuncs::localizedStringKeys()) {
        QString t = CommonFuncs::getLocalizedStringForKey(key);
        t.remove(QStringLiteral("%@"));
        EXPECT_FALSE(t.contains(QLatin1Char('%'))) << key.toStdString();
        EXPECT_FALSE(t.trimmed().isEmpty()) << key.toStdString();
    }
}

TEST(TextTable, MissingKeyShowsNull)
{
    EXPECT_EQ(text("ID_NOT_IN_THE_TABLE").toStdString(), "(null)");
    EXPECT_TRUE(CommonFuncs::missingLocalizedStringKeys().contains(QStringLiteral("ID_NOT_IN_THE_TABLE")));
    EXPECT_FALSE(CommonFuncs::strExist(text("ID_NOT_IN_THE_TABLE")));
}

TEST(TextTable, StrExist)
{
    EXPECT_FALSE(CommonFuncs::strExist(QString()));
    EXPECT_FALSE(CommonFuncs::strExist(QStringLiteral("(Null)")));
    EXPECT_TRUE(CommonFuncs::strExist(QStringLiteral("(null) folder")));
}
