#pragma once
#include <vector>

#include "align/pairhmm/Posteriors.h"

namespace kadrel::pairhmm {

// One directed entry of the library: a residue's partner in the other sequence and its weight.
struct Entry {
    int partner = 0;
    int weight = 0;
};
// Per residue (index 1..length; 0 unused) its entries, ordered by partner.
using Entries = std::vector<std::vector<Entry>>;

struct Library {
    Entries x;  // X's residues -> Y
    Entries y;  // Y's residues -> X
};

// The strongest cells, at most 4 * min(I, J) of them (among equal weights the later-scanned
// cells are kept), each entered in both directions.
Library PrimaryLibrary(std::vector<LibraryCell> cells, int lengthX, int lengthY);

// Each weight divided by the smaller degree of its two residues, the last residue of either
// sequence left as it was; then entries of weight 10 or less dropped.
Library Relaxed(const Library& primary);

// t_coffee's SCORE of a two-sequence library: how much of it is consistent with itself, 0..100.
int LibraryScore(const Library& library);

// A scored point of the sparse programme: residue i of P against residue j of Q.
struct Point {
    int i = 0;
    int j = 0;
    long long score = 0;
};

// The point scores t_coffee derives from P's entries (P being the sequence of length l1 that the
// programme runs along): each weight shared out over the residue's entries. Residue l1 and
// partner l2 give no points.
std::vector<Point> PointScores(const Entries& fromP, int l1, int l2);

}  // namespace kadrel::pairhmm
