#pragma once

#include "base/FieldTable.h"
#include "scan/TFoldInfo.h"

#include <QString>

#include <cstdint>
#include <vector>

// The row records of the reports. Each row groups some files of the selected folder and
// holds them as plain pointers into the scan tree. A node that a file action takes out of
// the tree stays valid as long as its ScanTree lives, so a row may keep it; whoever owns the
// rows must empty them before the tree they point into is destroyed.
//
// In every grouped row (TGroupRow), Files is the number of nodes in its list and Size /
// ASize are the sums of their cSize / cASize. Rows are read by field name through the tables at the end
// of this header (the sort keys "Size", "Files", "ASize", "SrNo", "SizeRange" ...).

using NodeList = std::vector<TFoldInfo*>;

// What every grouped row has: a label, its files and their count and sums. The reports
// read the label under their own field name ("SizeRange", "TimeRange", "DateRange", "sType",
// "Attr", "sOwner"; see the field tables below), so stored sort descriptors keep working.
struct TGroupRow {
    QString label;           // the bucket's title, the kind, the attribute, the category ...
    std::int64_t Files = 0;
    std::uint64_t Size = 0;
    std::uint64_t ASize = 0;
    NodeList nodes;          // the row's files
};

// One size range ("SizeRange").
struct TSizeInfo : TGroupRow {
    std::int64_t SrNo = 0;   // the bucket's srNo
};

// One hour of the day ("TimeRange").
struct TTimeInfo : TGroupRow {
    std::int64_t SrNo = 0;
};

// One date range ("DateRange"; ranges overlap: a file may lie in several rows).
struct TDateInfo : TGroupRow {
    std::int64_t SrNo = 0;
};

// One kind of file ("sType").
struct TExtInfo : TGroupRow {};

// One file attribute ("Attr").
struct TAttrInfo : TGroupRow {};

// One type category ("sType"; overview, custom type summary).
struct TSpInfo : TGroupRow {};

// One owner ("sOwner"; the ownership report has no content, the record exists for its table).
struct TOwnerInfo : TGroupRow {
    QString sDomain;
    std::int64_t SrNo = 0;
};

// One row of the all-folders report: a folder's totals, and the folder itself. The name
// and path are read from the folder when asked for: the paths of a deep tree's folders
// together would grow with the square of its depth.
struct TAllFoldInfo {
    QString sName() const { return foldInfo ? foldInfo->sName() : QString(); }
    QString sPath() const { return foldInfo ? foldInfo->sPath() : QString(); }
    std::int64_t Files = 0;
    std::int64_t Folders = 0;
    std::uint64_t Size = 0;
    std::uint64_t ASize = 0;
    double lMTime = 0;
    TFoldInfo* foldInfo = nullptr;
};

// Field tables by name. Scalar and text fields are listed; the node lists are not sortable
// and have no entry.
const FieldTable<TSizeInfo>& sizeInfoFields();       // SizeRange Files Size ASize SrNo
const FieldTable<TTimeInfo>& timeInfoFields();       // TimeRange Files Size ASize SrNo
const FieldTable<TDateInfo>& dateInfoFields();       // DateRange Files Size ASize SrNo
const FieldTable<TExtInfo>& extInfoFields();         // sType Files Size ASize
const FieldTable<TAttrInfo>& attrInfoFields();       // Attr Files Size ASize
const FieldTable<TSpInfo>& spInfoFields();           // sType Files Size ASize
const FieldTable<TOwnerInfo>& ownerInfoFields();     // sOwner sDomain Files Size ASize SrNo
const FieldTable<TAllFoldInfo>& allFoldInfoFields(); // sName sPath Files Folders Size ASize lMTime

// Appends a node to a grouped row's list and adds it to the row's count and sums.
inline void addNodeToRow(TGroupRow& row, TFoldInfo* node)
{
    row.nodes.push_back(node);
    row.Files += 1;
    row.Size += node->cSize();
    row.ASize += node->cASize();
}

// Sorts rows in place by the descriptor's field, keeping the order of equal rows. An
// unknown key leaves the rows as they are and returns false.
template <class Row>
bool sortRows(std::vector<Row>& rows, const SortDescriptor& descriptor, const FieldTable<Row>& table)
{
    const FieldDef<Row>* field = table.find(descriptor.key);
    if (!field)
        return false;
    const auto compare = field->compare;
    if (descriptor.ascending)
        std::stable_sort(rows.begin(), rows.end(), [compare](const Row& a, const Row& b) { return compare(a, b) < 0; });
    else
        std::stable_sort(rows.begin(), rows.end(), [compare](const Row& a, const Row& b) { return compare(a, b) > 0; });
    return true;
}
