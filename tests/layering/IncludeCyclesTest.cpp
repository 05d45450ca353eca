#include "common/TestSupport.h"
#include "layering/IncludeGraph.h"

#include <QFile>

#include <gtest/gtest.h>

using TestSupport::TempTree;

namespace {

void writeFile(const TempTree& tree, const QString& relative, const QByteArray& text)
{
    QFile file(tree.file(relative));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
}

QStringList describeAll(const IncludeGraph& graph)
{
    QStringList out;
    for (const QStringList& cycle : graph.cycles())
        out.append(graph.describe(cycle));
    return out;
}

} // namespace

// The checker itself, on small trees: a cycle must be found and shown with the include
// lines behind it, and layers must pass.
TEST(IncludeGraph, FindsAFolderCycleAndNamesTheIncludesBehindIt)
{
    TempTree src;
    writeFile(src, QStringLiteral("low/Base.h"), "#pragma once\n");
    writeFile(src, QStringLiteral("mid/Mid.h"), "#include \"low/Base.h\"\n");
    writeFile(src, QStringLiteral("top/Top.cpp"), "#include \"mid/Mid.h\"\n#include <vector>\n");
    writeFile(src, QStringLiteral("top/Top.h"), "#include \"Top.cpp\"\n"); // same folder: no edge
    writeFile(src, QStringLiteral("gen/Uses.cpp"), "#include \"Generated.h\"\n"); // no such file
    EXPECT_TRUE(IncludeGraph::read(src.path()).cycles().isEmpty());

    // low now reaches back up to top through a relative include.
    writeFile(src, QStringLiteral("low/Base.cpp"), "  #  include \"../top/Top.h\"\n");
    IncludeGraph graph = IncludeGraph::read(src.path());
    ASSERT_EQ(graph.cycles().size(), 1);
    EXPECT_EQ(graph.cycles().first(),
              (QStringList{QStringLiteral("low"), QStringLiteral("top"), QStringLiteral("mid"),
                           QStringLiteral("low")}));
    const QString text = graph.describe(graph.cycles().first());
    EXPECT_TRUE(text.startsWith(QStringLiteral("low -> top -> mid -> low"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("low/Base.cpp: ../top/Top.h"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("top/Top.cpp: mid/Mid.h"))) << text.toStdString();

    // A subfolder is a folder of its own; two separate cycles are two findings.
    writeFile(src, QStringLiteral("mid/sub/S.h"), "#include \"top/Top.h\"\n");
    writeFile(src, QStringLiteral("x/X.h"), "#include \"y/Y.h\"\n");
    writeFile(src, QStringLiteral("y/Y.h"), "#include \"x/X.h\"\n");
    graph = IncludeGraph::read(src.path());
    EXPECT_EQ(graph.cycles().size(), 2) << describeAll(graph).join(QLatin1Char('\n')).toStdString();

    graph.removeEdge(QStringLiteral("low"), QStringLiteral("top"));
    graph.removeEdge(QStringLiteral("y"), QStringLiteral("x"));
    EXPECT_TRUE(graph.cycles().isEmpty());
}

TEST(IncludeGraph, AllowListNeedsOneEdgePerLine)
{
    TempTree dir;
    writeFile(dir, QStringLiteral("ok.txt"), "# why\n\nscan -> reports   # the reason\n");
    QString error;
    const auto edges = readAllowedEdges(dir.at(QStringLiteral("ok.txt")), &error);
    EXPECT_TRUE(error.isEmpty());
    ASSERT_EQ(edges.size(), 1);
    EXPECT_EQ(edges.first(), qMakePair(QStringLiteral("scan"), QStringLiteral("reports")));

    writeFile(dir, QStringLiteral("bad.txt"), "scan reports\n");
    readAllowedEdges(dir.at(QStringLiteral("bad.txt")), &error);
    EXPECT_TRUE(error.contains(QStringLiteral("bad.txt:1"))) << error.toStdString();
}

// The project's own sources: folders form layers (base, settings, scan, reports, fileops,
// export, then app and viewer, then the front ends). Each cycle is printed with the
// include lines that close it.
TEST(Layering, NoIncludeCycleBetweenSourceFolders)
{
    IncludeGraph graph = IncludeGraph::read(QStringLiteral(QUORVEL_SOURCE_DIR "/src"));
    QString error;
    const auto allowed = readAllowedEdges(QStringLiteral(QUORVEL_SOURCE_DIR "/tests/layering/allowed_cycles.txt"),
                                          &error);
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();
    for (const auto& [from, to] : allowed) {
        // A stale entry would hide a new cycle later: the list only shrinks.
        EXPECT_TRUE(graph.hasEdge(from, to))
            << (from + QStringLiteral(" -> ") + to).toStdString()
            << " is allowed but no longer exists: remove it from allowed_cycles.txt";
        graph.removeEdge(from, to);
    }
    const QStringList found = describeAll(graph);
    EXPECT_TRUE(found.isEmpty()) << "include cycles between folders of src/:\n"
                                 << found.join(QLatin1Char('\n')).toStdString();
}
