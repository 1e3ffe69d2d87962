#pragma once
// What the fuzz targets share: a check that stays on in release builds, and a scratch folder.
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

// A broken promise is a finding: abort, so that libFuzzer keeps the input.
#define FUZZ_CHECK(condition)                                                                  \
    do {                                                                                       \
        if (!(condition)) {                                                                    \
            std::fprintf(stderr, "broken: %s (%s:%d)\n", #condition, __FILE__, __LINE__);      \
            std::abort();                                                                      \
        }                                                                                      \
    } while (0)

namespace kadrel::fuzz {

// A private folder, in RAM when /dev/shm allows (files are written every run), removed at exit.
inline const std::filesystem::path& ScratchFolder() {
    static const std::filesystem::path folder = [] {
        const bool shm = ::access("/dev/shm", W_OK) == 0;
        std::string pattern = (shm ? std::filesystem::path("/dev/shm")
                                   : std::filesystem::temp_directory_path()) / "kadrel-fuzz-XXXXXX";
        if (::mkdtemp(pattern.data()) == nullptr) std::abort();
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(ScratchFolder(), ignored);
        });
        return std::filesystem::path(pattern);
    }();
    return folder;
}

}  // namespace kadrel::fuzz
