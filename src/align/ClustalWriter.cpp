#include "align/ClustalWriter.h"

#include <algorithm>
#include <cstddef>

namespace kadrel {
namespace {

constexpr std::size_t kBlockColumns = 50;
constexpr std::size_t kLeastNameWidth = 16;

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

void AppendPadded(std::string& text, std::string_view name, std::size_t width) {
    text += name;
    text.append(width > name.size() ? width - name.size() : 0, ' ');
}

}  // namespace

std::string ClustalText(std::string_view headerLine, std::string_view firstName, std::string_view firstRow,
                        std::string_view secondName, std::string_view secondRow) {
    const std::size_t width = std::max(std::max(firstName.size(), secondName.size()) + 2, kLeastNameWidth);
    const std::size_t length = std::max(firstRow.size(), secondRow.size());
    std::string text;
    text.reserve(headerLine.size() + (length / kBlockColumns + 1) * (3 * (width + kBlockColumns + 1) + 1) + 8);
    text += headerLine;
    text += "\n\n";
    for (std::size_t from = 0; from < length; from += kBlockColumns) {
        const std::size_t count = std::min(kBlockColumns, length - from);
        AppendPadded(text, firstName, width);
        text += firstRow.substr(std::min(from, firstRow.size()), count);
        text += '\n';
        AppendPadded(text, secondName, width);
        text += secondRow.substr(std::min(from, secondRow.size()), count);
        text += '\n';
        text.append(width, ' ');
        for (std::size_t k = from; k < from + count; ++k) {
            const char a = k < firstRow.size() ? firstRow[k] : ' ';
            const char b = k < secondRow.size() ? secondRow[k] : ' ';
            text += IsLetter(a) && IsLetter(b) && Lower(a) == Lower(b) ? '*' : ' ';
        }
        text += "\n\n";
    }
    text += "\n\n";
    return text;
}

}  // namespace kadrel
