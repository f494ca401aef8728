#include <gtest/gtest.h>

#include <random>

#include "atomic_file.h"
#include "macro_library.h"
#include "temp_folder.h"

namespace fs = std::filesystem;

namespace {

std::string utf16le(std::u16string_view text)
{
    std::string bytes;
    for (char16_t c : text) {
        bytes.push_back(static_cast<char>(c & 0xFF));
        bytes.push_back(static_cast<char>(c >> 8));
    }
    return bytes;
}

// One record as it stands in a file, without the line end.
std::u16string record(std::u16string_view name, std::u16string_view count, std::u16string_view params,
                      std::u16string_view body)
{
    std::u16string line;
    for (std::u16string_view field : {name, count, params, body, body, std::u16string_view(u"111")}) {
        line += field;
        line += u'\x06';
    }
    return line;
}

std::vector<std::u16string> namesOf(const MacroLibrary& data)
{
    std::vector<std::u16string> names;
    for (const MacroRecord& macro : data.macros())
        names.push_back(macro.name);
    return names;
}

MacroLibrary loaded(std::u16string_view fileText, MacroLoadStatus status = MacroLoadStatus::Read)
{
    MacroLibrary data;
    EXPECT_EQ(data.merge(utf16le(fileText)), status);
    return data;
}

TEST(MacroData, ReadsFieldsAndWritesTheSameLines)
{
    TempFolder folder;
    const fs::path file = folder.path() / "macro.mcr";
    const std::u16string text =
        u"Ma\x06"
        u"2\x06x,y\x06x+y\x06x+y\x06"
        u"111\x06\r\n"
        u"Mb\x06"
        u"0\x06\x06"
        u"5\x06"
        u"5\x06"
        u"1\x06";
    ASSERT_TRUE(writeFileAtomically(file, utf16le(text)));

    MacroLibrary data;
    ASSERT_EQ(data.load(file), MacroLoadStatus::Read);
    ASSERT_EQ(data.count(), 2u);
    const MacroRecord expected{u"x,y", u"x+y", u"Ma", u"x+y", u"111", 2};
    EXPECT_EQ(data.at(0), expected);
    EXPECT_EQ(data.at(1).name, u"Mb");
    EXPECT_EQ(data.at(1).tokenMap, u"1");

    const fs::path copy = folder.path() / "copy.mcr";
    ASSERT_TRUE(data.save(copy));
    std::string written;
    ASSERT_TRUE(readWholeFile(copy, written));
    EXPECT_EQ(written, utf16le(text));
    // Nothing but the two files: no temporary is left behind.
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 2);

    EXPECT_EQ(MacroLibrary().serialize(), "");
}

TEST(MacroData, SkipsShortLinesAndReadsLongOnesWhole)
{
    const std::u16string five =
        u"Mx\x06"
        u"0\x06\x06"
        u"1\x06"
        u"1\x06";
    // Lines around the 511 characters that an older reader took in one piece.
    const std::u16string fits = record(u"Ma", u"00", u"", std::u16string(249, u'1'));
    const std::u16string longer = record(u"Ma", u"000", u"", std::u16string(249, u'1'));
    ASSERT_EQ(fits.size(), 511u);
    const std::u16string long600 = record(u"Ma", u"0", u"", std::u16string(290, u'1'));
    const std::u16string huge = record(u"Ma", u"0", u"", std::u16string(40000, u'1'));
    // Two records without a line end between them are one line: the text after the sixth
    // separator is the line end's place and is ignored.
    const std::u16string joined = fits + record(u"Mb", u"0", u"", u"2");

    struct Case {
        const char* what;
        std::u16string file;
        std::vector<std::u16string> names;
        MacroLoadStatus status = MacroLoadStatus::Read;
    };
    const Case cases[] = {
        {"five separators",
         record(u"Ma", u"0", u"", u"1") + u"\r\n" + five + u"\r\n" + record(u"Mc", u"0", u"", u"3"),
         {u"Ma", u"Mc"},
         MacroLoadStatus::DataError},
        {"line of exactly 511", fits + u"\r\n" + record(u"Mc", u"0", u"", u"3"), {u"Ma", u"Mc"}},
        {"line of 512", longer + u"\r\n" + record(u"Mc", u"0", u"", u"3"), {u"Ma", u"Mc"}},
        {"line of 600", long600 + u"\r\n" + record(u"Mc", u"0", u"", u"3"), {u"Ma", u"Mc"}},
        {"line of 40000", huge + u"\r\n" + record(u"Mc", u"0", u"", u"3"), {u"Ma", u"Mc"}},
        {"600 separators", std::u16string(600, u'\x06') + u"\r\n" + record(u"Mc", u"0", u"", u"3"), {u"", u"Mc"}},
        {"two records on one line", joined, {u"Ma"}},
        {"empty file", u"", {}},
        {"only line ends", u"\r\n\r\n", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(namesOf(loaded(c.file, c.status)), c.names);
    }
    EXPECT_EQ(loaded(huge).at(0).displayText, std::u16string(40000, u'1'));
}

TEST(MacroData, FieldsLoseTheirCarriageReturnsAsTheWriterDrops)
{
    // "Ma" and "\rMa" were two names; written without the CR they clashed at the next start.
    const MacroLibrary read =
        loaded(record(u"Ma", u"0", u"", u"1") + u"\r\n" + record(u"\rMa", u"0", u"", u"2\r3") + u"\r\n");
    ASSERT_EQ(namesOf(read), (std::vector<std::u16string>{u"Ma", u"Mb"}));
    EXPECT_EQ(read.at(1).displayText, u"23");
    MacroLibrary back;
    back.merge(read.serialize());
    EXPECT_EQ(back.macros(), read.macros());
}

TEST(MacroData, ReadsBackWhatItWritesWhateverTheLineLengthAndCharacters)
{
    // Characters whose low byte is 0 (U+2B00, U+7800) put zero bytes where UTF-16BE has them:
    // the file is still read as written.
    for (const char16_t c : {u'x', u'\u2B00', u'\u7800'}) {
        for (const std::size_t length : {1u, 250u, 492u, 511u, 512u, 572u, 1023u, 5000u}) {
            SCOPED_TRACE(length);
            MacroLibrary data;
            MacroRecord macro{
                u"x", std::u16string(length, c), u"Ma", std::u16string(length, c), std::u16string(length, u'1'), 1};
            ASSERT_TRUE(data.insert(0, macro));
            macro.name = u"Mb";
            ASSERT_TRUE(data.insert(1, macro));
            MacroLibrary back;
            ASSERT_EQ(back.merge(data.serialize()), MacroLoadStatus::Read);
            EXPECT_EQ(back.macros(), data.macros());
        }
    }
}

// A second byte-order mark after the file's own is no part of the first macro's name.
TEST(MacroData, AStrayByteOrderMarkIsNoPartOfAName)
{
    MacroLibrary data;
    ASSERT_EQ(data.merge("\xEF\xBB\xBF\xEF\xBB\xBFMa\x06"
                         "1\x06x\x06x\x06x\x06"
                         "1\x06\r\n"),
              MacroLoadStatus::Read);
    ASSERT_EQ(data.count(), 1u);
    EXPECT_EQ(data.at(0).name, u"Ma");
    // A name whose first characters are written as the bytes of a UTF-8 mark reads back whole.
    ASSERT_TRUE(data.insert(0, MacroRecord{u"x", u"x", u"\uBBEF\u4DBF", u"x", u"1", 1}));
    MacroLibrary back;
    ASSERT_EQ(back.merge(data.serialize()), MacroLoadStatus::Read);
    EXPECT_EQ(back.macros(), data.macros());
}

TEST(MacroData, LoadsAHundredThousandNamesAndRenamesALateClash)
{
    // Its speed is measured by macro_bench.cpp.
    std::u16string text;
    constexpr int kCount = 100000;
    for (int i = 0; i < kCount; ++i) {
        const std::string name = "N" + std::to_string(i);
        text += record(std::u16string(name.begin(), name.end()), u"0", u"", u"1") + u"\r\n";
    }
    // A clash at the end still finds the first free letter name.
    text += record(u"N7", u"0", u"", u"2");
    const MacroLibrary data = loaded(text);
    ASSERT_EQ(data.count(), static_cast<std::size_t>(kCount + 1));
    EXPECT_EQ(data.at(kCount).name, u"Ma");
}

TEST(MacroData, ReadsTheCountAsADecimalByte)
{
    const std::pair<std::u16string, int> cases[] = {
        {u"2", 2},   {u"300", 44}, {u"-1", 255}, {u" 7x", 7},
        {u"abc", 0}, {u"", 0},     {u"+12", 12}, {u"99999999999999999999", 255},
    };
    for (const auto& [text, count] : cases) {
        SCOPED_TRACE(std::string(text.begin(), text.end()));
        EXPECT_EQ(loaded(record(u"Ma", text, u"x", u"x")).at(0).paramCount, count);
    }
}

TEST(MacroData, RenamesClashesToTheFirstFreeLetterName)
{
    MacroLibrary data;
    data.merge(utf16le(record(u"Ma", u"0", u"", u"1") + u"\r\n" + record(u"Mb", u"0", u"", u"2")));
    data.merge(utf16le(record(u"Ma", u"0", u"", u"3") + u"\r\n" + record(u"Foo", u"0", u"", u"4") + u"\r\n" +
                       record(u"Foo", u"0", u"", u"5")));
    EXPECT_EQ(namesOf(data), (std::vector<std::u16string>{u"Ma", u"Mb", u"Mc", u"Foo", u"Md"}));
    EXPECT_EQ(data.at(2).displayText, u"3");

    std::u16string many;
    for (char16_t i = 0; i < 30; ++i)
        many += record(u"Mz", u"0", u"", std::u16string(1, u'A' + i)) + u"\r\n";
    MacroLibrary full;
    EXPECT_EQ(full.merge(utf16le(many)), MacroLoadStatus::NoFreeName);
    ASSERT_EQ(full.count(), 26u);
    EXPECT_EQ(full.at(0).name, u"Mz");
    EXPECT_EQ(full.at(1).name, u"Ma");
    EXPECT_EQ(full.at(25).name, u"My");
}

TEST(MacroData, ReportsDataErrorsAndKeepsWhatWasRead)
{
    TempFolder folder;
    MacroLibrary data;
    EXPECT_EQ(data.load(folder.path() / "missing.mcr"), MacroLoadStatus::Missing);
    EXPECT_EQ(data.load(folder.path()), MacroLoadStatus::DataError);

    const fs::path odd = folder.path() / "odd.mcr";
    ASSERT_TRUE(writeFileAtomically(odd, utf16le(record(u"Ma", u"0", u"", u"1")) + "\x41"));
    EXPECT_EQ(data.load(odd), MacroLoadStatus::DataError);
    EXPECT_EQ(namesOf(data), std::vector<std::u16string>{u"Ma"});

    const fs::path huge = folder.path() / "huge.mcr";
    ASSERT_TRUE(writeFileAtomically(huge, ""));
    fs::resize_file(huge, MacroLibrary::kMaxFileBytes + 2);  // sparse: no disk is used
    EXPECT_EQ(data.load(huge), MacroLoadStatus::DataError);
    EXPECT_EQ(data.count(), 1u);
}

TEST(MacroData, InsertAndRemoveRefuseBadIndexes)
{
    MacroLibrary data;
    MacroRecord macro;
    macro.name = u"Ma";
    EXPECT_FALSE(data.insert(1, macro));
    EXPECT_TRUE(data.insert(0, macro));
    macro.name = u"Mb";
    EXPECT_TRUE(data.insert(1, macro));
    macro.name = u"Mc";
    EXPECT_TRUE(data.insert(0, macro));
    EXPECT_FALSE(data.insert(4, macro));
    EXPECT_EQ(namesOf(data), (std::vector<std::u16string>{u"Mc", u"Ma", u"Mb"}));
    EXPECT_FALSE(data.remove(3));
    EXPECT_TRUE(data.remove(1));
    EXPECT_EQ(namesOf(data), (std::vector<std::u16string>{u"Mc", u"Mb"}));
    EXPECT_EQ(data.indexOf(u"Mb"), 1u);
    EXPECT_FALSE(data.indexOf(u"Ma"));
}

TEST(MacroData, SignaturesPutABlankAfterEveryComma)
{
    const std::pair<std::u16string, std::u16string> cases[] = {
        {u"x,y", u"Ma(x, y)"},
        {u"", u"Ma()"},
        {u"x", u"Ma(x)"},
        {u"a,b,c", u"Ma(a, b, c)"},
    };
    MacroLibrary data;
    for (const auto& [params, signature] : cases) {
        MacroRecord macro;
        macro.name = u"Ma";
        macro.params = params;
        EXPECT_EQ(macroSignature(macro), signature);
        data.insert(data.count(), macro);
    }
    EXPECT_EQ(data.signatures().at(3), u"Ma(a, b, c)");
}

TEST(MacroData, WritesFieldsWithoutCharactersThatBreakTheLine)
{
    MacroRecord macro;
    macro.name =
        u"M\x06"
        u"a";
    macro.displayText = u"1\r\n+2";
    MacroLibrary data;
    data.insert(0, macro);
    MacroLibrary back = loaded(
        u"Ma\x06"
        u"0\x06\x06\x06"
        u"1+2\x06\x06");
    MacroLibrary reread;
    reread.merge(data.serialize());
    EXPECT_EQ(reread.macros(), back.macros());
}

TEST(MacroFolder, MergesEveryMacroFileInNameOrderAndLeavesOneAtClose)
{
    TempFolder folder;
    const fs::path& path = folder.path();
    ASSERT_TRUE(writeFileAtomically(path / "b.mcr", utf16le(record(u"Ma", u"0", u"", u"2"))));
    ASSERT_TRUE(writeFileAtomically(path / "a.mcr", utf16le(record(u"Ma", u"0", u"", u"1"))));
    ASSERT_TRUE(writeFileAtomically(path / "C.MCR", utf16le(record(u"Ma", u"0", u"", u"0"))));
    ASSERT_TRUE(writeFileAtomically(path / "notes.txt", utf16le(record(u"Mq", u"0", u"", u"9"))));
    fs::create_directory(path / "dir.mcr");

    MacroLibrary data;
    const MacroFolderLoad load = loadMacroFolder(data, path);
    EXPECT_FALSE(load.dataError);
    EXPECT_TRUE(load.unread.empty());
    ASSERT_EQ(namesOf(data), (std::vector<std::u16string>{u"Ma", u"Mb", u"Mc"}));
    EXPECT_EQ(data.at(0).displayText, u"0");  // "C.MCR" sorts first: upper case comes before lower
    EXPECT_EQ(data.at(1).displayText, u"1");

    ASSERT_TRUE(saveMacroFolder(data, path));
    EXPECT_FALSE(fs::exists(path / "a.mcr"));
    EXPECT_FALSE(fs::exists(path / "b.mcr"));
    EXPECT_FALSE(fs::exists(path / "C.MCR"));
    EXPECT_TRUE(fs::exists(path / "notes.txt"));
    MacroLibrary again;
    loadMacroFolder(again, path);
    EXPECT_EQ(again.macros(), data.macros());
}

TEST(MacroFolder, KeepsFilesThatWereNotReadAndDeletesNothingWhenWritingFails)
{
    TempFolder folder;
    const fs::path& path = folder.path();
    ASSERT_TRUE(writeFileAtomically(path / "big.mcr", ""));
    fs::resize_file(path / "big.mcr", MacroLibrary::kMaxFileBytes + 2);
    ASSERT_TRUE(writeFileAtomically(path / "odd.mcr", utf16le(record(u"Ma", u"0", u"", u"1")) + "\x41"));
    MacroLibrary data;
    const MacroFolderLoad load = loadMacroFolder(data, path);
    EXPECT_TRUE(load.dataError);
    ASSERT_EQ(load.unread, (std::vector<fs::path>{path / "big.mcr", path / "odd.mcr"}));
    const std::vector<fs::path> keep{path / "big.mcr"};

    // A folder in the way of "macro.mcr" makes the write fail.
    fs::create_directories(path / "macro.mcr" / "in-the-way");
    EXPECT_FALSE(saveMacroFolder(data, path, keep));
    EXPECT_TRUE(fs::exists(path / "odd.mcr"));
    fs::remove_all(path / "macro.mcr");
    EXPECT_TRUE(saveMacroFolder(data, path, keep));
    EXPECT_TRUE(fs::exists(path / "big.mcr"));
    EXPECT_FALSE(fs::exists(path / "odd.mcr"));
    EXPECT_TRUE(fs::exists(path / "macro.mcr"));
}

// Random bytes, rich in separators, line ends and surrogates: loading never fails to finish,
// and the names stay unique whatever the files say.
TEST(MacroData, SurvivesHostileBytes)
{
    std::mt19937 random(2024);
    const char16_t alphabet[] = {u'\x06', u'\x06', u'\r', u'\n',     u'\0',     u'M',      u'a',
                                 u'b',    u'1',    u'-',  u'\xD800', u'\xDC00', u'\xFFFF', u','};
    MacroLibrary data;
    for (int round = 0; round < 300; ++round) {
        std::u16string text(random() % 1500, u' ');
        for (char16_t& c : text)
            c = alphabet[random() % std::size(alphabet)];
        std::string bytes = utf16le(text);
        if (round % 3 == 0)
            bytes.push_back('\x06');
        data.merge(bytes);
    }
    ASSERT_GT(data.count(), 26u);
    std::vector<std::u16string> names = namesOf(data);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(std::adjacent_find(names.begin(), names.end()), names.end());
    MacroLibrary reread;
    EXPECT_EQ(reread.merge(data.serialize()), MacroLoadStatus::Read);
}

}  // namespace
