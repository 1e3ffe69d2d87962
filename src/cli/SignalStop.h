#pragma once
#include <stop_token>

namespace kadrel::cli {

// Ctrl-C or a termination request stops the run cleanly: the aligner's process groups are
// killed and the report ends with the rows done. The signals are taken by one waiting thread.
// A closed output pipe makes writes fail instead of killing the process, so the run stops
// through the sink and the work folder still goes.
void StopOnSignals(std::stop_source stop);

}  // namespace kadrel::cli
