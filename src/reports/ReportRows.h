#pragma once

#include "scan/TFoldInfo.h"

#include <QString>

#include <cstdint>

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
