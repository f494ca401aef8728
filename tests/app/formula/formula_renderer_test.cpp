#include "formula_renderer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "formula_markup.h"
#include "temp_folder.h"
#include "variable_slots.h"

namespace {

TEST(PlainPbm, ReadsBitsWithCommentsAndWithoutSeparators)
{
    for (const char* text : {"P1\n# made by hand\n3 2\n1 0 1\n0 1 0\n", "P1 3 2 101010"}) {
        const auto raster = parsePlainPbm(text);
        ASSERT_TRUE(raster.has_value()) << text;
        EXPECT_EQ(raster->width, 3);
        EXPECT_EQ(raster->height, 2);
        const bool expected[2][3] = {{true, false, true}, {false, true, false}};
        for (int y = 0; y < 2; ++y) {
            for (int x = 0; x < 3; ++x)
                EXPECT_EQ(raster->isSet(x, y), expected[y][x]) << text << " " << x << "," << y;
        }
        EXPECT_FALSE(raster->isSet(3, 0));
        EXPECT_FALSE(raster->isSet(0, -1));
    }
}

TEST(PlainPbm, RejectsMalformedInput)
{
    const char* cases[] = {
        "",
        "P",
        "P4 1 1 1",
        "P1",
        "P1 3",
        "P1 0 1",
        "P1 1 0 1",
        "P1 2 2 1 0 1",
        "P1 2 2 1 0 1 2",
        "P1 -1 2 1",
        "P1 2 x 1 1",
        "P1 99999999999999999999999 1 1",
        "P1 16385 1 1",
        "P1 16384 16384 1",
        "P1 2 1 1#",
        "Failed to rasterize",
    };
    for (const char* text : cases)
        EXPECT_FALSE(parsePlainPbm(text).has_value()) << text;
}

// A stand-in renderer: a shell script that writes what a test needs.
std::string writeScript(const TempFolder& folder, const std::string& name, const std::string& body)
{
    const auto path = folder.path() / name;
    std::ofstream(path) << "#!/bin/sh\n" << body << "\n";
    std::filesystem::permissions(path, std::filesystem::perms::owner_all);
    return path.string();
}

TEST(FormulaRenderer, PassesArgumentsVerbatimWithoutQueryString)
{
    TempFolder folder;
    // Sets the pixel only when the arguments arrive unsplit and unexpanded and QUERY_STRING
    // is gone; clears it otherwise.
    const std::string script = writeScript(folder, "check",
                                           "if [ \"$1 $2 $3\" = '-g1 -s 4' ] && [ \"$4\" = '\\large a $(x) `y` \"b' ]"
                                           " && [ -z \"${QUERY_STRING+set}\" ]; then printf 'P1 1 1 1'; else "
                                           "printf 'P1 1 1 0'; fi");
    ::setenv("QUERY_STRING", "formula=evil", 1);
    const auto raster = FormulaRenderer(script).render("\\large a $(x) `y` \"b", 4);
    ::unsetenv("QUERY_STRING");
    ASSERT_TRUE(raster.has_value());
    EXPECT_TRUE(raster->isSet(0, 0));
}

TEST(FormulaRenderer, FailuresDrawNothing)
{
    TempFolder folder;
    using std::chrono::milliseconds;
    struct Case {
        const char* name;
        std::string body;
    };
    const std::filesystem::path childPid = folder.path() / "child.pid";
    const Case cases[] = {
        {"hangs", "exec sleep 20"},
        {"hangs with a child of its own", "sleep 20 & echo $! > '" + childPid.string() + "'; wait"},
        {"floods", "printf 'P1 4000 4000 '; exec yes 1"},
        {"fails", "printf 'P1 1 1 1'; exit 3"},
        {"garbage", "printf 'Failed to rasterize'"},
    };
    for (const Case& c : cases) {
        const FormulaRenderer renderer(writeScript(folder, c.name, c.body), milliseconds(300), 1 << 16);
        const auto start = std::chrono::steady_clock::now();
        EXPECT_FALSE(renderer.render("x", 2).has_value()) << c.name;
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3)) << c.name;
    }
    // The renderer's own children go with it: none is left running.
    std::ifstream pidFile(childPid);
    int pid = 0;
    ASSERT_TRUE(pidFile >> pid);
    const auto gone = [pid] {
        std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
        std::string number, name, state;
        return !(stat >> number >> name >> state) || state == "Z";
    };
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (!gone() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(milliseconds(20));
    EXPECT_TRUE(gone());
    for (const char* missing : {"corvan-no-such-renderer", "/nonexistent/mimetex", ""}) {
        const FormulaRenderer renderer(missing);
        EXPECT_FALSE(renderer.available()) << missing;
        EXPECT_FALSE(renderer.render("x", 2).has_value()) << missing;
    }
}

TEST(FormulaRenderer, RefusesCommandsThatReachOutsideTheFormula)
{
    const char* refused[] = {"\\input{secret}", "x+\\include{a}", "\\counter[log]{hits}", "\\environment",
                             "\\INPUT{a}",      "\\inputx",       "\\logfile{a}",         "\\dumpgif{a}",
                             "\\message{a}",    "\\image{a}",     "\\nocaching x"};
    for (const char* markup : refused) {
        EXPECT_TRUE(refusedFormulaCommand(markup).has_value()) << markup;
        // Refused before any renderer runs: even a missing one says Refused.
        EXPECT_EQ(FormulaRenderer("corvan-no-such-renderer").renderWithStatus(markup, 2).status,
                  FormulaRenderStatus::Refused)
            << markup;
    }
    const char* allowed[] = {"\\large \\frac{a}{b}",
                             "\\sqrt{x}+\\int_{0}^{1}{\\left( x \\right)}\\hspace1d x",
                             "\\displaystyle\\sum_{n=1}^{N}{X[n]}",
                             "input(x)",
                             "\\left[\\begin{matrix} 1 \\end{matrix}\\right]",
                             "\\in x"};
    for (const char* markup : allowed)
        EXPECT_FALSE(refusedFormulaCommand(markup).has_value()) << markup;
    EXPECT_EQ(*refusedFormulaCommand("a+\\Input{b}"), "\\input");
}

TEST(FormulaRenderer, RunsInAnEmptyFolderOfItsOwnThatIsRemovedAfterwards)
{
    TempFolder folder;
    const std::filesystem::path seen = folder.path() / "seen";
    // The pixel is set only when the working folder is empty and is not the test's own; the
    // script leaves a file there and says where it was.
    const std::string script =
        writeScript(folder, "where",
                    "pwd > '" + seen.string() + "'; if [ -z \"$(ls -A .)\" ] && [ \"$(pwd)\" != '" +
                        std::filesystem::current_path().string() +
                        "' ]; then touch left-behind; printf 'P1 1 1 1'; else "
                        "printf 'P1 1 1 0'; fi");
    const FormulaRenderResult result = FormulaRenderer(script).renderWithStatus("x", 2);
    ASSERT_EQ(result.status, FormulaRenderStatus::Drawn);
    ASSERT_TRUE(result.raster.has_value());
    EXPECT_TRUE(result.raster->isSet(0, 0));
    std::string workingFolder;
    std::getline(std::ifstream(seen), workingFolder);
    ASSERT_FALSE(workingFolder.empty());
    EXPECT_NE(std::filesystem::path(workingFolder), folder.path());
    EXPECT_FALSE(std::filesystem::exists(workingFolder)) << workingFolder;
}

TEST(FormulaRenderer, SaysWhyNothingWasDrawn)
{
    TempFolder folder;
    using std::chrono::milliseconds;
    EXPECT_EQ(FormulaRenderer("corvan-no-such-renderer").renderWithStatus("x", 2).status,
              FormulaRenderStatus::RendererMissing);
    const FormulaRenderer huge(writeScript(folder, "huge", "printf 'P1 20000 10 '"));
    EXPECT_EQ(huge.renderWithStatus("x", 2).status, FormulaRenderStatus::TooLarge);
    const FormulaRenderer floods(writeScript(folder, "floods", "printf 'P1 4000 4000 '; exec yes 1"),
                                 milliseconds(2000), 1 << 16);
    EXPECT_EQ(floods.renderWithStatus("x", 2).status, FormulaRenderStatus::TooLarge);
    const FormulaRenderer fails(writeScript(folder, "fails", "exit 3"));
    EXPECT_EQ(fails.renderWithStatus("x", 2).status, FormulaRenderStatus::Failed);
    EXPECT_TRUE(plainPbmTooLarge("P1 16385 1 1"));
    EXPECT_TRUE(plainPbmTooLarge("P1 9999999999999999999999 1"));
    EXPECT_FALSE(plainPbmTooLarge("P1 3 2 101010"));
    EXPECT_FALSE(plainPbmTooLarge("garbage"));
}

// Whether the raster holds an arrow's shaft: a run of at least 12 set pixels along a row with
// nothing right above or below its middle ("+" has its upright stroke there, letters and
// digits have no such runs).
bool hasArrowShaft(const FormulaRaster& raster)
{
    for (int y = 0; y < raster.height; ++y) {
        int run = 0;
        for (int x = 0; x <= raster.width; ++x) {
            if (x < raster.width && raster.isSet(x, y)) {
                ++run;
                continue;
            }
            if (run >= 12) {
                const int middle = x - run / 2 - 1;
                bool crossed = false;
                for (int dy = 1; dy <= 2; ++dy)
                    crossed = crossed || raster.isSet(middle, y - dy) || raster.isSet(middle, y + dy);
                if (!crossed)
                    return true;
            }
            run = 0;
        }
    }
    return false;
}

TEST(FormulaRenderer, CallsAreDrawnWithoutAStrayArrow)
{
    const FormulaRenderer renderer;
    if (!renderer.available())
        GTEST_SKIP() << "mimetex is not installed";
    // An unmatched "\right)" is what mimeTeX draws as an arrow; the old markup of pmt( had one.
    const auto stray = renderer.render("\\normalsize pmt(6,360,200000,0,12 \\right)", 2);
    ASSERT_TRUE(stray.has_value());
    EXPECT_TRUE(hasArrowShaft(*stray));
    const VariableSlots slots;
    for (const char16_t* text :
         {u"pmt(6,360,200000,0,12)", u"not(5)", u"det(2)", u"sqrt(9)", u"sin(1)+cos(2)", u"exp(1)", u"asinh(2)"}) {
        const auto request = formula::renderExpressionFormula(text, 2, slots);
        const auto raster = renderer.render(request.buffer, 2);
        ASSERT_TRUE(raster.has_value()) << request.buffer;
        EXPECT_FALSE(hasArrowShaft(*raster)) << request.buffer;
    }
}

TEST(FormulaRenderer, RendersWithMimetexWhenInstalled)
{
    const FormulaRenderer renderer;
    if (!renderer.available())
        GTEST_SKIP() << "mimetex is not installed";
    const VariableSlots slots;
    const auto small = formula::renderExpressionFormula(u"a/b^2", 0, slots);
    const auto large = formula::renderExpressionFormula(u"a/b^2", 7, slots);
    const auto smallRaster = renderer.render(small.buffer, 0);
    const auto largeRaster = renderer.render(large.buffer, 7);
    ASSERT_TRUE(smallRaster.has_value());
    ASSERT_TRUE(largeRaster.has_value());
    EXPECT_GT(largeRaster->height, smallRaster->height);
    // A fraction is taller than wide at this size, and some pixels are set.
    EXPECT_GT(smallRaster->height, smallRaster->width);
    std::size_t set = 0;
    for (auto pixel : smallRaster->pixels)
        set += pixel;
    EXPECT_GT(set, 10u);
    // Half-typed input still renders.
    EXPECT_TRUE(renderer.render(formula::renderExpressionFormula(u"1+fnInt(x", 2, slots).buffer, 2).has_value());
}

}  // namespace
