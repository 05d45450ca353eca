// Stored files a person or another program may have mangled: each is refused or read
// with a clear message, and none is ever overwritten or lost.

#include "common/TestSupport.h"
#include "settings/ExclusionList.h"
#include "settings/Paths.h"
#include "settings/Plist.h"
#include "settings/TypeCatalog.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

// An exclusion list whose first folder name holds a raw NUL byte.
const QByteArray kNulInString("<plist><dict><key>Hard</key><array><string>/pro\0c</string></array></dict></plist>", 81);

QByteArray nestedArrays(int levels)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict><key>Hard</key>"
        + QByteArray("<array>").repeated(levels) + QByteArray("</array>").repeated(levels) + "</dict></plist>\n";
}

void write(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

QByteArray read(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

class HostileFiles : public ::testing::Test {
protected:
    void SetUp() override { TestSupport::setTestHome(home_.path()); }
    void TearDown() override
    {
        ExclusionList::setShared(nullptr);
        TestSupport::setTestHome(previous_);
    }
    QTemporaryDir home_;
    QString previous_ = TestSupport::testHome();
};

TEST_F(HostileFiles, DeepNestingIsRefusedBeforeAnyTreeIsBuilt)
{
    const Plist::ReadResult deep = Plist::fromXml(nestedArrays(50000));
    ASSERT_FALSE(deep);
    EXPECT_TRUE(deep.error.contains(QStringLiteral("nested more than"))) << deep.error.toStdString();

    // Dictionaries count as well, and the limit itself is allowed.
    EXPECT_FALSE(Plist::fromXml("<plist>" + QByteArray("<dict><key>k</key>").repeated(Plist::kMaxNesting + 1)
                                + "<true/>" + QByteArray("</dict>").repeated(Plist::kMaxNesting + 1) + "</plist>"));
    const Plist::ReadResult atLimit = Plist::fromXml("<plist>" + QByteArray("<array>").repeated(Plist::kMaxNesting)
                                                     + QByteArray("</array>").repeated(Plist::kMaxNesting) + "</plist>");
    EXPECT_TRUE(atLimit) << atLimit.error.toStdString();

    // Empty elements, comments and CDATA sections open nothing.
    const QByteArray quiet = "<plist><array>" + QByteArray("<array/>").repeated(1000)
        + "<!-- " + QByteArray("<array>").repeated(1000) + " --><string><![CDATA["
        + QByteArray("<dict>").repeated(1000) + "]]></string></array></plist>";
    const Plist::ReadResult flat = Plist::fromXml(quiet);
    ASSERT_TRUE(flat) << flat.error.toStdString();
    EXPECT_EQ(flat.value->toList().size(), 1001);

    TestSupport::TempTree t;
    write(t.at(QStringLiteral("deep.plist")), nestedArrays(50000));
    QString why;
    EXPECT_FALSE(Plist::readOrderedDictionary(t.at(QStringLiteral("deep.plist")), &why));
    EXPECT_TRUE(why.contains(QStringLiteral("deep.plist"))) << why.toStdString();
}

TEST_F(HostileFiles, AnUnreadableStoredExclusionListWarnsUsesTheDefaultsAndIsKept)
{
    for (const QByteArray& bytes : {nestedArrays(50000), kNulInString, QByteArray("<plist><dict><key>Hard</key><dict>"),
                                    QByteArray("<plist><array/></plist>")}) {
        write(ExclusionList::filePath(), bytes);
        const std::shared_ptr<const ExclusionList> list = ExclusionList::loadShared();
        EXPECT_TRUE(list->loadProblem().contains(ExclusionList::filePath())) << list->loadProblem().toStdString();
        EXPECT_TRUE(list->isExcludedDirectory(QStringLiteral("/proc/1")));
        EXPECT_TRUE(list->isExcludedDirectory(QStringLiteral("/sys/kernel")));
        EXPECT_EQ(read(ExclusionList::filePath()), bytes);
    }
    // A readable file reports nothing.
    QFile::remove(ExclusionList::filePath());
    EXPECT_TRUE(ExclusionList::loadShared()->loadProblem().isEmpty());
    EXPECT_TRUE(ExclusionList::loadShared()->loadProblem().isEmpty());
}

TEST_F(HostileFiles, TheCommandLineWarnsAboutTheStoredListAndRefusesABadGivenOne)
{
    // The CLI runs with the test program's home, so the files go there.
    TestSupport::setTestHome(previous_);
    const QString stored = ExclusionList::filePath();
    const QByteArray broken = nestedArrays(50000);
    write(stored, broken);
    TestSupport::TempTree t;
    t.file(QStringLiteral("a.txt"), 10);

    TestSupport::ProcessResult r = TestSupport::runCli({QStringLiteral("scan"), QStringLiteral("/proc")});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains("warning: The exclusion list")) << r.err.constData();
    EXPECT_TRUE(r.err.contains("is excluded from scanning")) << r.err.constData();
    r = TestSupport::runCli({QStringLiteral("scan"), QStringLiteral("--json"), t.path()});
    EXPECT_EQ(r.exitCode, 0) << r.err.constData();
    EXPECT_TRUE(r.out.contains("\"files\":1")) << r.out.constData();
    EXPECT_EQ(read(stored), broken);
    QFile::remove(stored);

    write(t.at(QStringLiteral("given.plist")), broken);
    r = TestSupport::runCli({QStringLiteral("scan"), QStringLiteral("--exclusions"), t.at(QStringLiteral("given.plist")), t.path()});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains("nested more than")) << r.err.constData();
    EXPECT_EQ(read(t.at(QStringLiteral("given.plist"))), broken);
}

TEST_F(HostileFiles, ANulByteAnywhereRefusesTheFileInsteadOfStoppingTheProgram)
{
    ASSERT_EQ(kNulInString.count('\0'), 1);
    const QByteArray nulInKey("<plist><dict><key>Ha\0rd</key><true/><key>Ha\0rm</key><false/></dict></plist>", 75);
    const QByteArray nulInCdata("<plist><string><![CDATA[a\0b]]></string></plist>", 47);
    for (const QByteArray& bytes : {kNulInString, nulInKey, nulInCdata}) {
        ASSERT_TRUE(bytes.contains('\0'));
        const Plist::ReadResult r = Plist::fromXml(bytes);
        ASSERT_FALSE(r);
        EXPECT_TRUE(r.error.contains(QStringLiteral("NUL byte"))) << r.error.toStdString();
    }

    TestSupport::TempTree t;
    t.file(QStringLiteral("a.txt"), 10);
    const QString given = t.at(QStringLiteral("given.plist"));
    write(given, kNulInString);
    const TestSupport::ProcessResult r
        = TestSupport::runCli({QStringLiteral("scan"), QStringLiteral("--exclusions"), given, t.path()});
    EXPECT_EQ(r.exitCode, 2) << r.err.constData();
    EXPECT_TRUE(r.err.contains("NUL byte")) << r.err.constData();
    EXPECT_EQ(read(given), kNulInString);
}

TEST_F(HostileFiles, ADeeplyNestedTypeCatalogIsAnEmptyCatalogAndStaysOnDisk)
{
    const QByteArray broken = nestedArrays(50000);
    write(TypeCatalog::filePath(), broken);
    TypeCatalog::readAndUpdateGlobalsForParsing();
    EXPECT_FALSE(TypeCatalog::lastLoadSucceeded());
    EXPECT_TRUE(TypeCatalog::loadedGroups().isEmpty());
    EXPECT_EQ(read(TypeCatalog::filePath()), broken);
}

} // namespace
