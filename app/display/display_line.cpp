#include "display_line.h"

namespace {

constexpr char16_t kZero = u'0';
// The largest length one map character can carry.
constexpr std::size_t kMaxTokenLength = 0xD7FF - kZero;

std::size_t lengthOf(char16_t mapCharacter)
{
    return mapCharacter > kZero ? static_cast<std::size_t>(mapCharacter - kZero) : 0;
}

bool mapDescribes(std::u16string_view map, std::size_t textLength)
{
    std::size_t total = 0;
    for (char16_t c : map) {
        const std::size_t length = lengthOf(c);
        if (length == 0 || c >= 0xD800)
            return false;
        total += length;
    }
    return total == textLength;
}

}  // namespace

std::size_t DisplayLine::characterPosition(std::size_t token) const
{
    std::size_t position = 0;
    for (std::size_t i = 0; i < token && i < tokenMap_.size(); ++i)
        position += lengthOf(tokenMap_[i]);
    return position;
}

std::u16string_view DisplayLine::token(std::size_t index) const
{
    if (index >= tokenMap_.size())
        return {};
    return std::u16string_view(input_).substr(characterPosition(index), lengthOf(tokenMap_[index]));
}

void DisplayLine::insertToken(std::u16string_view text)
{
    while (!text.empty()) {
        const std::size_t length = text.size() < kMaxTokenLength ? text.size() : kMaxTokenLength;
        input_.insert(characterPosition(cursor_), text.substr(0, length));
        tokenMap_.insert(tokenMap_.begin() + static_cast<std::ptrdiff_t>(cursor_),
                         static_cast<char16_t>(kZero + length));
        ++cursor_;
        text.remove_prefix(length);
    }
}

void DisplayLine::deleteAtCursor()
{
    if (cursor_ >= tokenMap_.size())
        return;
    input_.erase(characterPosition(cursor_), lengthOf(tokenMap_[cursor_]));
    tokenMap_.erase(tokenMap_.begin() + static_cast<std::ptrdiff_t>(cursor_));
}

void DisplayLine::moveCursor(long delta)
{
    const long target = static_cast<long>(cursor_) + delta;
    const long last = static_cast<long>(tokenMap_.size());
    cursor_ = static_cast<std::size_t>(target < 0 ? 0 : (target > last ? last : target));
}

void DisplayLine::clear()
{
    input_.clear();
    tokenMap_.clear();
    cursor_ = 0;
}

void DisplayLine::setContent(std::u16string input, std::u16string tokenMap)
{
    input_ = std::move(input);
    if (mapDescribes(tokenMap, input_.size()))
        tokenMap_ = std::move(tokenMap);
    else
        tokenMap_.assign(input_.size(), static_cast<char16_t>(kZero + 1));
    cursor_ = 0;
}

void DisplayLine::replaceTextKeepingTokens(std::u16string input)
{
    std::u16string map = tokenMap_;
    setContent(std::move(input), std::move(map));
}
