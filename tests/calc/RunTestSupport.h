#pragma once
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "align/Aligner.h"
#include "align/AlignerInput.h"
#include "calc/ReportSink.h"

namespace kadrel::test {

// Aligns in process: the two sequences as they are, the shorter padded with gaps. A sequence
// holding FAIL gives an unusable pair. Records every pair name it is asked for.
class FakeAligner : public Aligner {
public:
    AlignedPair Align(std::string_view firstRecord, std::string_view secondRecord, std::string_view pairName,
                      std::stop_token stop) override {
        {
            const std::lock_guard lock(mutex_);
            calls_.emplace_back(pairName);
        }
        if (beforeAlign) beforeAlign(std::string(pairName));
        AlignedPair pair;
        if (stop.stop_requested()) {
            pair.failure = "stopped";
            return pair;
        }
        pair.first = Compact(SequenceLines(firstRecord));
        pair.second = Compact(SequenceLines(secondRecord));
        if (pair.first.find("FAIL") != std::string::npos) {
            pair.failure = "the fake was told to fail";
            return pair;
        }
        const auto length = std::max(pair.first.size(), pair.second.size());
        pair.first.resize(length, '-');
        pair.second.resize(length, '-');
        pair.length = static_cast<double>(length);
        pair.usable = true;
        return pair;
    }

    void Reset() {
        const std::lock_guard lock(mutex_);
        calls_.clear();
        beforeAlign = nullptr;
    }

    std::vector<std::string> Calls() const {
        const std::lock_guard lock(mutex_);
        return calls_;
    }

    std::function<void(const std::string&)> beforeAlign;  // runs on the aligning thread

private:
    static std::string Compact(std::string_view lines) {
        std::string text;
        for (char c : lines)
            if (c != '\r' && c != '\n' && c != ' ') text += c;
        return text;
    }

    mutable std::mutex mutex_;
    std::vector<std::string> calls_;
};

// Keeps everything a run sends, and what the report was at every finished set-1 record.
class MemorySink : public ReportSink {
public:
    void Append(std::string_view text) override {
        EXPECT_EQ(std::this_thread::get_id(), runThread);
        report += text;
    }
    void RecordFinished(std::size_t index) override {
        EXPECT_EQ(std::this_thread::get_id(), runThread);
        finished.push_back(index);
        reportAtFinish.push_back(report);
        if (onRecordFinished) onRecordFinished(index);
    }
    void Progress(std::size_t done, std::size_t total) override {
        EXPECT_EQ(std::this_thread::get_id(), runThread);
        progress.emplace_back(done, total);
    }
    void Warning(std::string_view message) override { warnings.emplace_back(message); }

    std::thread::id runThread = std::this_thread::get_id();
    std::string report;
    std::vector<std::size_t> finished;
    std::vector<std::string> reportAtFinish;
    std::vector<std::pair<std::size_t, std::size_t>> progress;
    std::vector<std::string> warnings;
    std::function<void(std::size_t)> onRecordFinished;
};

// The lines of a CR LF text, without their line ends.
inline std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (auto end = text.find("\r\n"); end != std::string::npos; end = text.find("\r\n", start)) {
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

// The lines of a LF text.
inline std::vector<std::string> LinesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (auto end = text.find('\n'); end != std::string::npos; end = text.find('\n', start)) {
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

// The first `n` tab-separated fields of a line, joined by '|'.
inline std::string Fields(const std::string& line, int n) {
    std::string out;
    std::size_t start = 0;
    for (int i = 0; i < n; ++i) {
        const auto tab = line.find('\t', start);
        if (i) out += '|';
        out += line.substr(start, tab == std::string::npos ? std::string::npos : tab - start);
        if (tab == std::string::npos) break;
        start = tab + 1;
    }
    return out;
}

}  // namespace kadrel::test
