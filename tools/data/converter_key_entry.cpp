#include "converter_key_entry.h"

#include <charconv>
#include <cmath>

#include "ascii.h"

namespace {

bool isOperator(char16_t code)
{
    return code == u'+' || code == u'-' || code == u'*' || code == u'/';
}

}  // namespace

bool ConverterKeyEntry::takes(char16_t code)
{
    return ascii::isDigit(code) || code == u'.' || code == kBackspace || code == kNegate || isOperator(code) ||
           code == u'=' || code == u'M' || code == u'R';
}

// From 10,000 up, fewer decimals: the digits beyond the 12th are not the number's
// (105505585.262 would show as 105505585.26199999).
std::string ConverterKeyEntry::plainText(double x)
{
    const double magnitude = std::fabs(x);
    char buffer[64];
    if (magnitude <= 1e12 && (magnitude >= 1e-8 || x == 0.0)) {
        int decimals = 8;
        for (double limit = 1e4; decimals > 0 && magnitude >= limit; limit *= 10)
            --decimals;
        const auto end = std::to_chars(buffer, buffer + sizeof buffer, x, std::chars_format::fixed, decimals).ptr;
        std::string text(buffer, end);
        if (decimals > 0) {
            text.erase(text.find_last_not_of('0') + 1);
            if (text.back() == '.')
                text.pop_back();
        }
        if (text == "-0")
            text = "0";
        return text;
    }
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, x, std::chars_format::scientific, 8).ptr;
    return std::string(buffer, end);
}

bool ConverterKeyEntry::press(char16_t code, double shown)
{
    if (code == u'-' && fresh_ && pending_ == 0 && shown == 0.0)
        code = kNegate;
    if (code == kNegate) {
        // The number being typed, or the one shown, changes sign; typing goes on as it was.
        if (fresh_)
            text_ = shown == 0.0 ? std::string("0") : plainText(shown);
        if (!text_.empty() && text_[0] == '-')
            text_.erase(0, 1);
        else
            text_.insert(0, 1, '-');
        if (fresh_ && text_ == "-0")
            fresh_ = false;  // the sign of the number to come: the next digit replaces the 0
    } else if (ascii::isDigit(code) || code == u'.') {
        if (fresh_)
            text_.clear();
        fresh_ = false;
        if (code == u'.') {
            if (text_.find('.') != std::string::npos)
                return false;
            if (text_.empty() || text_ == "-")
                text_ += "0";
        } else if (text_ == "0" || text_ == "-0") {
            text_.pop_back();
        }
        text_ += static_cast<char>(code);
    } else if (code == kBackspace) {
        if (fresh_)
            text_ = plainText(shown);
        fresh_ = false;
        if (!text_.empty())
            text_.pop_back();
        if (text_.empty() || text_ == "-")
            text_ = "0";
    } else if (code == u'M') {
        memory_ = shown;
        fresh_ = true;
        text_ = plainText(shown);
    } else if (code == u'R') {
        text_ = plainText(memory_);
        fresh_ = true;
    } else if (isOperator(code) || code == u'=') {
        // An operator or "=" completes the pending arithmetic.
        double result = shown;
        if (pending_ == '+')
            result = accumulator_ + shown;
        else if (pending_ == '-')
            result = accumulator_ - shown;
        else if (pending_ == '*')
            result = accumulator_ * shown;
        else if (pending_ == '/')
            result = accumulator_ / shown;
        if (!std::isfinite(result))
            result = 0.0;
        accumulator_ = result;
        pending_ = code == u'=' ? 0 : static_cast<char>(code);
        text_ = plainText(result);
        fresh_ = true;
    } else {
        return false;
    }
    return true;
}

void ConverterKeyEntry::reset()
{
    text_.clear();
    fresh_ = true;
    pending_ = 0;
    accumulator_ = 0.0;
}
