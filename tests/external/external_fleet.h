#pragma once
// The known-model fleet file under the name the optimizer benchmark includes it by; the
// tests take it from the shared fixtures.

#include "../common/fleet_files.h"

namespace wf::testfleet {

using test::makeFleetFile;
using test::Truth;

} // namespace wf::testfleet
