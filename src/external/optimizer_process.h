#pragma once
// Running the external optimizer: a separate program that fits A, B and K from the data
// file. We start it, wait for it (cancellable, bounded) and read the three numbers it
// leaves in the result file.

#include "core/fit_clock.h"
#include "core/job_end.h"
#include "external/external_settings.h"

#include <QString>

namespace wf {

struct ExternalResult {
    // What went wrong when the job Failed.
    enum class Problem { None, StartFailed, Crashed, NonZeroExit, NoResultFile, BadResult };
    // Done; Cancelled on request; LimitReached by the timeout; Failed with `problem`. The
    // message is the Russian text for the user.
    JobEnd end;
    Problem problem = Problem::None;
    double A = 0, B = 0, K = 0;
};

// Blocking. Deletes the result file, starts the optimizer with the single argument
// `filePath` (no shell), WEIBFLOW_RESULT_FILE=resultFilePath() in its environment, and
// waits, reporting progress about every 50 ms (false: kill, Cancelled) and killing it
// after `set.timeout` (LimitReached). On a clean exit reads the result file. Touches no
// analysis state: safe on a worker thread.
ExternalResult runExternalOptimizer(const QString& filePath, const ExternalSettings& set,
                                    const ProgressFn& progress = {});

} // namespace wf
