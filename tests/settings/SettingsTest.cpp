#include "SettingsFixture.h"

#include "common/TestSupport.h"
#include "settings/CommonFuncs.h"
#include "settings/ExclusionList.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>

#include <limits>

namespace {

using Settings = FreshSettings;

// The keys the settings file itself holds, read as a new process would.
QStringList keysOnDisk()
{
    QSettings file(SettingsStore::filePath(), QSettings::IniFormat);
    QStringList keys = file.allKeys();
    keys.sort();
    return keys;
}

QStringList sortKeys()
{
    QStringList keys;
    for (int i = 0; i < kSortSettingCount; ++i)
        keys.append(GeneralLib::sortSettingKey(SortSetting(i)));
    keys.sort();
    return keys;
}

void store(QLatin1String key, const QVariant& value) { ASSERT_TRUE(SettingsStore::setValue(key, value)); }

} // namespace

TEST_F(Settings, FreshUserReadsDefaultsAndStoresOnlyTheSortOrders)
{
    EXPECT_EQ(keysOnDisk(), sortKeys());
    EXPECT_TRUE(QFileInfo::exists(Paths::inDocuments(QStringLiteral("exclusion.plist"))));

    const SettingsCache& c = GeneralLib::cache();
    EXPECT_EQ(c.allDiskReports, 0);
    EXPECT_EQ(c.diskReportSummary, 0);
    EXPECT_EQ(c.folderTree, 0);
    EXPECT_EQ(c.decimalPlaces, 2);
    EXPECT_EQ(c.oldFilesSearchTimeLimit, 6);
    EXPECT_EQ(c.oldFilesTimeUnit, 1);
    EXPECT_EQ(c.oldFilesFilterType, 1);
    EXPECT_FALSE(c.showEmptyFolders);
    EXPECT_EQ(c.sizeUnitForFilter, 1);
    EXPECT_EQ(c.dateTypeForFilter, 3);
    EXPECT_EQ(c.sizeUnitForComparisionFilter, 1);
    EXPECT_EQ(c.topFilteredFileCount, 0);
    EXPECT_EQ(SettingsStore::stringForKey(SettingsKeys::dateFromForFilter).toStdString(), "");

    EXPECT_EQ(GeneralLib::getSizeForBigFile(), 50000000u);
    EXPECT_DOUBLE_EQ(GeneralLib::getTimeIntervalForOldFile(1e9), 1e9 - 180 * 86400.0);
    for (int i = 0; i < kSortSettingCount; ++i) {
        const SortSetting which = SortSetting(i);
        EXPECT_EQ(GeneralLib::sortDescriptor(which), (SortDescriptor{GeneralLib::defaultSortKey(which), false}));
        EXPECT_EQ(CommonFuncs::unarchiveObjectForKey(GeneralLib::sortSettingKey(which)),
                  (SortDescriptor{GeneralLib::defaultSortKey(which), false}));
    }
    EXPECT_EQ(GeneralLib::sortDescriptor(SortSetting::FileSize).key.toStdString(), "Size");
    EXPECT_EQ(GeneralLib::sortDescriptor(SortSetting::ForFileViewer).key.toStdString(), "cSize");
}

TEST_F(Settings, ReadRegistryFillsSevenColoursEachTimeAndSelectsTheOverview)
{
    GeneralLib::setCurrentReportIndex(ReportIndex::SizeRanges);
    GeneralLib::readRegistry();
    GeneralLib::readRegistry();
    const QList<ChartColor>& palette = GeneralLib::cache().chartColors;
    ASSERT_EQ(palette.size(), 7);
    EXPECT_EQ(palette.first(), (ChartColor{0.467, 0.916, 1.0}));
    EXPECT_EQ(palette.last(), (ChartColor{0.173, 0.462, 0.738}));
    EXPECT_EQ(GeneralLib::cache().currentReportIndex, ReportIndex::Overview);
}

TEST_F(Settings, StoredValuesWinAndWrongTypesReadAsZero)
{
    store(SettingsKeys::decimalPlaces, 4);
    store(SettingsKeys::allDiskReports, QStringLiteral("3")); // how a new process sees numbers
    store(SettingsKeys::bigFilesSize, QByteArray("\x01\x02", 2));
    store(SettingsKeys::folderTree, QStringLiteral("big"));
    store(SettingsKeys::showEmptyFolders, true);
    store(SettingsKeys::oldFilesSearchTimeLimit, 7.9);
    GeneralLib::readRegistry();
    const SettingsCache& c = GeneralLib::cache();
    EXPECT_EQ(c.decimalPlaces, 4);
    EXPECT_EQ(c.allDiskReports, 3);
    EXPECT_EQ(c.bigFilesSize, 0);
    EXPECT_EQ(c.folderTree, 0);
    EXPECT_TRUE(c.showEmptyFolders);
    EXPECT_EQ(c.oldFilesSearchTimeLimit, 7);

    ASSERT_TRUE(SettingsStore::remove(SettingsKeys::decimalPlaces));
    GeneralLib::refreshDisplayUnitSettings();
    EXPECT_EQ(GeneralLib::cache().decimalPlaces, 2); // the registered default again
}

TEST_F(Settings, ResetsStoreTheDefaultsRefreshAndLog)
{
    store(SettingsKeys::allDiskReports, 3);
    store(SettingsKeys::decimalPlaces, 0);
    store(SettingsKeys::bigFilesSize, 9);
    store(SettingsKeys::oldFilesTimeUnit, 2);
    store(SettingsKeys::showEmptyFolders, 1);
    GeneralLib::readRegistry();
    ASSERT_EQ(GeneralLib::cache().decimalPlaces, 0);

    LogCapture log;
    GeneralLib::resetDefaultDisplayUnitSettings();
    GeneralLib::resetDefaultMiscSettings();
    const SettingsCache& c = GeneralLib::cache();
    EXPECT_EQ(c.allDiskReports, 0);
    EXPECT_EQ(c.decimalPlaces, 2);
    EXPECT_EQ(c.bigFilesSize, 50);
    EXPECT_EQ(c.oldFilesTimeUnit, 1);
    EXPECT_FALSE(c.showEmptyFolders);
    EXPECT_TRUE(log.text().contains(QStringLiteral("resetDefaultDisplayUnitSettings\n")));
    EXPECT_TRUE(log.text().contains(QStringLiteral("resetDefaultMiscSettings\n")));
    // A reset stores its values (they are no longer mere defaults).
    EXPECT_EQ(SettingsStore::toInteger(SettingsStore::storedValue(SettingsKeys::decimalPlaces)), 2);
    EXPECT_EQ(SettingsStore::toInteger(SettingsStore::storedValue(SettingsKeys::oldFilesFilterType)), 1);
}

TEST_F(Settings, ScanOptionsAreOffUntilStoredAndTheMiscResetTurnsThemOff)
{
    GeneralLib::registerUserDefaultsForSettings();
    EXPECT_EQ(GeneralLib::folderScanOptions(), FolderScanOptions{});
    // QSettings gives a stored boolean back as the text "true" in a new process.
    store(SettingsKeys::scanHiddenFolders, QStringLiteral("true"));
    store(SettingsKeys::stayOnOneFileSystem, 1);
    EXPECT_EQ(GeneralLib::folderScanOptions(), (FolderScanOptions{true, true}));
    GeneralLib::resetDefaultMiscSettings();
    EXPECT_EQ(GeneralLib::folderScanOptions(), FolderScanOptions{});
}

TEST_F(Settings, FileViewerFilterDefaultsAreStoredAndReadOnRefresh)
{
    store(SettingsKeys::sizeFilterType, 2);
    store(SettingsKeys::fileNameForFilter, QStringLiteral("report"));
    GeneralLib::refreshFileViewerFilterComponents();
    ASSERT_EQ(GeneralLib::cache().sizeFilterType, 2);

    GeneralLib::setDefaultSettingsForFileViewerFilter();
    EXPECT_EQ(SettingsStore::stringForKey(SettingsKeys::fileNameForFilter).toStdString(), "");
    EXPECT_TRUE(SettingsStore::isStored(SettingsKeys::topFilteredFileCount));
    GeneralLib::refreshFileViewerFilterComponents();
    EXPECT_EQ(GeneralLib::cache().sizeFilterType, 0);
}

TEST_F(Settings, BigFileThreshold)
{
    const auto threshold = [](std::int64_t size, std::int64_t unit) {
        SettingsStore::setValue(SettingsKeys::bigFilesSize, qint64(size));
        SettingsStore::setValue(SettingsKeys::bigFilesSizeUnit, qint64(unit));
        GeneralLib::refreshMiscSettings();
        return GeneralLib::getSizeForBigFile();
    };
    EXPECT_EQ(threshold(50, 0), 50000000u);
    EXPECT_EQ(threshold(2, 1), 2000000000u);
    EXPECT_EQ(threshold(2, 7), 10000000u);
    EXPECT_EQ(threshold(-5, 0), 0u);
    EXPECT_EQ(threshold(std::numeric_limits<std::int64_t>::max(), 1), std::numeric_limits<std::uint64_t>::max());
}

TEST_F(Settings, OldFileMoment)
{
    const double now = 7e8;
    const auto moment = [now](std::int64_t limit, std::int64_t unit) {
        SettingsStore::setValue(SettingsKeys::oldFilesSearchTimeLimit, qint64(limit));
        SettingsStore::setValue(SettingsKeys::oldFilesTimeUnit, qint64(unit));
        GeneralLib::refreshMiscSettings();
        return GeneralLib::getTimeIntervalForOldFile(now);
    };
    EXPECT_DOUBLE_EQ(moment(10, 0), now - 10 * 86400.0);
    EXPECT_DOUBLE_EQ(moment(6, 1), now - 6 * 2592000.0);
    EXPECT_DOUBLE_EQ(moment(2, 2), now - 2 * 31536000.0);
    EXPECT_DOUBLE_EQ(moment(2, 9), now - 2 * 2592000.0); // unknown unit: months
    EXPECT_NEAR(GeneralLib::getTimeIntervalForOldFile(), CommonFuncs::absoluteTimeNow() - 2 * 2592000.0, 5.0);
}

TEST_F(Settings, FilterSizesInBytes)
{
    EXPECT_EQ(GeneralLib::getSizeForFilterInByteFor(QStringLiteral("12"), 1), 12000);
    EXPECT_EQ(GeneralLib::getSizeForFilterInByteFor(QStringLiteral(" 12.9 MB"), 2), 12000000);
    EXPECT_EQ(GeneralLib::getSizeForFilterInByteFor(QStringLiteral("3"), 3), 3000000000);
    EXPECT_EQ(GeneralLib::getSizeForFilterInByteFor(QStringLiteral("abc"), 1), 0);
    EXPECT_EQ(GeneralLib::getSizeForFilterInByteFor(QStringLiteral("5"), 4), 0);
    EXPECT_EQ(GeneralLib::getSizeForFilterInByteFor(7.9, 0), 7);
    EXPECT_EQ(GeneralLib::getSizeForFilterInByteFor(QStringLiteral("99999999999999999999"), 3),
              std::numeric_limits<std::int64_t>::max());
}

TEST_F(Settings, SortOrdersAreWrittenAndUnreadableOnesFallBack)
{
    GeneralLib::setSortDescriptor(SortSetting::FileSize, GeneralLib::getSortDescriptionForKey(QStringLiteral("SrNo"), true));
    LogCapture log;
    GeneralLib::writeSortDescriptions();
    EXPECT_TRUE(log.text().contains(QStringLiteral("writeSortDescriptions\n")));
    EXPECT_EQ(CommonFuncs::unarchiveObjectForKey(QStringLiteral("sortDescriptorFileSize")),
              (SortDescriptor{QStringLiteral("SrNo"), true}));

    store(QLatin1String("sortDescriptorApps"), QByteArray());
    store(QLatin1String("sortDescriptorTopFiles"), QByteArray("not an archive"));
    GeneralLib::refreshSortDescription();
    EXPECT_EQ(GeneralLib::sortDescriptor(SortSetting::Apps), (SortDescriptor{QStringLiteral("cSize"), false}));
    EXPECT_EQ(GeneralLib::sortDescriptor(SortSetting::TopFiles), (SortDescriptor{QStringLiteral("cSize"), false}));
    EXPECT_EQ(GeneralLib::sortDescriptor(SortSetting::FileSize), (SortDescriptor{QStringLiteral("SrNo"), true}));

    // Start-up replaces an empty value but leaves a stored order alone.
    GeneralLib::registerUserDefaultsForSettings();
    EXPECT_TRUE(CommonFuncs::unarchiveObjectForKey(QStringLiteral("sortDescriptorApps")).has_value());
    EXPECT_EQ(CommonFuncs::unarchiveObjectForKey(QStringLiteral("sortDescriptorFileSize")),
              (SortDescriptor{QStringLiteral("SrNo"), true}));
}

TEST_F(Settings, BrokenSettingsFileIsKeptAsideAndItsReadableKeysCarriedOver)
{
    const QString path = SettingsStore::filePath();
    const QByteArray broken("[General\ndecimalPlaces=4\nthis line is not a setting\n");
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(broken);
    }
    LogCapture log;
    ASSERT_TRUE(SettingsStore::setValue(SettingsKeys::folderTree, 2));
    const QStringList backups =
        QDir(QFileInfo(path).absolutePath()).entryList({QFileInfo(path).fileName() + QStringLiteral(".broken-*")});
    ASSERT_EQ(backups.size(), 1);
    QFile backup(QFileInfo(path).absolutePath() + QLatin1Char('/') + backups.first());
    ASSERT_TRUE(backup.open(QIODevice::ReadOnly));
    EXPECT_EQ(backup.readAll(), broken);
    EXPECT_TRUE(log.text().contains(backups.first()));
    EXPECT_EQ(SettingsStore::integerForKey(SettingsKeys::decimalPlaces), 4);
    EXPECT_EQ(SettingsStore::integerForKey(SettingsKeys::folderTree), 2);
    backup.remove();
}

TEST_F(Settings, AFileTheReaderWouldNotWriteBackTheSameIsCopiedBeforeItsFirstRewrite)
{
    const QString path = SettingsStore::filePath();
    const QByteArray handEdited("; my notes on these settings\n[General]\ndecimalPlaces=4\n");
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(handEdited);
    }
    const QDir folder = QFileInfo(path).absoluteDir();
    const QStringList pattern{QFileInfo(path).fileName() + QStringLiteral(".backup-*")};
    for (const QString& old : folder.entryList(pattern))
        QFile::remove(folder.filePath(old));

    LogCapture log;
    ASSERT_TRUE(SettingsStore::setValue(SettingsKeys::folderTree, 2));
    ASSERT_TRUE(SettingsStore::setValue(SettingsKeys::folderTree, 3));
    const QStringList backups = folder.entryList(pattern);
    ASSERT_EQ(backups.size(), 1);
    QFile backup(folder.filePath(backups.first()));
    ASSERT_TRUE(backup.open(QIODevice::ReadOnly));
    EXPECT_EQ(backup.readAll(), handEdited);
    EXPECT_TRUE(log.text().contains(backups.first()));
    EXPECT_EQ(SettingsStore::integerForKey(SettingsKeys::decimalPlaces), 4);
    backup.remove();
}

TEST_F(Settings, UnwritableStoreReportsFailureAndKeepsTheValueForTheSession)
{
    // A plain file where the settings folder should be: no user, root included, can write.
    const QString folder = QFileInfo(SettingsStore::filePath()).absolutePath();
    const QString aside = folder + QStringLiteral(".aside");
    ASSERT_TRUE(QDir().rename(folder, aside));
    {
        QFile blocker(folder);
        ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    }
    LogCapture log;
    EXPECT_FALSE(SettingsStore::setValue(SettingsKeys::folderTree, 3));
    EXPECT_TRUE(log.text().contains(QStringLiteral("cannot write")));
    QFile::remove(folder);
    ASSERT_TRUE(QDir().rename(aside, folder));
}

// The parent half of the restart test: stores values, then runs the child half in a new
// process of this test program, which reads them as the application does at start-up.
TEST_F(Settings, ValuesAndSortOrdersSurviveARestart)
{
    GeneralLib::setSortDescriptor(SortSetting::FileDate, {QStringLiteral("SrNo"), true});
    LogCapture log;
    GeneralLib::writeSortDescriptions();
    store(SettingsKeys::decimalPlaces, 3);
    store(SettingsKeys::showEmptyFolders, true);
    store(SettingsKeys::fileNameForFilter, QStringLiteral("a, b"));
    TestSupport::TempTree t;
    t.mkdir(QStringLiteral("one, with comma"));
    ASSERT_TRUE(CommonFuncs::saveBookmarkPath(t.at(QStringLiteral("one, with comma"))));

    qputenv("QVL_RESTART_HOME", QFile::encodeName(TestSupport::testHome()));
    qputenv("QVL_RESTART_BOOKMARK", QFile::encodeName(t.at(QStringLiteral("one, with comma"))));
    const TestSupport::ProcessResult child = TestSupport::run(
        QCoreApplication::applicationFilePath(), {QStringLiteral("--gtest_filter=SettingsRestart.ChildReadsWhatTheParentStored")});
    qunsetenv("QVL_RESTART_HOME");
    qunsetenv("QVL_RESTART_BOOKMARK");
    EXPECT_EQ(child.exitCode, 0) << child.out.toStdString() << child.err.toStdString();
    EXPECT_TRUE(child.out.contains("[  PASSED  ] 1 test")) << child.out.toStdString();
}

TEST(SettingsRestart, ChildReadsWhatTheParentStored)
{
    const QString home = qEnvironmentVariable("QVL_RESTART_HOME");
    if (home.isEmpty())
        GTEST_SKIP() << "runs as the second process of Settings.ValuesAndSortOrdersSurviveARestart";
    TestSupport::setTestHome(home);
    GeneralLib::registerUserDefaultsForSettings();
    GeneralLib::readRegistry();
    const SettingsCache& c = GeneralLib::cache();
    EXPECT_EQ(c.decimalPlaces, 3);
    EXPECT_TRUE(c.showEmptyFolders);
    EXPECT_EQ(c.bigFilesSize, 50);
    EXPECT_EQ(GeneralLib::sortDescriptor(SortSetting::FileDate), (SortDescriptor{QStringLiteral("SrNo"), true}));
    EXPECT_EQ(GeneralLib::sortDescriptor(SortSetting::TopFiles), (SortDescriptor{QStringLiteral("cSize"), false}));
    EXPECT_EQ(SettingsStore::stringForKey(SettingsKeys::fileNameForFilter).toStdString(), "a, b");
    const QString bookmark = qEnvironmentVariable("QVL_RESTART_BOOKMARK");
    EXPECT_EQ(SettingsStore::value(SettingsKeys::savedPaths).toStringList(), QStringList{bookmark});
}
