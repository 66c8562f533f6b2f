#include "model/Fixed16.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace tessera {
namespace {

TEST(Fixed16Test, TheTwoWaysInDifferBelowZeroAndAtTheLimits) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        double value;
        std::int32_t addingHalf, rounded;
    } cases[] = {
        {72.0, 72 * 65536, 72 * 65536},
        {10.00001, 10 * 65536 + 1, 10 * 65536 + 1},
        {2.5 / 65536, 3, 3},
        {-2.5 / 65536, -2, -3},
        {-2.7 / 65536, -2, -3},
        {-2.2 / 65536, -1, -2},
        {-72.0, -72 * 65536 + 1, -72 * 65536},  // adding half moves every negative whole number up a step
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Fixed16::FromRealAddingHalf(c.value).Raw(), c.addingHalf) << c.value;
        EXPECT_EQ(Fixed16::FromRealRounded(c.value).Raw(), c.rounded) << c.value;
    }
    EXPECT_EQ(Fixed16::FromRealAddingHalf(1e10).Raw(), INT32_MAX);
    EXPECT_EQ(Fixed16::FromRealAddingHalf(-1e10).Raw(), INT32_MIN);
    EXPECT_EQ(Fixed16::FromRealAddingHalf(nan).Raw(), INT32_MIN);
}

TEST(Fixed16Test, RealIsExact) {
    EXPECT_EQ(Fixed16::FromRaw(1).Real(), 1.0 / 65536);
    EXPECT_EQ(Fixed16::FromRaw(INT32_MIN).Real(), -32768.0);
    EXPECT_EQ(Fixed16::FromRaw(10 * 65536 + 1).Real(), 10 + 1.0 / 65536);
}

}  // namespace
}  // namespace tessera
