#include "reports/FolderReports.h"

#include "reports/LoadAllFolders.h"
#include "reports/PredicatesLib.h"
#include "scan/AnalysisLib.h"
#include "settings/CommonFuncs.h"
#include "settings/GeneralLib.h"
#include "settings/TextFormat.h"

#include <algorithm>
#include <type_traits>
#include <unordered_set>

namespace {

using namespace ReportIndex;

constexpr int kReportCount = 12;

bool validIndex(int index) { return index >= 0 && index < kReportCount; }

// The remembered sort of a report, or none when the report always sorts the same way.
std::optional<SortSetting> keptSort(int index)
{
    switch (index) {
    case FileExplorer: return SortSetting::FileExplorer;
    case FileTypes: return SortSetting::FileType;
    case SizeRanges: return SortSetting::FileSize;
    case DateRanges: return SortSetting::FileDate;
    case CustomTypes: return SortSetting::CustomType;
    case AllFolders: return SortSetting::AllFolderSubFolder;
    case Applications: return SortSetting::Apps;
    case ObsoleteFiles: return SortSetting::ObsoleteFile;
    default: return std::nullopt;
    }
}

const SortDescriptor kSizeDescending{QStringLiteral("Size"), false};

void removeFrom(NodeList& list, const std::unordered_set<const TFoldInfo*>& gone)
{
    std::erase_if(list, [&gone](const TFoldInfo* node) { return gone.contains(node); });
}

} // namespace

FolderReports::FolderReports() { PredicatesLib::connectToCatalog(); }

// ---- selection ----

void FolderReports::refreshAllReports(TFoldInfo* folder)
{
    selectedFolder_ = folder;
    arrFilesExplorer_.clear();
    if (folder)
        arrFilesExplorer_.assign(folder->SubList().begin(), folder->SubList().end());
    makeBlankAllReport();
    AnalysisLib().ReadFoldersForTreeExplorer(arrFilesExplorer_);
    arrFilesOnly_.clear();
    arrAllChildApps_.clear();
    filesOnlyBuilt_ = false;
    appsBuilt_ = false;
}

void FolderReports::makeBlankAllReport()
{
    FExtList2_.clear();
    FAttrList_.clear();
    FSizeList_.clear();
    FDateList_.clear();
    FTimeList_.clear();
    FOwnerList_.clear();
    FSpList_.clear();
    FOverViewList_.clear();
    FAllFolderList_.clear();
    FObsoleteFileList_.clear();
    computed_.fill(false);
}

bool FolderReports::releaseRows(int index)
{
    if (!validIndex(index))
        return false;
    const auto release = [](auto& rows) { std::decay_t<decltype(rows)>().swap(rows); };
    switch (index) {
    case FileTypes: release(FExtList2_); break;
    case Attributes: release(FAttrList_); break;
    case SizeRanges: release(FSizeList_); break;
    case DateRanges: release(FDateList_); break;
    case TimeOfDay: release(FTimeList_); break;
    case Ownership: release(FOwnerList_); break;
    case CustomTypes: release(FSpList_); break;
    case Overview: release(FOverViewList_); break;
    case AllFolders: release(FAllFolderList_); break;
    case ObsoleteFiles: release(FObsoleteFileList_); break;
    default: return true; // the explorer and applications are inputs, not rows
    }
    computed_[std::size_t(index)] = false;
    return true;
}

void FolderReports::clear()
{
    refreshAllReports(nullptr);
    arrTopSizeFiles_.clear();
    totalFilesCount_ = 0;
}

// ---- inputs ----

void FolderReports::getFilesOnlyForSelectedRoot()
{
    if (filesOnlyBuilt_)
        return;
    arrFilesOnly_ = PredicatesLib::prepareFilesArray(selectedFolder_);
    filesOnlyBuilt_ = true;
}

void FolderReports::getAllChildAppsForSelectedFolder()
{
    if (appsBuilt_)
        return;
    arrAllChildApps_ = PredicatesLib::getAppsArray(selectedFolder_);
    appsBuilt_ = true;
}

// ---- report visits ----

bool FolderReports::generateReport(int index)
{
    if (!validIndex(index) || !selectedFolder_)
        return false;
    getFilesOnlyForSelectedRoot();
    getAllChildAppsForSelectedFolder();
    generateRowsIfNeeded(index);
    sortForVisit(index);
    return true;
}

void FolderReports::generateRowsIfNeeded(int index)
{
    const bool everyVisit = index == CustomTypes || index == ObsoleteFiles;
    if (computed_[std::size_t(index)] && !everyVisit)
        return;
    switch (index) {
    case FileTypes: FExtList2_ = PredicatesLib::predicatesForFileTypeFilterBasedOnFileKind(arrFilesOnly_); break;
    case Attributes: FAttrList_ = PredicatesLib::predicatesForAttributeFilter(arrFilesOnly_); break;
    case SizeRanges: FSizeList_ = PredicatesLib::predicatesForSizeFilter(arrFilesOnly_); break;
    case DateRanges:
        FDateList_ = PredicatesLib::predicatesForDateFilter(arrFilesOnly_, PredicatesLib::CreationTime);
        break;
    case TimeOfDay:
        FTimeList_ = PredicatesLib::predicatesForTimeFilter(arrFilesOnly_, PredicatesLib::CreationTime);
        break;
    case Ownership:
        if (auto rows = PredicatesLib::getOwnerShipForFiles(arrFilesOnly_))
            FOwnerList_ = std::move(*rows);
        break;
    case CustomTypes: FSpList_ = PredicatesLib::predicatesForCustomTypeFilter(arrFilesOnly_); break;
    case AllFolders:
        FAllFolderList_.clear();
        LoadAllFolders(0, arrFilesExplorer_, FAllFolderList_);
        break;
    case Applications: AnalysisLib().ReadFoldersForTreeExplorer(arrAllChildApps_); break;
    case Overview:
        FOverViewList_ = PredicatesLib::predicatesForOverView(arrFilesOnly_);
        break;
    case ObsoleteFiles: FObsoleteFileList_ = PredicatesLib::getObsoleteFiles(arrFilesOnly_); break;
    default: break; // the file explorer has nothing to compute
    }
    computed_[std::size_t(index)] = true;
}

void FolderReports::sortForVisit(int index)
{
    if (index == Applications)
        AnalysisLib().ReadFoldersForTreeExplorer(arrAllChildApps_);
    if (const auto descriptor = currentSort(index))
        sortReport(index, *descriptor);
    if (index == Overview)
        totalFilesCount_ = std::int64_t(arrFilesOnly_.size());
}

std::size_t FolderReports::rowCount(int index) const
{
    switch (index) {
    case FileExplorer: return arrFilesExplorer_.size();
    case AllFolders: return FAllFolderList_.size();
    case Applications: return arrAllChildApps_.size();
    case ObsoleteFiles: return FObsoleteFileList_.size();
    default: return groupedRowCount(index);
    }
}

bool FolderReports::isComputed(int index) const
{
    if (!validIndex(index))
        return false;
    if (index == FileExplorer)
        return selectedFolder_ != nullptr;
    return computed_[std::size_t(index)];
}

std::optional<SortDescriptor> FolderReports::currentSort(int index)
{
    if (const auto kept = keptSort(index))
        return GeneralLib::sortDescriptor(*kept);
    if (index == Attributes || index == TimeOfDay || index == Ownership)
        return kSizeDescending;
    return std::nullopt;
}

bool FolderReports::sortReport(int index, const SortDescriptor& descriptor)
{
    bool sorted = false;
    switch (index) {
    case FileExplorer: sorted = PredicatesLib::sortWithSortDescriptor(arrFilesExplorer_, descriptor); break;
    case FileTypes: sorted = sortRows(FExtList2_, descriptor, extInfoFields()); break;
    case Attributes: sorted = sortRows(FAttrList_, descriptor, attrInfoFields()); break;
    case SizeRanges: sorted = sortRows(FSizeList_, descriptor, sizeInfoFields()); break;
    case DateRanges: sorted = sortRows(FDateList_, descriptor, dateInfoFields()); break;
    case TimeOfDay: sorted = sortRows(FTimeList_, descriptor, timeInfoFields()); break;
    case Ownership: sorted = sortRows(FOwnerList_, descriptor, ownerInfoFields()); break;
    case CustomTypes: sorted = sortRows(FSpList_, descriptor, spInfoFields()); break;
    case AllFolders: sorted = sortRows(FAllFolderList_, descriptor, allFoldInfoFields()); break;
    case Applications: sorted = PredicatesLib::sortWithSortDescriptor(arrAllChildApps_, descriptor); break;
    case Overview: sorted = sortRows(FOverViewList_, descriptor, spInfoFields()); break;
    case ObsoleteFiles: sorted = PredicatesLib::sortWithSortDescriptor(FObsoleteFileList_, descriptor); break;
    default: return false;
    }
    if (sorted)
        if (const auto kept = keptSort(index))
            GeneralLib::setSortDescriptor(*kept, descriptor);
    return sorted;
}

void FolderReports::loadCustomTypeSummary()
{
    if (selectedFolder_)
        generateReport(CustomTypes);
}

void FolderReports::loadObsoleteFiles()
{
    if (selectedFolder_)
        generateReport(ObsoleteFiles);
}

void FolderReports::loadOverViewList()
{
    if (selectedFolder_)
        generateReport(Overview);
}

// ---- row lists ----

namespace {

template <class Row>
const TGroupRow* rowOf(const std::vector<Row>& rows, std::size_t row)
{
    return row < rows.size() ? &rows[row] : nullptr;
}

} // namespace

std::size_t FolderReports::groupedRowCount(int index) const
{
    switch (index) {
    case FileTypes: return FExtList2_.size();
    case Attributes: return FAttrList_.size();
    case SizeRanges: return FSizeList_.size();
    case DateRanges: return FDateList_.size();
    case TimeOfDay: return FTimeList_.size();
    case Ownership: return FOwnerList_.size();
    case CustomTypes: return FSpList_.size();
    case Overview: return FOverViewList_.size();
    default: return 0;
    }
}

const TGroupRow* FolderReports::groupedRow(int index, std::size_t row) const
{
    switch (index) {
    case FileTypes: return rowOf(FExtList2_, row);
    case Attributes: return rowOf(FAttrList_, row);
    case SizeRanges: return rowOf(FSizeList_, row);
    case DateRanges: return rowOf(FDateList_, row);
    case TimeOfDay: return rowOf(FTimeList_, row);
    case Ownership: return rowOf(FOwnerList_, row);
    case CustomTypes: return rowOf(FSpList_, row);
    case Overview: return rowOf(FOverViewList_, row);
    default: return nullptr;
    }
}

// ---- the overview's file list ----

void FolderReports::loadTopSizeFilesTableFor(NodeList files)
{
    arrTopSizeFiles_ = std::move(files);
    PredicatesLib::sortWithSortDescriptor(arrTopSizeFiles_, GeneralLib::sortDescriptor(SortSetting::TopFiles));
}

bool FolderReports::sortTopSizeFiles(const SortDescriptor& descriptor)
{
    if (!PredicatesLib::sortWithSortDescriptor(arrTopSizeFiles_, descriptor))
        return false;
    GeneralLib::setSortDescriptor(SortSetting::TopFiles, descriptor);
    return true;
}

NodeList FolderReports::top100FilesBySize() const { return PredicatesLib::getTop100FilesBySize(arrFilesOnly_); }

NodeList FolderReports::top100OldestFiles() const { return PredicatesLib::getTop100OldestFiles(arrFilesOnly_); }

// ---- shares ----

float FolderReports::share(std::uint64_t size) const
{
    const std::uint64_t folderSize = selectedFolder_ ? selectedFolder_->cSize() : 0;
    const float denominator = float(CommonFuncs::denominator(folderSize));
    // Size * 100 as an integer where it fits, then one division in single precision.
    if (size <= UINT64_MAX / 100)
        return float(size * 100) / denominator;
    return float(size) * 100.0f / denominator;
}

QString FolderReports::shareText(std::uint64_t size) const
{
    return TextFormat::format(QStringLiteral("%@ %%"), {CommonFuncs::roundingNumber(double(share(size)))});
}

// ---- tree edits ----

void FolderReports::removeNodes(std::span<TFoldInfo* const> nodes)
{
    if (nodes.empty())
        return;
    const std::unordered_set<const TFoldInfo*> gone(nodes.begin(), nodes.end());
    removeFrom(arrFilesExplorer_, gone);
    removeFrom(arrFilesOnly_, gone);
    removeFrom(arrAllChildApps_, gone);
    removeFrom(FObsoleteFileList_, gone);
    removeFrom(arrTopSizeFiles_, gone);
}
