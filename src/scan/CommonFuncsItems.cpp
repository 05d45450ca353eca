// The CommonFuncs helper that reads a node: defined with the node type, so the settings
// folder below the scanner needs no scan header.

#include "scan/TFoldInfo.h"
#include "settings/CommonFuncs.h"

bool CommonFuncs::isItemHidden(const TFoldInfo* node)
{
    return node && (node->itemAttrInfo().flags & ItemFlags::Invisible) != 0;
}
