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

InnerMarkers FindInnerMarkers(std::string_view fileText) {
    InnerMarkers found;
    std::size_t line = 1, record = 0;
    bool begun = false;
    for (std::size_t i = 0; i < fileText.size(); ++i) {
        const char c = fileText[i];
        if (c == '\n' || (c == '\r' && (i + 1 == fileText.size() || fileText[i + 1] != '\n'))) ++line;
        if (c != '>') continue;
        const bool beginsLine = i == 0 || fileText[i - 1] == '\n' || fileText[i - 1] == '\r';
        if (begun && !beginsLine && found.count++ == 0) {
            found.firstLine = line;
            found.firstRecord = record + 1;
        }
        record += begun ? 1 : 0;
        begun = true;
    }
    return found;
}

}  // namespace lutrane
