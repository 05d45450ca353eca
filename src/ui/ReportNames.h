#pragma once

#include <QString>
#include <QStringList>

// The reports by the short names the command line uses (explorer, types, ... obsolete), in
// report-index order: name i is report index i.
namespace ReportNames {
const QStringList& all();
// The report index of a name (case-insensitive), or -1.
int indexOf(const QString& name);
QString nameOf(int index);
} // namespace ReportNames
