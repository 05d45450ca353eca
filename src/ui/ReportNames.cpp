#include "ui/ReportNames.h"

namespace ReportNames {

const QStringList& all()
{
    static const QStringList names = {
        QStringLiteral("explorer"), QStringLiteral("types"),   QStringLiteral("attributes"), QStringLiteral("sizes"),
        QStringLiteral("dates"),    QStringLiteral("times"),   QStringLiteral("ownership"),  QStringLiteral("custom"),
        QStringLiteral("folders"),  QStringLiteral("apps"),    QStringLiteral("overview"),   QStringLiteral("obsolete")};
    return names;
}

int indexOf(const QString& name) { return int(all().indexOf(name.trimmed().toLower())); }

QString nameOf(int index) { return index >= 0 && index < all().size() ? all()[index] : QString(); }

} // namespace ReportNames
