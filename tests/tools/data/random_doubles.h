#pragma once

// Random finite doubles of a chosen kind, for round trips through the data files.

#include <bit>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

enum class DoubleKind {
    Tiny,      // below 2^-17 in magnitude, subnormals included, either sign
    Huge,      // from 2^77 in magnitude up to the largest double, either sign
    Negative,  // -0.001 to -1.7e7: decimals such as -123456.5 and full 17-digit values
    AnyBits,   // every finite bit pattern alike
    Mixed,     // each of the above in turn, and whole numbers on both sides of 2^53
};

inline double fromParts(std::uint64_t sign, std::uint64_t exponent, std::uint64_t mantissa)
{
    return std::bit_cast<double>((sign << 63) | (exponent << 52) | (mantissa & ((1ULL << 52) - 1)));
}

inline double randomDouble(DoubleKind kind, std::mt19937_64& random)
{
    const std::uint64_t bits = random();
    const std::uint64_t sign = bits >> 63;
    switch (kind) {
    case DoubleKind::Tiny: return fromParts(sign, random() % 1006, bits);
    case DoubleKind::Huge: return fromParts(sign, 1100 + random() % 947, bits);
    case DoubleKind::Negative: {
        const double magnitude =
            std::ldexp(1.0 + static_cast<double>(bits >> 12) * 0x1p-52, static_cast<int>(random() % 34) - 10);
        // Half of them with two decimals, as typed (-123456.5, -0.25).
        return random() % 2 ? -std::round(magnitude * 100) / 100 : -magnitude;
    }
    case DoubleKind::AnyBits:
        for (;;) {
            const double value = std::bit_cast<double>(random());
            if (std::isfinite(value))
                return value;
        }
    case DoubleKind::Mixed:
        switch (random() % 5) {
        case 0: return randomDouble(DoubleKind::Tiny, random);
        case 1: return randomDouble(DoubleKind::Huge, random);
        case 2: return randomDouble(DoubleKind::Negative, random);
        case 3: return randomDouble(DoubleKind::AnyBits, random);
        default: return static_cast<double>(static_cast<std::int64_t>(random()) >> (random() % 20));
        }
    }
    return 0.0;
}

// The bit patterns of values, so that a comparison tells -0 from 0 and sees every last bit.
inline std::vector<std::uint64_t> bitPatterns(const std::vector<double>& values)
{
    std::vector<std::uint64_t> bits;
    bits.reserve(values.size());
    for (double value : values)
        bits.push_back(std::bit_cast<std::uint64_t>(value));
    return bits;
}
