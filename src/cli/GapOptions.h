#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "calc/ReuseStore.h"
#include "cli/GapOutputs.h"

namespace kadrel::cli {

// The command line of `kadrel gap`.
struct GapOptions {
    std::string library;
    std::string model = "k2p";
    bool classic = false;
    std::string taxonomy;
    GapOutputFiles out;
    std::string from = "0.001", to = "0.05", by = "0.001";
    std::string shard, pairs;       // --shard K/N writes its pairs, to --pairs or standard output
    std::vector<std::string> join;  // the pairs of every shard, for the tables of the whole run
    std::string backup = "gap.bak";  // a whole run's pairs so far, which --resume goes on from
    bool noBackup = false;
    bool backupGiven = false;  // --backup named on the command line
    bool resume = false;
    unsigned jobs = 0;
    std::string aligner = "t_coffee";
    unsigned alignerTimeout = 600;
    std::size_t reuseLimit = kDefaultReuseLimit;
    bool noReuse = false;
    bool verbose = false;
};

}  // namespace kadrel::cli
