#pragma once
// Where the external optimizer leaves its answer: a folder only we can read or write.

#include <QString>

namespace wf {

// "optymum.txt" in the user's private runtime folder (created with mode 0700). Without
// XDG_RUNTIME_DIR, or when the folder found is not private to us, a folder of our own
// under the temporary folder.
QString resultFilePath();

} // namespace wf
