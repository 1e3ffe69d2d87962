#include "align/tcoffee/TCoffeeAligner.h"

#include <sys/statfs.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <system_error>
#include <vector>

#include "align/AlignerInput.h"
#include "align/AlignmentReader.h"
#include "align/tcoffee/ShellX.h"
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

// Empty when written; otherwise the system's reason (a full disk, a removed folder).
std::string WriteFile(const fs::path& file, const std::string& text) {
    errno = 0;
    std::FILE* out = std::fopen(file.c_str(), "wb");
    if (out == nullptr) return std::strerror(errno);
    const bool written = std::fwrite(text.data(), 1, text.size(), out) == text.size();
    int error = errno;
    const bool closed = std::fclose(out) == 0;
    if (written && closed) return {};
    if (written) error = errno;
    return std::strerror(error != 0 ? error : EIO);
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

// A line of t_coffee's standard error with its blanks and control characters squeezed to one
// space; empty unless it says something (its closing banner and trace back say nothing new).
std::string Said(std::string_view line) {
    std::string said;
    for (const char c : line) {
        if (static_cast<unsigned char>(c) > ' ') said += c;
        else if (!said.empty() && said.back() != ' ') said += ' ';
    }
    if (!said.empty() && said.back() == ' ') said.pop_back();
    const auto first = static_cast<unsigned char>(said.empty() ? '#' : said[0]);
    if (first == '#' || first == '*' || std::isdigit(first)) return {};
    return std::any_of(said.begin(), said.end(), [](unsigned char c) { return std::isalpha(c); }) ? said : "";
}

// The end of what t_coffee wrote on its standard error, where its error messages are, on one
// line: the last two distinct lines that say something.
std::string LastWords(const fs::path& file) {
    std::ifstream in(file, std::ios::binary | std::ios::ate);
    if (!in) return {};
    constexpr std::streamoff kTail = 4096;
    in.seekg(std::max<std::streamoff>(0, static_cast<std::streamoff>(in.tellg()) - kTail));
    const std::string tail{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::vector<std::string> kept;  // the last one first
    for (std::size_t end = tail.size(); end > 0 && kept.size() < 2;) {
        const auto begin = tail.find_last_of("\r\n", end - 1);
        const std::size_t from = begin == std::string::npos ? 0 : begin + 1;
        const std::string said = Said(std::string_view(tail).substr(from, end - from));
        if (!said.empty() && std::find(kept.begin(), kept.end(), said) == kept.end()) kept.push_back(said);
        end = begin == std::string::npos ? 0 : begin;
    }
    std::string words;
    for (auto line = kept.rbegin(); line != kept.rend(); ++line) words += (words.empty() ? "" : " / ") + *line;
    constexpr std::size_t kLongest = 300;
    return words.size() > kLongest ? words.substr(0, kLongest) + "..." : words;
}

}  // namespace

TCoffeeAligner::TCoffeeAligner() : TCoffeeAligner(fs::path{}) {}

TCoffeeAligner::TCoffeeAligner(fs::path tempRoot, std::chrono::seconds timeLimit)
    : tempRoot_(std::move(tempRoot)), timeLimit_(timeLimit) {}

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
    std::string failure;
    const auto text = AlignText(ComposeAlignerInput(firstRecord, secondRecord), pairName, stop, failure);
    return text ? ReadAlignedPair(*text) : Unusable(failure);
}

std::optional<std::string> TCoffeeAligner::AlignText(std::string_view inputText, std::string_view pairName,
                                                     std::stop_token stop, std::string& failure) {
    const auto fail = [&failure](std::string why) {
        failure = std::move(why);
        return std::optional<std::string>();
    };
    if (stop.stop_requested()) return fail("stopped");
    fs::path folder;
    try {
        folder = EnsureWorkFolder();
    } catch (const std::system_error& e) {
        return fail(e.what());
    }
    const std::string name(pairName);
    const auto input = folder / (name + ".fas");
    const auto script = folder / (name + ".sh");
    const auto output = folder / (name + ".aln");
    // t_coffee's own folders (scratch, settings, home, locks, cache) are the pair's own: nothing
    // is shared with a concurrent call or left in the user's home, a user without a writable home
    // can run it, and they go with the pair (t_coffee leaves about a megabyte of scratch files
    // behind). Its standard error is kept there too, for the reason of a failure.
    const auto own = folder / (name + ".t_coffee");
    const auto errors = own / "stderr.txt";
    std::error_code ownError;
    fs::create_directories(own, ownError);

    std::string why = ownError ? ownError.message()
                               : WriteFile(input, std::string(inputText));
    if (why.empty())
        why = WriteFile(script, "cd /\ncd " + ShellQuoted(folder.string()) + "\nexec 2>" +
                                    ShellQuoted(errors.string()) + "\n" + kProgram + " " + name + ".fas");
    if (!why.empty()) {
        std::error_code ignored;
        fs::remove(input, ignored);
        fs::remove(script, ignored);
        fs::remove_all(own, ignored);
        return fail("cannot write the aligner's input in " + folder.string() + ": " + why);
    }

    // Its start-up touches some 400 MB in small blocks; letting malloc use huge pages makes that
    // about a third cheaper and changes nothing in the alignment. Settings the user made are kept.
    std::vector<std::string> environment;
    const std::pair<const char*, const char*> ownFolders[] = {
        {"TMP_4_TCOFFEE", "tmp"}, {"DIR_4_TCOFFEE", "dir"}, {"HOME_4_TCOFFEE", "home"},
        {"LOCKDIR_4_TCOFFEE", "lock"}, {"CACHE_4_TCOFFEE", "cache"}};
    for (const auto& [variable, subfolder] : ownFolders) {
        if (std::getenv(variable) != nullptr) continue;
        std::error_code ignored;
        fs::create_directories(own / subfolder, ignored);
        environment.push_back(std::string(variable) + "=" + (own / subfolder).string());
    }
    if (std::getenv("GLIBC_TUNABLES") == nullptr) environment.push_back("GLIBC_TUNABLES=glibc.malloc.hugetlb=1");
    int status = -1;
    std::string runError;
    try {
        status = ShellX({"/bin/sh", script.string()}, environment, stop, timeLimit_);
    } catch (const TimeLimitExceeded&) {
        runError = std::string(kProgram) + " took longer than " + std::to_string(timeLimit_.count()) +
                   " s and was stopped";
    } catch (const std::system_error& e) {
        runError = e.what();
    }
    std::string readError;
    const auto text = runError.empty() ? ReadWholeFile(output, readError) : std::nullopt;
    const std::string said = text ? std::string() : LastWords(errors);

    // Only this pair's own files: another pair may be at work in the same folder.
    for (const char* extension : {".sh", ".fas", ".dnd", ".html", ".aln"}) {
        std::error_code ignored;
        fs::remove(folder / (name + extension), ignored);
    }
    std::error_code ignored;
    fs::remove_all(own, ignored);

    if (stop.stop_requested()) return fail("stopped");
    if (!runError.empty()) return fail(runError);
    if (!text) {
        return fail(std::string(kProgram) + " wrote no alignment (exit status " + std::to_string(status) + ")" +
                    (said.empty() ? "" : ": " + said));
    }
    return text;
}

}  // namespace kadrel
