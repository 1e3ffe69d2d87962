#include "align/ShellX.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <mutex>
#include <system_error>

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
           std::stop_token stop) {
    if (command.empty()) throw std::system_error(EINVAL, std::generic_category(), "empty command");
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

    // The process is only reaped after the stop callback can no longer signal its group, so a
    // stop can never hit a recycled process id.
    std::mutex guard;
    bool ended = false;
    const std::stop_callback killer(stop, [&] {
        const std::lock_guard lock(guard);
        if (!ended) ::kill(-pid, SIGKILL);
    });

    siginfo_t info{};
    while (waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOWAIT) != 0 && errno == EINTR) {
    }
    {
        const std::lock_guard lock(guard);
        ended = true;
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
    return -1;
}

}  // namespace kadrel
