#pragma once

#include "base/FieldTable.h"
#include "scan/TFoldInfo.h"

// The fields of a node by name: sName, sPath, cSize, cASize, fType, sExt, cFiles, cFolders,
// fPercent, lATime, lMTime, cTime, isFolder, isApp, isNonDeleteableFile, bRead,
// bPerCalculated, state, stateAtViewer, stateAtObsoleteFiles.
const FieldTable<TFoldInfo>& tfoldInfoFields();
