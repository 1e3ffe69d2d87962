#include "cli/SignalStop.h"

#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <thread>

#include "align/tcoffee/WorkFolder.h"

namespace kadrel::cli {

void StopOnSignals(std::stop_source stop) {
    sigset_t signals;
    sigemptyset(&signals);
    for (int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) sigaddset(&signals, signal);
    sigset_t blocked = signals;
    sigaddset(&blocked, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &blocked, nullptr);
    std::thread([signals, stop]() mutable {
        int received = 0;
        if (sigwait(&signals, &received) != 0) return;
        stop.request_stop();
        // A second one while stopping (the output may be stuck on a full pipe): the aligners
        // are already killed by the stop; the work folders go, then the process, at once.
        if (sigwait(&signals, &received) != 0) return;
        WorkFolder::RemoveAllNow();
        _exit(kStoppedStatus);
    }).detach();
}

}  // namespace kadrel::cli
