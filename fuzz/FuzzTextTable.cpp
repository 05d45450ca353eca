// The interface text table: any bytes give a table or a reason, and every text taken from
// it can serve as a format.

#include "FuzzHome.h"

#include "settings/CommonFuncs.h"
#include "settings/TextFormat.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool ready = (FuzzHome::prepare(), true);
    (void)ready;
    QString why;
    const std::optional<QHash<QString, QString>> texts = CommonFuncs::parseTextTable(FuzzHome::bytes(data, size), &why);
    if (!texts) {
        if (why.isEmpty())
            FuzzHome::fail("a refused table gave no reason");
        return 0;
    }
    for (auto it = texts->cbegin(); it != texts->cend(); ++it)
        TextFormat::format(it.value(), {QStringLiteral("a"), 42, 2.5});
    return 0;
}
