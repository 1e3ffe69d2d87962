#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "calc/BestMatches.h"

namespace kadrel {
namespace {

// Several records in order, and records without a candidate, are covered by the run's tests.
TEST(BestMatches, SmallestValueBelowTenWithTheFirstOfEqualValues) {
    using Offers = std::vector<std::pair<const char*, std::optional<double>>>;
    const struct {
        const char* what;
        Offers offers;
        std::string line;
    } cases[] = {
        {"ties go to the lowest position", {{"p1", 0.25}, {"p2", 0.1}, {"p3", 0.1}}, "q\tp2\t0,1\r\n"},
        {"ten and above are never chosen", {{"p1", 10}, {"p2", 12.5}}, "q\t\tNA\r\n"},
        {"just below ten is", {{"p1", 10}, {"p2", 9.999}}, "q\tp2\t9,999\r\n"},
        {"NA is no candidate", {{"p1", std::nullopt}, {"p2", 0.3}}, "q\tp2\t0,3\r\n"},
        {"only NA", {{"p1", std::nullopt}}, "q\t\tNA\r\n"},
        {"zero wins", {{"p1", 0.02}, {"p2", 0}}, "q\tp2\t0\r\n"},
    };
    for (const auto& c : cases) {
        BestMatches best;
        best.BeginRecord("q");
        for (const auto& [name, value] : c.offers) best.Offer(name, value);
        EXPECT_EQ(best.Text(","), "Best matches:\r\n" + c.line) << c.what;
    }
}

}  // namespace
}  // namespace kadrel
