#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kadrel::pairhmm {

struct MethodResult {
    std::string clustal;  // the .aln t_coffee writes, with CPU=0.00
    std::string offPath;  // why t_coffee would not use its two-sequence DNA method; then no text
};

// t_coffee's default alignment of a two-record DNA FASTA text, in process. One engine serves one
// thread at a time and keeps its working space from pair to pair.
class Engine {
public:
    MethodResult Align(std::string_view fastaText);

private:
    std::vector<float> matrix_;
};

// t_coffee's first line of the .aln (it ends with a blank).
std::string MethodHeader(int score, std::size_t length, std::string_view cpuSeconds = "0.00");

}  // namespace kadrel::pairhmm
