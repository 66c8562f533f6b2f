#pragma once
// Page-area distances as the dialogs show them: each unit with its own
// rounding, all rounding half away from zero.
#include <optional>
#include <string>
#include <string_view>

#include "model/Fixed16.h"

namespace tessera {

// By the number the settings store keeps for it.
enum class AreaUnit { Inches = 0, Centimeters = 1, Millimeters = 2, Points = 3 };

double RoundHalfAway(double value, int decimals);
// The stored distance in the unit, as the area dialog's edits show it
// ("1.00" inches, "35.3" millimetres).
std::string ShowInUnit(Fixed16 distance, AreaUnit unit);
// A number typed in the unit, rounded to a tenth of a point, as stored; none
// unless it is a number from 0 to 100000.
std::optional<Fixed16> ReadInUnit(std::string_view text, AreaUnit unit);
// "100 pt / 35 mm / 1.39 in": the separator dialog's line for one edge.
std::string DescribeDistance(Fixed16 distance);

}  // namespace tessera
