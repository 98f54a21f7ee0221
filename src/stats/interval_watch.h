#pragma once
// Watches a job for the broken invariant of Weib_Interv (t1 > t2), met on any thread: the
// job stops at its next check and ends as failed with the message, instead of going on
// with the values it produced.

#include "core/distributions.h"
#include "core/job_end.h"
#include "format/messages.h"

namespace wf {

class IntervalWatch {
public:
    IntervalWatch()
        : start_(intervalBreaks()) {}
    // Weib_Interv met t1 > t2 since the watch began.
    bool tripped() const { return intervalBreaks() != start_; }
    // `end` as the job reported it, or Failed with the message when the watch tripped.
    JobEnd end(const JobEnd& end) const {
        return tripped() ? JobEnd::failed(msg::intervalGuard) : end;
    }

private:
    long long start_;
};

} // namespace wf
