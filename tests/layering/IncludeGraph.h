#pragma once

#include <QMap>
#include <QSet>
#include <QString>
#include <QStringList>

// The folders of a source tree and which folder's files include which folder's headers,
// read from the `#include "..."` lines. A folder is a path relative to the root ("scan",
// "viewer/core"); its subfolders are folders of their own.
class IncludeGraph {
public:
    // Reads every .h and .cpp file under `root`. An include is resolved against the root
    // first, then against the including file's folder; includes that resolve to no file
    // (generated headers, system headers written with quotes) are not edges.
    static IncludeGraph read(const QString& root);

    // One include line behind an edge, for messages: "scan/AnalysisLib.cpp: reports/ReportRows.h".
    QString example(const QString& from, const QString& to) const;
    bool hasEdge(const QString& from, const QString& to) const;
    void removeEdge(const QString& from, const QString& to);

    // Cycles between folders, each as the folders in order with the first repeated at the
    // end ("scan", "reports", "scan"): among folders that reach each other, a shortest cycle
    // through each folder that no earlier cycle passes through. Empty when the folders form
    // layers.
    QList<QStringList> cycles() const;

    // A cycle as "a -> b -> a", with the include line behind each step on its own line.
    QString describe(const QStringList& cycle) const;

private:
    QStringList shortestCycleThrough(const QString& start, const QSet<QString>& within) const;

    QMap<QString, QMap<QString, QString>> edges_; // from -> (to -> example include)
};

// Edges that may close a cycle, read from a text file: one "from -> to" per line; "#"
// starts a comment (each entry should say why it is there). Returns the edges; `error`
// is set for a line that does not parse.
QList<QPair<QString, QString>> readAllowedEdges(const QString& path, QString* error);
