// The preferences window's logic without windows: the Exclude pane's edits on a real
// ExclusionList.plist, the custom filter sheet's validation, the remembered pane and the
// resize time.

#include "SettingsFixture.h"

#include "common/TestSupport.h"
#include "settings/CommonFuncs.h"
#include "settings/CustomFilterSheet.h"
#include "settings/ExclusionList.h"
#include "settings/ExclusionListEditor.h"
#include "settings/Plist.h"
#include "settings/PreferencePanes.h"
#include "settings/TypeCatalog.h"

#include <QDir>
#include <QFile>

using namespace Qt::StringLiterals;

namespace {

class ExcludeEditing : public FreshSettings {
protected:
    void SetUp() override
    {
        TestSupport::setTestHome(home_.path());
        FreshSettings::SetUp();
    }
    void TearDown() override
    {
        FreshSettings::TearDown();
        ExclusionList::setShared(nullptr);
        TestSupport::setTestHome(previous_);
    }

    // An exclusion file with the two lists and entries the pane never shows.
    static void writeFileWithOtherSections()
    {
        const QVariantMap hard{
            {QStringLiteral("dirPath"), QVariantList{QStringLiteral("/proc")}},
            {QStringLiteral("filePath"), QVariantList{QStringLiteral("/etc/fstab")}},
            {QStringLiteral("dirNotDelete"), QVariantList{QStringLiteral("/usr"), QStringLiteral("/srv")}},
            {QStringLiteral("hidden"), true},
        };
        const QVariantMap soft{{QStringLiteral("filePackage"), true}};
        ASSERT_TRUE(Plist::writeFile(ExclusionList::filePath(),
                                     QVariantMap{{QStringLiteral("Hard"), hard},
                                                 {QStringLiteral("Soft"), soft},
                                                 {QStringLiteral("Mine"), QStringLiteral("kept")}}));
    }
    static QVariantMap stored() { return Plist::readDictionary(ExclusionList::filePath()); }
    static QVariantMap storedHard() { return stored().value(QStringLiteral("Hard")).toMap(); }

    QTemporaryDir home_;
    QString previous_ = TestSupport::testHome();
};

QString text(const QString& key) { return CommonFuncs::getLocalizedStringForKey(key); }

} // namespace

TEST_F(ExcludeEditing, AddRemoveAndResetRoundTripKeepingTheOtherEntries)
{
    writeFileWithOtherSections();
    ExclusionListEditor editor;
    EXPECT_EQ(editor.excludedPaths(), QStringList{u"/proc"_s});
    EXPECT_EQ(editor.excludedFiles(), QStringList{u"/etc/fstab"_s});
    const auto before = ExclusionList::shared();

    LogCapture log;
    editor.addExcludePath(QStringLiteral("/data/vm"));
    editor.addExcludePath(QStringLiteral("/data/vm")); // the same path twice is allowed
    editor.addExcludeFile(QStringLiteral("/swapfile"));
    EXPECT_EQ(Plist::stringList(storedHard(), QStringLiteral("dirPath")), (QStringList{u"/proc"_s, u"/data/vm"_s, u"/data/vm"_s}));
    EXPECT_EQ(Plist::stringList(storedHard(), QStringLiteral("filePath")), (QStringList{u"/etc/fstab"_s, u"/swapfile"_s}));
    // Everything else of the file is still there.
    EXPECT_EQ(Plist::stringList(storedHard(), QStringLiteral("dirNotDelete")), (QStringList{u"/usr"_s, u"/srv"_s}));
    EXPECT_TRUE(storedHard().value(QStringLiteral("hidden")).toBool());
    EXPECT_TRUE(stored().value(QStringLiteral("Soft")).toMap().value(QStringLiteral("filePackage")).toBool());
    EXPECT_EQ(stored().value(QStringLiteral("Mine")).toString(), QStringLiteral("kept"));
    // The shared list was replaced, and the next scan leaves the new entries out.
    EXPECT_NE(ExclusionList::shared(), before);
    EXPECT_TRUE(ExclusionList::shared()->isExcludedDirectory(QStringLiteral("/data/vm/disk.img")));
    EXPECT_TRUE(ExclusionList::shared()->isExcludedDirectory(QStringLiteral("/swapfile")));

    EXPECT_FALSE(editor.removeExcludePathAtIndex(3)); // out of range: nothing changes
    EXPECT_TRUE(editor.removeExcludePathAtIndex(1));
    EXPECT_TRUE(editor.removeExcludeFileAtIndex(0));
    EXPECT_EQ(Plist::stringList(storedHard(), QStringLiteral("dirPath")), (QStringList{u"/proc"_s, u"/data/vm"_s}));
    EXPECT_EQ(Plist::stringList(storedHard(), QStringLiteral("filePath")), QStringList{u"/swapfile"_s});
    EXPECT_TRUE(log.text().contains(QStringLiteral("addExcludePath:/data/vm\n")));
    EXPECT_TRUE(log.text().contains(QStringLiteral("addExcludeFile:/swapfile\n")));
    EXPECT_TRUE(log.text().contains(QStringLiteral("removeExcludePathAtIndex:1\n")));
    EXPECT_TRUE(log.text().contains(QStringLiteral("removeExcludeFileAtIndex:0\n")));
    EXPECT_FALSE(log.text().contains(QStringLiteral("removeExcludePathAtIndex:3")));

    editor.resetToDefaults();
    EXPECT_EQ(editor.excludedPaths(), ExclusionList::defaultExcludedPaths());
    EXPECT_EQ(editor.excludedFiles(), QStringList());
    EXPECT_EQ(stored(), ExclusionList::defaultExclusionDict());
    EXPECT_FALSE(ExclusionList::shared()->isExcludedDirectory(QStringLiteral("/data/vm")));
    EXPECT_TRUE(log.text().contains(QStringLiteral("ExcludeViewController btnResetDefaultTapped:\n")));
}

TEST_F(ExcludeEditing, AMissingFileStartsFromTheDefaultsAndABrokenOneIsKeptAside)
{
    ASSERT_FALSE(QFile::exists(ExclusionList::filePath()));
    ExclusionListEditor fresh;
    EXPECT_TRUE(fresh.excludedPaths().isEmpty());
    fresh.addExcludePath(QStringLiteral("/data"));
    // The protected folders and the other sections come from the defaults, not from nowhere.
    EXPECT_EQ(Plist::stringList(storedHard(), QStringLiteral("dirNotDelete")), ExclusionList::defaultNotDeletablePaths());
    EXPECT_EQ(Plist::stringList(storedHard(), QStringLiteral("dirPath")), QStringList{u"/data"_s});

    QFile broken(ExclusionList::filePath());
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly | QIODevice::Truncate));
    broken.write("<plist><dict><key>Hard</key>");
    broken.close();
    ExclusionListEditor editor;
    editor.addExcludeFile(QStringLiteral("/big.iso"));
    EXPECT_EQ(Plist::stringList(storedHard(), QStringLiteral("filePath")), QStringList{u"/big.iso"_s});
    const QStringList aside = QDir(QFileInfo(ExclusionList::filePath()).path())
                                  .entryList({QStringLiteral("ExclusionList.plist.broken-*")});
    ASSERT_EQ(aside.size(), 1);
    QFile kept(QFileInfo(ExclusionList::filePath()).path() + QLatin1Char('/') + aside.first());
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray("<plist><dict><key>Hard</key>"));
}

using CustomSheet = ExcludeEditing;

TEST_F(CustomSheet, ValidationNamesTheAlertAndSavingRaisesTheFlag)
{
    using CustomFilterSheet::Mode;
    TypeCatalog::readAndUpdateGlobalsForParsing();
    PreferenceChangeFlags::clear();
    const QString existing = TypeCatalog::defaultGroups().first().name;

    EXPECT_EQ(CustomFilterSheet::save(Mode::Add, QStringLiteral("  "), QStringLiteral("iso")),
              QStringLiteral("ID_PLZ_ENTER_FILTER_NAME"));
    EXPECT_EQ(CustomFilterSheet::save(Mode::Add, QStringLiteral("Disks"), QStringLiteral(" \t")),
              QStringLiteral("ID_PLZ_ENTER_FILE_TYPE"));
    EXPECT_EQ(CustomFilterSheet::save(Mode::Add, QStringLiteral(" ") + existing.toUpper(), QStringLiteral("x")),
              QStringLiteral("ID_FILTER_NAME_EXIST"));
    EXPECT_EQ(CustomFilterSheet::save(Mode::Edit, existing, QString()), QStringLiteral("ID_PLZ_ENTER_FILE_TYPE"));
    // Blanks are no extension when editing either: the group keeps its extensions.
    EXPECT_EQ(CustomFilterSheet::save(Mode::Edit, existing, QStringLiteral("  ")), QStringLiteral("ID_PLZ_ENTER_FILE_TYPE"));
    EXPECT_EQ(CustomFilterSheet::deleteFilter(QString()), QStringLiteral("ID_PLZ_SELECT_FILTER_REMOVE_FRM_LIST"));
    EXPECT_FALSE(PreferenceChangeFlags::customFilterChanged()); // nothing was saved yet
    for (const char* key : {"ID_PLZ_ENTER_FILTER_NAME", "ID_PLZ_ENTER_FILE_TYPE", "ID_FILTER_NAME_EXIST",
                            "ID_PLZ_SELECT_FILTER_REMOVE_FRM_LIST"})
        EXPECT_NE(text(QLatin1String(key)), QStringLiteral("(null)")) << key;

    EXPECT_EQ(CustomFilterSheet::save(Mode::Add, QStringLiteral(" Disks "), QStringLiteral(" iso,img ")), QString());
    EXPECT_TRUE(PreferenceChangeFlags::customFilterChanged());
    EXPECT_TRUE(CustomTypeFilter::readCustomTypeFilter().contains(
        CustomTypeFilterRow{QStringLiteral("Disks"), QStringLiteral("iso,img")}));
    EXPECT_EQ(CustomFilterSheet::save(Mode::Edit, QStringLiteral("Disks"), QStringLiteral("qcow2")), QString());
    EXPECT_TRUE(CustomTypeFilter::readCustomTypeFilter().contains(
        CustomTypeFilterRow{QStringLiteral("Disks"), QStringLiteral("qcow2")}));
    PreferenceChangeFlags::clear();
    EXPECT_EQ(CustomFilterSheet::deleteFilter(QStringLiteral("Disks")), QString());
    EXPECT_TRUE(PreferenceChangeFlags::customFilterChanged());
    EXPECT_FALSE(CustomTypeFilter::isFilterExist(QStringLiteral("Disks")));
    PreferenceChangeFlags::clear();
}

TEST_F(ExcludeEditing, RememberedPaneAndResizeTime)
{
    EXPECT_EQ(PreferencePanes::selectedIndex(), 0);
    PreferencePanes::storeSelectedIdentifier(QStringLiteral("Custom Filter"));
    EXPECT_EQ(PreferencePanes::selectedIndex(), 2);
    PreferencePanes::storeSelectedIdentifier(QStringLiteral("Nothing like it"));
    EXPECT_EQ(PreferencePanes::selectedIndex(), 0);
    QStringList ids;
    for (const auto& pane : PreferencePanes::panes())
        ids.append(pane.identifier);
    EXPECT_EQ(ids, (QStringList{u"Display Unit"_s, u"Exclude"_s, u"Custom Filter"_s, u"Misc. Filter"_s}));

    EXPECT_DOUBLE_EQ(PreferencePanes::resizeDuration({400, 300}, {400, 300}), 0.1);
    EXPECT_DOUBLE_EQ(PreferencePanes::resizeDuration({400, 300}, {500, 250}), 0.1);
    EXPECT_DOUBLE_EQ(PreferencePanes::resizeDuration({400, 300}, {450, 700}), 0.2);
    EXPECT_DOUBLE_EQ(PreferencePanes::resizeDuration({800, 700}, {400, 300}), 0.2);
}
