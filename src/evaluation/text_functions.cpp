// Number formatting and validation shared by every dialog, display and export file.
#include "text_functions.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <vector>

namespace quorvex {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view TrimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

// Optional sign, digits with at most one point (at least one digit), optional exponent.
bool IsDecimalNumber(std::string_view s) {
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    std::size_t digits = 0;
    bool point = false;
    for (; i < s.size(); ++i) {
        if (IsDigit(s[i])) {
            ++digits;
        } else if (s[i] == '.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (digits == 0) return false;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
        std::size_t expDigits = 0;
        for (; i < s.size() && IsDigit(s[i]); ++i) ++expDigits;
        if (expDigits == 0) return false;
    }
    return i == s.size();
}

bool ConvertDecimal(std::string_view text, double& value) {
    std::string_view s = TrimBlanks(text);
    if (!IsDecimalNumber(s)) return false;
    if (s.front() == '+') s.remove_prefix(1);
    const auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), value);
    return error == std::errc() && end == s.data() + s.size() && std::isfinite(value);
}

bool ConvertInteger(std::string_view text, long long& value) {
    std::string_view s = TrimBlanks(text);
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    if (s.empty()) return false;
    const auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), value);
    return error == std::errc() && end == s.data() + s.size();
}

}  // namespace

std::string FormatFixed(double value, int width, int decimals) {
    decimals = std::clamp(decimals, 0, 30);
    width = std::clamp(width, 0, 200);
    char buffer[512];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
    // printf rounds an exact tie to even; a reading of 12.5 with no decimals shows as 13,
    // as people round. A tie shows as a 5 followed only by zeros in the longer expansion.
    if (std::isfinite(value) && std::fabs(value) < 1e15) {
        char longer[512];
        std::snprintf(longer, sizeof longer, "%.*f", decimals + 25, std::fabs(value));
        const std::string_view tail = std::string_view(longer).substr(
            std::string_view(longer).find('.') + 1 + static_cast<std::size_t>(decimals));
        if (tail.front() == '5' && tail.find_first_not_of('0', 1) == std::string_view::npos) {
            const double scale = std::pow(10.0, decimals);
            const double away = (std::floor(std::fabs(value) * scale) + 1.0) / scale;
            std::snprintf(buffer, sizeof buffer, "%.*f", decimals, std::copysign(away, value));
        }
    }
    std::string text = buffer;
    // A value that rounds to zero shows without a sign: "-0.00" is no reading.
    if (text.front() == '-' &&
        text.find_first_not_of("0.", 1) == std::string::npos) {
        text.erase(0, 1);
    }
    if (static_cast<int>(text.size()) < width) text.insert(0, width - text.size(), ' ');
    return text;
}

std::string ApplyDecimalComma(std::string_view text, bool decimalComma) {
    std::string out(text);
    if (decimalComma) std::replace(out.begin(), out.end(), '.', ',');
    return out;
}

std::string RemoveBlanks(std::string_view text) { return RemoveCharacter(text, ' '); }

std::string RemoveCharacter(std::string_view text, char character) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c != character) out += c;
    }
    return out;
}

std::string DashIfEmpty(std::string_view text) {
    return RemoveBlanks(text).empty() ? std::string("-") : std::string(text);
}

std::string CutAtFirstPoint(std::string_view text) {
    return std::string(text.substr(0, text.find('.')));
}

std::string NumberAfterHash(std::string_view pattern, long long n) {
    const auto hash = pattern.find('#');
    const std::string_view prefix =
        hash == std::string_view::npos ? std::string_view() : pattern.substr(0, hash + 1);
    return std::string(prefix) + std::to_string(n);
}

ParsedNumber ParseNumberInRange(std::string_view text, double low, double high) {
    double value = 0.0;
    if (!ConvertDecimal(text, value) || value < low || value > high) return {};
    return {true, value};
}

ParsedInteger ParseIntegerInRange(std::string_view text, long long low, long long high) {
    long long value = 0;
    if (!ConvertInteger(text, value) || value < low || value > high) return {};
    return {true, value};
}

double ParseNumber(std::string_view text) {
    double value = 0.0;
    return ConvertDecimal(text, value) ? value : 0.0;
}

char DecimalKeyFilter(char key) {
    if (key == ',') return '.';
    if (IsDigit(key) || key == '-' || key == '.' || key == kBackspaceKey || key == kEnterKey) {
        return key;
    }
    return 0;
}

char IntegerKeyFilter(char key) {
    if (IsDigit(key) || key == '+' || key == '-' || key == kBackspaceKey || key == kEnterKey) {
        return key;
    }
    return 0;
}

std::string ExtractNumberText(std::string_view text) {
    if (const auto a = text.find('A'); a != std::string_view::npos) text.remove_prefix(a + 1);
    if (const auto b = text.find('B'); b != std::string_view::npos) text.remove_prefix(b + 1);
    std::string out;
    for (char c : text) {
        if (IsDigit(c) || c == '+' || c == '-' || c == '.') {
            out += c;
        } else if (c == ',') {
            out += '.';
        }
    }
    return out;
}

std::string KeepDigits(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (IsDigit(c)) out += c;
    }
    return out;
}

bool IsValidDate(std::string_view text, std::string_view shortDateFormat) {
    // Order of the parts and the separator, read from the format.
    std::string order;
    char separator = 0;
    for (char c : shortDateFormat) {
        const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (lower == 'd' || lower == 'm' || lower == 'y') {
            if (order.find(lower) == std::string::npos) order += lower;
        } else if (separator == 0) {
            separator = c;
        }
    }
    if (order.size() != 3 || separator == 0) return false;

    std::vector<std::string_view> parts;
    const std::string_view s = TrimBlanks(text);
    std::size_t start = 0;
    while (true) {
        const auto next = s.find(separator, start);
        parts.push_back(s.substr(start, next == std::string_view::npos ? next : next - start));
        if (next == std::string_view::npos) break;
        start = next + 1;
    }
    if (parts.size() != 3) return false;

    int day = 0, month = 0, year = 0;
    for (std::size_t i = 0; i < 3; ++i) {
        const std::string_view part = parts[i];
        if (part.empty() || part.size() > 4 ||
            !std::all_of(part.begin(), part.end(), IsDigit)) {
            return false;
        }
        const int value = std::stoi(std::string(part));
        if (order[i] == 'd') {
            if (part.size() > 2) return false;
            day = value;
        } else if (order[i] == 'm') {
            if (part.size() > 2) return false;
            month = value;
        } else {
            if (part.size() != 2 && part.size() != 4) return false;
            year = part.size() == 2 ? (value < 50 ? 2000 + value : 1900 + value) : value;
        }
    }
    if (year < 1 || month < 1 || month > 12 || day < 1) return false;
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    const int daysInMonth = kDays[month - 1] + (month == 2 && leap ? 1 : 0);
    return day <= daysInMonth;
}

std::int32_t PowerOfTen(int d) {
    std::int32_t result = 1;
    for (int i = 0; i < std::min(d, 9); ++i) result *= 10;
    return result;
}

}  // namespace quorvex
