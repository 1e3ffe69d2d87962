#include "calc/FastqRecords.h"

#include <algorithm>
#include <stdexcept>

namespace kadrel {
namespace {

class Lines {
public:
    explicit Lines(std::string_view text) : text_(text) {}
    bool Next(std::string_view& line) {
        if (at_ >= text_.size()) return false;
        const std::size_t end = std::min(text_.find_first_of("\r\n", at_), text_.size());
        line = text_.substr(at_, end - at_);
        at_ = end + (text_.substr(end, 2) == "\r\n" ? 2 : 1);
        ++number_;
        return true;
    }
    std::size_t Number() const { return number_; }

private:
    std::string_view text_;
    std::size_t at_ = 0;
    std::size_t number_ = 0;
};

[[noreturn]] void Wrong(std::size_t line, const std::string& what) {
    throw std::runtime_error("line " + std::to_string(line) + ": " + what);
}

}  // namespace

std::vector<std::string> FastqPieces(std::string_view text) {
    std::vector<std::string> pieces(1);
    Lines lines(text);
    std::string_view line;
    while (lines.Next(line)) {
        if (line.find_first_not_of(" \t") == std::string_view::npos) continue;  // blank lines between reads
        if (!line.starts_with('@')) Wrong(lines.Number(), "a read must begin with '@'");
        std::string piece(line.substr(1));
        piece += '\n';
        const std::size_t header = lines.Number();
        std::size_t bases = 0;
        // The sequence may be wrapped; the '+' line ends it.
        for (;;) {
            if (!lines.Next(line)) Wrong(header, "the read has no '+' line");
            if (line.starts_with('+')) break;
            piece += line;
            bases += line.size();
        }
        // So may the qualities, one per base: they end when they are as many as the bases.
        std::size_t qualities = 0;
        while (qualities < bases) {
            if (!lines.Next(line)) Wrong(header, "the read has fewer qualities than bases");
            qualities += line.size();
        }
        if (qualities != bases) Wrong(lines.Number(), "the read has more qualities than bases");
        pieces.push_back(std::move(piece += '\n'));
    }
    return pieces;
}

}  // namespace kadrel
