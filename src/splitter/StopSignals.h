#pragma once

namespace lutrane {

// While one lives, SIGINT, SIGTERM and SIGHUP only note the signal, so that a split can undo
// what it wrote before the program ends. The earlier handlers come back when it goes.
class StopSignals {
public:
    StopSignals();
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    // The first signal received, or 0.
    int Received() const;
};

}  // namespace lutrane
