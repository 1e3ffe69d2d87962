#include "FastaRecords.h"

namespace lutrane {

std::vector<FastaRecord> CutRecords(std::string_view fileText) {
    std::vector<FastaRecord> records;
    std::size_t start = fileText.find('>');
    while (start != std::string_view::npos) {
        const std::size_t next = fileText.find('>', start + 1);
        const std::string_view text = fileText.substr(start, next == std::string_view::npos ? next : next - start);
        const std::string_view afterMark = text.substr(1);
        const std::string_view name = afterMark.substr(0, afterMark.find_first_of("\r\n"));
        records.push_back({std::string(name), std::string(text)});
        start = next;
    }
    return records;
}

}  // namespace lutrane
