#include "cli/SignalStop.h"

#include <pthread.h>
#include <signal.h>

#include <thread>

namespace kadrel::cli {

void StopOnSignals(std::stop_source stop) {
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    sigset_t blocked = signals;
    sigaddset(&blocked, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &blocked, nullptr);
    std::thread([signals, stop]() mutable {
        int received = 0;
        if (sigwait(&signals, &received) == 0) stop.request_stop();
    }).detach();
}

}  // namespace kadrel::cli
