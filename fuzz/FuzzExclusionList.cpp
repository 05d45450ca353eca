// The stored exclusion list: any bytes load without harm, an unusable file is reported and
// replaced by the defaults in memory only, and the file itself is never rewritten.

#include "FuzzHome.h"

#include "settings/ExclusionList.h"
#include "settings/Paths.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool ready = (FuzzHome::prepare(), true);
    (void)ready;
    const QByteArray input = FuzzHome::bytes(data, size);
    const QString path = ExclusionList::filePath();
    FuzzHome::write(path, input);

    ExclusionList list;
    list.readAndLoadExclusionList();
    if (FuzzHome::read(path) != input)
        FuzzHome::fail("the stored exclusion list was rewritten");
    if (!list.loadProblem().isEmpty() && list.excDirPath() != ExclusionList::defaultExcludedPaths())
        FuzzHome::fail("an unusable list did not fall back to the defaults");

    list.isExcludedDirectory(QStringLiteral("/proc/self"));
    list.isExcludedDirectory(std::string_view("/home/\xff"));
    list.isNotDeletableItem(Paths::home());
    return 0;
}
