// Writes the seed corpora of the fuzz targets: the shipped data files, and files written by the
// program's own writers in the states the tests put them in.
//     corvan-fuzz-seeds DATA_DIR TEST_DATA_DIR OUTPUT_DIR
// makes OUTPUT_DIR/<target>/ for every target of fuzz/CMakeLists.txt.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "atomic_file.h"
#include "biorhythm.h"
#include "calculator_display.h"
#include "converter.h"
#include "engine.h"
#include "key_codes.h"
#include "macro_library.h"
#include "matrix_store.h"
#include "png_image.h"
#include "preferences_store.h"
#include "statistics_data.h"

namespace fs = std::filesystem;

namespace {

fs::path output;
int seedNumber = 0;

void seed(const std::string& target, std::string_view bytes)
{
    const fs::path folder = output / target;
    fs::create_directories(folder);
    writeFileAtomically(folder / ("seed-" + std::to_string(++seedNumber)), bytes);
}

std::string fileBytes(const fs::path& path)
{
    std::string bytes;
    readWholeFile(path, bytes);
    return bytes;
}

std::string utf16(std::u16string_view text)
{
    std::string bytes;
    for (char16_t c : text) {
        bytes.push_back(static_cast<char>(c & 0xFF));
        bytes.push_back(static_cast<char>(c >> 8));
    }
    return bytes;
}

void preferencesSeeds()
{
    const PreferencesStore store(fs::path(), [] { return StoredDate{2024, 2, 29}; });
    Preferences preferences;
    store.reset(preferences);
    seed("preferences", PreferencesStore::encode(preferences));
    preferences.inputMode = InputMode::BasicRpn;
    preferences.outputFormat = OutputFormat::European;
    preferences.skinName = std::u16string(300, u'k') + u".inf";
    preferences.lastCategory = 14;
    seed("preferences", PreferencesStore::encode(preferences));
}

void displaySeeds()
{
    Preferences preferences;
    Engine engine;
    CalculatorDisplay display(preferences, engine);
    seed("display_state", display.saveState());
    // "12+3=", a memory store, the next line, and a long line.
    for (int code : {1, 2, 18, 3, KeyCode::kEquals, 9, 149, 5, 5})
        display.handleKey(code);
    for (int i = 0; i < 300; ++i)
        display.handleKey(7);
    const std::string state = display.saveState();
    seed("display_state", state);
    seed("display_state", state + "KEYS" + std::string(1, '\0') + "\x01\x12\x02\x13\x09\x2f\x30");
    seed("display_state", state + "KEYS" + std::string(1, '\x01') + "\x05\x12\x06\x13\x13\x44\x89");
}

void macroSeeds(const fs::path& testData)
{
    MacroLibrary macros;
    macros.insert(0, MacroRecord{u"x,y", u"x+y", u"Ma", u"x+y", u"111", 2});
    macros.insert(1, MacroRecord{u"", u"5", u"Mb", u"5", u"1", 0});
    macros.insert(2, MacroRecord{u"x", std::u16string(600, u'x'), u"Mc", std::u16string(600, u'x'),
                                 std::u16string(600, u'1'), 1});
    seed("macro", macros.serialize());
    for (const char* folder : {"macro_long_line", "macro_short_line"})
        seed("macro", fileBytes(testData / folder / "macro.mcr"));
}

void matrixAndStatisticsSeeds()
{
    const fs::path folder = output / "scratch";
    fs::create_directories(folder);
    Engine engine;
    {
        MatrixStore store(engine);
        store.newMatrix(2, 3, 2);
        store.setElement(0, 0, "1.5");
        store.setElement(1, 2, "-7");
        store.newMatrix(1, 1, 3);
        store.save(folder / "matrix.dat");
        seed("matrix_file", fileBytes(folder / "matrix.dat"));
    }
    StatisticsData statistics(engine);
    statistics.newDataSet(5);
    statistics.setValue(0, u"1234567.89");
    statistics.setValue(3, u"-0.25");
    statistics.save(folder / "statistics.dat");
    seed("statistics_file", fileBytes(folder / "statistics.dat"));
    fs::remove_all(folder);
}

void dataFileSeeds(const fs::path& data)
{
    for (const char* file : {"units.dat", "currency.dat"})
        seed("unit_table", fileBytes(data / file));
    seed("constant_table", fileBytes(data / "const.dat"));
    const std::string rates = fileBytes(data / "currency.dat");
    seed("rate_answer", "HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\n" + rates);
    seed("rate_answer", "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(rates.size()) + "\r\n\r\n" + rates);
    seed("rate_answer", "HTTP/1.0 404 Not Found\r\n\r\n");
    seed("biorhythm", fileBytes(data / "biorythm.dat"));
    const fs::path interfaces = data / "Interfaces";
    seed("skin", fileBytes(interfaces / "Default.inf") + std::string(1, '\0') + fileBytes(interfaces / "colors.txt"));
    int pngs = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(interfaces)) {
        // The small images only: the large ones slow every mutation down.
        if (entry.path().extension() == ".png" && entry.file_size() < 16 * 1024 && ++pngs <= 12)
            seed("png", fileBytes(entry.path()));
    }
}

void converterAndBiorhythmSeeds()
{
    const Converter converter(output);
    seed("converter_state", converter.stateBytes());
    BioPersonList persons;
    persons.persons.push_back({u"Ada", u"12/10/1815"});
    persons.persons.push_back({u"\u00C9mile", u"02/29/2000"});
    persons.selected = 1;
    seed("biorhythm", writeBioPersons(persons));
}

void pngSeeds()
{
    PngImage image;
    image.width = 3;
    image.height = 2;
    image.rgba = {255, 0, 0, 255, 0, 255, 0, 128, 0, 0, 255, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    if (const std::optional<std::string> bytes = encodePng(image))
        seed("png", *bytes);
}

void expressionSeeds()
{
    // The first byte: angle mode, word size, matrix mode and radix (see evaluator_fuzzer.cpp).
    const std::pair<char, const char*> expressions[] = {
        {0, "2+3*4"},
        {0, "sin(30)+cos(60)^2-sqrt(2)"},
        {0, "fnSum(x^2,x,1,10)+fnInt(x,x,0,1)+fnRoot(x^2-2,x,0,2)"},
        {0, "fnSum(fnSum(1,y,1,999999),x,1,999999)"},
        {0, "gcd(12,18)+lcm(4,6)+ncr(10,3)+fib(20)"},
        {0, "sum(X)+avg(X)+sdv(X)+median(X)"},
        {0, "pv(0.05,10,100,0,0)"},
        {0, "1e999"},
        {static_cast<char>(0x20), "ff and 0f shl 2"},
        {static_cast<char>(0x60), "101 xor 11"},
        {static_cast<char>(0x10), "inv(VA)*VA+det(VA)"},
        {static_cast<char>(0x10), "eigl(VA)+eigv(VA)"},
        {static_cast<char>(0x10), "solve(VA,trans(VA))"},
    };
    for (const auto& [choice, text] : expressions)
        seed("evaluator", std::string(1, choice) + text);

    const std::u16string lines[] = {u"2(3)+.5", u"\u221A(2)\u00D7[ans]", u"1\u00B8234exp5", u"sin(30)\u2212cos(60)"};
    for (const std::u16string& line : lines)
        seed("display_equals", std::string{'\0', '\0'} + utf16(line));
    // The matrix category, and the basic mode.
    seed("display_equals", std::string{'\x04', '\0'} + utf16(u"inv([VA])"));
    seed("display_equals", std::string{'\0', '\x01'} + utf16(u"2+3\u00D74="));
}

void commandLineSeeds()
{
    const std::vector<std::vector<std::string>> commands = {
        {"--raw", "--engine", "2+3*4"},
        {"--radix", "16", "--word", "8", "FF and 0F"},
        {"--matrix", "--set", "VA=[1,2;3,4]", "inv([VA])"},
        {"--timeout", "0.5", "--list", "1,2,3", "sdv(X)"},
        {"--keys", "10 18 11 8 12 19", "--category=2", "--mode", "rpn"},
        {"--output", "eu", "--format", "fix", "--digits", "3", "--", "-5+2"},
    };
    for (const std::vector<std::string>& arguments : commands) {
        std::string bytes;
        for (const std::string& argument : arguments)
            bytes += argument + std::string(1, '\0');
        seed("cli_options", bytes);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: corvan-fuzz-seeds DATA_DIR TEST_DATA_DIR OUTPUT_DIR\n");
        return 2;
    }
    const fs::path data = argv[1];
    const fs::path testData = argv[2];
    output = argv[3];
    preferencesSeeds();
    displaySeeds();
    macroSeeds(testData);
    matrixAndStatisticsSeeds();
    dataFileSeeds(data);
    converterAndBiorhythmSeeds();
    pngSeeds();
    expressionSeeds();
    commandLineSeeds();
    return 0;
}
