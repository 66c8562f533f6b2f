#include "ui/AreaUnits.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

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
        case AreaUnit::Centimeters: return {0.0352777778, 28.3464567, 2};
        case AreaUnit::Millimeters: return {kMillimetresPerPoint, 2.83464567, 1};
        case AreaUnit::Points: return {1.0, 1.0, 1};
        case AreaUnit::Inches: break;
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
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", scale.decimals,
                  RoundHalfAway(distance.Real() * scale.perPoint, scale.decimals));
    return text;
}

std::optional<Fixed16> ReadInUnit(std::string_view text, AreaUnit unit) {
    const std::string copy(text);
    char* end = nullptr;
    const double value = std::strtod(copy.c_str(), &end);
    while (end && (*end == ' ' || *end == '\t')) ++end;
    if (copy.empty() || end == copy.c_str() || *end != '\0' || !(value >= 0 && value <= 100000)) return std::nullopt;
    return Fixed16::FromRealAddingHalf(RoundHalfAway(value * ScaleOf(unit).pointsPer, 1));
}

std::string DescribeDistance(Fixed16 distance) {
    const double points = distance.Real();
    char text[96];
    std::snprintf(text, sizeof text, "%d pt / %d mm / %4.2f in", static_cast<int>(RoundHalfAway(points, 1)),
                  static_cast<int>(RoundHalfAway(points * kMillimetresPerPoint, 1)), RoundHalfAway(points / 72, 2));
    return text;
}

}  // namespace tessera
