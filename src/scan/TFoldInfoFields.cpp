#include "scan/TFoldInfoFields.h"

namespace {

#define QV_NUMBER_FIELD(NAME, TYPE)                                                             \
    FieldDef<TFoldInfo>                                                                        \
    {                                                                                          \
        #NAME, [](const TFoldInfo& n) { return QVariant::fromValue(TYPE(n.NAME())); },           \
            [](const TFoldInfo& a, const TFoldInfo& b) { return threeWay(TYPE(a.NAME()), TYPE(b.NAME())); } \
    }

#define QV_TEXT_FIELD(NAME)                                                                     \
    FieldDef<TFoldInfo>                                                                        \
    {                                                                                          \
        #NAME, [](const TFoldInfo& n) { return QVariant(n.NAME()); },                           \
            [](const TFoldInfo& a, const TFoldInfo& b) { return a.NAME().compare(b.NAME()); }  \
    }

} // namespace

const FieldTable<TFoldInfo>& tfoldInfoFields()
{
    static const FieldTable<TFoldInfo> table{
        QV_TEXT_FIELD(sName),
        QV_TEXT_FIELD(sPath),
        QV_NUMBER_FIELD(cSize, quint64),
        QV_NUMBER_FIELD(cASize, quint64),
        QV_TEXT_FIELD(fType),
        QV_TEXT_FIELD(sExt),
        QV_NUMBER_FIELD(cFiles, qint64),
        QV_NUMBER_FIELD(cFolders, qint64),
        QV_NUMBER_FIELD(fPercent, float),
        QV_NUMBER_FIELD(lATime, double),
        QV_NUMBER_FIELD(lMTime, double),
        QV_NUMBER_FIELD(cTime, double),
        QV_NUMBER_FIELD(isFolder, bool),
        QV_NUMBER_FIELD(isApp, bool),
        QV_NUMBER_FIELD(isNonDeleteableFile, bool),
        QV_NUMBER_FIELD(bRead, bool),
        QV_NUMBER_FIELD(bPerCalculated, bool),
        QV_NUMBER_FIELD(state, qint64),
        QV_NUMBER_FIELD(stateAtViewer, qint64),
        QV_NUMBER_FIELD(stateAtObsoleteFiles, qint64),
    };
    return table;
}
