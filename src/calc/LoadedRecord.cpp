#include "calc/LoadedRecord.h"

#include "align/TextFile.h"
#include "calc/RecordChecks.h"

namespace kadrel {

namespace {

std::string Describe(const SequenceSet& set, const SequenceRecord& record) {
    if (set.source == SetSource::Folder) return QuotedPath(set.folderPath / record.fileName);
    return "record " + QuotedPath(record.name) + " of " + QuotedPath(set.chosenFile);
}

}  // namespace

LoadedRecord LoadForRun(const SequenceSet& set, std::size_t index, bool textbook) {
    LoadedRecord loaded;
    try {
        loaded.record = LoadRecord(set, index);
    } catch (const SetError& e) {
        loaded.record.fileName = set.fileNames.at(index);
        loaded.record.name = FolderRecordName(loaded.record.fileName);
        loaded.problem = std::string(e.what()) + "; its pairs are reported as NA";
        return loaded;
    }
    const RecordCheck check = CheckRecordText(loaded.record.text, textbook);
    if (check.problem)
        loaded.problem = Describe(set, loaded.record) + " " + *check.problem + "; its pairs are reported as NA";
    if (check.note) loaded.note = Describe(set, loaded.record) + ": " + *check.note;
    return loaded;
}

}  // namespace kadrel
