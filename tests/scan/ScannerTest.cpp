#include "common/TestSupport.h"
#include "scan/AnalysisLib.h"
#include "scan/ScanFixtures.h"
#include "scan/TFoldInfoFields.h"
#include "settings/Log.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

using TestSupport::TempTree;

namespace {

// Entry names of a folder in the order the directory returns them.
QStringList readdirOrder(const QString& path)
{
    QStringList names;
    DIR* dir = ::opendir(QFile::encodeName(path).constData());
    while (dirent* e = dir ? ::readdir(dir) : nullptr) {
        const QString name = QFile::decodeName(e->d_name);
        if (name != QLatin1String(".") && name != QLatin1String(".."))
            names.append(name);
    }
    if (dir)
        ::closedir(dir);
    return names;
}

QStringList sorted(QStringList list)
{
    list.sort();
    return list;
}

} // namespace

TEST(FolderScanner, AdmitsEntriesByTheRulesInOrder)
{
    TempTree t;
    t.file(QStringLiteral("a.txt"), 10);
    t.file(QStringLiteral("big/data.bin"), 100000);
    t.symlink(t.at(QStringLiteral("a.txt")), QStringLiteral("link-to-file"));
    t.symlink(t.at(QStringLiteral("big")), QStringLiteral("link-to-folder"));
    t.file(QStringLiteral("Strings.lproj/Localizable.strings"), 5);
    t.file(QStringLiteral("loose.lproj"), 5);
    t.file(QStringLiteral("Base.LPROJ/Main.strings"), 5);
    t.file(QStringLiteral(".hidden/secret.txt"), 5);
    t.file(QStringLiteral("sub/.hidden"), 7);
    t.file(QStringLiteral(".Trash/old.txt"), 3);
    t.file(QStringLiteral(".TRASH/older.txt"), 3);
    t.file(QStringLiteral(".DS_Store"), 3);
    t.file(QStringLiteral(".profile"), 3);
    t.file(QStringLiteral("usr/bin/tool"), 3);
    t.file(QStringLiteral("usrlocal/lib.so"), 3);
    t.file(QStringLiteral("us/kept.txt"), 3);

    auto tree = scanInto(t.path(), 1, excluding({t.at(QStringLiteral("usr"))}));
    TFoldInfo* root = tree->root();
    EXPECT_EQ(sorted(childNames(root)),
              sorted({QStringLiteral("a.txt"), QStringLiteral("big"), QStringLiteral("Base.LPROJ"),
                      QStringLiteral("sub"), QStringLiteral(".Trash"), QStringLiteral(".TRASH"),
                      QStringLiteral(".profile"), QStringLiteral("us")}));
    EXPECT_EQ(childNames(findNode(root, QStringLiteral("sub"))), QStringList{QStringLiteral(".hidden")});
    EXPECT_EQ(childNames(findNode(root, QStringLiteral(".Trash"))), QStringList{QStringLiteral("old.txt")});
    EXPECT_EQ(childNames(findNode(root, QStringLiteral("Base.LPROJ"))), QStringList{QStringLiteral("Main.strings")});

    // Hidden entries that are admitted carry the invisible flag.
    EXPECT_TRUE(findNode(root, QStringLiteral(".profile"))->itemAttrInfo().flags & ItemFlags::Invisible);
    EXPECT_FALSE(findNode(root, QStringLiteral("a.txt"))->itemAttrInfo().flags & ItemFlags::Invisible);
}

TEST(FolderScanner, KeepsDirectoryOrderAcrossLargeFolders)
{
    TempTree t;
    for (int i = 0; i < 5000; ++i)
        t.file(QStringLiteral("many/file-%1.dat").arg(i), i % 7);
    auto tree = scanInto(t.path(), 1);
    const TFoldInfo* many = findNode(tree->root(), QStringLiteral("many"));
    ASSERT_NE(many, nullptr);
    EXPECT_EQ(childNames(many), readdirOrder(t.at(QStringLiteral("many"))));
}

TEST(FolderScanner, FillsNodesFromTheFileSystem)
{
    TempTree t;
    t.file(QStringLiteral("report.PDF"), 1234);
    t.file(QStringLiteral("archive.tar.gz"), 10);
    t.file(QStringLiteral("Makefile"), 1);
    t.file(QStringLiteral("picture.png"), 1);
    t.file(QStringLiteral("other.PNG"), 1);
    t.sparseFile(QStringLiteral("sparse.img"), 1 << 30);
    t.mkdir(QStringLiteral("folder.d"));
    t.setTimes(QStringLiteral("report.PDF"), 1700000000, 1600000000);

    auto tree = scanInto(t.path(), 1);
    TFoldInfo* root = tree->root();
    const TFoldInfo* pdf = findNode(root, QStringLiteral("report.PDF"));
    EXPECT_EQ(pdf->sExt(), QStringLiteral("PDF"));
    EXPECT_EQ(pdf->cSize(), 1234u);
    EXPECT_GE(pdf->cASize(), 1234u);
    EXPECT_DOUBLE_EQ(pdf->lMTime(), 1600000000.0 - 978307200.0);
    EXPECT_DOUBLE_EQ(pdf->lATime(), 1700000000.0 - 978307200.0);
    EXPECT_GT(pdf->cTime(), 0.0);
    EXPECT_TRUE(pdf->itemAttrInfo().flags & ItemFlags::PlainFile);
    EXPECT_EQ(pdf->PFoldInfo(), root);
    EXPECT_EQ(pdf->sPath(), t.at(QStringLiteral("report.PDF")));

    EXPECT_EQ(findNode(root, QStringLiteral("archive.tar.gz"))->sExt(), QStringLiteral("gz"));
    EXPECT_EQ(findNode(root, QStringLiteral("Makefile"))->sExt(), QStringLiteral("Unknown"));
    EXPECT_EQ(findNode(root, QStringLiteral("Makefile"))->fType(), QStringLiteral("Unknown File Type"));

    // Kinds come from the extension, whatever its case.
    const QString pngKind = findNode(root, QStringLiteral("picture.png"))->fType();
    EXPECT_EQ(pngKind, QStringLiteral("PNG image"));
    EXPECT_EQ(findNode(root, QStringLiteral("other.PNG"))->fType(), pngKind);

    const TFoldInfo* sparse = findNode(root, QStringLiteral("sparse.img"));
    EXPECT_EQ(sparse->cSize(), 1u << 30);
    EXPECT_LT(sparse->cASize(), 1u << 20);

    const TFoldInfo* folder = findNode(root, QStringLiteral("folder.d"));
    EXPECT_TRUE(folder->isFolder());
    EXPECT_EQ(folder->fType(), QStringLiteral("File Folder"));
    EXPECT_TRUE(folder->sExt().isNull());
    EXPECT_EQ(folder->cSize(), 0u);
    EXPECT_TRUE(folder->itemAttrInfo().flags & ItemFlags::Container);

    // The root is made plainly: not a folder, no item information, no times.
    EXPECT_FALSE(root->isFolder());
    EXPECT_EQ(root->itemAttrInfo().flags, 0u);
    EXPECT_EQ(root->lMTime(), 0.0);
    EXPECT_EQ(root->sPath(), t.path());
    EXPECT_EQ(root->sName(), QStringLiteral("root"));

    // Fields are readable by name, with or without "self.".
    EXPECT_EQ(tfoldInfoFields().value(*pdf, u"cSize").toULongLong(), 1234u);
    EXPECT_EQ(tfoldInfoFields().value(*pdf, u"self.sExt").toString(), QStringLiteral("PDF"));
    EXPECT_FALSE(tfoldInfoFields().value(*pdf, u"noSuchField").isValid());
}

TEST(FolderScanner, NameBytesThatAreNotUtf8SurviveToThePath)
{
    TempTree t;
    const QByteArray odd = t.pathBytes() + "/caf\xe9-\xff.txt";
    const int fd = ::open(odd.constData(), O_WRONLY | O_CREAT, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::write(fd, "abc", 3), 3);
    ::close(fd);

    auto tree = scanInto(t.path(), 1);
    ASSERT_EQ(tree->root()->childCount(), 1u);
    const TFoldInfo* node = tree->root()->child(0);
    EXPECT_EQ(node->sPathBytes(), odd);
    EXPECT_EQ(::access(node->sPathBytes().constData(), F_OK), 0);
    EXPECT_EQ(node->cSize(), 3u);
    ::unlink(odd.constData()); // QTemporaryDir cannot remove a name it cannot decode
}

TEST(FolderScanner, ApplicationBundlesAreOneNodeWithTheirContent)
{
    TempTree t;
    t.file(QStringLiteral("Editor.app/Contents/Info.plist"), 100);
    t.file(QStringLiteral("Editor.app/Contents/MacOS/editor"), 5000);
    t.file(QStringLiteral("Fake.app/readme.txt"), 1);
    t.file(QStringLiteral("Tool.AppDir/AppRun"), 10);
    t.chmod(QStringLiteral("Tool.AppDir/AppRun"), 0755);
    t.file(QStringLiteral("Tool.AppDir/usr/bin/tool"), 20);
    t.file(QStringLiteral("NotApp/AppRun"), 10); // not executable
    t.file(QStringLiteral("run.sh"), 10);
    t.chmod(QStringLiteral("run.sh"), 0755);

    auto tree = scanInto(t.path(), 1);
    TFoldInfo* root = tree->root();
    for (const QString& name : {QStringLiteral("Editor.app"), QStringLiteral("Tool.AppDir")}) {
        const TFoldInfo* app = findNode(root, name);
        ASSERT_NE(app, nullptr) << name.toStdString();
        EXPECT_TRUE(app->isFolder());
        EXPECT_TRUE(app->isApp());
        EXPECT_EQ(app->fType(), QStringLiteral("Application"));
        const std::uint32_t flags = app->itemAttrInfo().flags;
        EXPECT_TRUE((flags & ItemFlags::Application) && (flags & ItemFlags::Package) && (flags & ItemFlags::Container));
    }
    EXPECT_NE(findNode(root, QStringLiteral("Editor.app/Contents/MacOS/editor")), nullptr);
    EXPECT_NE(findNode(root, QStringLiteral("Tool.AppDir/usr/bin/tool")), nullptr);

    for (const QString& name : {QStringLiteral("Fake.app"), QStringLiteral("NotApp")}) {
        const TFoldInfo* folder = findNode(root, name);
        EXPECT_FALSE(folder->isApp()) << name.toStdString();
        EXPECT_EQ(folder->fType(), QStringLiteral("File Folder"));
    }
    // An executable file is flagged as an application but is not an application node.
    const TFoldInfo* script = findNode(root, QStringLiteral("run.sh"));
    EXPECT_TRUE(script->itemAttrInfo().flags & ItemFlags::Application);
    EXPECT_FALSE(script->isApp());
}

TEST(FolderScanner, ReportsProgressWhenTheFolderCountIsAMultipleOfTwenty)
{
    TempTree t;
    for (int i = 0; i < 19; ++i)
        t.mkdir(QStringLiteral("a/f%1").arg(i, 2, 10, QLatin1Char('0')));
    t.mkdir(QStringLiteral("a/f05/deep"));

    ProgressRecorder recorder;
    auto tree = scanInto(t.path(), 1, nullptr, &recorder);

    // root at 0 folders; "a" at 1: none; a's folders at 20 each until f05 adds "deep".
    QStringList expectedPaths{t.path()};
    for (const QString& name : readdirOrder(t.at(QStringLiteral("a")))) {
        expectedPaths.append(t.at(QStringLiteral("a/") + name));
        if (name == QLatin1String("f05"))
            break;
    }
    QStringList paths;
    for (const QVariantMap& report : recorder.reports)
        paths.append(report.value(QStringLiteral("fpath")).toString());
    EXPECT_EQ(paths, expectedPaths);
    ASSERT_FALSE(recorder.reports.empty());
    EXPECT_EQ(recorder.reports.front().value(QStringLiteral("folders")).toLongLong(), 0);
    for (std::size_t i = 1; i < recorder.reports.size(); ++i)
        EXPECT_EQ(recorder.reports[i].value(QStringLiteral("folders")).toLongLong(), 20);
}

class AbortTest : public ::testing::TestWithParam<int> {};

TEST_P(AbortTest, StopsBeforeTheNextEntryAndKeepsWhatWasAdded)
{
    TempTree t;
    t.file(QStringLiteral("first/a.txt"), 1);
    for (int i = 0; i < 3000; ++i)
        t.file(QStringLiteral("first/big/%1.txt").arg(i), 1);
    t.file(QStringLiteral("first/later/b.txt"), 1);

    auto tree = std::make_unique<ScanTree>(t.path(), QStringLiteral("root"));
    TFolderScanner scanner;
    scanner.setThreadCount(GetParam());
    scanner.setExclusionList(std::make_shared<const ExclusionList>());
    int inBig = 0;
    scanner.setNodeAddedCallback([&](const TFoldInfo& node) {
        if (node.PFoldInfo() && node.PFoldInfo()->sName() == QLatin1String("big") && ++inBig == 100)
            isScanAborted().store(true);
    });
    isScanAborted().store(false);
    EXPECT_FALSE(scanner.scanFolder(tree->root()));
    isScanAborted().store(false);

    const TFoldInfo* big = findNode(tree->root(), QStringLiteral("first/big"));
    ASSERT_NE(big, nullptr);
    EXPECT_EQ(big->childCount(), 100u);
    // A folder the walk had not reached yet stays empty. One reader reaches folders in list
    // order; several may have read a later folder already, but whole.
    const TFoldInfo* later = findNode(tree->root(), QStringLiteral("first/later"));
    const TFoldInfo* first = findNode(tree->root(), QStringLiteral("first"));
    ASSERT_NE(later, nullptr);
    if (GetParam() == 1 && first->indexOfChild(later) > first->indexOfChild(big)) {
        EXPECT_EQ(later->childCount(), 0u);
    }
    EXPECT_LE(later->childCount(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Threads, AbortTest, ::testing::Values(1, 3));

TEST(FolderScanner, UnreadableFolderStaysEmptyAndIsLogged)
{
    TempTree t;
    t.file(QStringLiteral("open/a.txt"), 1);
    t.file(QStringLiteral("locked/b.txt"), 1);
    const QString logPath = t.file(QStringLiteral("scan.log"));
    t.chmod(QString(), 0755);
    t.chmod(QStringLiteral("open"), 0755);
    t.chmod(QStringLiteral("scan.log"), 0666);
    t.chmod(QStringLiteral("locked"), 0000);

    const int status = TestSupport::runUnprivileged([&] {
        const int fd = ::open(QFile::encodeName(logPath).constData(), O_WRONLY | O_APPEND);
        if (fd < 0 || ::dup2(fd, STDERR_FILENO) < 0)
            return 10;
        Log::setSink(Log::Sink::StandardError);
        auto tree = scanInto(t.path(), 1);
        const TFoldInfo* locked = findNode(tree->root(), QStringLiteral("locked"));
        const TFoldInfo* open = findNode(tree->root(), QStringLiteral("open"));
        if (!locked || !open)
            return 11;
        if (locked->childCount() != 0 || open->childCount() != 1)
            return 12;
        // The failure stays on the node for views and the command-line tool.
        if (!locked->isUnreadable() || open->isUnreadable() || tree->root()->isUnreadable())
            return 13;
        if (AnalysisLib::countUnreadableFolders(tree->root()) != 1)
            return 14;
        return 0;
    });
    t.chmod(QStringLiteral("locked"), 0755);
    EXPECT_EQ(status, 0);
    QFile log(logPath);
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(log.readAll()).trimmed(),
              QStringLiteral("Couldn't create FSIterator for '%1': Error 13").arg(t.at(QStringLiteral("locked"))));
}

TEST(FolderScanner, RootThatCannotBeOpenedFails)
{
    TempTree t;
    ScanTree tree(t.at(QStringLiteral("missing")), QStringLiteral("missing"));
    TFolderScanner scanner;
    scanner.setExclusionList(std::make_shared<const ExclusionList>());
    Log::setSink(Log::Sink::Discard);
    EXPECT_FALSE(scanner.scanFolder(tree.root()));
    Log::setSink(Log::Sink::StandardError);
    EXPECT_EQ(tree.root()->childCount(), 0u);
}

TEST(FolderScanner, MarksProtectedFilesFromTheModeBitsInHand)
{
    TempTree t;
    t.file(QStringLiteral("free/mine.txt"), 1);
    t.file(QStringLiteral("shut/theirs.txt"), 1);
    t.chmod(QString(), 0777);
    t.chmod(QStringLiteral("free"), 0777);
    t.chmod(QStringLiteral("free/mine.txt"), 0666);
    t.chmod(QStringLiteral("shut"), 0555);
    t.chmod(QStringLiteral("shut/theirs.txt"), 0666);

    const int status = TestSupport::runUnprivileged([&] {
        auto tree = scanInto(t.path(), 1, excluding({}));
        const TFoldInfo* mine = findNode(tree->root(), QStringLiteral("free/mine.txt"));
        const TFoldInfo* theirs = findNode(tree->root(), QStringLiteral("shut/theirs.txt"));
        if (!mine || !theirs)
            return 11;
        if (mine->isNonDeleteableFile())
            return 12; // writable file in a writable folder
        if (!theirs->isNonDeleteableFile())
            return 13; // its folder is read-only for us
        return 0;
    });
    EXPECT_EQ(status, 0);

    // A list with no protected locations at all answers "not deletable" for everything.
    auto tree = scanInto(t.path(), 1, std::make_shared<const ExclusionList>());
    EXPECT_TRUE(findNode(tree->root(), QStringLiteral("free/mine.txt"))->isNonDeleteableFile());
}

// A tree with a bit of everything, for comparing scans with different thread counts.
void makeVariedTree(const TempTree& t)
{
    for (int a = 0; a < 6; ++a) {
        for (int b = 0; b < 7; ++b) {
            const QString folder = QStringLiteral("d%1/e%2").arg(a).arg(b);
            for (int c = 0; c < (a * 7 + b) % 23; ++c)
                t.file(folder + QStringLiteral("/f%1.%2").arg(c).arg(c % 3 ? QStringLiteral("txt") : QStringLiteral("jpg")), c * 13);
            t.mkdir(folder + QStringLiteral("/sub/subsub"));
            t.file(folder + QStringLiteral("/sub/subsub/deep.bin"), b);
            if (b % 3 == 0)
                t.file(folder + QStringLiteral("/.hidden/x"), 1);
            if (b % 4 == 0)
                t.symlink(t.at(folder), folder + QStringLiteral("/loop"));
        }
        t.file(QStringLiteral("d%1/App%1.app/Contents/Info.plist").arg(a), 9);
    }
    t.hardlink(QStringLiteral("d0/e1/f1.txt"), QStringLiteral("d5/hard.txt"));
}

TEST(FolderScanner, ParallelScanGivesTheSameTreeAndTotals)
{
    TempTree t;
    makeVariedTree(t);
    expectSameTreeForAnyThreadCount(t.path());

    // Several readers report from wherever they are, still only at multiples of 20.
    auto tree = scanInto(t.path(), 1);
    ProgressRecorder parallel;
    scanInto(t.path(), 4, nullptr, &parallel);
    ASSERT_FALSE(parallel.reports.empty());
    EXPECT_EQ(parallel.reports.front().value(QStringLiteral("fpath")).toString(), t.path());
    for (const QVariantMap& report : parallel.reports) {
        EXPECT_EQ(report.value(QStringLiteral("folders")).toLongLong() % 20, 0);
        const QString path = report.value(QStringLiteral("fpath")).toString();
        const TFoldInfo* folder = findNode(tree->root(), path.mid(t.path().size()));
        EXPECT_TRUE(folder && (folder == tree->root() || folder->isFolder())) << path.toStdString();
    }
}

TEST(FolderScanner, HundredThousandEntryFolderScansTheSameWithAnyThreadCount)
{
    TempTree t;
    t.mkdir(QStringLiteral("huge"));
    for (int i = 0; i < 5; ++i)
        t.file(QStringLiteral("beside/%1/x.txt").arg(i), i);
    const QByteArray huge = t.pathBytes() + "/huge/";
    for (int i = 0; i < 100000; ++i) {
        const QByteArray name = huge + "entry-" + QByteArray::number(i) + (i % 3 ? ".txt" : ".jpg");
        const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
        ASSERT_GE(fd, 0);
        if (i % 1000 == 0) {
            ASSERT_EQ(::write(fd, "abc", 3), 3);
        }
        ::close(fd);
    }
    expectSameTreeForAnyThreadCount(t.path());
    auto tree = scanAndTotal(t.path(), 2);
    const TFoldInfo* folder = findNode(tree->root(), QStringLiteral("huge"));
    EXPECT_EQ(folder->childCount(), 100000u);
    EXPECT_EQ(folder->cSize(), 300u);
    EXPECT_EQ(tree->root()->cFiles(), 100005);
}

TEST(FolderScanner, NodesStayCompact)
{
    static_assert(sizeof(TFoldInfo) == 56);
    TempTree t;
    for (int i = 0; i < 2000; ++i)
        t.file(QStringLiteral("d%1/file%2.txt").arg(i % 20).arg(i));
    auto tree = scanInto(t.path(), 1);
    ASSERT_EQ(tree->nodeCount(), 2020u);
    // Fixed part (56), name ("fileNNNN.txt" and its NUL, rounded up to 16), one child
    // pointer (8); the 20 folders add their part (32) and their name.
    const double perEntry = double(tree->arena().usedBytes()) / double(tree->nodeCount());
    EXPECT_LE(perEntry, 82.0);
}
