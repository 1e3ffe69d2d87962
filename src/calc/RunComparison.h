#pragma once
#include <cstddef>
#include <stop_token>
#include <string>

#include "align/Aligner.h"
#include "calc/ReportSink.h"
#include "calc/SequenceSet.h"
#include "distances/DistanceModel.h"

namespace kadrel {

struct RunOptions {
    DistanceModel model = DistanceModel::None;
    std::string decimalSeparator = ".";
    std::string bannerDate;          // the locale's short date and time, made by the front end
    unsigned concurrentPairs = 1;    // pairs aligned at once; rows still come out in loop order
};

struct RunSummary {
    std::size_t pairsCompared = 0;
    std::size_t pairsFailed = 0;  // rows holding NA
    bool stopped = false;
    // "done", "done (N of M pairs failed)" or "stopped"
    std::string StatusText() const;
};

// The whole comparison: header, rows in loop order (set 1 outer), a RecordFinished after every
// set-1 record, the "Best matches:" block. Failures are counted, never fatal; problems that do
// not stop the run go to sink.Warning. Every sink call is made on the calling thread. A stop
// request ends the run after the pairs in flight: the rows done stay and the "Best matches:"
// block covers them. Throws SetError only when a folder file vanished or became unreadable.
RunSummary RunComparison(const SequenceSet& set1, const SequenceSet& set2, const RunOptions& options,
                         Aligner& aligner, ReportSink& sink, std::stop_token stop);

}  // namespace kadrel
