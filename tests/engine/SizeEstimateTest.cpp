#include "engine/SizeEstimate.h"

namespace tessera {
namespace {

// Pages 0 and 1 share object 9 (a font): pages written together carry it once.
TEST(SizeEstimateTest, AnObjectPagesShareCountsOnceAndTheMostPagesWithinABoundAreFound) {
    const std::vector<std::vector<host::ObjectBytes>> objects = {
        {{1, 100}, {9, 1000}}, {{2, 100}, {9, 1000}}, {{3, 100}}};
    SizeEstimate estimate(objects, {0, 1, 2});
    EXPECT_EQ(estimate.Of(0, 2), 1200);
    EXPECT_EQ(estimate.Of(1, 2), 1200) << "a run from another page starts afresh";
    EXPECT_EQ(estimate.Of(0, 3), 1300);
    EXPECT_EQ(estimate.CountWithin(0, 1250, 0, 4), 2u);
    EXPECT_EQ(estimate.CountWithin(0, 50, 0, 4), 1u) << "at least the first page past the low end";
    // A stream's data counts whole; what is written out counts at the weight measurement taught.
    const std::vector<std::vector<host::ObjectBytes>> stream = {{{5, 100, 1000}}};
    SizeEstimate weighted(stream, {0});
    weighted.SetWrittenWeight(0.25);
    EXPECT_EQ(weighted.Of(0, 1), 1025);
    const std::vector<std::vector<host::ObjectBytes>> none;
    SizeEstimate alike(none, {0, 1, 2});
    EXPECT_EQ(alike.Of(0, 3), 3) << "without the objects' bytes every page counts alike";
}

}  // namespace
}  // namespace tessera
