#pragma once
// A 16.16 fixed-point number (the value times 65536 in a signed 32-bit
// integer), the form page areas are kept and stored in. Where a real number
// becomes fixed, the rounding is the one that place has always used, so the
// two ways in are named after their rounding.
#include <compare>
#include <cstdint>

namespace tessera {

class Fixed16 {
public:
    constexpr Fixed16() = default;
    static constexpr Fixed16 FromRaw(std::int32_t raw) {
        Fixed16 f;
        f.raw_ = raw;
        return f;
    }
    // The value times 65536, plus 0.5, cut toward zero: rounding half up
    // down to -0.5 units; below, one unit above that except at exact halves
    // (-2.0, -2.2, -2.5 and -2.7 units give -1, -1, -2, -2). Beyond the
    // 32-bit range the nearest limit, NaN the lowest. Profiles read areas so.
    static Fixed16 FromRealAddingHalf(double value);
    // The value times 65536 rounded half away from zero; the value must lie
    // within +-32767. The command line reads areas so.
    static Fixed16 FromRealRounded(double value);

    constexpr std::int32_t Raw() const { return raw_; }
    constexpr double Real() const { return raw_ / 65536.0; }

    friend constexpr auto operator<=>(Fixed16, Fixed16) = default;

private:
    std::int32_t raw_ = 0;
};

}  // namespace tessera
