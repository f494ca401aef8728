#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "value_cell.h"

// The engine's 30 named cells.
class VariableSlots {
public:
    static constexpr int kCount = 30;
    static constexpr int kResult = 0;     // VVV: result of the last top-level evaluation
    static constexpr int kAnswer = 1;     // VRE: the kept last answer
    static constexpr int kFirstUser = 2;  // VA
    static constexpr int kReserved = 28;  // VLRE
    static constexpr int kList = 29;      // LIST: the statistics list as one column

    // Index of the slot with this name, compared in upper case; -1 when none matches.
    static int find(std::string_view name);
    static std::string_view name(int index);

    ValueCell& operator[](int index) { return cells_[static_cast<std::size_t>(index)]; }
    const ValueCell& operator[](int index) const { return cells_[static_cast<std::size_t>(index)]; }

    void clear(int index) { (*this)[index].clear(); }
    void clearAll();
    void storeMatrix(int index, std::uint16_t rows, std::uint16_t cols, const double* elements)
    {
        (*this)[index].storeMatrix(rows, cols, elements);
    }
    void storeScalar(int index, double re, double im = 0.0) { (*this)[index].storeScalar(re, im); }

private:
    std::array<ValueCell, kCount> cells_{};
};
