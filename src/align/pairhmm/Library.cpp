#include "align/pairhmm/Library.h"

#include <algorithm>
#include <charconv>
#include <cstddef>
#include <system_error>

namespace kadrel::pairhmm {
namespace {

void SortByPartner(Entries& entries) {
    for (auto& list : entries)
        std::sort(list.begin(), list.end(), [](const Entry& a, const Entry& b) { return a.partner < b.partner; });
}

// The new weights of one side, computed from the primary library alone.
Entries RelaxSide(const Entries& from, const Entries& other) {
    Entries relaxed(from.size());
    const std::size_t last = from.size() - 1;
    for (std::size_t r = 1; r < from.size(); ++r) {
        const auto degree = static_cast<int>(from[r].size());
        for (const Entry& entry : from[r]) {
            int weight = entry.weight;
            if (r != last) {
                const int otherDegree = static_cast<int>(other[static_cast<std::size_t>(entry.partner)].size());
                weight /= std::min(degree, otherDegree);
            }
            if (weight > 10) relaxed[r].push_back({entry.partner, weight});
        }
    }
    return relaxed;
}

// t_coffee prints the share with "%f" and reads it back before truncating it, so a value a
// hair below a whole number counts as that number. The same decimal text, whatever the locale.
long long RoundTripped(float share) {
    char text[64];
    const auto printed = std::to_chars(text, text + sizeof text, static_cast<double>(share),
                                       std::chars_format::fixed, 6);
    float back = 0.0f;
    std::from_chars(text, printed.ptr, back);
    return static_cast<long long>(back);
}

}  // namespace

Library PrimaryLibrary(std::vector<LibraryCell> cells, int lengthX, int lengthY) {
    // Heaviest first; among equal weights the cell scanned later, as t_coffee's ascending
    // stable sort followed by a reversal leaves them.
    std::sort(cells.begin(), cells.end(), [](const LibraryCell& a, const LibraryCell& b) {
        if (a.weight != b.weight) return a.weight > b.weight;
        if (a.i != b.i) return a.i > b.i;
        return a.j > b.j;
    });
    const std::size_t cap = 4 * static_cast<std::size_t>(std::min(lengthX, lengthY));
    if (cells.size() > cap) cells.resize(cap);
    Library library;
    library.x.resize(static_cast<std::size_t>(lengthX) + 1);
    library.y.resize(static_cast<std::size_t>(lengthY) + 1);
    for (const LibraryCell& cell : cells) {
        library.x[static_cast<std::size_t>(cell.i)].push_back({cell.j, cell.weight});
        library.y[static_cast<std::size_t>(cell.j)].push_back({cell.i, cell.weight});
    }
    SortByPartner(library.x);
    SortByPartner(library.y);
    return library;
}

Library Relaxed(const Library& primary) {
    return {RelaxSide(primary.x, primary.y), RelaxSide(primary.y, primary.x)};
}

int LibraryScore(const Library& library) {
    long long all = 0, consistent = 0;
    const auto sum = [&](const Entries& from, const Entries& other) {
        for (std::size_t r = 1; r < from.size(); ++r) {
            for (const Entry& step : from[r]) {
                for (const Entry& back : other[static_cast<std::size_t>(step.partner)]) {
                    const long long least = std::min(step.weight, back.weight);
                    all += least;
                    if (back.partner == static_cast<int>(r)) consistent += least;
                }
            }
        }
    };
    sum(library.x, library.y);
    sum(library.y, library.x);
    if (all == 0) return 0;
    return static_cast<int>((static_cast<double>(consistent) * 100.0) / static_cast<double>(all));
}

std::vector<Point> PointScores(const Entries& fromP, int l1, int l2) {
    std::vector<Point> points;
    for (int p1 = 1; p1 < l1; ++p1) {
        const auto& list = fromP[static_cast<std::size_t>(p1)];
        const auto n = static_cast<float>(list.size());
        float total = 0.0f;
        for (const Entry& entry : list) total += static_cast<float>(entry.weight) / 1000.0f;
        for (const Entry& entry : list) {
            if (entry.partner == l2) continue;
            const float u = static_cast<float>(entry.weight) / 1000.0f;
            if (!(u / total > 0.01f)) continue;
            points.push_back({p1, entry.partner, RoundTripped((u / n) * 1000.0f)});
        }
    }
    return points;
}

}  // namespace kadrel::pairhmm
