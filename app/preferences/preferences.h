#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "input_mode.h"
#include "result_format.h"

// A civil date as the preferences keep it: the biorhythm birth date. The time of day is always
// 00:00:00, so only the three fields are held. An invalid date has all three fields at -1.
struct StoredDate {
    int year = -1;
    int month = -1;
    int day = -1;

    static StoredDate invalid() { return {}; }

    // Gregorian: years 1..9999, months 1..12, days up to the month's length (29 February only
    // in leap years).
    constexpr bool isValid() const;

    friend bool operator==(const StoredDate&, const StoredDate&) = default;
};

constexpr bool isLeapYear(int year)
{
    return year % 400 == 0 || (year % 100 != 0 && year % 4 == 0);
}

// Days in the month, or 0 when the month is not 1..12.
constexpr int daysInMonth(int year, int month)
{
    constexpr int kLengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    return month == 2 && isLeapYear(year) ? 29 : kLengths[month - 1];
}

constexpr bool StoredDate::isValid() const
{
    return year >= 1 && year <= 9999 && day >= 1 && day <= daysInMonth(year, month);
}

// The categories that hard-key scrolling can visit, as category codes, in their default order.
inline constexpr std::array<std::uint8_t, 9> kNavCategoryCodes = {0, 1, 2, 6, 7, 8, 9, 10, 14};

// Names of those categories, in the same order.
inline constexpr std::array<std::u16string_view, 9> kNavCategoryNames = {
    u"Arithmetic",         u"Trigonometry", u"Base conversion", u"Tip",        u"Unit converter",
    u"Currency converter", u"Constants",    u"Biorhythm",       u"Date - Time"};

// Index of a category code in kNavCategoryNames (codes 0..2 keep their value, 6..10 become
// code - 3, 14 becomes 8), or -1 for a code that hard-key scrolling cannot visit.
constexpr int navCategoryIndex(int code)
{
    if (code >= 0 && code <= 2)
        return code;
    if (code >= 6 && code <= 10)
        return code - 3;
    return code == 14 ? 8 : -1;
}

// True when the nine codes are the nine scrollable categories, each exactly once.
constexpr bool isValidNavOrder(const std::array<std::uint8_t, 9>& order)
{
    std::array<bool, 9> seen{};
    for (const std::uint8_t code : order) {
        const int index = navCategoryIndex(code);
        if (index < 0 || seen[static_cast<std::size_t>(index)])
            return false;
        seen[static_cast<std::size_t>(index)] = true;
    }
    return true;
}

// Where the currency rates come from: the European Central Bank's daily euro reference rates.
inline constexpr std::u16string_view kDefaultRateSourceUrl =
    u"https://www.ecb.europa.eu/stats/eurofxref/eurofxref-daily.xml";
inline constexpr std::size_t kMaxRateSourceUrlLength = 255;

inline constexpr std::uint32_t kMaxTransparencyLevel = 50;
inline constexpr std::uint32_t kMinTapHoldInterval = 200;
inline constexpr std::uint32_t kMaxTapHoldInterval = 600;
inline constexpr std::uint8_t kMaxFixDigits = 10;
inline constexpr std::uint8_t kMaxCategoryCode = 14;

// The user's settings, one record for the whole front end. A default-constructed record holds
// every default except the birth date, which is today's date after PreferencesStore::reset
// and invalid until then.
struct Preferences {
    bool transparencyEnabled = true;
    std::uint32_t transparencyLevel = 8;  // 0..50
    bool tapHoldEnabled = true;
    std::uint32_t tapHoldInterval = 200;  // milliseconds, 200..600
    std::uint8_t fixDigits = 4;           // 0..10
    bool hardKeyScrolling = true;
    bool soundEnabled = true;
    bool tooltipsEnabled = true;
    // navEnabled[i] tells whether the category navOrder[i] takes part in hard-key scrolling.
    std::array<bool, 9> navEnabled = {true, true, true, true, true, true, true, true, true};
    std::array<std::uint8_t, 9> navOrder = kNavCategoryCodes;
    std::u16string soundName = u"Sound 01.wav";  // inside "Sounds/"
    std::u16string skinName = u"default.inf";    // inside "Interfaces/"
    std::uint8_t lastCategory = 0;
    StoredDate rememberedDate;
    InputMode inputMode = InputMode::StringStandard;
    // United States or European: the file has no text for Other, which is written as the default.
    OutputFormat outputFormat = OutputFormat::UnitedStates;
    // The address the currency update downloads from.
    std::u16string rateSourceUrl = std::u16string(kDefaultRateSourceUrl);
    // "Pocket keyboard letters": typed letters act as the pocket computer's letter keys (W E R
    // type 1 2 3, P and Q scroll the categories) instead of building names.
    bool pocketKeyboardLetters = false;
    // "Pocket line editing": after "=" the keys edit the evaluated line, as on the pocket
    // computer, instead of starting a new expression.
    bool pocketLineEditing = false;

    friend bool operator==(const Preferences&, const Preferences&) = default;
};
