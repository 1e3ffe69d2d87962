#pragma once
#include <stop_token>

namespace kadrel::cli {

// The exit status of a run stopped by a signal.
constexpr int kStoppedStatus = 130;

// Ctrl-C, a termination request, a closed terminal (SIGHUP) or SIGQUIT stops the run cleanly:
// the aligner's process groups are killed and the report ends with the rows done. A second one
// while stopping ends the process at once, its work folders removed. The signals are taken by
// one waiting thread.
// A closed output pipe makes writes fail instead of killing the process, so the run stops
// through the sink and the work folder still goes.
void StopOnSignals(std::stop_source stop);

}  // namespace kadrel::cli
