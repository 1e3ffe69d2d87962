#pragma once
#include <optional>
#include <stop_token>
#include <string>
#include <vector>

#include "calc/ReportSink.h"
#include "calc/SequenceSet.h"
#include "cli/PairTables.h"

namespace kadrel::cli {

// Why the table or the matrix file (an empty path: not wanted) must not be written: it is a file
// of the sets or another output of the run. No value when both are safe.
std::optional<std::string> TableFilesProblem(const SequenceSet& set1, const SequenceSet& set2,
                                             const std::string& table, const std::string& matrix,
                                             const std::vector<std::string>& otherOutputs);

// Passes the report on to `inner` and writes the pair table and the distance matrix beside it,
// each if wanted. A failed write stops the run, as a failed report does.
class TableSink : public ReportSink {
public:
    TableSink(ReportSink& inner, std::stop_source stop);
    // Opens the files (an empty path: not wanted); a message when one cannot be written.
    std::optional<std::string> Open(const std::string& table, const std::string& matrix, DistanceModel model);
    // Writes the matrix line of a record the run was stopped in; a message when a write failed.
    std::optional<std::string> Finish();

    void Append(std::string_view text) override { inner_.Append(text); }
    void RecordFinished(std::size_t index) override;
    void Progress(std::size_t done, std::size_t total) override { inner_.Progress(done, total); }
    void Warning(std::string_view message) override { inner_.Warning(message); }
    void RecordWarning(std::string_view message, bool pairsFail) override {
        inner_.RecordWarning(message, pairsFail);
    }
    void SecondNames(const std::vector<std::string>& names) override;
    void RecordBegun(std::size_t index, std::string_view name) override;
    void PairDone(std::size_t first, std::size_t second, std::string_view name1, std::string_view name2,
                  const PairRow& row) override;
    void PairSkipped(std::size_t first, std::size_t second, std::string_view name1, std::string_view name2) override;

private:
    // The first failed write, naming its option, file and the system's reason.
    std::optional<std::string> Problem() const;

    ReportSink& inner_;
    std::stop_source stop_;
    std::optional<ReportOutput> tableFile_, matrixFile_;  // before the writers that write to them
    std::optional<PairTableWriter> table_;
    std::optional<DistanceMatrixWriter> matrix_;
};

}  // namespace kadrel::cli
