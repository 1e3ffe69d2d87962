#include "align/tcoffee/ShellX.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>

extern char** environ;

namespace kadrel {

namespace {

std::vector<std::string> MergedEnvironment(const std::vector<std::string>& extra) {
    std::vector<std::string> merged;
    for (char** entry = environ; entry != nullptr && *entry != nullptr; ++entry) {
        const std::string text = *entry;
        const auto name = text.substr(0, text.find('=') + 1);
        bool replaced = false;
        for (const auto& e : extra) replaced = replaced || e.compare(0, name.size(), name) == 0;
        if (!replaced) merged.push_back(text);
    }
    merged.insert(merged.end(), extra.begin(), extra.end());
    return merged;
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    for (auto& t : texts) pointers.push_back(t.data());
    pointers.push_back(nullptr);
    return pointers;
}

class SpawnSettings {
public:
    SpawnSettings() {
        posix_spawn_file_actions_init(&actions_);
        posix_spawnattr_init(&attributes_);
        for (int fd : {0, 1, 2})
            posix_spawn_file_actions_addopen(&actions_, fd, "/dev/null", fd == 0 ? O_RDONLY : O_WRONLY, 0);
        // Its own process group, so that a stop reaches the aligner's children too.
        posix_spawnattr_setpgroup(&attributes_, 0);
        sigset_t none;
        sigemptyset(&none);
        posix_spawnattr_setsigmask(&attributes_, &none);
        posix_spawnattr_setflags(&attributes_, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK);
    }
    ~SpawnSettings() {
        posix_spawn_file_actions_destroy(&actions_);
        posix_spawnattr_destroy(&attributes_);
    }
    SpawnSettings(const SpawnSettings&) = delete;
    SpawnSettings& operator=(const SpawnSettings&) = delete;
    const posix_spawn_file_actions_t* Actions() const { return &actions_; }
    const posix_spawnattr_t* Attributes() const { return &attributes_; }

private:
    posix_spawn_file_actions_t actions_;
    posix_spawnattr_t attributes_;
};

}  // namespace

int ShellX(const std::vector<std::string>& command, const std::vector<std::string>& extraEnvironment,
           std::stop_token stop, std::chrono::milliseconds timeLimit) {
    if (command.empty()) throw std::system_error(EINVAL, std::generic_category(), "empty command");
    if (stop.stop_requested()) return 128 + SIGKILL;
    auto arguments = command;
    auto environment = MergedEnvironment(extraEnvironment);
    auto argv = Pointers(arguments);
    auto envp = Pointers(environment);

    const SpawnSettings settings;
    pid_t pid = 0;
    const int spawnError = posix_spawnp(&pid, argv[0], settings.Actions(), settings.Attributes(),
                                        argv.data(), envp.data());
    if (spawnError != 0)
        throw std::system_error(spawnError, std::generic_category(), "cannot start " + command[0]);

    // The process is only reaped once neither the stop callback nor the timer can signal its
    // group any more, so a kill can never hit a recycled process id.
    std::mutex guard;
    std::condition_variable endedSignal;
    bool ended = false;
    bool timedOut = false;
    const auto killGroup = [&] {  // with guard held
        if (!ended) ::kill(-pid, SIGKILL);
    };
    const std::stop_callback killer(stop, [&] {
        const std::lock_guard lock(guard);
        killGroup();
    });
    std::thread timer;
    std::exception_ptr timerError;
    if (timeLimit.count() > 0) {
        try {
            timer = std::thread([&] {
                std::unique_lock lock(guard);
                if (endedSignal.wait_for(lock, timeLimit, [&] { return ended; })) return;
                timedOut = true;
                killGroup();
            });
        } catch (...) {
            // Unwatched, it could run for ever.
            timerError = std::current_exception();
            const std::lock_guard lock(guard);
            killGroup();
        }
    }

    int collectError = 0;
    siginfo_t info{};
    while (waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOWAIT) != 0) {
        if (errno != EINTR) {
            collectError = errno;
            break;
        }
    }
    {
        const std::lock_guard lock(guard);
        ended = true;
    }
    endedSignal.notify_one();
    if (timer.joinable()) timer.join();
    int status = 0;
    while (collectError == 0 && waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) collectError = errno;
    }
    if (timerError) std::rethrow_exception(timerError);
    if (collectError != 0)
        throw std::system_error(collectError, std::generic_category(), "cannot collect the end of " + command[0]);
    if (timedOut) throw TimeLimitExceeded(command[0] + " ran past its time limit");
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
    return -1;
}

}  // namespace kadrel
