#include "layering/IncludeGraph.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QQueue>
#include <QRegularExpression>

namespace {

QString folderOf(const QString& relativeFile)
{
    const qsizetype slash = relativeFile.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? QString() : relativeFile.left(slash);
}

// The file an include names, relative to the root; empty when it names no file there.
QString resolve(const QDir& root, const QString& includingFolder, const QString& included)
{
    if (QFileInfo(root.filePath(included)).isFile())
        return QDir::cleanPath(included);
    const QString local = QDir::cleanPath(includingFolder + QLatin1Char('/') + included);
    if (!local.startsWith(QLatin1String("../")) && QFileInfo(root.filePath(local)).isFile())
        return local;
    return {};
}

} // namespace

IncludeGraph IncludeGraph::read(const QString& rootPath)
{
    static const QRegularExpression includeLine(QStringLiteral("^\\s*#\\s*include\\s*\"([^\"]+)\""),
                                                QRegularExpression::MultilineOption);
    IncludeGraph graph;
    const QDir root(rootPath);
    QDirIterator it(rootPath, {QStringLiteral("*.h"), QStringLiteral("*.cpp")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString relative = root.relativeFilePath(it.next());
        const QString from = folderOf(relative);
        QFile file(it.filePath());
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QString text = QString::fromUtf8(file.readAll());
        for (auto match = includeLine.globalMatch(text); match.hasNext();) {
            const QString included = match.next().captured(1);
            const QString target = resolve(root, from, included);
            const QString to = folderOf(target);
            if (target.isEmpty() || to == from)
                continue;
            QString& example = graph.edges_[from][to];
            if (example.isEmpty())
                example = relative + QStringLiteral(": ") + included;
        }
    }
    return graph;
}

QString IncludeGraph::example(const QString& from, const QString& to) const
{
    return edges_.value(from).value(to);
}

bool IncludeGraph::hasEdge(const QString& from, const QString& to) const
{
    return edges_.value(from).contains(to);
}

void IncludeGraph::removeEdge(const QString& from, const QString& to)
{
    if (edges_.contains(from))
        edges_[from].remove(to);
}

// Folders that reach each other form one group (a strongly connected component); a group
// of more than one folder holds a cycle. Groups are found by intersecting what a folder
// reaches with what reaches it: plenty fast for a few dozen folders.
QList<QStringList> IncludeGraph::cycles() const
{
    QSet<QString> folders;
    for (auto it = edges_.cbegin(); it != edges_.cend(); ++it) {
        folders.insert(it.key());
        for (auto to = it->cbegin(); to != it->cend(); ++to)
            folders.insert(to.key());
    }
    auto reachable = [this](const QString& start, bool forward) {
        QSet<QString> seen{start};
        QQueue<QString> queue;
        queue.enqueue(start);
        while (!queue.isEmpty()) {
            const QString at = queue.dequeue();
            QStringList next;
            if (forward) {
                next = edges_.value(at).keys();
            } else {
                for (auto it = edges_.cbegin(); it != edges_.cend(); ++it)
                    if (it->contains(at))
                        next.append(it.key());
            }
            for (const QString& n : std::as_const(next))
                if (!seen.contains(n)) {
                    seen.insert(n);
                    queue.enqueue(n);
                }
        }
        return seen;
    };

    QStringList ordered = folders.values();
    ordered.sort();
    QSet<QString> grouped;
    QList<QStringList> found;
    for (const QString& folder : std::as_const(ordered)) {
        if (grouped.contains(folder))
            continue;
        const QSet<QString> group = reachable(folder, true) & reachable(folder, false);
        grouped |= group;
        if (group.size() < 2)
            continue;
        // One shortest cycle through each folder of the group that no cycle shown so far
        // passes through, so every include that has to go shows up.
        QStringList members = group.values();
        members.sort();
        QSet<QString> covered;
        for (const QString& member : std::as_const(members)) {
            if (covered.contains(member))
                continue;
            const QStringList cycle = shortestCycleThrough(member, group);
            covered.unite(QSet<QString>(cycle.cbegin(), cycle.cend()));
            found.append(cycle);
        }
    }
    return found;
}

QStringList IncludeGraph::shortestCycleThrough(const QString& start, const QSet<QString>& within) const
{
    QMap<QString, QString> cameFrom;
    QQueue<QString> queue;
    queue.enqueue(start);
    while (!queue.isEmpty()) {
        const QString at = queue.dequeue();
        const QMap<QString, QString> out = edges_.value(at);
        for (auto it = out.cbegin(); it != out.cend(); ++it) {
            const QString& next = it.key();
            if (!within.contains(next))
                continue;
            if (next == start) {
                QStringList cycle{start};
                for (QString step = at; step != start; step = cameFrom.value(step))
                    cycle.insert(1, step);
                cycle.append(start);
                return cycle;
            }
            if (!cameFrom.contains(next)) {
                cameFrom.insert(next, at);
                queue.enqueue(next);
            }
        }
    }
    return {start};
}

QString IncludeGraph::describe(const QStringList& cycle) const
{
    QString text = cycle.join(QStringLiteral(" -> "));
    for (qsizetype i = 0; i + 1 < cycle.size(); ++i)
        text += QStringLiteral("\n    ") + example(cycle[i], cycle[i + 1]);
    return text;
}

QList<QPair<QString, QString>> readAllowedEdges(const QString& path, QString* error)
{
    QList<QPair<QString, QString>> allowed;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        *error = QStringLiteral("cannot read ") + path;
        return allowed;
    }
    int lineNumber = 0;
    while (!file.atEnd()) {
        ++lineNumber;
        QString line = QString::fromUtf8(file.readLine());
        line = line.left(line.indexOf(QLatin1Char('#'))).trimmed();
        if (line.isEmpty())
            continue;
        const QStringList parts = line.split(QStringLiteral("->"));
        if (parts.size() != 2 || parts[0].trimmed().isEmpty() || parts[1].trimmed().isEmpty()) {
            *error = QStringLiteral("%1:%2: expected \"from -> to\"").arg(path).arg(lineNumber);
            return allowed;
        }
        allowed.append({parts[0].trimmed(), parts[1].trimmed()});
    }
    return allowed;
}
