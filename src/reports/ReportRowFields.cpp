#include "reports/ReportRows.h"

namespace {

#define ROW_NUMBER_FIELD(ROW, NAME)                                                                 \
    FieldDef<ROW>                                                                                   \
    {                                                                                               \
        #NAME, [](const ROW& r) { return QVariant::fromValue(r.NAME); },                            \
            [](const ROW& a, const ROW& b) { return threeWay(a.NAME, b.NAME); }                     \
    }

#define ROW_TEXT_FIELD(ROW, NAME)                                                                   \
    FieldDef<ROW>                                                                                   \
    {                                                                                               \
        #NAME, [](const ROW& r) { return QVariant(r.NAME); },                                       \
            [](const ROW& a, const ROW& b) { return a.NAME.compare(b.NAME); }                       \
    }

// A text the row computes when asked (the folder rows' names and paths).
#define ROW_TEXT_GETTER_FIELD(ROW, NAME)                                                            \
    FieldDef<ROW>                                                                                   \
    {                                                                                               \
        #NAME, [](const ROW& r) { return QVariant(r.NAME()); },                                     \
            [](const ROW& a, const ROW& b) { return a.NAME().compare(b.NAME()); }                   \
    }

// The shared label under the name the report reads it by.
#define ROW_LABEL_FIELD(ROW, NAME)                                                                  \
    FieldDef<ROW>                                                                                   \
    {                                                                                               \
        #NAME, [](const ROW& r) { return QVariant(r.label); },                                      \
            [](const ROW& a, const ROW& b) { return a.label.compare(b.label); }                     \
    }

#define GROUPED_ROW_FIELDS(ROW)                                                                     \
    ROW_NUMBER_FIELD(ROW, Files), ROW_NUMBER_FIELD(ROW, Size), ROW_NUMBER_FIELD(ROW, ASize)

} // namespace

const FieldTable<TSizeInfo>& sizeInfoFields()
{
    static const FieldTable<TSizeInfo> table{ROW_LABEL_FIELD(TSizeInfo, SizeRange), GROUPED_ROW_FIELDS(TSizeInfo),
                                             ROW_NUMBER_FIELD(TSizeInfo, SrNo)};
    return table;
}

const FieldTable<TTimeInfo>& timeInfoFields()
{
    static const FieldTable<TTimeInfo> table{ROW_LABEL_FIELD(TTimeInfo, TimeRange), GROUPED_ROW_FIELDS(TTimeInfo),
                                             ROW_NUMBER_FIELD(TTimeInfo, SrNo)};
    return table;
}

const FieldTable<TDateInfo>& dateInfoFields()
{
    static const FieldTable<TDateInfo> table{ROW_LABEL_FIELD(TDateInfo, DateRange), GROUPED_ROW_FIELDS(TDateInfo),
                                             ROW_NUMBER_FIELD(TDateInfo, SrNo)};
    return table;
}

const FieldTable<TExtInfo>& extInfoFields()
{
    static const FieldTable<TExtInfo> table{ROW_LABEL_FIELD(TExtInfo, sType), GROUPED_ROW_FIELDS(TExtInfo)};
    return table;
}

const FieldTable<TAttrInfo>& attrInfoFields()
{
    static const FieldTable<TAttrInfo> table{ROW_LABEL_FIELD(TAttrInfo, Attr), GROUPED_ROW_FIELDS(TAttrInfo)};
    return table;
}

const FieldTable<TSpInfo>& spInfoFields()
{
    static const FieldTable<TSpInfo> table{ROW_LABEL_FIELD(TSpInfo, sType), GROUPED_ROW_FIELDS(TSpInfo)};
    return table;
}

const FieldTable<TOwnerInfo>& ownerInfoFields()
{
    static const FieldTable<TOwnerInfo> table{ROW_LABEL_FIELD(TOwnerInfo, sOwner), ROW_TEXT_FIELD(TOwnerInfo, sDomain),
                                              GROUPED_ROW_FIELDS(TOwnerInfo), ROW_NUMBER_FIELD(TOwnerInfo, SrNo)};
    return table;
}

const FieldTable<TAllFoldInfo>& allFoldInfoFields()
{
    static const FieldTable<TAllFoldInfo> table{
        ROW_TEXT_GETTER_FIELD(TAllFoldInfo, sName), ROW_TEXT_GETTER_FIELD(TAllFoldInfo, sPath),
        ROW_NUMBER_FIELD(TAllFoldInfo, Files),  ROW_NUMBER_FIELD(TAllFoldInfo, Folders),
        ROW_NUMBER_FIELD(TAllFoldInfo, Size),   ROW_NUMBER_FIELD(TAllFoldInfo, ASize),
        ROW_NUMBER_FIELD(TAllFoldInfo, lMTime),
    };
    return table;
}
