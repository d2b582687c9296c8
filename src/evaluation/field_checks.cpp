// Range checks of dialog fields.
#include "field_checks.h"

#include "text_functions.h"

namespace quorvex {

std::string ComposeMessage(const CheckFailure& failure,
                           const std::function<std::string(int)>& text) {
    std::string message = text(failure.TextNumber) + failure.RangeText;
    if (failure.EmbeddedTextNumber != 0) message += text(failure.EmbeddedTextNumber);
    return message + failure.RangeTextTail;
}

namespace {

CheckFailure Failure(int field, const std::string& rangeText, int stage) {
    CheckFailure failure;
    failure.Field = field;
    failure.Stage = stage;
    if (rangeText.empty()) {
        failure.TextNumber = kInvalidTextNumber;
    } else {
        failure.RangeText = rangeText;
    }
    return failure;
}

}  // namespace

CheckResult CheckNumberField(int field, const std::string& text, double low, double high,
                             const std::string& rangeText, int stage) {
    if (ParseNumberInRange(text, low, high).valid) return std::nullopt;
    return Failure(field, rangeText, stage);
}

CheckResult CheckIntegerField(int field, const std::string& text, long long low, long long high,
                              const std::string& rangeText) {
    if (ParseIntegerInRange(text, low, high).valid) return std::nullopt;
    return Failure(field, rangeText, 0);
}

}  // namespace quorvex
