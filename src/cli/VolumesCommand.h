#pragma once

#include <QStringList>

namespace Cli {

// quorvel-cli volumes [--json]: the volumes the main window offers for scanning.
int runVolumes(const QStringList& args);

} // namespace Cli
