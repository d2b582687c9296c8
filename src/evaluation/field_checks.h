// What a dialog's confirmation check reports: the first field that failed and the message
// to show, built from text numbers so that it follows the language.
#pragma once

#include <functional>
#include <optional>
#include <string>

namespace quorvex {

constexpr int kRangeTextNumber = 181;    // "Gültigkeitsbereich"
constexpr int kInvalidTextNumber = 567;  // "Ungültige Eingabe!"

struct CheckFailure {
    int Field = 0;  // the dialog's own field enumeration
    int Stage = 0;  // 1-based stage of a programme row, else 0
    int TextNumber = kRangeTextNumber;
    std::string RangeText;       // follows the text, e.g. " 0.5 ... 600.0 !"
    int EmbeddedTextNumber = 0;  // a text inside the range text ("Nennkraft"), 0 when none
    std::string RangeTextTail;   // follows the embedded text
};

using CheckResult = std::optional<CheckFailure>;

// The message of a failure with the texts of the current language.
std::string ComposeMessage(const CheckFailure& failure,
                           const std::function<std::string(int)>& text);

// A decimal field in low..high, else a failure with text 181 and the range text (or text 567
// when rangeText is empty).
CheckResult CheckNumberField(int field, const std::string& text, double low, double high,
                             const std::string& rangeText, int stage = 0);
CheckResult CheckIntegerField(int field, const std::string& text, long long low, long long high,
                              const std::string& rangeText);

}  // namespace quorvex
