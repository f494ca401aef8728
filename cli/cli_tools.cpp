#include "cli_tools.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <ostream>
#include <vector>

#include "ascii.h"
#include "c_number.h"
#include "cli_runner.h"
#include "constant_table.h"
#include "conversion_table.h"
#include "converter.h"
#include "date_calculator.h"
#include "lunar_date.h"
#include "preferences.h"
#include "preferences_store.h"
#include "printable_text.h"
#include "program_folder.h"
#include "rate_update.h"
#include "solar_date.h"
#include "unit_categories.h"
#include "utf16.h"

namespace {

namespace fs = std::filesystem;

// What a tool prints: each line a result, or an error that makes the exit status 1.
class ToolOutput {
public:
    explicit ToolOutput(std::ostream& out) : out_(out) {}
    void line(const std::string& text) { out_ << text << "\n"; }
    void failure(const std::string& text)
    {
        out_ << text << "\n";
        failed_ = true;
    }
    int status() const { return failed_ ? 1 : 0; }

private:
    std::ostream& out_;
    bool failed_ = false;
};

std::u16string folded(std::u16string_view text)
{
    std::u16string out;
    for (char16_t c : text)
        out.push_back(c == u'_' ? u' ' : ascii::toLower(c));
    return out;
}

std::string isoDate(const SolarDate& date)
{
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", date.year(), date.month(), date.day());
    return text;
}

// Reads digits only; nothing for no digit or more than `most`.
std::optional<int> digitsAt(std::string_view text, std::size_t& pos, std::size_t most)
{
    const std::size_t start = pos;
    int value = 0;
    while (pos < text.size() && ascii::isDigit(text[pos]) && pos - start < most)
        value = value * 10 + (text[pos++] - '0');
    if (pos == start)
        return std::nullopt;
    return value;
}

// ---- units and currencies ----

struct UnitChoice {
    std::u16string symbol;
    std::u16string name;
    std::u16string category;
    bool currency = false;
};

std::vector<UnitChoice> allUnits(const fs::path& folder)
{
    std::vector<UnitChoice> choices;
    UnitCategories units(folder / "units.dat");
    std::vector<UnitCategory> categories;
    units.categories(categories);
    for (const UnitCategory& category : categories) {
        std::vector<UnitRecord> records;
        units.unitsOf(category.name, records);
        for (const UnitRecord& record : records)
            choices.push_back({record.symbol, record.name, category.name, false});
    }
    ConversionTable rates;
    rates.load(folder / currency::kFileName);
    for (const UnitRecord& record : rates.units())
        choices.push_back({record.symbol, record.name, u"Currency", true});
    return choices;
}

// The units a name stands for: exact symbols first, then their ASCII spellings, then names
// without regard to case, then symbols whose first word it is ("mpg" for "mpg US"). Several
// when a unit is listed in several categories, or when the name is ambiguous.
std::vector<UnitChoice> resolveUnit(const std::vector<UnitChoice>& choices, const std::string& text)
{
    const std::u16string wanted = fromUtf8(text);
    const std::vector<std::function<bool(const UnitChoice&)>> rules = {
        [&](const UnitChoice& c) { return c.symbol == wanted; },
        [&](const UnitChoice& c) { return asciiSpelling(c.symbol) == text; },
        [&](const UnitChoice& c) { return folded(c.name) == folded(wanted); },
        [&](const UnitChoice& c) { return c.symbol.starts_with(wanted + u' '); },
    };
    for (const auto& rule : rules) {
        std::vector<UnitChoice> found;
        for (const UnitChoice& choice : choices)
            if (rule(choice))
                found.push_back(choice);
        if (!found.empty())
            return found;
    }
    return {};
}

int convert(const CliOptions& options, const fs::path& folder, ToolOutput& output)
{
    const std::vector<UnitChoice> choices = allUnits(folder);
    const std::string& fromText = options.toolArguments[0];
    const std::string& toText = options.toolArguments[1];
    const std::vector<UnitChoice> from = resolveUnit(choices, fromText);
    const std::vector<UnitChoice> to = resolveUnit(choices, toText);
    for (const auto& [found, text] : {std::pair{&from, &fromText}, std::pair{&to, &toText}}) {
        if (found->empty()) {
            output.failure("Unknown unit. (" + *text + ")");
            return output.status();
        }
        std::vector<std::string> symbols;
        for (const UnitChoice& choice : *found) {
            const std::string symbol = printableText(choice.symbol);
            if (std::find(symbols.begin(), symbols.end(), symbol) == symbols.end())
                symbols.push_back(symbol);
        }
        if (symbols.size() > 1) {
            std::string message = "Ambiguous unit " + *text + ":";
            for (std::size_t k = 0; k < symbols.size(); ++k)
                message += (k == 0 ? " " : ", ") + symbols[k];
            output.failure(message);
            return output.status();
        }
    }
    const auto shared = std::find_if(from.begin(), from.end(), [&](const UnitChoice& a) {
        return std::any_of(to.begin(), to.end(), [&](const UnitChoice& b) { return a.category == b.category; });
    });
    if (shared == from.end()) {
        output.failure("The units are of different kinds. (" + fromText + " is " + printableText(from[0].category) +
                       ", " + toText + " is " + printableText(to[0].category) + ")");
        return output.status();
    }
    ConversionTable table;
    table.load(folder / (shared->currency ? std::string(currency::kFileName) : std::string("units.dat")));
    const std::u16string& toSymbol =
        std::find_if(to.begin(), to.end(), [&](const UnitChoice& b) { return b.category == shared->category; })->symbol;
    const std::optional<UnitConversion> conversion = table.convert(shared->symbol, toSymbol);
    if (!conversion) {
        output.failure(printableText(table.errorText()));
        return output.status();
    }

    CliRunner values(options);
    std::vector<std::string> texts(options.toolArguments.begin() + 2, options.toolArguments.end());
    if (texts.empty())
        texts.push_back("1");
    for (const std::string& text : texts) {
        std::string error;
        const std::optional<double> value = values.realValue(text, error);
        if (!value) {
            output.failure(error);
            continue;
        }
        if (options.raw) {
            const double raw = conversion->unrounded(*value);
            output.line(cnum::general17(raw == 0.0 ? 0.0 : raw));
            continue;
        }
        const double result = conversion->apply(*value);
        output.line(
            printableText(Converter::formatResult(result, options.output.value_or(OutputFormat::UnitedStates))));
    }
    return output.status();
}

int listUnits(const CliOptions& options, const fs::path& folder, ToolOutput& output)
{
    UnitCategories units(folder / "units.dat");
    std::vector<UnitCategory> categories;
    if (!units.categories(categories)) {
        output.failure("Cannot open the data file. (units.dat)");
        return output.status();
    }
    if (options.toolArguments.empty()) {
        for (const UnitCategory& category : categories)
            output.line(printableText(category.name));
        return output.status();
    }
    const std::u16string wanted = folded(fromUtf8(options.toolArguments[0]));
    for (const UnitCategory& category : categories) {
        if (folded(category.name) != wanted)
            continue;
        std::vector<UnitRecord> records;
        units.unitsOf(category.name, records);
        for (const UnitRecord& record : records)
            output.line(printableText(record.symbol) + "\t" + printableText(record.name));
        return output.status();
    }
    output.failure("Unknown category. (" + options.toolArguments[0] + ")");
    return output.status();
}

// ---- constants ----

struct Constant {
    std::u16string name;  // without its unit
    std::u16string unit;
    std::u16string value;
};

std::vector<Constant> allConstants(const fs::path& folder, bool& readable)
{
    ConstantTable table(folder / ConstantTable::kFileName);
    std::vector<UnitCategory> categories;
    readable = table.categories(categories);
    std::vector<Constant> constants;
    for (const UnitCategory& category : categories) {
        std::vector<ConstantEntry> entries;
        table.constantsOf(category.name, entries);
        for (const ConstantEntry& entry : entries) {
            Constant constant{entry.name, {}, entry.value};
            // "Planck constant h [J·s]": the unit is the bracket at the end.
            const std::size_t open = entry.name.rfind(u" [");
            if (open != std::u16string::npos && entry.name.back() == u']') {
                constant.name = entry.name.substr(0, open);
                constant.unit = entry.name.substr(open + 2, entry.name.size() - open - 3);
            }
            constants.push_back(std::move(constant));
        }
    }
    return constants;
}

int showConstant(const CliOptions& options, const fs::path& folder, ToolOutput& output)
{
    bool readable = false;
    const std::vector<Constant> constants = allConstants(folder, readable);
    const std::string& text = options.toolArguments[0];
    const std::u16string wanted = folded(fromUtf8(text));
    // Whole names first, then the symbol that ends a name ("h", "NA"), then the start of a name.
    const std::vector<std::function<bool(const Constant&)>> rules = {
        [&](const Constant& c) { return folded(c.name) == wanted || folded(c.name + u" [" + c.unit + u"]") == wanted; },
        [&](const Constant& c) {
            const std::size_t blank = c.name.rfind(u' ');
            return blank != std::u16string::npos && c.name.substr(blank + 1) == fromUtf8(text);
        },
        [&](const Constant& c) { return folded(c.name).starts_with(wanted) && !wanted.empty(); },
    };
    for (const auto& rule : rules) {
        std::vector<const Constant*> found;
        for (const Constant& constant : constants)
            if (rule(constant))
                found.push_back(&constant);
        if (found.size() == 1) {
            output.line(printableText(found[0]->value) + "\t" + printableText(found[0]->unit));
            return output.status();
        }
        if (found.size() > 1) {
            std::string names;
            for (const Constant* constant : found)
                names += (names.empty() ? "" : "; ") + printableText(constant->name);
            output.failure("Ambiguous constant. (" + text + ": " + names + ")");
            return output.status();
        }
    }
    output.failure(readable ? "Unknown constant. (" + text + ")"
                            : std::string("Cannot open the data file. (const.dat)"));
    return output.status();
}

int listConstants(const fs::path& folder, ToolOutput& output)
{
    bool readable = false;
    for (const Constant& constant : allConstants(folder, readable))
        output.line(printableText(constant.name) + "\t" + printableText(constant.value) + "\t" +
                    printableText(constant.unit));
    if (!readable)
        output.failure("Cannot open the data file. (const.dat)");
    return output.status();
}

// ---- currency rates ----

int listRates(const fs::path& folder, ToolOutput& output)
{
    const fs::path file = folder / currency::kFileName;
    ConversionTable table;
    if (!table.load(file)) {
        output.failure(printableText(table.errorText()) + " (currency.dat)");
        return output.status();
    }
    output.line(currency::dateOf(file));
    for (const UnitRecord& record : table.units())
        output.line(printableText(record.symbol) + "\t" + currency::rateText(record.isBase() ? 1.0 : record.factor) +
                    "\t" + printableText(record.name));
    return output.status();
}

int updateRates(const CliOptions& options, const fs::path& folder, ToolOutput& output)
{
    std::string url = options.url.value_or("");
    if (url.empty()) {
        Preferences preferences;
        PreferencesStore(folder).load(preferences);
        url = toUtf8(preferences.rateSourceUrl);
    }
    RateUpdate update(folder / currency::kFileName);
    update.setUrl(url);
    if (update.run())
        output.line(update.date());
    else
        output.failure(update.errorMessage() + "\n" + update.errorDetail());
    return output.status();
}

// ---- dates ----

int lunarOf(const CliDate& date, ToolOutput& output)
{
    const LunarDate lunar = LunarDate::solarToLunar(SolarDate::make(date.year, date.month, date.day));
    // The year's name: the stem and branch of the sexagenary cycle (4 AD is Giap Ty).
    const int stem = ((lunar.year() + 6) % 10 + 10) % 10;
    const int branch = ((lunar.year() + 8) % 12 + 12) % 12;
    output.line(std::to_string(lunar.day()) + "/" + std::to_string(lunar.month()) + "/" + std::to_string(lunar.year()) +
                (lunar.leap() != 0 ? " leap" : "") + "\t" + printableText(LunarDate::stemName(stem)) + " " +
                printableText(LunarDate::branchName(branch)));
    return output.status();
}

int solarOf(const CliLunarDate& date, ToolOutput& output)
{
    // A leap month exists only in the year whose month list has it; month 11 and 12 belong to
    // the list of the following civil year.
    const std::vector<LunarMonthStart> months =
        LunarDate::lunarYearMonths(date.month >= 11 ? date.year + 1 : date.year);
    const bool exists = std::any_of(months.begin(), months.end(), [&](const LunarMonthStart& start) {
        return start.number == date.month && start.leap == (date.leap ? 1 : 0);
    });
    const std::string name = std::to_string(date.month) + "/" + std::to_string(date.year);
    if (!exists) {
        output.failure("No leap month " + name + ": lunar year " + std::to_string(date.year) + " has no leap month " +
                       std::to_string(date.month) + ".");
        return output.status();
    }
    const LunarDate lunar(date.year, date.month, date.day, date.leap ? 1 : 0);
    const SolarDate solar = LunarDate::lunarToSolar(lunar);
    const LunarDate back = LunarDate::solarToLunar(solar);
    if (back.day() != date.day || back.month() != date.month || back.leap() != lunar.leap()) {
        output.failure("No day " + std::to_string(date.day) + " in lunar month " + name + (date.leap ? " leap" : "") +
                       ".");
        return output.status();
    }
    output.line(isoDate(solar));
    return output.status();
}

int daysBetween(const CliDate& from, const CliDate& to, ToolOutput& output)
{
    // The date calculator takes its dates from its clock: From, then To.
    CalendarFields now{from.year, from.month, from.day, from.hour, from.minute, from.second};
    auto interval = [&now](const CliDate& a, const CliDate& b) {
        now = {a.year, a.month, a.day, a.hour, a.minute, a.second};
        DateCalculator calculator(DateOrder::DayFirst, [&now] { return now; });
        calculator.fromNow();
        now = {b.year, b.month, b.day, b.hour, b.minute, b.second};
        calculator.toNow();
        const bool later = !calculator.computeInterval().has_value();
        return std::pair{later, calculator.intervalEntry().value()};
    };
    auto [forward, duration] = interval(from, to);
    if (!forward) {
        // To is earlier: the interval the other way, negated.
        const Duration back = interval(to, from).second;
        duration = Duration(-back.days(), -back.hours(), -back.minutes(), -back.seconds());
    }
    if (!from.hasTime && !to.hasTime) {
        output.line(std::to_string(duration.days()));
        return output.status();
    }
    output.line(printableText(duration.daysText()) + " d " + printableText(duration.hoursText()) + " h " +
                printableText(duration.minutesText()) + " m " + printableText(duration.secondsText()) + " s");
    return output.status();
}

int weekdayOf(const CliDate& date, ToolOutput& output)
{
    const int mondayFirst = SolarDate::make(date.year, date.month, date.day).weekday();
    output.line(printableText(LunarDate::weekdayName(mondayFirst - 1, NameRow::English)));
    return output.status();
}

}  // namespace

std::string asciiSpelling(std::u16string_view symbol)
{
    std::string out;
    for (char16_t c : symbol) {
        switch (c) {
        case u'\u00B0': out += "deg"; break;
        case u'\u00B5':
        case u'\u03BC': out += "u"; break;
        case u'\u00B2': out += "2"; break;
        case u'\u00B3': out += "3"; break;
        case u'\u2074': out += "4"; break;
        case u'\u03A9':
        case u'\u2126': out += "Ohm"; break;
        case u'\u00B7': out += "*"; break;
        case u'\u00E9': out += "e"; break;
        case u'\u00C5': out += "A"; break;
        default: out += c < 0x80 ? static_cast<char>(c) : '?';
        }
    }
    return out;
}

std::optional<CliDate> parseCliDate(std::string_view text, bool withTime, std::string& error)
{
    CliDate date;
    std::size_t pos = 0;
    const auto year = digitsAt(text, pos, 4);
    bool shaped = year && pos == 4 && pos < text.size() && text[pos++] == '-';
    const auto month = shaped ? digitsAt(text, pos, 2) : std::nullopt;
    shaped = shaped && month && pos == 7 && pos < text.size() && text[pos++] == '-';
    const auto day = shaped ? digitsAt(text, pos, 2) : std::nullopt;
    shaped = shaped && day && pos == 10;
    if (shaped && withTime && pos < text.size() && text[pos] == 'T') {
        ++pos;
        const auto hour = digitsAt(text, pos, 2);
        shaped = hour && pos == 13 && pos < text.size() && text[pos++] == ':';
        const auto minute = shaped ? digitsAt(text, pos, 2) : std::nullopt;
        shaped = shaped && minute && pos == 16 && pos < text.size() && text[pos++] == ':';
        const auto second = shaped ? digitsAt(text, pos, 2) : std::nullopt;
        shaped = shaped && second && pos == 19;
        if (shaped) {
            date.hour = *hour;
            date.minute = *minute;
            date.second = *second;
            date.hasTime = true;
        }
    }
    const std::string form = withTime ? "YYYY-MM-DD or YYYY-MM-DDTHH:MM:SS" : "YYYY-MM-DD";
    if (!shaped || pos != text.size()) {
        error = "'" + std::string(text) + "' is not a date of the form " + form;
        return std::nullopt;
    }
    date.year = *year;
    date.month = *month;
    date.day = *day;
    if (date.year < 1) {
        error = "'" + std::string(text) + "': the years run from 1 to 9999";
        return std::nullopt;
    }
    if (!StoredDate{date.year, date.month, date.day}.isValid()) {
        error = "'" + std::string(text) + "' is not a day of the calendar";
        return std::nullopt;
    }
    if (date.hour > 23 || date.minute > 59 || date.second > 59) {
        error = "'" + std::string(text) + "' is not a time of day";
        return std::nullopt;
    }
    return date;
}

std::optional<CliLunarDate> parseCliLunarDate(std::string_view text, std::string& error)
{
    CliLunarDate date;
    std::size_t pos = 0;
    const auto day = digitsAt(text, pos, 2);
    bool shaped = day && pos < text.size() && text[pos++] == '/';
    const auto month = shaped ? digitsAt(text, pos, 2) : std::nullopt;
    shaped = shaped && month && pos < text.size() && text[pos++] == '/';
    const auto year = shaped ? digitsAt(text, pos, 4) : std::nullopt;
    shaped = shaped && year;
    if (shaped && pos < text.size() && (text[pos] == 'L' || text[pos] == 'l')) {
        date.leap = true;
        ++pos;
    }
    if (!shaped || pos != text.size()) {
        error = "'" + std::string(text) + "' is not a lunar date of the form D/M/YYYY or D/M/YYYYL";
        return std::nullopt;
    }
    date.day = *day;
    date.month = *month;
    date.year = *year;
    if (date.year < LunarDate::kFirstCivilYear || date.year >= LunarDate::kLastCivilYear) {
        error = "'" + std::string(text) + "': the lunar years run from 1 to 9998";
        return std::nullopt;
    }
    if (date.month < 1 || date.month > 12 || date.day < 1 || date.day > 30) {
        error = "'" + std::string(text) + "': a lunar month is 1 to 12, a day 1 to 30";
        return std::nullopt;
    }
    return date;
}

int runTool(const CliOptions& options, std::ostream& out, std::ostream& err)
{
    const std::vector<std::string>& arguments = options.toolArguments;
    const std::string& tool = options.tool;
    std::string error;
    auto malformed = [&err, &tool](const std::string& why) {
        err << "corvan-cli: --" << tool << ": " << why << "\n";
        return 2;
    };
    ToolOutput output(out);
    if (tool == "lunar" || tool == "weekday") {
        const std::optional<CliDate> date = parseCliDate(arguments[0], false, error);
        if (!date)
            return malformed(error);
        return tool == "lunar" ? lunarOf(*date, output) : weekdayOf(*date, output);
    }
    if (tool == "days") {
        const std::optional<CliDate> from = parseCliDate(arguments[0], true, error);
        if (!from)
            return malformed(error);
        const std::optional<CliDate> to = parseCliDate(arguments[1], true, error);
        if (!to)
            return malformed(error);
        return daysBetween(*from, *to, output);
    }
    if (tool == "solar") {
        const std::optional<CliLunarDate> date = parseCliLunarDate(arguments[0], error);
        if (!date)
            return malformed(error);
        return solarOf(*date, output);
    }

    // The rest reads the data files of the program folder, seeded as the window seeds it.
    const ProgramFolder shipped = ProgramFolder::fromEnvironment();
    const ProgramFolder folder =
        options.folder.empty() ? shipped : ProgramFolder(options.folder, shipped.shippedPath());
    if (!folder.prepare())
        return malformed("cannot make the program folder " + folder.path().string());
    if (tool == "convert")
        return convert(options, folder.path(), output);
    if (tool == "units")
        return listUnits(options, folder.path(), output);
    if (tool == "constant")
        return showConstant(options, folder.path(), output);
    if (tool == "constants")
        return listConstants(folder.path(), output);
    if (tool == "rates")
        return listRates(folder.path(), output);
    if (tool == "update-rates")
        return updateRates(options, folder.path(), output);
    return malformed("unknown tool");
}
