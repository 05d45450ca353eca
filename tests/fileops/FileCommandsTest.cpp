#include "fileops/FileOpsFixtures.h"
#include "settings/Paths.h"

#include <gtest/gtest.h>

#include <QCoreApplication>

using namespace FileOpsFixtures;
using TestSupport::TempTree;
using TestSupport::runCli;

namespace {

TEST(ZipCommand, PrintsTheArchivePathAndReportsWhatWasLeftOut)
{
    TempTree t;
    writeText(t.at("notes.txt"), "n");
    writeText(t.at("x.txt"), "x");
    t.mkdir("out");

    auto r = runCli({"zip", "--to", t.at("out"), t.at("notes.txt")});
    EXPECT_EQ(r.exitCode, 0) << r.err.constData();
    EXPECT_EQ(r.out, b(t.at("out/notes.zip")) + '\n');

    r = runCli({"zip", "--to", t.at("out"), "--name", "Bundle", t.at("notes.txt"), t.at("gone.txt"), t.at("x.txt")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, b(t.at("out/Bundle.zip")) + '\n');
    EXPECT_TRUE(r.err.contains(b(t.at("gone.txt")) + "': No such file or directory")) << r.err.constData();
    EXPECT_EQ(entryNames(readZip(b(t.at("out/Bundle.zip")))), (QList<QByteArray>{"notes.txt", "x.txt"}));
}

TEST(ZipCommand, ExitsWithTwoWhenNoArchiveCanBeWritten)
{
    TempTree t;
    writeText(t.at("a.txt"), "a");
    const struct {
        QStringList args;
        const char* message;
    } cases[] = {
        {{"zip", "--to", t.at("missing"), t.at("a.txt")}, "cannot write an archive in"},
        {{"zip", "--to", t.at("a.txt"), t.at("a.txt")}, "not a folder"},
        {{"zip", t.at("a.txt")}, "zip needs --to FOLDER"},
        {{"zip", "--to", t.path()}, "zip needs at least one PATH"},
        {{"zip", "--to", t.path(), "--name", "a/b", t.at("a.txt")}, "--name must be a file name"},
    };
    for (const auto& c : cases) {
        const auto r = runCli(c.args);
        EXPECT_EQ(r.exitCode, 2) << c.message;
        EXPECT_TRUE(r.err.contains(c.message)) << r.err.constData();
        EXPECT_TRUE(r.out.isEmpty());
    }
    EXPECT_EQ(names(t.path()), QStringList{"a.txt"});
}

TEST(ZipCommand, TakesPathsThatAreNotUtf8)
{
    TempTree t;
    const QByteArray odd = t.pathBytes() + '/' + oddName();
    writeBytes(odd, "odd");
    RemoveAtEnd cleanup({odd, t.pathBytes() + "/odd-\xff\xfe-name.zip"});
    // QProcess passes arguments as text, so the shell builds the raw name with printf.
    const QString script = QStringLiteral("exec \"$0\" zip --to \"$1\" \"$1\"/\"$(printf 'odd-\\377\\376-name.txt')\"");
    const auto r2 = TestSupport::run(QStringLiteral("/bin/sh"), {"-c", script, QCoreApplication::applicationDirPath() + QStringLiteral("/quorvel-cli"), t.path()});
    EXPECT_EQ(r2.exitCode, 0) << r2.err.constData();
    const QByteArray archive = t.pathBytes() + "/odd-\xff\xfe-name.zip";
    EXPECT_EQ(r2.out, archive + '\n');
    EXPECT_EQ(entryNames(readZip(archive)), QList<QByteArray>{oddName()});
}

TEST(TrashCommand, TrashesEachPathAndListsTheFailures)
{
    TempTree t;
    writeText(t.at("a.txt"), "a");
    writeText(t.at("Folder/b.txt"), "b");
    const QString trash = Paths::dataHome() + QStringLiteral("/Trash/files/");

    auto r = runCli({"trash", t.at("a.txt"), t.at("missing.txt"), t.at("Folder")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_EQ(r.err, "quorvel-cli: cannot move '" + b(t.at("missing.txt"))
                         + "' to the trash: “missing.txt” couldn’t be moved to the trash (No such file or directory)\n");
    EXPECT_TRUE(names(t.path()).isEmpty());
    EXPECT_TRUE(exists(trash + "Folder/b.txt"));

    writeText(t.at("c.txt"), "c");
    r = runCli({"trash", t.at("c.txt")});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.err.isEmpty()) << r.err.constData();
    EXPECT_FALSE(exists(t.at("c.txt")));

    EXPECT_EQ(runCli({"trash"}).exitCode, 2);
}

} // namespace
