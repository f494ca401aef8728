#include "archive_stream.h"

#include <bit>

namespace {

constexpr std::uint8_t kLongLength = 0xFF;
constexpr std::uint16_t kWideMarker = 0xFFFE;
constexpr std::uint16_t kHugeLength = 0xFFFF;
constexpr std::uint64_t kMaxLength = 0xFFFFFFFEu;

}  // namespace

void ArchiveWriter::writeU8(std::uint8_t value)
{
    bytes_.push_back(static_cast<char>(value));
}

void ArchiveWriter::writeU16(std::uint16_t value)
{
    writeU8(static_cast<std::uint8_t>(value));
    writeU8(static_cast<std::uint8_t>(value >> 8));
}

void ArchiveWriter::writeU32(std::uint32_t value)
{
    writeU16(static_cast<std::uint16_t>(value));
    writeU16(static_cast<std::uint16_t>(value >> 16));
}

void ArchiveWriter::writeI32(std::int32_t value)
{
    writeU32(static_cast<std::uint32_t>(value));
}

void ArchiveWriter::writeU64(std::uint64_t value)
{
    writeU32(static_cast<std::uint32_t>(value));
    writeU32(static_cast<std::uint32_t>(value >> 32));
}

void ArchiveWriter::writeF64(double value)
{
    writeU64(std::bit_cast<std::uint64_t>(value));
}

void ArchiveWriter::writeBytes(std::string_view bytes)
{
    bytes_.append(bytes);
}

void ArchiveWriter::writeString(std::u16string_view text)
{
    if (text.size() > kMaxLength)
        text = text.substr(0, static_cast<std::size_t>(kMaxLength));
    const std::size_t length = text.size();
    writeU8(kLongLength);
    writeU16(kWideMarker);
    if (length < kLongLength) {
        writeU8(static_cast<std::uint8_t>(length));
    } else if (length < kWideMarker) {
        writeU8(kLongLength);
        writeU16(static_cast<std::uint16_t>(length));
    } else {
        writeU8(kLongLength);
        writeU16(kHugeLength);
        writeU32(static_cast<std::uint32_t>(length));
    }
    for (const char16_t unit : text)
        writeU16(static_cast<std::uint16_t>(unit));
}

bool ArchiveReader::readUnsigned(std::size_t size, std::uint64_t& value)
{
    if (remaining() < size)
        return false;
    std::uint64_t result = 0;
    for (std::size_t i = 0; i < size; ++i)
        result |= std::uint64_t{static_cast<unsigned char>(bytes_[position_ + i])} << (8 * i);
    position_ += size;
    value = result;
    return true;
}

bool ArchiveReader::readU8(std::uint8_t& value)
{
    std::uint64_t raw = 0;
    if (!readUnsigned(1, raw))
        return false;
    value = static_cast<std::uint8_t>(raw);
    return true;
}

bool ArchiveReader::readU16(std::uint16_t& value)
{
    std::uint64_t raw = 0;
    if (!readUnsigned(2, raw))
        return false;
    value = static_cast<std::uint16_t>(raw);
    return true;
}

bool ArchiveReader::readU32(std::uint32_t& value)
{
    std::uint64_t raw = 0;
    if (!readUnsigned(4, raw))
        return false;
    value = static_cast<std::uint32_t>(raw);
    return true;
}

bool ArchiveReader::readI32(std::int32_t& value)
{
    std::uint32_t raw = 0;
    if (!readU32(raw))
        return false;
    value = static_cast<std::int32_t>(raw);
    return true;
}

bool ArchiveReader::readU64(std::uint64_t& value)
{
    return readUnsigned(8, value);
}

bool ArchiveReader::readF64(double& value)
{
    std::uint64_t raw = 0;
    if (!readU64(raw))
        return false;
    value = std::bit_cast<double>(raw);
    return true;
}

bool ArchiveReader::readStringLength(std::uint64_t& length, bool& wide)
{
    wide = false;
    std::uint64_t value = 0;
    if (!readUnsigned(1, value))
        return false;
    if (value < kLongLength) {
        length = value;
        return true;
    }
    if (!readUnsigned(2, value))
        return false;
    if (value == kWideMarker) {
        wide = true;
        if (!readUnsigned(1, value))
            return false;
        if (value < kLongLength) {
            length = value;
            return true;
        }
        if (!readUnsigned(2, value) || value == kWideMarker)
            return false;
    }
    if (value == kHugeLength)
        return readUnsigned(4, length);
    length = value;
    return true;
}

bool ArchiveReader::readString(std::u16string& text)
{
    const std::size_t start = position_;
    std::uint64_t length = 0;
    bool wide = false;
    if (!readStringLength(length, wide)) {
        position_ = start;
        return false;
    }
    const std::uint64_t size = wide ? length * 2 : length;  // length < 2^32: no overflow
    if (size > remaining()) {
        position_ = start;
        return false;
    }
    std::u16string result(static_cast<std::size_t>(length), u'\0');
    const auto* data = reinterpret_cast<const unsigned char*>(bytes_.data() + position_);
    for (std::size_t i = 0; i < result.size(); ++i) {
        result[i] = wide ? static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8)) : static_cast<char16_t>(data[i]);
    }
    position_ += static_cast<std::size_t>(size);
    text = std::move(result);
    return true;
}
