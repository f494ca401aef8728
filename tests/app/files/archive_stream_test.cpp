#include <gtest/gtest.h>

#include <string>

#include "archive_stream.h"

namespace {

std::string bytesOf(std::initializer_list<unsigned> values)
{
    std::string bytes;
    for (const unsigned value : values)
        bytes.push_back(static_cast<char>(value));
    return bytes;
}

TEST(ArchiveStream, NumbersAreLittleEndianAndReadBack)
{
    ArchiveWriter out;
    out.writeU8(0xAB);
    out.writeU16(0x1234);
    out.writeU32(0xDEADBEEF);
    out.writeI32(-2);
    out.writeF64(-1.5);
    EXPECT_EQ(out.bytes(), bytesOf({0xAB, 0x34, 0x12, 0xEF, 0xBE, 0xAD, 0xDE, 0xFE, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0,
                                    0xF8, 0xBF}));

    ArchiveReader in(out.bytes());
    std::uint8_t u8 = 0;
    std::uint16_t u16 = 0;
    std::uint32_t u32 = 0;
    std::int32_t i32 = 0;
    double f64 = 0;
    ASSERT_TRUE(in.readU8(u8) && in.readU16(u16) && in.readU32(u32) && in.readI32(i32) && in.readF64(f64));
    EXPECT_EQ(u8, 0xAB);
    EXPECT_EQ(u16, 0x1234);
    EXPECT_EQ(u32, 0xDEADBEEFu);
    EXPECT_EQ(i32, -2);
    EXPECT_EQ(f64, -1.5);
    EXPECT_TRUE(in.atEnd());
}

TEST(ArchiveStream, ShortReadFailsWithoutMovingOrWriting)
{
    const std::string bytes = bytesOf({1, 2, 3});
    ArchiveReader in(bytes);
    std::uint32_t value = 77;
    EXPECT_FALSE(in.readU32(value));
    EXPECT_EQ(value, 77u);
    EXPECT_EQ(in.position(), 0u);
    std::uint16_t half = 0;
    ASSERT_TRUE(in.readU16(half));
    EXPECT_EQ(half, 0x0201);
    EXPECT_FALSE(in.readU16(half));
    EXPECT_EQ(in.remaining(), 1u);
}

TEST(ArchiveStream, SoundNameRecordBytes)
{
    ArchiveWriter out;
    out.writeString(u"Sound 01.wav");
    std::string expected = bytesOf({0xFF, 0xFE, 0xFF, 0x0C});
    for (const char c : std::string("Sound 01.wav")) {
        expected.push_back(c);
        expected.push_back('\0');
    }
    EXPECT_EQ(out.bytes(), expected);
}

TEST(ArchiveStream, EveryLengthFormRoundTrips)
{
    struct Case {
        std::size_t length;
        std::string header;
    };
    const Case cases[] = {
        {0, bytesOf({0xFF, 0xFE, 0xFF, 0x00})},
        {254, bytesOf({0xFF, 0xFE, 0xFF, 0xFE})},
        {255, bytesOf({0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0x00})},
        {65533, bytesOf({0xFF, 0xFE, 0xFF, 0xFF, 0xFD, 0xFF})},
        {65534, bytesOf({0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00})},
        {70000, bytesOf({0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00})},
    };
    for (const Case& c : cases) {
        std::u16string text(c.length, u'x');
        for (std::size_t i = 0; i < text.size(); ++i)
            text[i] = static_cast<char16_t>(0xD000 + i % 0x3000);  // high bytes matter too
        ArchiveWriter out;
        out.writeString(text);
        out.writeU8(0x5A);
        ASSERT_EQ(out.bytes().size(), c.header.size() + 2 * c.length + 1) << c.length;
        EXPECT_EQ(out.bytes().substr(0, c.header.size()), c.header) << c.length;

        ArchiveReader in(out.bytes());
        std::u16string back;
        std::uint8_t after = 0;
        ASSERT_TRUE(in.readString(back)) << c.length;
        EXPECT_EQ(back, text);
        EXPECT_TRUE(in.readU8(after) && after == 0x5A && in.atEnd()) << c.length;
    }
}

TEST(ArchiveStream, EightBitRecordsReadAsLatin1)
{
    struct Case {
        std::string bytes;
        std::u16string text;
    };
    const Case cases[] = {
        {bytesOf({0x00}), u""},
        {bytesOf({0x03, 'a', 0xE9, 0xFF}), u"a\u00E9\u00FF"},
        {bytesOf({0xFF, 0x02, 0x00, 'h', 'i'}), u"hi"},
        {bytesOf({0xFF, 0xFF, 0xFF, 0x01, 0x00, 0x00, 0x00, 'z'}), u"z"},
        {bytesOf({0xFF, 0xFE, 0xFF, 0xFF, 0x01, 0x00, 0xAC, 0x20}), u"\u20AC"},
    };
    for (const Case& c : cases) {
        ArchiveReader in(c.bytes);
        std::u16string text;
        ASSERT_TRUE(in.readString(text)) << c.bytes.size();
        EXPECT_EQ(text, c.text);
        EXPECT_TRUE(in.atEnd());
    }
}

TEST(ArchiveStream, BadRecordsFailAndLeaveThePositionAlone)
{
    const std::string cases[] = {
        bytesOf({0x05, 'a', 'b'}),                            // 8-bit text cut short
        bytesOf({0xFF, 0xFE, 0xFF, 0x02, 'a', 0, 'b'}),       // half a code unit missing
        bytesOf({0xFF, 0xFE, 0xFF, 0xFF, 0xFE, 0xFF, 0x00}),  // second marker
        bytesOf({0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 'a', 0}),
        bytesOf({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}),  // four billion claimed
        bytesOf({0xFF, 0xFE}),
        bytesOf({0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0x01}),
    };
    for (const std::string& bytes : cases) {
        ArchiveReader in(bytes);
        std::u16string text = u"kept";
        EXPECT_FALSE(in.readString(text)) << bytes.size();
        EXPECT_EQ(text, u"kept");
        EXPECT_EQ(in.position(), 0u);
    }

    ArchiveWriter out;
    out.writeString(std::u16string(300, u'q'));
    for (std::size_t size = 0; size < out.bytes().size(); ++size) {
        ArchiveReader in(std::string_view(out.bytes()).substr(0, size));
        std::u16string text;
        EXPECT_FALSE(in.readString(text)) << size;
    }
}

}  // namespace
