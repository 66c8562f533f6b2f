#include "model/Fixed16.h"

#include <cmath>

namespace tessera {

Fixed16 Fixed16::FromRealAddingHalf(double value) {
    const double fixed = std::trunc(value * 65536 + 0.5);
    if (!(fixed > INT32_MIN && fixed < INT32_MAX)) return FromRaw(fixed > 0 ? INT32_MAX : INT32_MIN);  // or NaN
    return FromRaw(static_cast<std::int32_t>(fixed));
}

Fixed16 Fixed16::FromRealRounded(double value) {
    return FromRaw(static_cast<std::int32_t>(value * 65536 + (value < 0 ? -0.5 : 0.5)));
}

}  // namespace tessera
