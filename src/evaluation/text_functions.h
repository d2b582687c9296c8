// The small set of text and number functions with which every dialog, display and file
// formats and validates numbers, so that all of them behave alike.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quorvex {

// Fixed-point text with `decimals` digits behind a point, right-aligned in `width`
// characters; a longer text is not cut. A value that rounds to zero has no sign.
std::string FormatFixed(double value, int width, int decimals);

// "." becomes "," when decimalComma is set (export files only).
std::string ApplyDecimalComma(std::string_view text, bool decimalComma);

std::string RemoveBlanks(std::string_view text);
std::string RemoveCharacter(std::string_view text, char character);

// "-" when the text is empty after removing its blanks, else the text unchanged.
std::string DashIfEmpty(std::string_view text);

// Everything from the first "." on removed.
std::string CutAtFirstPoint(std::string_view text);

// The pattern up to and including its first "#", followed by n in decimal.
std::string NumberAfterHash(std::string_view pattern, long long n);

struct ParsedNumber {
    bool valid = false;
    double value = 0.0;
};

struct ParsedInteger {
    bool valid = false;
    long long value = 0;
};

// Valid when the whole text (blanks around it aside) is a decimal number with a point as
// decimal separator and low <= value <= high. The value is delivered only when valid.
ParsedNumber ParseNumberInRange(std::string_view text, double low, double high);
ParsedInteger ParseIntegerInRange(std::string_view text, long long low, long long high);

// Conversion without range test, for texts validated before; anything else gives 0.
double ParseNumber(std::string_view text);

constexpr char kBackspaceKey = 8;
constexpr char kEnterKey = 13;

// "," becomes "."; digits, "-", ".", Backspace and Enter pass; every other key becomes 0.
char DecimalKeyFilter(char key);
// Digits, "+", "-", Backspace and Enter pass; every other key becomes 0.
char IntegerKeyFilter(char key);

// Drops everything up to the first "A", then up to the first "B" (each when present),
// then keeps digits, "+", "-", "." and "," (as ".") in their order. Instrument readings
// and screw-table values pass through it.
std::string ExtractNumberText(std::string_view text);

std::string KeepDigits(std::string_view text);

// Whether the text converts as a date in the given short date format ("dd.MM.yyyy",
// "M/d/yyyy", "yyyy-MM-dd", ...): the order of day, month and year and the separator come
// from the format; day and month take one or two digits, the year two or four.
bool IsValidDate(std::string_view text, std::string_view shortDateFormat);

// 10^d for d = 0..9; 1 below.
std::int32_t PowerOfTen(int d);

}  // namespace quorvex
