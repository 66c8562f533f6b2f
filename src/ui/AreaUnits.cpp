#include "ui/AreaUnits.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "strings/LocalNumbers.h"

namespace tessera {
namespace {

constexpr double kMillimetresPerPoint = 0.352777778;

struct UnitScale {
    double perPoint;   // the unit's value of one point
    double pointsPer;  // points in one of the unit (not quite the inverse, as stored)
    int decimals;
};

UnitScale ScaleOf(AreaUnit unit) {
    switch (unit) {
        case AreaUnit::Centimeters:
            return {0.0352777778, 28.3464567, 2};
        case AreaUnit::Millimeters:
            return {kMillimetresPerPoint, 2.83464567, 1};
        case AreaUnit::Points:
            return {1.0, 1.0, 1};
        case AreaUnit::Inches:
            break;
    }
    return {1.0 / 72.0, 72.0, 2};
}

}  // namespace

double RoundHalfAway(double value, int decimals) {
    const double scale = std::pow(10.0, decimals);
    return std::round(value * scale) / scale;  // std::round rounds halves away from zero
}

std::string ShowInUnit(Fixed16 distance, AreaUnit unit) {
    const UnitScale scale = ScaleOf(unit);
    return DecimalText(RoundHalfAway(distance.Real() * scale.perPoint, scale.decimals), scale.decimals);
}

std::optional<Fixed16> ReadInUnit(std::string_view text, AreaUnit unit) {
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    const std::optional<double> value = ReadDecimal(text);
    if (!value || !(*value >= 0 && *value <= 100000)) return std::nullopt;
    return Fixed16::FromRealAddingHalf(RoundHalfAway(*value * ScaleOf(unit).pointsPer, 1));
}

std::string DescribeDistance(Fixed16 distance) {
    const double points = distance.Real();
    return std::to_string(static_cast<int>(RoundHalfAway(points, 1))) + " pt / " +
           std::to_string(static_cast<int>(RoundHalfAway(points * kMillimetresPerPoint, 1))) + " mm / " +
           DecimalText(RoundHalfAway(points / 72, 2), 2) + " in";
}

}  // namespace tessera
