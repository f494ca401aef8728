#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

// The binary state files ("preferences.dat", "led.dat", "Converter.dat", "biorythm-users.dat")
// are plain sequences of little-endian values with no padding, header or checksum. These two
// classes write and read such sequences.
//
// Archive string record, as written:
//     FF  FE FF  <length>  <length UTF-16LE code units>
// where <length> counts characters (code units) and takes one of three forms:
//     n < 0xFF              one byte n
//     n < 0xFFFE            FF, then n as u16
//     otherwise             FF, FF FF, then n as u32
// Example: u"Sound 01.wav" is FF FE FF 0C followed by 24 bytes of text.
// A record that starts directly with <length>, without the FF FE FF marker, holds one byte per
// character; it is accepted on reading and its bytes are taken as Latin-1.

class ArchiveWriter {
public:
    void writeU8(std::uint8_t value);
    void writeU16(std::uint16_t value);
    void writeU32(std::uint32_t value);
    void writeI32(std::int32_t value);
    void writeU64(std::uint64_t value);
    void writeF64(double value);  // IEEE 754 binary64, little-endian
    void writeBytes(std::string_view bytes);
    // Always the UTF-16 form. Code units are stored as they are, unpaired surrogates included.
    // Text beyond 0xFFFFFFFE code units (which the length cannot express) is cut off.
    void writeString(std::u16string_view text);

    const std::string& bytes() const { return bytes_; }
    std::string take() { return std::move(bytes_); }

private:
    std::string bytes_;
};

// Reads values from a byte buffer that it does not own (the buffer must outlive the reader).
// Every read either succeeds completely and moves past the value, or returns false and leaves
// both the output and the position unchanged; nothing is ever read past the end of the buffer.
class ArchiveReader {
public:
    explicit ArchiveReader(std::string_view bytes) : bytes_(bytes) {}

    bool readU8(std::uint8_t& value);
    bool readU16(std::uint16_t& value);
    bool readU32(std::uint32_t& value);
    bool readI32(std::int32_t& value);
    bool readU64(std::uint64_t& value);
    bool readF64(double& value);
    // Fails (a bad record) when the record is cut short, when its length runs past the end of
    // the buffer, or when a second UTF-16 marker follows the first. The text is allocated only
    // after its length has been checked against the bytes that remain.
    bool readString(std::u16string& text);

    std::size_t position() const { return position_; }
    std::size_t remaining() const { return bytes_.size() - position_; }
    bool atEnd() const { return position_ == bytes_.size(); }

private:
    // Little-endian unsigned value of `size` bytes at the current position, or false when fewer
    // bytes remain.
    bool readUnsigned(std::size_t size, std::uint64_t& value);
    bool readStringLength(std::uint64_t& length, bool& wide);

    std::string_view bytes_;
    std::size_t position_ = 0;
};
