#pragma once

#include "scan/FieldTable.h"
#include "scan/TFoldInfo.h"

#include <QString>

#include <cstdint>
#include <vector>

// The row records of the reports. Each row groups some files of the selected folder and
// holds them as plain pointers into the scan tree. A node that a file action takes out of
// the tree stays valid as long as its ScanTree lives, so a row may keep it; whoever owns the
// rows must empty them before the tree they point into is destroyed.
//
// In every grouped row, Files is the number of nodes in its list and Size / ASize are the
// sums of their cSize / cASize. Rows are read by field name through the tables at the end
// of this header (the sort keys "Size", "Files", "ASize", "SrNo", "SizeRange" ...).

using NodeList = std::vector<TFoldInfo*>;

// One size range.
struct TSizeInfo {
    QString SizeRange;       // the bucket's title
    std::int64_t Files = 0;
    std::uint64_t Size = 0;
    std::uint64_t ASize = 0;
    std::int64_t SrNo = 0;   // the bucket's srNo
    NodeList arrSize;
};

// One hour of the day.
struct TTimeInfo {
    QString TimeRange;
    std::int64_t Files = 0;
    std::uint64_t Size = 0;
    std::uint64_t ASize = 0;
    std::int64_t SrNo = 0;
    NodeList arrTime;
};

// One date range (ranges overlap: a file may lie in several rows).
struct TDateInfo {
    QString DateRange;
    std::int64_t Files = 0;
    std::uint64_t Size = 0;
    std::uint64_t ASize = 0;
    std::int64_t SrNo = 0;
    NodeList arrDate;
};

// One kind of file.
struct TExtInfo {
    QString sType;           // the kind text
    std::int64_t Files = 0;
    std::uint64_t Size = 0;
    std::uint64_t ASize = 0;
    NodeList arrTypes;
};

// One file attribute.
struct TAttrInfo {
    QString Attr;            // the attribute label
    std::int64_t Files = 0;
    std::uint64_t Size = 0;
    std::uint64_t ASize = 0;
    NodeList arrAttributes;
};

// One type category (overview, custom type summary).
struct TSpInfo {
    QString sType;           // the category label
    std::int64_t Files = 0;
    std::uint64_t Size = 0;
    std::uint64_t ASize = 0;
    NodeList arrSpInfo;
};

// One owner (the ownership report has no content; the record exists for its table).
struct TOwnerInfo {
    QString sOwner;
    QString sDomain;
    std::int64_t Files = 0;
    std::uint64_t Size = 0;
    std::uint64_t ASize = 0;
    std::int64_t SrNo = 0;
    NodeList arrOwner;
};

// One row of the all-folders report: a folder's totals, and the folder itself.
struct TAllFoldInfo {
    QString sName;
    QString sPath;
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
template <class Row>
void addNodeToRow(Row& row, NodeList& list, TFoldInfo* node)
{
    list.push_back(node);
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
