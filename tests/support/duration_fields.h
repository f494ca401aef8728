#pragma once

#include <cstdint>
#include <ostream>

#include "duration.h"

// A duration's day, hour, minute and second fields, compared and printed as one value.
struct DurationFields {
    std::int64_t d, h, m, s;
};

inline DurationFields fieldsOf(const Duration& t)
{
    return {t.days(), t.hours(), t.minutes(), t.seconds()};
}

inline bool operator==(const DurationFields& a, const DurationFields& b)
{
    return a.d == b.d && a.h == b.h && a.m == b.m && a.s == b.s;
}

inline std::ostream& operator<<(std::ostream& out, const DurationFields& f)
{
    return out << f.d << "d " << f.h << "h " << f.m << "m " << f.s << "s";
}
