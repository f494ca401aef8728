#pragma once

#include "date_calculator.h"

// Types keys into a date or time calculator: U D L R are the arrows, C clears the cell and
// anything else is typed as a digit.
template <typename Calculator>
void pressCalendarKeys(Calculator& model, const char* keys)
{
    for (; *keys; ++keys) {
        switch (*keys) {
        case 'U': model.arrow(Arrow::Up); break;
        case 'D': model.arrow(Arrow::Down); break;
        case 'L': model.arrow(Arrow::Left); break;
        case 'R': model.arrow(Arrow::Right); break;
        case 'C': model.clearCell(); break;
        default: model.typeDigit(static_cast<char16_t>(*keys)); break;
        }
    }
}
