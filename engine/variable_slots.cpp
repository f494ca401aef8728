#include "variable_slots.h"

#include "ascii.h"

namespace {

// Index order matters: stored files and the front end address slots by index.
constexpr std::array<std::string_view, VariableSlots::kCount> kNames = {
    "VVV", "VRE", "VA", "VB", "VC", "VD", "VE", "VF", "VG", "VH", "VI", "VJ", "VK", "VL",   "VM",
    "VN",  "VO",  "VP", "VQ", "VR", "VS", "VT", "VU", "VV", "VX", "VY", "VZ", "VW", "VLRE", "LIST",
};

}  // namespace

int VariableSlots::find(std::string_view name)
{
    for (std::size_t i = 0; i < kNames.size(); ++i) {
        if (ascii::equalsUpper(name, kNames[i]))
            return static_cast<int>(i);
    }
    return -1;
}

std::string_view VariableSlots::name(int index)
{
    return kNames[static_cast<std::size_t>(index)];
}

void VariableSlots::clearAll()
{
    for (auto& cell : cells_)
        cell.clear();
}
