#pragma once
// Where an installed program finds its bundled files, and whether it is installed at all.

#include <QString>

namespace wf {

// share/weibflow/data beside the bin folder `programDir` when the program is installed
// (make install, the package); empty otherwise.
QString installedDataFolder(const QString& programDir);

// The folder of the sample files for a program in `programDir`: the installed data
// folder, or the source tree's data/ when it runs from its own build tree; empty when
// neither exists.
QString sampleDataFolder(const QString& programDir);
// The same for this program.
QString sampleDataFolder();

// The folder of this program's executable.
QString programFolder();

} // namespace wf
