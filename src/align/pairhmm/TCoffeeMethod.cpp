#include "align/pairhmm/TCoffeeMethod.h"

#include "align/ClustalWriter.h"
#include "align/pairhmm/Library.h"
#include "align/pairhmm/PairInput.h"
#include "align/pairhmm/Posteriors.h"
#include "align/pairhmm/SparseDp.h"

namespace kadrel::pairhmm {

std::string MethodHeader(int score, std::size_t length, std::string_view cpuSeconds) {
    return "CLUSTAL FORMAT for T-COFFEE Version_13.41.0.28bdc39 [http://www.tcoffee.org] [MODE:  ], CPU=" +
           std::string(cpuSeconds) + " sec, SCORE=" + std::to_string(score) + ", Nseq=2, Len=" +
           std::to_string(length) + " ";
}

MethodResult Engine::Align(std::string_view fastaText) {
    MethodResult result;
    PairInput input = ReadPairInput(fastaText);
    if (!input.offPath.empty()) {
        result.offPath = std::move(input.offPath);
        return result;
    }
    // The model runs in name order; the programme along the shorter sequence (name order on a tie).
    const bool fileOrder = input.records[0].name < input.records[1].name;
    const PairRecord& x = input.records[fileOrder ? 0 : 1];
    const PairRecord& y = input.records[fileOrder ? 1 : 0];
    const int lengthX = static_cast<int>(x.residues.size());
    const int lengthY = static_cast<int>(y.residues.size());
    const Library library =
        Relaxed(PrimaryLibrary(MatchPosteriors(x.residues, y.residues, matrix_), lengthX, lengthY));
    const bool alongX = lengthX <= lengthY;
    const PairRecord& p = alongX ? x : y;
    const PairRecord& q = alongX ? y : x;
    const int l1 = alongX ? lengthX : lengthY;
    const int l2 = alongX ? lengthY : lengthX;
    const auto columns = SparseAlignment(PointScores(alongX ? library.x : library.y, l1, l2), l1, l2);

    std::string rowP, rowQ;
    rowP.reserve(columns.size());
    rowQ.reserve(columns.size());
    for (const Column& column : columns) {
        rowP += column.p > 0 ? p.residues[static_cast<std::size_t>(column.p - 1)] : '-';
        rowQ += column.q > 0 ? q.residues[static_cast<std::size_t>(column.q - 1)] : '-';
    }
    // Written in file order.
    const bool pFirst = &p == &input.records[0];
    const std::string header = MethodHeader(LibraryScore(library), columns.size());
    result.clustal = pFirst ? ClustalText(header, p.name, rowP, q.name, rowQ) : ClustalText(header, q.name, rowQ, p.name, rowP);
    return result;
}

}  // namespace kadrel::pairhmm
