// AppDelegate: the report tables the windows show.

#include "app/AppDelegate.h"

#include "settings/GeneralLib.h"

std::unique_ptr<ReportTable> AppDelegate::reportTable(int tableId)
{
    ReportTable::CheckHandler onCheck;
    if (tableId == ReportIndex::FileExplorer)
        onCheck = [this](TFoldInfo* node, bool checked) { btnCheckBoxFileExplorerTableTapped(node, checked); };
    else if (tableId == ReportIndex::ObsoleteFiles)
        onCheck = [this](TFoldInfo* node, bool checked) { btnCheckBoxObsoleteTableTapped(node, checked); };
    return ReportTable::create(reports_, tableId, std::move(onCheck));
}
