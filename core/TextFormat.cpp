// Locale-independent texts: the fixed-point number printer and the expansion
// of strftime-style patterns in the POSIX locale.

#include "core/CalendarMath.h"
#include "core/DateValue.h"
#include "core/Texts.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>
#include <string_view>
#include <system_error>

namespace norvale {

namespace {

constexpr int kSignificantDigits = 17;
constexpr int kMaxDecimals = 400;
constexpr std::size_t kMaxFormatLength = 255;

// Rounds the decimal digits in `digits` half up (away from zero) so that
// `keep` of them remain; a carry out of the first digit prepends a "1".
void RoundDigits(std::string& digits, std::size_t keep) {
    if (keep >= digits.size()) {
        digits.append(keep - digits.size(), '0');
        return;
    }
    const bool up = digits[keep] >= '5';
    digits.resize(keep);
    if (!up) {
        return;
    }
    for (std::size_t i = keep; i-- > 0;) {
        if (digits[i] != '9') {
            ++digits[i];
            return;
        }
        digits[i] = '0';
    }
    digits.insert(digits.begin(), '1');
}

// Fields of one value as the pattern expander needs them.
struct BrokenDown {
    SystemTime fields;
    int dayOfYear = 1;
};

constexpr std::array<std::string_view, 12> kMonthNames = {
    "January", "February", "March",     "April",   "May",      "June",
    "July",    "August",   "September", "October", "November", "December"};
constexpr std::array<std::string_view, 7> kWeekdayNames = {
    "Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};

void AppendNumber(std::string& out, long long number, int width, char pad = '0') {
    std::array<char, 24> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), number);
    const auto length = static_cast<int>(result.ptr - buffer.data());
    if (length < width) {
        out.append(static_cast<std::size_t>(width - length), pad);
    }
    out.append(buffer.data(), result.ptr);
}

int TwelveHour(int hour) {
    const int h = hour % 12;
    return h == 0 ? 12 : h;
}

// Appends the expansion of conversion `c`; false when `c` is not one this
// expander knows, so the caller can copy it as it stands.
bool AppendConversion(std::string& out, char c, const BrokenDown& t) {
    const SystemTime& f = t.fields;
    const std::string_view month = kMonthNames[f.wMonth - 1u];
    const std::string_view weekday = kWeekdayNames[f.wDayOfWeek];
    switch (c) {
    case 'a':
        out += weekday.substr(0, 3);
        break;
    case 'A':
        out += weekday;
        break;
    case 'b':
    case 'h':
        out += month.substr(0, 3);
        break;
    case 'B':
        out += month;
        break;
    case 'C':
        AppendNumber(out, f.wYear / 100, 2);
        break;
    case 'd':
        AppendNumber(out, f.wDay, 2);
        break;
    case 'D':
        AppendNumber(out, f.wMonth, 2);
        out += '/';
        AppendNumber(out, f.wDay, 2);
        out += '/';
        AppendNumber(out, f.wYear % 100, 2);
        break;
    case 'e':
        AppendNumber(out, f.wDay, 2, ' ');
        break;
    case 'F':
        AppendNumber(out, f.wYear, 4);
        out += '-';
        AppendNumber(out, f.wMonth, 2);
        out += '-';
        AppendNumber(out, f.wDay, 2);
        break;
    case 'H':
        AppendNumber(out, f.wHour, 2);
        break;
    case 'I':
        AppendNumber(out, TwelveHour(f.wHour), 2);
        break;
    case 'j':
        AppendNumber(out, t.dayOfYear, 3);
        break;
    case 'm':
        AppendNumber(out, f.wMonth, 2);
        break;
    case 'M':
        AppendNumber(out, f.wMinute, 2);
        break;
    case 'n':
        out += '\n';
        break;
    case 'p':
        out += f.wHour < 12 ? "AM" : "PM";
        break;
    case 'R':
        AppendNumber(out, f.wHour, 2);
        out += ':';
        AppendNumber(out, f.wMinute, 2);
        break;
    case 'S':
        AppendNumber(out, f.wSecond, 2);
        break;
    case 't':
        out += '\t';
        break;
    case 'T':
        AppendNumber(out, f.wHour, 2);
        out += ':';
        AppendNumber(out, f.wMinute, 2);
        out += ':';
        AppendNumber(out, f.wSecond, 2);
        break;
    case 'u':
        AppendNumber(out, f.wDayOfWeek == 0 ? 7 : f.wDayOfWeek, 1);
        break;
    case 'w':
        AppendNumber(out, f.wDayOfWeek, 1);
        break;
    case 'y':
        AppendNumber(out, f.wYear % 100, 2);
        break;
    case 'Y':
        AppendNumber(out, f.wYear, 1);
        break;
    case '%':
        out += '%';
        break;
    default:
        return false;
    }
    return true;
}

std::string Expand(std::string_view pattern, const BrokenDown& t) {
    std::string out;
    for (std::size_t i = 0; i < pattern.size() && out.size() < kMaxFormatLength; ++i) {
        if (pattern[i] != '%' || i + 1 == pattern.size()) {
            out += pattern[i];
            continue;
        }
        const char c = pattern[++i];
        if (!AppendConversion(out, c, t)) {
            out += '%';
            out += c;
        }
    }
    if (out.size() > kMaxFormatLength) {
        out.resize(kMaxFormatLength);
    }
    return out;
}

} // namespace

std::string FixedText(double x, int decimals) {
    if (std::isnan(x)) {
        return std::signbit(x) ? "-nan" : "nan";
    }
    if (std::isinf(x)) {
        return x < 0 ? "-inf" : "inf";
    }
    // More decimals than a double can carry would only print zeros.
    decimals = std::clamp(decimals, 0, kMaxDecimals);
    // d.dddddddddddddddde+XX: the value to 17 significant digits.
    std::array<char, 32> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), std::fabs(x),
                                      std::chars_format::scientific, kSignificantDigits - 1);
    const std::string_view text(buffer.data(),
                                static_cast<std::size_t>(result.ptr - buffer.data()));
    const std::size_t e = text.find('e');
    std::string digits;
    digits += text[0];
    digits.append(text.substr(2, e - 2));
    int exponent = 0;
    std::from_chars(text.data() + e + 1 + (text[e + 1] == '+' ? 1 : 0), text.data() + text.size(),
                    exponent);

    // Shift so that the decimal point lies after `integerDigits` of `digits`.
    int integerDigits = exponent + 1;
    if (integerDigits < 1) {
        digits.insert(0, static_cast<std::size_t>(1 - integerDigits), '0');
        integerDigits = 1;
    }
    RoundDigits(digits, static_cast<std::size_t>(integerDigits + decimals));
    // A carry out of the first digit lengthened the integer part.
    const std::size_t fractionStart = digits.size() - static_cast<std::size_t>(decimals);

    std::string out;
    if (std::signbit(x)) {
        out += '-';
    }
    out.append(digits, 0, fractionStart);
    if (decimals > 0) {
        out += '.';
        out.append(digits, fractionStart, std::string::npos);
    }
    return out;
}

std::string DateValue::Format(std::string_view pattern) const {
    if (status == DateStatus::null) {
        return {};
    }
    BrokenDown t;
    if (status != DateStatus::valid || !DaysToFields(value, t.fields, &t.dayOfYear)) {
        return "Invalid DateTime";
    }
    return Expand(pattern, t);
}

std::string PrintableText(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u >= 0x7f) {
            c = '?';
        }
    }
    return out;
}

} // namespace norvale
