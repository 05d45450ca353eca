// The stored type catalog: any bytes load without harm, an unreadable catalog is empty, and
// reading never rewrites the file.

#include "FuzzHome.h"

#include "settings/TypeCatalog.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool ready = (FuzzHome::prepare(), true);
    (void)ready;
    const QByteArray input = FuzzHome::bytes(data, size);
    const QString path = TypeCatalog::filePath();
    FuzzHome::write(path, input);

    TypeCatalog::readAndUpdateGlobalsForParsing();
    if (!TypeCatalog::lastLoadSucceeded() && !TypeCatalog::loadedGroups().isEmpty())
        FuzzHome::fail("an unreadable catalog kept groups");
    const QList<CustomTypeFilterRow> rows = CustomTypeFilter::readCustomTypeFilter();
    if (!TypeCatalog::lastLoadSucceeded() && !rows.isEmpty())
        FuzzHome::fail("an unreadable catalog gave rows to the pane");
    CustomTypeFilter::isFilterExist(QStringLiteral("Images"));
    if (FuzzHome::read(path) != input)
        FuzzHome::fail("reading the catalog rewrote it");
    return 0;
}
