// Flattening and the groupings by kind, attribute, type catalog group, plus the obsolete
// files and the top lists.

#include "reports/ReportsFixture.h"

#include <QDir>

namespace {

class Grouping : public ReportsTest {
protected:
    NodeList filesOf(const ScannedTree& t) { return PredicatesLib::prepareFilesArray(t.root()); }
};

QStringList kindRows(const NodeList& files)
{
    return rowsOf(PredicatesLib::predicatesForFileTypeFilterBasedOnFileKind(files));
}

QStringList attributeRows(const NodeList& files)
{
    const auto rows = PredicatesLib::predicatesForAttributeFilter(files);
    expectConsistentRows(rows);
    return rowsOf(rows);
}

QStringList spRows(const std::vector<TSpInfo>& rows)
{
    expectConsistentRows(rows);
    return rowsOf(rows);
}

QString row(const char* key, const char* names) { return uiText(key) + QLatin1Char(':') + QLatin1String(names); }

} // namespace

TEST_F(Grouping, FlatteningListsAFoldersFilesBeforeItsSubfoldersAndBundlesAsOneFile)
{
    fixture_.file(QStringLiteral("sub/inner.txt"), 5);
    fixture_.file(QStringLiteral("top.txt"), 7);
    fixture_.file(QStringLiteral("Tool.app/Contents/Info.plist"), 100);
    fixture_.file(QStringLiteral("Tool.app/Contents/MacOS/tool"), 3000);
    fixture_.file(QStringLiteral("Tool.app/Contents/Plugin.app/Contents/Info.plist"), 40);
    fixture_.file(QStringLiteral("sub/deeper/last.txt"), 1);
    fixture_.mkdir(QStringLiteral("emptydir"));
    const ScannedTree t = scanWithTotals(fixture_.path());

    NodeList files = filesOf(t);
    QStringList names = namesOf(files);
    // The root's own files (directory order) come first, then each subfolder's in turn.
    ASSERT_EQ(names.size(), 4);
    EXPECT_EQ(QSet<QString>(names.begin(), names.begin() + 2),
              (QSet<QString>{QStringLiteral("top.txt"), QStringLiteral("Tool.app")}));
    EXPECT_EQ(names.mid(2), (QStringList{QStringLiteral("inner.txt"), QStringLiteral("last.txt")}));

    // The bundle counts once, with its whole content.
    TFoldInfo* app = t.at(QStringLiteral("Tool.app"));
    EXPECT_EQ(app->cSize(), 3140u);
    EXPECT_EQ(std::count(files.begin(), files.end(), app), 1);

    // Applications: the bundle first, then those nested in it.
    EXPECT_EQ(namesOf(PredicatesLib::getAppsArray(t.root())),
              (QStringList{QStringLiteral("Tool.app"), QStringLiteral("Plugin.app")}));

    // Every report built on the flat list sees the bundle as one file of 3140 bytes.
    const auto sizes = PredicatesLib::predicatesForSizeFilter(files);
    ASSERT_EQ(sizes.size(), 1u);
    EXPECT_EQ(sizes[0].Size, 3140u + 13u);
    const auto overview = PredicatesLib::predicatesForOverView(files);
    EXPECT_EQ(spRows(overview).last(), row("ID_OTHER_FILES", "Tool.app"));
}

TEST_F(Grouping, KindsDifferingOnlyByCaseShareTheFirstRow)
{
    for (const char* name : {"a", "b", "c", "d", "e"})
        fixture_.file(QLatin1String(name), 1);
    const ScannedTree t = scanWithTotals(fixture_.path());
    NodeList files = filesOf(t);
    std::sort(files.begin(), files.end(), [](auto* x, auto* y) { return x->sName() < y->sName(); });
    const char* kinds[] = {"PNG image", "JPEG image", "png IMAGE", "Png Image", "JPEG image"};
    for (std::size_t i = 0; i < files.size(); ++i)
        files[i]->setFType(QLatin1String(kinds[i]));
    EXPECT_EQ(kindRows(files), (QStringList{QStringLiteral("PNG image:a,c,d"), QStringLiteral("JPEG image:b,e")}));

    // A kind holding a wildcard is a pattern for the kinds after it.
    files[0]->setFType(QStringLiteral("JPEG image"));
    files[1]->setFType(QStringLiteral("*IMAGE"));
    files[2]->setFType(QStringLiteral("PNG image"));
    files[3]->setFType(QStringLiteral("Pl?in TEXT"));
    files[4]->setFType(QStringLiteral("Plain text"));
    EXPECT_EQ(kindRows(files), (QStringList{QStringLiteral("JPEG image:a"), QStringLiteral("*IMAGE:b,c"),
                                            QStringLiteral("Pl?in TEXT:d,e")}));
    EXPECT_TRUE(PredicatesLib::isLike(QStringLiteral("Pl?in TEXT"), QStringLiteral("pl?in text")));
    EXPECT_FALSE(PredicatesLib::isLike(QStringLiteral("Plain texts"), QStringLiteral("pl?in text")));
    EXPECT_TRUE(PredicatesLib::isLike(QStringLiteral("abc"), QStringLiteral("*")));
    EXPECT_TRUE(PredicatesLib::isLike(QString(), QStringLiteral("*")));
}

TEST_F(Grouping, RealKindsOfAJpegAndAPng)
{
    fixture_.file(QStringLiteral("photo.jpg"), 10);
    fixture_.file(QStringLiteral("shot.PNG"), 20);
    const ScannedTree t = scanWithTotals(fixture_.path());
    const auto rows = PredicatesLib::predicatesForFileTypeFilterBasedOnFileKind(filesOf(t));
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_NE(rows[0].label.compare(rows[1].label, Qt::CaseInsensitive), 0);
    EXPECT_EQ(rows[0].Files + rows[1].Files, 2);
}

TEST_F(Grouping, AttributeRowsOverlapAndEndOnceEveryFileIsTaken)
{
    fixture_.file(QStringLiteral("ro.txt"), 1);
    fixture_.chmod(QStringLiteral("ro.txt"), 0444);
    fixture_.file(QStringLiteral(".hidden.txt"), 2);
    fixture_.file(QStringLiteral("plain.txt"), 4);
    fixture_.file(QStringLiteral("run.sh"), 8);
    fixture_.chmod(QStringLiteral("run.sh"), 0755);
    fixture_.file(QStringLiteral("odd"), 16);
    fixture_.file(QStringLiteral("Tool.app/Contents/Info.plist"), 32);
    const ScannedTree t = scanWithTotals(fixture_.path());
    t.at(QStringLiteral("odd"))->setItemFlags(0); // neither plain nor anything else
    NodeList files = filesOf(t);
    std::sort(files.begin(), files.end(), [](auto* x, auto* y) { return x->sName() < y->sName(); });

    // A hidden package (the scanner skips hidden folders, so the flags are set here).
    TFoldInfo* hiddenPackage = t.at(QStringLiteral("Tool.app"));
    hiddenPackage->setItemFlags(hiddenPackage->itemAttrInfo().flags | ItemFlags::Invisible);

    // "Normal Files" only takes the plain files no row before it took; the readonly file
    // is also a plain file; "odd" has nothing and goes to the rest row.
    EXPECT_EQ(attributeRows(files),
              (QStringList{QStringLiteral("Readonly Files:ro.txt"), QStringLiteral("Hidden Files:.hidden.txt,Tool.app"),
                           QStringLiteral("Package Files:Tool.app"), QStringLiteral("Applications:Tool.app,run.sh"),
                           QStringLiteral("Container:Tool.app"), QStringLiteral("Native Apps:Tool.app,run.sh"),
                           QStringLiteral("Normal Files:plain.txt"), row("ID_NONE", "odd")}));

    // Only hidden files, none read-only: the hidden row takes them all and the report ends
    // there, without the package row of the hidden package.
    NodeList hiddenOnly{t.at(QStringLiteral(".hidden.txt")), hiddenPackage};
    EXPECT_EQ(attributeRows(hiddenOnly), (QStringList{QStringLiteral("Hidden Files:.hidden.txt,Tool.app")}));

    EXPECT_TRUE(attributeRows({}).isEmpty());
}

TEST_F(Grouping, CustomSummaryPartitionsByCatalogGroupThenAddsTheRestAndTheExtras)
{
    fixture_.file(QStringLiteral("notes.txt"), 100);
    fixture_.file(QStringLiteral("empty.txt"), 0);
    fixture_.file(QStringLiteral("photo.JPG"), 200);
    fixture_.file(QStringLiteral("mystery.zzq"), 300);
    fixture_.file(QStringLiteral("README"), 5);
    fixture_.sparseFile(QStringLiteral("disk.iso"), 50000000);
    fixture_.file(QStringLiteral("old.log"), 10);
    fixture_.setTimes(QStringLiteral("old.log"), 0, QDateTime::currentSecsSinceEpoch() - 400 * 86400);
    fixture_.file(QStringLiteral("Tool.app/Contents/Info.plist"), 1);
    const ScannedTree t = scanWithTotals(fixture_.path());
    NodeList files = filesOf(t);
    std::sort(files.begin(), files.end(), [](auto* x, auto* y) { return x->sName() < y->sName(); });

    // Default catalog order: audio, video, documents, images, ..., junk, ..., disk images, ...,
    // files without extension. 50 MB is a big file with the default threshold of 50 MB.
    EXPECT_EQ(spRows(PredicatesLib::predicatesForCustomTypeFilter(files)),
              (QStringList{row("ID_DOCUMENT_FILES", "empty.txt,notes.txt"), row("ID_IMAGE_FILES", "photo.JPG"),
                           row("ID_JUNK_FILES", "old.log"), row("ID_DISK_IMG_MEDIA_ARC", "disk.iso"),
                           row("ID_WITHOUT_EXT", "README"), row("ID_OTHERS", "Tool.app,mystery.zzq"),
                           row("ID_BIG_SIZE_FILES", "disk.iso"), row("ID_OLDEST_FILES", "old.log"),
                           row("ID_ZERO_SIZE_FILES", "empty.txt")}));

    // A group added at the end takes only what no earlier group listed; the summary reads
    // the catalog's order from the file each time.
    ASSERT_TRUE(CustomTypeFilter::addNewCustomTypeFilter(QStringLiteral("Mine"), QStringLiteral("TXT,zzq")));
    TypeCatalog::readAndUpdateGlobalsForParsing();
    t.at(QStringLiteral("disk.iso"))->setCSize(49999999);
    const QStringList again = spRows(PredicatesLib::predicatesForCustomTypeFilter(files));
    EXPECT_TRUE(again.contains(row("ID_DOCUMENT_FILES", "empty.txt,notes.txt")));
    EXPECT_TRUE(again.contains(QStringLiteral("Mine:mystery.zzq")));
    EXPECT_TRUE(again.contains(row("ID_OTHERS", "Tool.app")));
    EXPECT_FALSE(again.join(QLatin1Char('|')).contains(uiText("ID_BIG_SIZE_FILES")));

    EXPECT_TRUE(PredicatesLib::predicatesForCustomTypeFilter({}).empty());
}

TEST_F(Grouping, OverviewHasItsSixRowsAlwaysAndARestRowWhenFilesAreLeft)
{
    const QStringList six{uiText("ID_DOCUMENT_FILES"), uiText("ID_IMAGE_FILES"),     uiText("ID_AUDIO_FILES"),
                          uiText("ID_VIDEO_FILES"),    uiText("ID_FINANCIAL_FILES"), uiText("ID_EBOOKS")};
    const auto empty = PredicatesLib::predicatesForOverView({});
    EXPECT_EQ(spRows(empty), (QStringList{six[0] + QLatin1Char(':'), six[1] + QLatin1Char(':'),
                                          six[2] + QLatin1Char(':'), six[3] + QLatin1Char(':'),
                                          six[4] + QLatin1Char(':'), six[5] + QLatin1Char(':')}));

    fixture_.file(QStringLiteral("book.EPUB"), 3);
    fixture_.file(QStringLiteral("song.mp3"), 5);
    fixture_.file(QStringLiteral("code.cpp"), 7);
    const ScannedTree t = scanWithTotals(fixture_.path());
    const QStringList rows = spRows(PredicatesLib::predicatesForOverView(filesOf(t)));
    EXPECT_EQ(rows, (QStringList{six[0] + QLatin1Char(':'), six[1] + QLatin1Char(':'), six[2] + QStringLiteral(":song.mp3"),
                                 six[3] + QLatin1Char(':'), six[4] + QLatin1Char(':'), six[5] + QStringLiteral(":book.EPUB"),
                                 row("ID_OTHER_FILES", "code.cpp")}));

    // A catalog that cannot be read: six empty rows and every file in the rest row; the
    // custom summary has only its rest row and extras; nothing is obsolete.
    QFile file(TypeCatalog::filePath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("not a property list");
    file.close();
    TypeCatalog::readAndUpdateGlobalsForParsing();
    const auto broken = PredicatesLib::predicatesForOverView(filesOf(t));
    ASSERT_EQ(broken.size(), 7u);
    EXPECT_EQ(broken.back().Files, 3);
    const auto custom = PredicatesLib::predicatesForCustomTypeFilter(filesOf(t));
    ASSERT_FALSE(custom.empty());
    EXPECT_EQ(custom.front().label, uiText("ID_OTHERS"));
    EXPECT_EQ(custom.front().Files, 3);
    EXPECT_TRUE(PredicatesLib::getObsoleteFiles(filesOf(t)).empty());
}

TEST_F(Grouping, ObsoleteFilesAreJunkThatMayBeDeleted)
{
    fixture_.file(QStringLiteral("a.tmp"), 1);
    fixture_.file(QStringLiteral("b.LOG"), 2);
    fixture_.file(QStringLiteral("keep.txt"), 3);
    fixture_.file(QStringLiteral("c.bak"), 4);
    fixture_.file(QStringLiteral("sub/d.old"), 5);
    const ScannedTree t = scanWithTotals(fixture_.path());
    t.at(QStringLiteral("c.bak"))->setIsNonDeleteableFile(true);
    NodeList files = filesOf(t);
    std::sort(files.begin(), files.end(), [](auto* x, auto* y) { return x->sName() < y->sName(); });
    EXPECT_EQ(namesOf(PredicatesLib::getObsoleteFiles(files)),
              (QStringList{QStringLiteral("a.tmp"), QStringLiteral("b.LOG"), QStringLiteral("d.old")}));
}

TEST_F(Grouping, TopListsCutAtAHundred)
{
    for (int i = 0; i < 130; ++i) {
        const QString name = QStringLiteral("f%1").arg(i, 3, 10, QLatin1Char('0'));
        fixture_.file(name, (i * 37) % 130 + 1); // sizes 1..130, each once
        fixture_.setTimes(name, 1000000000 + ((i * 53) % 130) * 60, 1000000000);
    }
    const ScannedTree t = scanWithTotals(fixture_.path());
    const NodeList files = filesOf(t);

    const NodeList bySize = PredicatesLib::getTop100FilesBySize(files);
    ASSERT_EQ(bySize.size(), 100u);
    for (std::size_t i = 0; i < bySize.size(); ++i)
        EXPECT_EQ(bySize[i]->cSize(), 130u - i);

    const NodeList oldest = PredicatesLib::getTop100OldestFiles(files);
    ASSERT_EQ(oldest.size(), 100u);
    for (std::size_t i = 1; i < oldest.size(); ++i)
        EXPECT_LT(oldest[i - 1]->lATime(), oldest[i]->lATime());
    EXPECT_EQ(oldest.front()->lATime(), 1000000000 - kUnixToAbsolute);

    const NodeList few(files.begin(), files.begin() + 30);
    EXPECT_EQ(PredicatesLib::getTop100FilesBySize(few).size(), 30u);
    EXPECT_EQ(PredicatesLib::getTop100OldestFiles(few).size(), 30u);
}

TEST_F(Grouping, SettingFiltersReadTheirThresholds)
{
    fixture_.file(QStringLiteral("f"), 1);
    const ScannedTree t = scanWithTotals(fixture_.path());
    TFoldInfo& node = *t.at(QStringLiteral("f"));

    node.setCSize(50000000);
    EXPECT_TRUE(PredicatesLib::predicateForBigSizeFiles()(node));
    node.setCSize(49999999);
    EXPECT_FALSE(PredicatesLib::predicateForBigSizeFiles()(node));
    SettingsStore::setValue(SettingsKeys::bigFilesSizeUnit, 1);
    SettingsStore::setValue(SettingsKeys::bigFilesSize, 2);
    GeneralLib::refreshMiscSettings();
    node.setCSize(2000000000);
    EXPECT_TRUE(PredicatesLib::predicateForBigSizeFiles()(node));
    node.setCSize(1999999999);
    EXPECT_FALSE(PredicatesLib::predicateForBigSizeFiles()(node));

    // Old files: by modification time unless the filter type is 0 (access time).
    const double now = CommonFuncs::absoluteTimeNow();
    node.setLMTime(now - 400 * 86400.0);
    node.setLATime(now);
    EXPECT_TRUE(PredicatesLib::predicateForOldFiles()(node));
    SettingsStore::setValue(SettingsKeys::oldFilesFilterType, 0);
    GeneralLib::refreshMiscSettings();
    EXPECT_FALSE(PredicatesLib::predicateForOldFiles()(node));

    EXPECT_TRUE(PredicatesLib::predicateForRange(10, 0)(node));
    node.setCSize(10);
    EXPECT_TRUE(PredicatesLib::predicateForRange(10, 10)(node));
    EXPECT_FALSE(PredicatesLib::predicateForRange(11, 20)(node));
    // Group filters compare lower-cased extensions; folders never pass.
    const GroupFilter group = PredicatesLib::predicateForExtnArray({QStringLiteral("XYZ")});
    fixture_.file(QStringLiteral("a.xYz"));
    fixture_.file(QStringLiteral("dir.xyz/inside"));
    const ScannedTree u = scanWithTotals(fixture_.path());
    EXPECT_TRUE(group.matches(*u.at(QStringLiteral("a.xYz"))));
    EXPECT_FALSE(group.matches(*u.at(QStringLiteral("dir.xyz"))));
    EXPECT_FALSE(group.matches(*u.at(QStringLiteral("f"))));
}
