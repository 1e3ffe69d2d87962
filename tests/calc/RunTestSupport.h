#pragma once
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "align/Aligner.h"
#include "align/AlignerInput.h"
#include "calc/ReportSink.h"

namespace kadrel::test {

// Aligns in process: the two sequences as they are, the shorter padded with gaps. A first
// sequence holding FAIL gives an unusable pair.
class FakeAligner : public Aligner {
public:
    AlignedPair Align(std::string_view firstRecord, std::string_view secondRecord, std::string_view pairName,
                      std::stop_token stop) override {
        if (beforeAlign) beforeAlign(std::string(pairName));
        AlignedPair pair;
        pair.first = Compact(SequenceLines(firstRecord));
        pair.second = Compact(SequenceLines(secondRecord));
        if (stop.stop_requested() || pair.first.find("FAIL") != std::string::npos) {
            pair.failure = stop.stop_requested() ? "stopped" : "the fake was told to fail";
            return pair;
        }
        const auto length = std::max(pair.first.size(), pair.second.size());
        pair.first.resize(length, '-');
        pair.second.resize(length, '-');
        pair.length = static_cast<double>(length);
        pair.usable = true;
        return pair;
    }

    std::function<void(const std::string&)> beforeAlign;  // runs on the aligning thread

private:
    static std::string Compact(std::string_view lines) {
        std::string text(lines);
        std::erase_if(text, [](char c) { return c == '\r' || c == '\n' || c == ' '; });
        return text;
    }
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
        if (onRecordFinished) onRecordFinished();
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
    std::function<void()> onRecordFinished;
};

// The lines of a text without their line ends (CR LF unless told otherwise).
inline std::vector<std::string> Lines(const std::string& text, const std::string& end = "\r\n") {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (auto at = text.find(end); at != std::string::npos; at = text.find(end, start)) {
        lines.push_back(text.substr(start, at - start));
        start = at + end.size();
    }
    return lines;
}

}  // namespace kadrel::test
