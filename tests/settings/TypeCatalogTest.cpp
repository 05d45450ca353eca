#include "SettingsFixture.h"

#include "settings/CommonFuncs.h"
#include "settings/Plist.h"
#include "settings/TypeCatalog.h"

#include <QFile>
#include <QSet>

namespace {

class Catalog : public FreshSettings {
protected:
    void SetUp() override
    {
        FreshSettings::SetUp();
        QFile::remove(TypeCatalog::filePath());
        TypeCatalog::setGroupsLoadedHandler({});
        TypeCatalog::readAndUpdateGlobalsForParsing();
    }
    void TearDown() override
    {
        TypeCatalog::setGroupsLoadedHandler({});
        FreshSettings::TearDown();
    }
    static QByteArray fileBytes()
    {
        QFile f(TypeCatalog::filePath());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    static void writeFile(const QByteArray& bytes)
    {
        QFile f(TypeCatalog::filePath());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }
    static QStringList names(const TypeGroups& groups)
    {
        QStringList out;
        for (const TypeGroup& g : groups)
            out.append(g.name);
        return out;
    }
    static QStringList storedNames() { return names(TypeCatalog::readCatalogFile().value_or(TypeGroups())); }
    static QStringList storedExtensions(const QString& name)
    {
        for (const TypeGroup& g : TypeCatalog::readCatalogFile().value_or(TypeGroups()))
            if (g.name == name)
                return g.extensions;
        return {QStringLiteral("<no such group>")};
    }
    static QString text(const char* key) { return CommonFuncs::getLocalizedStringForKey(QLatin1String(key)); }
};

} // namespace

TEST_F(Catalog, FreshStartWritesSixteenGroupsInTheirOrder)
{
    const TypeGroups& groups = TypeCatalog::loadedGroups();
    ASSERT_TRUE(TypeCatalog::lastLoadSucceeded());
    ASSERT_EQ(groups.size(), 16);
    EXPECT_EQ(groups.first().name, text("ID_AUDIO_FILES"));
    EXPECT_EQ(groups[5].name, text("ID_EBOOKS"));
    EXPECT_EQ(groups.last().name, text("ID_WITHOUT_EXT"));
    EXPECT_EQ(groups.last().extensions, (QStringList{QLatin1String(""), QStringLiteral("Unknown")}));
    EXPECT_EQ(groups.first().extensions.mid(0, 3), (QStringList{"ape", "snd", "aif"}));

    QSet<QString> seen;
    qsizetype visible = 0;
    for (const TypeGroup& g : groups) {
        EXPECT_FALSE(g.name.isEmpty());
        if (g.name != text("ID_WITHOUT_EXT"))
            visible += g.extensions.size();
        for (const QString& e : g.extensions) {
            EXPECT_FALSE(seen.contains(e.toLower())) << e.toStdString() << " is in two groups";
            seen.insert(e.toLower());
        }
    }
    EXPECT_EQ(visible, 389);
    for (const char* literal : {"---", "$$$", "_mp", "dd_"})
        EXPECT_TRUE(storedExtensions(text("ID_JUNK_FILES")).contains(QLatin1String(literal))) << literal;
    EXPECT_EQ(CustomTypeFilter::readCustomTypeFilter().size(), 15);
    EXPECT_EQ(groups, TypeCatalog::defaultGroups());
}

TEST_F(Catalog, AddRefusesNamesThatDifferOnlyInCase)
{
    EXPECT_TRUE(CustomTypeFilter::isFilterExist(QStringLiteral("  image FILES ")));
    EXPECT_FALSE(CustomTypeFilter::isFilterExist(QStringLiteral("Images")));
    ASSERT_TRUE(CustomTypeFilter::addNewCustomTypeFilter(QStringLiteral("Scans"), QStringLiteral("tif, png,,raw")));
    EXPECT_TRUE(CustomTypeFilter::isFilterExist(QStringLiteral("SCANS")));
    EXPECT_EQ(storedExtensions(QStringLiteral("Scans")), (QStringList{"tif", " png", "", "raw"}));
    const QList<CustomTypeFilterRow> rows = CustomTypeFilter::readCustomTypeFilter();
    ASSERT_EQ(rows.size(), 16);
    EXPECT_EQ(rows.last(), (CustomTypeFilterRow{QStringLiteral("Scans"), QStringLiteral("tif, png,,raw")}));
}

TEST_F(Catalog, EditAndDeleteMatchTheNameExactly)
{
    ASSERT_TRUE(CustomTypeFilter::addNewCustomTypeFilter(QStringLiteral("Scans"), QStringLiteral("tif")));
    ASSERT_TRUE(CustomTypeFilter::updateCustomTypeFilterFile(QStringLiteral("Scans"), QStringLiteral("a,,b")));
    EXPECT_EQ(storedExtensions(QStringLiteral("Scans")), (QStringList{"a", "", "b"}));

    const QStringList before = storedNames();
    EXPECT_TRUE(CustomTypeFilter::updateCustomTypeFilterFile(QStringLiteral("scans"), QStringLiteral("x")));
    EXPECT_EQ(storedNames(), before);
    EXPECT_EQ(storedExtensions(QStringLiteral("Scans")), (QStringList{"a", "", "b"}));

    EXPECT_TRUE(CustomTypeFilter::deleteCustomTypeFilter(QStringLiteral("SCANS")));
    EXPECT_EQ(storedNames(), before);
    EXPECT_TRUE(CustomTypeFilter::deleteCustomTypeFilter(QStringLiteral("Scans")));
    EXPECT_FALSE(storedNames().contains(QStringLiteral("Scans")));
    EXPECT_EQ(storedNames().size(), 16);
}

TEST_F(Catalog, ResetRestoresTheDefaultsAndReloads)
{
    int loads = 0;
    TypeGroups seen;
    TypeCatalog::setGroupsLoadedHandler([&](const TypeGroups& groups) {
        ++loads;
        seen = groups;
    });
    CustomTypeFilter::addNewCustomTypeFilter(QStringLiteral("Mine"), QStringLiteral("abc"));
    CustomTypeFilter::deleteCustomTypeFilter(text("ID_VIDEO_FILES"));
    LogCapture log;
    TypeCatalog::resetCustomSettings();
    EXPECT_TRUE(log.text().contains(QStringLiteral("resetCustomSettings\n")));
    EXPECT_EQ(loads, 1);
    EXPECT_EQ(seen, TypeCatalog::defaultGroups());
    EXPECT_EQ(names(TypeCatalog::loadedGroups()), names(TypeCatalog::defaultGroups()));
    EXPECT_EQ(storedNames(), names(TypeCatalog::defaultGroups()));
}

TEST_F(Catalog, StoredOrderIsKeptThroughReadsAndChanges)
{
    writeFile("<?xml version=\"1.0\"?><plist version=\"1.0\"><dict>"
              "<key>Zeta</key><array><string>z</string></array>"
              "<key>Odd</key><string>not a list</string>"
              "<key>Alpha</key><array><string>A</string><integer>3</integer></array>"
              "</dict></plist>");
    TypeCatalog::readAndUpdateGlobalsForParsing();
    EXPECT_EQ(names(TypeCatalog::loadedGroups()), (QStringList{"Zeta", "Odd", "Alpha"}));
    EXPECT_EQ(TypeCatalog::loadedGroups()[1].extensions, QStringList());
    EXPECT_EQ(TypeCatalog::loadedGroups()[2].extensions, QStringList{"A"});

    ASSERT_TRUE(CustomTypeFilter::addNewCustomTypeFilter(QStringLiteral("Mid"), QStringLiteral("m")));
    EXPECT_EQ(storedNames(), (QStringList{"Zeta", "Odd", "Alpha", "Mid"}));
    // Entries the change did not touch are written back as they were.
    const std::optional<Plist::OrderedDict> raw = Plist::readOrderedDictionary(TypeCatalog::filePath());
    ASSERT_TRUE(raw);
    EXPECT_EQ((*raw)[1].second, QVariant(QStringLiteral("not a list")));
    EXPECT_EQ((*raw)[2].second.toList().size(), 2);
}

TEST_F(Catalog, UnreadableFileIsAnEmptyCatalogThatNothingOverwritesButAReset)
{
    for (const QByteArray& bad : {QByteArray("this is not a property list"),
                                  QByteArray("<?xml version=\"1.0\"?><plist version=\"1.0\"><array/></plist>")}) {
        writeFile(bad);
        LogCapture log;
        TypeCatalog::readAndUpdateGlobalsForParsing();
        EXPECT_FALSE(TypeCatalog::lastLoadSucceeded());
        EXPECT_TRUE(TypeCatalog::loadedGroups().isEmpty());
        EXPECT_TRUE(log.text().contains(QStringLiteral("cannot be read")));
        EXPECT_TRUE(CustomTypeFilter::readCustomTypeFilter().isEmpty());
        EXPECT_FALSE(CustomTypeFilter::isFilterExist(text("ID_AUDIO_FILES")));
        EXPECT_FALSE(CustomTypeFilter::addNewCustomTypeFilter(QStringLiteral("New"), QStringLiteral("n")));
        EXPECT_FALSE(CustomTypeFilter::updateCustomTypeFilterFile(text("ID_AUDIO_FILES"), QStringLiteral("n")));
        EXPECT_FALSE(CustomTypeFilter::deleteCustomTypeFilter(text("ID_AUDIO_FILES")));
        EXPECT_EQ(fileBytes(), bad);
    }
    LogCapture log;
    TypeCatalog::resetCustomSettings();
    EXPECT_TRUE(TypeCatalog::lastLoadSucceeded());
    EXPECT_EQ(TypeCatalog::loadedGroups().size(), 16);
}
