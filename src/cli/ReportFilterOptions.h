#pragma once

#include "cli/CliCommon.h"
#include "viewer/core/FileViewerFilter.h"

#include <QStringList>

#include <optional>

namespace Cli {

// The file viewer's filter panel as options of `report`, applied to the node reports:
//   --name NAME  --size-between LOW HIGH  --size OP VALUE (OP: = < <= > >=)
//   --size-unit bytes|kb|mb|gb  --date accessed|modified|created FROM TO (MM/dd/yyyy)
//   --top N
// Takes the options it knows out of args. `values` stays absent when none was given.
std::optional<CliError> takeFilterOptions(QStringList& args, std::optional<FileViewerFilterValues>& values);

} // namespace Cli
