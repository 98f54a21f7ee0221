#pragma once
// How a job ended. Loading, every fit, the calculation run, the genetic search, the
// external optimizer and the results step report this one shape, beside their own typed
// results.

#include <QString>

namespace wf {

enum class Termination {
    Done,         // finished as its rules say
    LimitReached, // stopped by a time or size limit; what it found so far is kept
    Cancelled,    // stopped on request; nothing it would have changed was changed
    Refused,      // its input was not acceptable; nothing was changed
    Failed        // it could not finish (a program, a file or a computation failed)
};

struct JobEnd {
    Termination how = Termination::Done;
    QString message; // why, for anything but Done (a text from format/messages.h); may be empty

    bool done() const { return how == Termination::Done; }
    static JobEnd refused(const QString& why) { return {Termination::Refused, why}; }
    static JobEnd failed(const QString& why) { return {Termination::Failed, why}; }
    static JobEnd cancelled() { return {Termination::Cancelled, {}}; }
};

} // namespace wf
