#include "align/pairhmm/SparseDp.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <utility>

namespace kadrel::pairhmm {
namespace {

constexpr long long kNoMatch = -99'999'999;
constexpr long long kBorderMatch = -1'000'000;
constexpr long long kBorderClosed = -10'000'000;
constexpr int kRowsScanned = 100;  // how many rows ahead a run's end looks for the next run

struct Mark {
    int i = 0;
    int j = 0;
    bool start = false;
};

// The ends and starts of the library's diagonal runs, in (i, j) order.
std::vector<Mark> RunMarks(const std::vector<Point>& libraryPoints, int l1, int l2) {
    // By (d, i), through one packed key per point.
    std::vector<std::pair<std::uint64_t, std::uint32_t>> keys(libraryPoints.size());
    for (std::size_t a = 0; a < keys.size(); ++a) {
        const Point& p = libraryPoints[a];
        keys[a] = {(static_cast<std::uint64_t>(l1 - p.i + p.j) << 32) | static_cast<std::uint32_t>(p.i),
                   static_cast<std::uint32_t>(a)};
    }
    std::sort(keys.begin(), keys.end());
    std::vector<Point> points(keys.size());
    for (std::size_t a = 0; a < keys.size(); ++a) points[a] = libraryPoints[keys[a].second];
    std::vector<Mark> marks;
    const Point none{-10, -10, 0};
    for (std::size_t a = 0; a < points.size(); ++a) {
        const Point& p = points[a];
        if (p.score == 0) continue;
        const Point& before = a > 0 ? points[a - 1] : none;
        const Point& after = a + 1 < points.size() ? points[a + 1] : none;
        const bool start = p.i != 0 && p.j != 0 && p.i != before.i && p.j != before.j &&
                           !(p.i - before.i == 1 && p.j - before.j == 1);
        const bool term = p.i != l1 && p.j != l2 && p.i != after.i && p.j != after.j &&
                          !(after.i - p.i == 1 && after.j - p.j == 1);
        // A lone point is both; t_coffee records it twice, as an end each time.
        if (start && term) marks.push_back({p.i, p.j, false});
        if (start || term) marks.push_back({p.i, p.j, !term});
    }
    std::stable_sort(marks.begin(), marks.end(),
                     [](const Mark& a, const Mark& b) { return a.i != b.i ? a.i < b.i : a.j < b.j; });
    return marks;
}

// Score-0 points along the diagonals from each run's end to the nearest run start ahead of it,
// so that the programme can step from one run to the next.
void AddBridges(const std::vector<Mark>& marks, std::vector<Point>& points) {
    for (std::size_t t = 0; t < marks.size(); ++t) {
        if (marks[t].start) continue;
        const int ti = marks[t].i, tj = marks[t].j;
        int rows = 0, row = ti;
        int bestDelta = 0;
        const Mark* best = nullptr;
        for (std::size_t s = t + 1; s < marks.size() && rows < kRowsScanned; ++s) {
            if (!marks[s].start) continue;
            const int si = marks[s].i, sj = marks[s].j;
            if (si > row) {
                ++rows;
                row = si;
            }
            const int delta = std::min(si - ti, sj - tj);
            if (delta > 0 && (best == nullptr || delta < bestDelta)) {
                best = &marks[s];
                bestDelta = delta;
            }
        }
        if (best == nullptr) continue;
        for (int k = 0; ti + k <= best->i && tj + k <= best->j; ++k) points.push_back({ti + k, tj + k, 0});
        for (int k = 0; best->i - k >= ti && best->j - k >= tj; ++k) points.push_back({best->i - k, best->j - k, 0});
    }
}

struct Cell {
    long long mm = 0, mi = 0, mj = 0;
    char fromMM = 0, fromMI = 0, fromMJ = 0;  // the matrix each move came from: 'm', 'i', 'j'
    int pi = -1, pj = -1, pd = -1;            // the predecessors in column, row and diagonal
};

char Best(long long mm, long long mi, long long mj) {
    if (mm >= mi && mm >= mj) return 'm';
    return mi >= mj ? 'i' : 'j';
}

long long Of(const Cell& cell, char matrix) {
    return matrix == 'm' ? cell.mm : matrix == 'i' ? cell.mi : cell.mj;
}

}  // namespace

std::vector<Column> SparseAlignment(const std::vector<Point>& libraryPoints, int l1, int l2) {
    std::vector<Point> points = libraryPoints;
    AddBridges(RunMarks(libraryPoints, l1, l2), points);
    for (int j = 0; j <= l2; ++j) {
        points.push_back({0, j, 0});
        points.push_back({l1, j, 0});
    }
    for (int i = 1; i < l1; ++i) {
        points.push_back({i, 0, 0});
        points.push_back({i, l2, 0});
    }
    // One point per (i, j), the highest score kept: rows by counting, then each short row sorted.
    std::vector<int> rowStart(static_cast<std::size_t>(l1) + 2, 0);
    for (const Point& p : points) ++rowStart[static_cast<std::size_t>(p.i) + 1];
    for (int i = 0; i <= l1; ++i) rowStart[static_cast<std::size_t>(i) + 1] += rowStart[static_cast<std::size_t>(i)];
    std::vector<Point> byRow(points.size());
    {
        std::vector<int> next(rowStart.begin(), rowStart.end() - 1);
        for (const Point& p : points) byRow[static_cast<std::size_t>(next[static_cast<std::size_t>(p.i)]++)] = p;
    }
    for (int i = 0; i <= l1; ++i) {
        std::sort(byRow.begin() + rowStart[static_cast<std::size_t>(i)], byRow.begin() + rowStart[static_cast<std::size_t>(i) + 1],
                  [](const Point& a, const Point& b) { return a.j != b.j ? a.j < b.j : a.score > b.score; });
    }
    byRow.erase(std::unique(byRow.begin(), byRow.end(),
                            [](const Point& a, const Point& b) { return a.i == b.i && a.j == b.j; }),
                byRow.end());
    points = std::move(byRow);

    // The predecessors: in the row the point before; in the column and on the diagonal the last
    // point met there so far, going in (i, j) order. A point with no predecessor on its diagonal
    // gets none: its predecessor in (d, i) order lies on another diagonal and is not used.
    const int n = static_cast<int>(points.size());
    std::vector<Cell> cells(points.size());
    std::vector<int> lastInColumn(static_cast<std::size_t>(l2) + 1, -1);
    std::vector<int> lastOnDiagonal(static_cast<std::size_t>(l1 + l2) + 1, -1);
    for (int a = 0; a < n; ++a) {
        const Point& p = points[static_cast<std::size_t>(a)];
        auto& column = lastInColumn[static_cast<std::size_t>(p.j)];
        auto& diagonal = lastOnDiagonal[static_cast<std::size_t>(l1 - p.i + p.j)];
        cells[static_cast<std::size_t>(a)].pi = column;
        cells[static_cast<std::size_t>(a)].pd = diagonal;
        column = diagonal = a;
    }

    for (int a = 0; a < n; ++a) {
        const Point& p = points[a];
        Cell& cell = cells[a];
        cell.pj = a - 1;
        if (p.i == 0 || p.j == 0) {
            cell.mm = kBorderMatch;
            cell.mi = p.j == 0 ? 0 : kBorderClosed;
            cell.mj = p.j == 0 ? kBorderClosed : 0;
            continue;
        }
        const Cell& up = cells[cell.pi];
        cell.mi = std::max(up.mi, up.mm);
        cell.fromMI = up.mi >= up.mm ? 'i' : 'm';
        const Cell& left = cells[cell.pj];
        cell.mj = std::max(left.mj, left.mm);
        cell.fromMJ = left.mj >= left.mm ? 'j' : 'm';
        const Point* diagonal = cell.pd >= 0 ? &points[cell.pd] : nullptr;
        if (diagonal != nullptr && p.i - diagonal->i == p.j - diagonal->j) {
            const Cell& d = cells[cell.pd];
            cell.fromMM = Best(d.mm, d.mi, d.mj);
            cell.mm = Of(d, cell.fromMM) + p.score;
        } else {
            cell.mm = kNoMatch;
        }
    }

    std::vector<Column> columns;
    int a = n - 1;  // (l1, l2), the last point in (i, j) order
    char matrix = Best(cells[a].mm, cells[a].mi, cells[a].mj);
    while (points[a].i != 0 || points[a].j != 0) {
        const Point& p = points[a];
        if (p.i == 0 || p.j == 0) {
            for (int k = p.j; k > 0; --k) columns.push_back({0, k});
            for (int k = p.i; k > 0; --k) columns.push_back({k, 0});
            break;
        }
        const Cell& cell = cells[a];
        const int from = matrix == 'm' ? cell.pd : matrix == 'i' ? cell.pi : cell.pj;
        const char next = matrix == 'm' ? cell.fromMM : matrix == 'i' ? cell.fromMI : cell.fromMJ;
        if (from < 0 || next == 0) break;  // unreachable: every move has a start
        const Point& q = points[from];
        if (matrix == 'm')
            for (int k = 0; k < p.i - q.i; ++k) columns.push_back({p.i - k, p.j - k});
        else if (matrix == 'i')
            for (int k = p.i; k > q.i; --k) columns.push_back({k, 0});
        else
            for (int k = p.j; k > q.j; --k) columns.push_back({0, k});
        a = from;
        matrix = next;
    }
    std::reverse(columns.begin(), columns.end());
    return columns;
}

}  // namespace kadrel::pairhmm
