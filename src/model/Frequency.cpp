#include "Frequency.h"

#include <limits>

namespace tavin {

namespace {

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The decimal number at the start of a text: value = digits * 10^exponent.
struct DecimalPrefix {
    bool negative = false;
    std::string digits;  // significant digits, no leading zeros; empty means zero
    std::int64_t exponent = 0;
};

constexpr std::int64_t kExponentLimit = 1000000;

// Skips leading white space and an optional sign, as atof and atol do; true
// for a minus sign.
bool skipSpaceAndSign(std::string_view text, std::size_t &i)
{
    while (i < text.size() && isSpace(text[i]))
        ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        return text[i++] == '-';
    return false;
}

DecimalPrefix readDecimalPrefix(std::string_view text)
{
    DecimalPrefix number;
    std::size_t i = 0;
    const bool negative = skipSpaceAndSign(text, i);
    std::string digits;
    std::int64_t fractionLength = 0;
    bool anyDigit = false;
    while (i < text.size() && isDigit(text[i])) {
        anyDigit = true;
        if (!digits.empty() || text[i] != '0')
            digits += text[i];
        ++i;
    }
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && isDigit(text[i])) {
            anyDigit = true;
            if (!digits.empty() || text[i] != '0')
                digits += text[i];
            ++fractionLength;
            ++i;
        }
    }
    if (!anyDigit)
        return number;  // no number: zero

    std::int64_t exponent = 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        bool expNegative = false;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
            expNegative = text[j] == '-';
            ++j;
        }
        if (j < text.size() && isDigit(text[j])) {
            while (j < text.size() && isDigit(text[j])) {
                if (exponent < kExponentLimit)
                    exponent = exponent * 10 + (text[j] - '0');
                ++j;
            }
            if (expNegative)
                exponent = -exponent;
        }
    }
    number.negative = negative;
    number.digits = std::move(digits);
    number.exponent = exponent - fractionLength;
    return number;
}

}  // namespace

std::string formatFrequency(std::uint64_t count)
{
    std::string fraction = std::to_string(count % kUnitsPerMHz);
    fraction.insert(0, 5 - fraction.size(), '0');
    return std::to_string(count / kUnitsPerMHz) + '.' + fraction;
}

std::optional<std::int64_t> scaledDecimalPrefix(std::string_view text, int decimals)
{
    const DecimalPrefix number = readDecimalPrefix(text);
    if (number.digits.empty())
        return 0;
    const std::int64_t shift = number.exponent + decimals;
    std::size_t keep = number.digits.size();
    if (shift < 0) {
        if (static_cast<std::uint64_t>(-shift) >= keep)
            return 0;  // all digits lie below the last decimal kept
        keep -= static_cast<std::size_t>(-shift);
    }
    constexpr std::uint64_t kMax = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
    std::uint64_t value = 0;
    for (std::size_t k = 0; k < keep; ++k) {
        const auto digit = static_cast<std::uint64_t>(number.digits[k] - '0');
        if (value > (kMax - digit) / 10)
            return std::nullopt;
        value = value * 10 + digit;
    }
    for (std::int64_t k = 0; k < shift; ++k) {
        if (value > kMax / 10)
            return std::nullopt;
        value *= 10;
    }
    const auto result = static_cast<std::int64_t>(value);
    return number.negative ? -result : result;
}

std::int64_t integerPrefix(std::string_view text)
{
    std::size_t i = 0;
    const bool negative = skipSpaceAndSign(text, i);
    constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
    std::int64_t value = 0;
    while (i < text.size() && isDigit(text[i])) {
        const int digit = text[i] - '0';
        value = value > (kMax - digit) / 10 ? kMax : value * 10 + digit;
        ++i;
    }
    return negative ? -value : value;
}

std::optional<std::uint32_t> frequencyCountFromText(std::string_view text)
{
    const std::optional<std::int64_t> count = scaledDecimalPrefix(text, 5);
    if (!count || *count < 0 || *count > std::numeric_limits<std::uint32_t>::max())
        return std::nullopt;
    return static_cast<std::uint32_t>(*count);
}

}  // namespace tavin
