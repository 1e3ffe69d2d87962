#include "align/TCoffeeAligner.h"

#include <sys/statfs.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <system_error>

#include "align/AlignerInput.h"
#include "align/AlignmentReader.h"
#include "align/ShellX.h"
#include "align/TextFile.h"

namespace kadrel {
namespace fs = std::filesystem;

namespace {

constexpr const char* kProgram = "t_coffee";

// Safe inside single quotes whatever the path holds (blanks, quotes, dollars).
std::string ShellQuoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

bool WriteFile(const fs::path& file, const std::string& text) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    return !out.fail();
}

AlignedPair Unusable(std::string why) {
    AlignedPair pair;
    pair.failure = std::move(why);
    return pair;
}

fs::path FindOnSearchPath(const std::string& program) {
    const char* path = std::getenv("PATH");
    std::string_view rest = path != nullptr ? path : "";
    while (true) {
        const auto colon = rest.find(':');
        const auto entry = rest.substr(0, colon);
        const fs::path candidate = fs::path(entry.empty() ? "." : std::string(entry)) / program;
        std::error_code ec;
        if (fs::is_regular_file(candidate, ec) && ::access(candidate.c_str(), X_OK) == 0) return candidate;
        if (colon == std::string_view::npos) return {};
        rest.remove_prefix(colon + 1);
    }
}

// A RAM-backed folder for the pair files and t_coffee's own scratch files, when there is one with
// room to spare (a container's may be small).
fs::path RamFolder() {
    const fs::path shm = "/dev/shm";
    struct statfs info {};
    constexpr long kTmpfs = 0x01021994;
    constexpr double kLeastFree = 256.0 * 1024 * 1024;
    if (::statfs(shm.c_str(), &info) != 0 || static_cast<long>(info.f_type) != kTmpfs) return {};
    if (static_cast<double>(info.f_bavail) * static_cast<double>(info.f_bsize) < kLeastFree) return {};
    return ::access(shm.c_str(), W_OK | X_OK) == 0 ? shm : fs::path{};
}

}  // namespace

TCoffeeAligner::TCoffeeAligner() : TCoffeeAligner(fs::path{}) {}

TCoffeeAligner::TCoffeeAligner(fs::path tempRoot) : tempRoot_(std::move(tempRoot)) {}

TCoffeeAligner::~TCoffeeAligner() = default;

std::string TCoffeeAligner::CheckAvailable() const {
    if (!FindOnSearchPath(kProgram).empty()) return {};
    return "t_coffee was not found on the search path (PATH). Kadrel aligns every pair with it: "
           "install it with \"sudo apt-get install t-coffee\" (Debian, Ubuntu), or put the "
           "directory holding t_coffee on PATH.";
}

fs::path TCoffeeAligner::EnsureWorkFolder() {
    const std::lock_guard lock(mutex_);
    if (!workFolder_ && tempRoot_.empty()) {
        if (const auto ram = RamFolder(); !ram.empty()) {
            try {
                workFolder_ = std::make_unique<kadrel::WorkFolder>(ram);
            } catch (const std::system_error&) {
                // The system's temp folder below.
            }
        }
    }
    if (!workFolder_) {
        std::error_code ec;
        const auto root = tempRoot_.empty() ? fs::temp_directory_path(ec) : tempRoot_;
        workFolder_ = std::make_unique<kadrel::WorkFolder>(root.empty() ? fs::path("/tmp") : root);
    }
    return workFolder_->Path();
}

AlignedPair TCoffeeAligner::Align(std::string_view firstRecord, std::string_view secondRecord,
                                  std::string_view pairName, std::stop_token stop) {
    fs::path folder;
    try {
        folder = EnsureWorkFolder();
    } catch (const std::system_error& e) {
        return Unusable(e.what());
    }
    const std::string name(pairName);
    const auto input = folder / (name + ".fas");
    const auto script = folder / (name + ".sh");
    const auto output = folder / (name + ".aln");

    if (!WriteFile(input, ComposeAlignerInput(firstRecord, secondRecord)) ||
        !WriteFile(script, "cd /\ncd " + ShellQuoted(folder.string()) + "\n" + kProgram + " " +
                               name + ".fas")) {
        std::error_code ignored;
        fs::remove(input, ignored);
        fs::remove(script, ignored);
        return Unusable("cannot write the aligner's input in " + folder.string());
    }

    // t_coffee's own folders (scratch, settings, locks, cache) are the pair's own: nothing is
    // shared with a concurrent call or left in the user's home, and they go with the pair (t_coffee
    // leaves about a megabyte of scratch files behind). Its start-up touches some 400 MB in small
    // blocks; letting malloc use huge pages makes that about a third cheaper and changes nothing
    // in the alignment. Settings the user made are kept.
    const auto own = folder / (name + ".t_coffee");
    std::vector<std::string> environment;
    const std::pair<const char*, const char*> ownFolders[] = {
        {"TMP_4_TCOFFEE", "tmp"}, {"DIR_4_TCOFFEE", "dir"},
        {"LOCKDIR_4_TCOFFEE", "lock"}, {"CACHE_4_TCOFFEE", "cache"}};
    for (const auto& [variable, subfolder] : ownFolders) {
        if (std::getenv(variable) != nullptr) continue;
        std::error_code ignored;
        fs::create_directories(own / subfolder, ignored);
        environment.push_back(std::string(variable) + "=" + (own / subfolder).string());
    }
    if (std::getenv("GLIBC_TUNABLES") == nullptr) environment.push_back("GLIBC_TUNABLES=glibc.malloc.hugetlb=1");
    int status = -1;
    std::string startError;
    try {
        status = ShellX({"/bin/sh", script.string()}, environment, stop);
    } catch (const std::system_error& e) {
        startError = e.what();
    }
    std::string readError;
    const auto text = ReadWholeFile(output, readError);

    // Only this pair's own files: another pair may be at work in the same folder.
    for (const char* extension : {".sh", ".fas", ".dnd", ".html", ".aln"}) {
        std::error_code ignored;
        fs::remove(folder / (name + extension), ignored);
    }
    std::error_code ignored;
    fs::remove_all(own, ignored);

    if (stop.stop_requested()) return Unusable("stopped");
    if (!startError.empty()) return Unusable(startError);
    if (!text) return Unusable("t_coffee wrote no alignment (exit status " + std::to_string(status) + ")");
    return ReadAlignedPair(*text);
}

}  // namespace kadrel
