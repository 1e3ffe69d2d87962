#pragma once
#include <chrono>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <stop_token>
#include <string>
#include <string_view>

#include "align/Aligner.h"
#include "align/tcoffee/WorkFolder.h"

namespace kadrel {

// Runs the external t_coffee, found on the search path, on one pair at a time. Make one per run:
// the private work folder is created at the first pair and removed with the aligner. Align may be
// called from several threads at once; each pair has its own files in the folder.
class TCoffeeAligner : public Aligner {
public:
    static constexpr std::chrono::seconds kDefaultTimeLimit{600};

    TCoffeeAligner();
    // The folder in which the private work folder is made; by default (empty) /dev/shm where it
    // is a writable RAM-backed file system, else the system's temp folder. A pair still aligning
    // after `timeLimit` (0: no limit) is killed and fails.
    explicit TCoffeeAligner(std::filesystem::path tempRoot, std::chrono::seconds timeLimit = kDefaultTimeLimit);
    ~TCoffeeAligner() override;
    TCoffeeAligner(const TCoffeeAligner&) = delete;
    TCoffeeAligner& operator=(const TCoffeeAligner&) = delete;

    AlignedPair Align(std::string_view firstRecord, std::string_view secondRecord,
                      std::string_view pairName, std::stop_token stop) override;

    // t_coffee's own output (the .aln text) for an input text given whole; no value on a failure,
    // with its reason in `failure`.
    std::optional<std::string> AlignText(std::string_view inputText, std::string_view pairName, std::stop_token stop,
                                         std::string& failure);

    // Empty when t_coffee is on the search path; otherwise how to install it.
    std::string CheckAvailable() const override;

private:
    std::filesystem::path EnsureWorkFolder();

    std::filesystem::path tempRoot_;
    std::chrono::seconds timeLimit_;
    std::mutex mutex_;
    std::unique_ptr<kadrel::WorkFolder> workFolder_;
};

}  // namespace kadrel
