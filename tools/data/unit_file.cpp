#include "unit_file.h"

#include <algorithm>

#include "ascii.h"
#include "atomic_file.h"
#include "c_number.h"
#include "utf16.h"

namespace unitfile {

namespace {

// keyword compared with an upper-case word, case ignored; with prefix it need only start so.
bool keywordIs(std::u16string_view keyword, std::u16string_view upperWord, bool prefix)
{
    if (keyword.size() < upperWord.size() || (!prefix && keyword.size() != upperWord.size()))
        return false;
    for (std::size_t i = 0; i < upperWord.size(); ++i)
        if (ascii::toUpper(keyword[i]) != upperWord[i])
            return false;
    return true;
}

// wcstol(text, 10) != 0: a sign, then digits; anything else reads as 0.
bool numberIsNonZero(std::u16string_view text)
{
    std::size_t i = 0;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
        ++i;
    for (; i < text.size() && ascii::isDigit(text[i]); ++i)
        if (text[i] != u'0')
            return true;
    return false;
}

bool isOperator(char16_t c)
{
    return c == u'(' || c == u')' || c == u'*' || c == u'/' || c == u'^';
}

bool addTokens(std::vector<std::u16string>& side, const std::u16string& token, std::size_t times)
{
    if (token.empty())
        return true;
    if (times > kMaxSideTokens - std::min(side.size(), kMaxSideTokens))
        return false;
    side.insert(side.end(), times, token);
    return true;
}

}  // namespace

LineReader::LineReader(std::string_view bytes, std::size_t bufferSize)
    : bytes_(bytes), limit_(bufferSize > 1 ? bufferSize - 1 : 1)
{
}

bool LineReader::next(std::string_view& line)
{
    if (pos_ >= bytes_.size())
        return false;
    const std::size_t room = std::min(limit_, bytes_.size() - pos_);
    std::size_t length = 0;
    while (length < room && bytes_[pos_ + length] != '\n')
        ++length;
    if (length < room)
        ++length;  // the line feed belongs to the line, as fgets keeps it
    line = bytes_.substr(pos_, length);
    pos_ += length;
    ++lineNumber_;
    line = line.substr(0, line.find('\0'));
    return true;
}

std::vector<std::u16string> words(std::string_view line, bool colonIsBlank)
{
    const std::u16string text = fromUtf8(line);
    std::vector<std::u16string> result;
    std::u16string word;
    for (char16_t c : text) {
        const bool blank = c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || (colonIsBlank && c == u':');
        if (!blank) {
            word.push_back(c);
        } else if (!word.empty()) {
            result.push_back(std::move(word));
            word.clear();
        }
    }
    if (!word.empty())
        result.push_back(std::move(word));
    return result;
}

std::u16string underscoresToBlanks(std::u16string text)
{
    std::replace(text.begin(), text.end(), u'_', u' ');
    return text;
}

double atofRule(std::u16string_view word)
{
    std::string ascii;
    for (std::size_t i = 0; i < word.size() && i < 100; ++i)
        ascii.push_back(word[i] < 0x80 ? static_cast<char>(word[i]) : '\x7f');
    double value = 0.0;
    return cnum::parsePrefix(ascii, value) > 0 ? value : 0.0;
}

bool parseDefinition(std::u16string_view text, std::vector<std::u16string>& numerator,
                     std::vector<std::u16string>& denominator)
{
    numerator.clear();
    denominator.clear();
    std::vector<std::u16string>* side = &numerator;
    auto other = [&] { return side == &numerator ? &denominator : &numerator; };
    bool parenthesis = false;
    std::u16string token;
    for (std::size_t i = 0; i < text.size();) {
        const char16_t c = text[i++];
        if (c == u' ')
            return false;
        if (!isOperator(c)) {
            if (token.size() < kMaxTokenLength)
                token.push_back(c);
            continue;
        }
        if (c == u'^') {
            std::size_t times = 0;
            const std::size_t start = i;
            for (; i < text.size() && !isOperator(text[i]); ++i) {
                if (!ascii::isDigit(text[i]))
                    return false;
                // Saturates: any exponent above the side limit fails in addTokens.
                times = std::min<std::size_t>(times * 10 + (text[i] - u'0'), kMaxSideTokens + 1);
            }
            if (i == start || !addTokens(*side, token, times))
                return false;
            token.clear();
            if (!parenthesis)
                side = &numerator;
            continue;
        }
        parenthesis = parenthesis || c == u'(' || c == u')';
        if (c == u'(')
            continue;  // marks only: "a(b" is the one token "ab"
        if (!addTokens(*side, token, 1))
            return false;
        token.clear();
        if (c == u'*' && !parenthesis)
            side = &numerator;
        else if (c == u'/')
            side = other();
    }
    return addTokens(*side, token, 1);
}

bool parseUnitRecord(const std::vector<std::u16string>& words, UnitRecord& record)
{
    if (words.size() < 3)
        return false;
    record = UnitRecord{};
    record.name = underscoresToBlanks(words[0]);
    record.symbol = underscoresToBlanks(words[1]);
    if (words[2] == u"!")
        return true;
    if (words.size() < 5)
        return false;
    record.factor = atofRule(words[2]);
    record.offset = atofRule(words[3]);
    return parseDefinition(words[4], record.numerator, record.denominator);
}

Control control(const std::vector<std::u16string>& words, bool prefixKeywords, UnitCategory& category)
{
    if (words.empty() || words[0].empty() || words[0][0] != u'#')
        return Control::None;
    // The '#' becomes a blank: "#Begin" and "# Begin" both have the keyword "Begin".
    std::vector<std::u16string_view> rest;
    if (words[0].size() > 1)
        rest.push_back(std::u16string_view(words[0]).substr(1));
    for (std::size_t i = 1; i < words.size() && rest.size() < 3; ++i)
        rest.push_back(words[i]);
    if (rest.empty())
        return Control::Other;
    if (keywordIs(rest[0], u"BEGIN", prefixKeywords)) {
        category.name = rest.size() > 1 ? underscoresToBlanks(std::u16string(rest[1])) : u"";
        category.flag = rest.size() > 2 && numberIsNonZero(rest[2]) ? 1 : 0;
        return Control::Begin;
    }
    if (keywordIs(rest[0], u"END", prefixKeywords))
        return Control::End;
    return Control::Other;
}

bool readFile(const std::filesystem::path& path, std::string& bytes)
{
    return readWholeFile(path, bytes, kMaxFileBytes);
}

int readCategories(const std::filesystem::path& path, bool prefixKeywords, std::vector<UnitCategory>& categories)
{
    std::string bytes;
    if (!readFile(path, bytes))
        return -1;
    LineReader reader(bytes, kCategoryBuffer);
    std::string_view line;
    int depth = 0;
    UnitCategory open;
    while (reader.next(line)) {
        UnitCategory category;
        switch (control(words(line, true), prefixKeywords, category)) {
        case Control::Begin:
            if (depth++ == 0)
                open = category;
            break;
        case Control::End:
            if (depth == 1 && !keywordIs(open.name, u"CONSTANT", true))
                categories.push_back(open);
            depth = std::max(depth - 1, 0);
            break;
        case Control::None:
        case Control::Other: break;
        }
    }
    return 0;
}

int readFirstCategory(const std::filesystem::path& path, bool prefixKeywords, std::optional<UnitCategory>& category)
{
    category.reset();
    std::string bytes;
    if (!readFile(path, bytes))
        return -1;
    LineReader reader(bytes, kCategoryBuffer);
    std::string_view line;
    UnitCategory found;
    while (reader.next(line)) {
        // Nothing precedes the first "#Begin" at depth 0, so the first Begin is top level.
        if (control(words(line, true), prefixKeywords, found) == Control::Begin) {
            category = found;
            break;
        }
    }
    return 0;
}

}  // namespace unitfile
