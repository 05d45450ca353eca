#include "fileops/FileOprations.h"
#include "fileops/FileOpsFixtures.h"
#include "fileops/ZipArchive.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>

#include <functional>
#include <stdexcept>

using namespace FileOpsFixtures;
using TestSupport::TempTree;

namespace {

QByteArray randomBytes(qsizetype size)
{
    QByteArray data(size, Qt::Uninitialized);
    QRandomGenerator generator(42);
    for (char& c : data)
        c = char(generator.bounded(256));
    return data;
}

// unzip's own integrity test, as a second reader besides minizip's.
bool unzipTestPasses(const QString& archive)
{
    return TestSupport::run(QStringLiteral("unzip"), {QStringLiteral("-tq"), archive}).exitCode == 0;
}

TEST(ZipArchive, WritesEveryReadableSourceInOrderAsADeflatedEntry)
{
    TempTree t;
    const QByteArray text = QByteArray("hello zip\n").repeated(5000);
    const QByteArray noise = randomBytes(100000); // several 16384-byte chunks
    writeText(t.at("a/x.txt"), text);
    writeText(t.at("a/noise.bin"), noise);
    writeText(t.at("a/empty"), "");
    writeText(t.at("b/x.txt"), "second x");
    t.mkdir("out");
    const QString archive = t.at("out/test.zip");
    ZipResult result;

    ASSERT_TRUE(ZipArchive::createZipFileAtPath(
        archive, {t.at("a/x.txt"), t.at("missing.txt"), t.at("a/noise.bin"), t.at("a/empty"), t.at("b/x.txt")}, &result));
    EXPECT_EQ(result.leftOut, QList<QByteArray>{b(t.at("missing.txt"))});

    bool ok = false;
    const auto entries = readZip(b(archive), &ok);
    ASSERT_TRUE(ok);
    // Names are last components only; a name met again takes the next number.
    EXPECT_EQ(entryNames(entries), (QList<QByteArray>{"x.txt", "noise.bin", "empty", "x 1.txt"}));
    EXPECT_EQ(entries[0].data, text);
    EXPECT_EQ(entries[1].data, noise);
    EXPECT_TRUE(entries[2].data.isEmpty());
    EXPECT_EQ(entries[3].data, "second x");
    for (const ZipEntry& e : entries) {
        EXPECT_TRUE(e.crcOk) << e.name.constData();
        EXPECT_EQ(e.method, 8u);
        EXPECT_NE(e.dosDate, 0u);
        EXPECT_EQ(e.flag & 0x800u, 0u);
    }
    EXPECT_TRUE(unzipTestPasses(archive));
}

TEST(ZipArchive, AnArchiveWhoseSourcesAllFailIsNotLeftAndSaysWhy)
{
    TempTree t;
    writeText(t.at("locked.txt"), "secret");
    t.chmod("locked.txt", 0);
    t.chmod("", 0777); // the unprivileged child makes the archive here
    const QString archive = t.at("empty.zip");
    const int status = TestSupport::runUnprivileged([&] {
        ZipResult result;
        if (ZipArchive::createZipFileAtPath(archive, {t.at("locked.txt"), t.at("nothing"), t.path()}, &result))
            return 1;
        if (exists(archive))
            return 2;
        if (result.leftOutReasons != QStringList{QStringLiteral("Permission denied"),
                                                 QStringLiteral("No such file or directory"), QStringLiteral("it is a folder")})
            return 3;
        return result.error.contains(QStringLiteral("“locked.txt”: Permission denied")) ? 0 : 4;
    });
    EXPECT_EQ(status, 0);
}

TEST(ZipArchive, EntriesKeepTimesModesAndNamesAsTheyAreOnExtraction)
{
    TempTree t;
    writeText(t.at("one/run.sh"), "#!/bin/sh\n");
    t.chmod("one/run.sh", 0750);
    writeText(t.at("two/run.sh"), "second");
    writeText(t.at("win\\dows.txt"), "backslash");
    writeText(t.at("old.txt"), "old");
    t.setTimes("one/run.sh", 1600000000, 1600000000);
    t.setTimes("old.txt", 100, 100); // before DOS dates begin
    const QString archive = t.at("kept.zip");
    ASSERT_TRUE(ZipArchive::createZipFileAtPath(
        archive, {t.at("one/run.sh"), t.at("two/run.sh"), t.at("win\\dows.txt"), t.at("old.txt")}));
    EXPECT_EQ(entryNames(readZip(b(archive))), (QList<QByteArray>{"run.sh", "run 1.sh", "win\\dows.txt", "old.txt"}));

    t.mkdir("x");
    const auto unzip = TestSupport::run(QStringLiteral("unzip"), {QStringLiteral("-q"), archive, QStringLiteral("-d"), t.at("x")});
    ASSERT_EQ(unzip.exitCode, 0) << unzip.err.constData();
    const QFileInfo run(t.at("x/run.sh"));
    EXPECT_EQ(run.lastModified().toSecsSinceEpoch(), 1600000000);
    EXPECT_TRUE(run.permissions().testFlag(QFileDevice::ExeOwner));
    EXPECT_FALSE(run.permissions().testFlag(QFileDevice::ReadOther));
    EXPECT_EQ(readText(t.at("x/run 1.sh")), "second");
    EXPECT_EQ(readText(t.at("x/win\\dows.txt")), "backslash");
    // A time before DOS dates begin is kept exactly by the extra field; the DOS date itself
    // is the first one there is, 1980-01-01 00:00.
    EXPECT_EQ(QFileInfo(t.at("x/old.txt")).lastModified().toSecsSinceEpoch(), 100);
    EXPECT_EQ(readZip(b(archive)).back().dosDate, 0x210000u);
    EXPECT_TRUE(unzipTestPasses(archive));
}

TEST(ZipArchive, FlagsNamesThatAreNotAsciiAsUtf8)
{
    TempTree t;
    const QString accented = QStringLiteral("Résumé – 日本.txt");
    writeText(t.at(accented), "cv");
    // A name from an old Latin-1 system: not UTF-8.
    const QByteArray latin1 = "caf\xe9.txt";
    writeBytes(t.pathBytes() + '/' + latin1, "odd");
    RemoveAtEnd cleanup({t.pathBytes() + '/' + latin1});
    const QString archive = t.at("names.zip");
    ASSERT_TRUE(ZipArchive::createZipFileAtPath(b(archive), {b(t.at(accented)), t.pathBytes() + '/' + latin1}));

    const auto entries = readZip(b(archive));
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].name, accented.toUtf8());
    EXPECT_EQ(entries[0].flag & 0x800u, 0x800u);
    // Bytes that are not UTF-8 are stored as they are and not claimed to be UTF-8.
    EXPECT_EQ(entries[1].name, latin1);
    EXPECT_EQ(entries[1].flag & 0x800u, 0u);

    EXPECT_NE(entries[0].dosDate, 0u);

    // unzip extracts both names exactly as written, as readable files.
    t.mkdir("x");
    RemoveAtEnd extracted({b(t.at("x"))});
    const auto unzip = TestSupport::run(QStringLiteral("/bin/sh"),
                                        {QStringLiteral("-c"), QStringLiteral("LC_ALL=C.UTF-8 unzip -q \"$0\" -d \"$1\""),
                                         archive, t.at("x")});
    ASSERT_EQ(unzip.exitCode, 0) << unzip.err.constData();
    EXPECT_EQ(readText(t.at("x/" + accented)), "cv");
    EXPECT_EQ(readBytes(b(t.at("x")) + '/' + latin1), "odd");
    EXPECT_TRUE(QFileInfo(t.at("x/" + accented)).permissions().testFlag(QFileDevice::ReadOwner));
}

TEST(ZipArchive, SourcesThatCannotBeReadToTheEndLeaveTheWriterUsable)
{
    TempTree t;
    writeText(t.at("after.txt"), "after");
    ::mkfifo(b(t.at("pipe")).constData(), 0644);
    ZipArchive zip(t.at("r.zip"));
    ASSERT_TRUE(zip.open());
    // A folder, a pipe with no writer, and a file whose read fails once opened.
    EXPECT_FALSE(zip.writeFile(t.path()));
    EXPECT_FALSE(zip.writeFile(t.at("pipe")));
    EXPECT_FALSE(zip.writeFile(QStringLiteral("/proc/self/mem")));
    EXPECT_TRUE(zip.writeFile(t.at("after.txt")));
    EXPECT_TRUE(zip.close());

    bool ok = false;
    const auto entries = readZip(b(t.at("r.zip")), &ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(entryNames(entries), (QList<QByteArray>{"mem", "after.txt"}));
    EXPECT_TRUE(entries[0].data.isEmpty());
    EXPECT_EQ(entries[1].data, "after");
}

TEST(ZipArchive, MisuseIsAProgrammingErrorWithItsMessage)
{
    const auto messageOf = [](const std::function<void()>& misuse) -> std::string {
        try {
            misuse();
        } catch (const std::logic_error& e) {
            return e.what();
        }
        return "no exception";
    };
    TempTree t;
    ZipArchive never(t.at("never.zip"));
    EXPECT_EQ(messageOf([&] { never.writeFile(t.at("x")); }), "Attempting to write to an archive which was never opened");
    EXPECT_EQ(messageOf([&] { never.close(); }), "[ZipArchive] Attempting to close an archive which was never opened");
    ZipArchive twice(t.at("twice.zip"));
    ASSERT_TRUE(twice.open());
    EXPECT_EQ(messageOf([&] { twice.open(); }), "Attempting open an archive which is already open");
    EXPECT_TRUE(twice.close());
    EXPECT_FALSE(exists(t.at("never.zip")));
}

TEST(ZipArchive, NeverReplacesAnExistingFile)
{
    TempTree t;
    writeText(t.at("taken.zip"), "precious");
    writeText(t.at("a.txt"), "a");
    EXPECT_FALSE(ZipArchive::createZipFileAtPath(t.at("taken.zip"), {t.at("a.txt")}));
    EXPECT_EQ(readText(t.at("taken.zip")), "precious");
}

TEST(ZipArchive, AFullDiskFailsAndLeavesNoBrokenArchive)
{
    TempTree t;
    TmpfsMount small(t.at("small"), "64k");
    if (!small.valid())
        GTEST_SKIP() << "mounting a tmpfs needs root";
    writeText(t.at("noise.bin"), randomBytes(512 * 1024));
    ZipResult result;
    EXPECT_FALSE(ZipArchive::createZipFileAtPath(small.path() + "/a.zip", {t.at("noise.bin")}, &result));
    EXPECT_TRUE(result.error.contains(QStringLiteral("No space left on device"))) << result.error.toStdString();
    EXPECT_TRUE(names(small.path()).isEmpty());
}

TEST(ZipArchive, MemoryStaysFlatForABigFile)
{
    TempTree t;
    const qint64 size = 192ll * 1024 * 1024;
    t.sparseFile("big.img", size);
    // Resets the peak resident size, so the peak below is this archive's alone.
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (!clear.open(QIODevice::WriteOnly) || clear.write("5") != 1)
        GTEST_SKIP() << "cannot reset the peak resident size here";
    clear.close();
    const auto kib = [](const char* field) {
        const QList<QByteArray> lines = readBytes("/proc/self/status").split('\n');
        for (const QByteArray& line : lines)
            if (line.startsWith(field))
                return line.mid(qsizetype(qstrlen(field))).trimmed().split(' ').first().toLongLong();
        return -1ll;
    };
    const qint64 before = kib("VmRSS:");
    ASSERT_TRUE(ZipArchive::createZipFileAtPath(t.at("big.zip"), {t.at("big.img")}));
    const qint64 peak = kib("VmHWM:");
    EXPECT_LT(peak - before, 16 * 1024) << "peak grew by " << (peak - before) << " KiB";
    EXPECT_TRUE(unzipTestPasses(t.at("big.zip")));
}

TEST(ZipFiles, NamesTheArchiveAfterTheFileOrArchiveAndNumbersIt)
{
    TempTree t;
    writeText(t.at("a/notes.txt"), "n");
    writeText(t.at("a/x.txt"), "x");
    writeText(t.at("a/y.txt"), "y");
    writeText(t.at("a/photo.2020.jpg"), "p");
    t.mkdir("out");
    FileOprations ops(nullptr);
    const QString out = t.at("out");

    ASSERT_TRUE(ops.zipFiles({t.at("a/notes.txt")}, out, std::nullopt));
    ASSERT_TRUE(ops.zipFiles({t.at("a/notes.txt")}, out, std::nullopt));
    ASSERT_TRUE(ops.zipFiles({t.at("a/x.txt"), t.at("a/y.txt")}, out, std::nullopt));
    ASSERT_TRUE(ops.zipFiles({t.at("a/x.txt"), t.at("a/y.txt")}, out, std::nullopt));
    ASSERT_TRUE(ops.zipFiles({t.at("a/photo.2020.jpg")}, out, std::nullopt));
    ASSERT_TRUE(ops.zipFiles({t.at("a/x.txt"), t.at("a/y.txt")}, out, QStringLiteral("Photos")));
    EXPECT_EQ(names(out), (QStringList{"Archive 1.zip", "Archive.zip", "Photos.zip", "notes 1.zip", "notes.zip",
                                       "photo.2020.zip"}));
    EXPECT_EQ(entryNames(readZip(b(out + "/Archive.zip"))), (QList<QByteArray>{"x.txt", "y.txt"}));
    EXPECT_EQ(entryNames(readZip(b(out + "/notes 1.zip"))), QList<QByteArray>{"notes.txt"});

    // A folder of that name takes the name as well as a file does.
    t.mkdir("out2/notes.zip");
    EXPECT_EQ(FileOprations::makeZipFilePathAtPath(t.at("out2"), QStringLiteral("notes")), QStringLiteral("notes 1.zip"));
}

TEST(ZipFiles, RefusesWhatCannotBecomeAnArchive)
{
    TempTree t;
    writeText(t.at("a.txt"), "a");
    t.mkdir("out");
    FileOprations ops(nullptr);
    EXPECT_FALSE(ops.zipFiles(QStringList{}, t.at("out"), std::nullopt));
    EXPECT_FALSE(ops.zipFiles({t.at("a.txt")}, t.at("out"), QStringLiteral("../escape")));
    EXPECT_FALSE(ops.zipFiles({t.at("a.txt")}, t.at("no/such/folder"), std::nullopt));
    EXPECT_TRUE(names(t.at("out")).isEmpty());
    EXPECT_EQ(names(t.path()), (QStringList{"a.txt", "out"}));
}

} // namespace
