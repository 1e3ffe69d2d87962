#include "StopSignals.h"

#include <signal.h>

#include <csignal>

namespace lutrane {
namespace {

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};
volatile std::sig_atomic_t received = 0;
struct sigaction previous[3];

void Note(int signal) {
    if (received == 0) received = signal;
}

}  // namespace

StopSignals::StopSignals() {
    received = 0;
    struct sigaction action {};
    action.sa_handler = Note;
    action.sa_flags = SA_RESTART;  // reads and writes go on; the split stops between files
    sigemptyset(&action.sa_mask);
    for (int i = 0; i < 3; ++i) sigaction(kSignals[i], &action, &previous[i]);
}

StopSignals::~StopSignals() {
    for (int i = 0; i < 3; ++i) sigaction(kSignals[i], &previous[i], nullptr);
}

int StopSignals::Received() const { return received; }

}  // namespace lutrane
