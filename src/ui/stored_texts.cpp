// The stored texts and the lengths their places allow.
#include "ui/stored_texts.h"

#include <array>

namespace quorvex {
namespace {

struct StoredRange {
    int first;
    int last;
    int maxLength;
};

// Every stored text number with the length of the string it is kept in.
constexpr std::array<StoredRange, 15> kStoredRanges = {{
    {39, 39, 50},    // "Parameter laden"
    {42, 47, 50},    // access-code captions, prompts and wrong-code messages
    {48, 48, 80},    // the series question
    {53, 53, 80},    // the single-instance message
    {157, 158, 30},  // the result tab captions
    {165, 177, 80},  // series and test messages
    {181, 181, 50},  // "Gültigkeitsbereich"
    {345, 348, 30},  // message captions
    {364, 364, 80},  // safety door
    {550, 550, 70},  // project cannot be created
    {567, 567, 50},  // invalid input
    {571, 576, 80},  // controller link failures
    {584, 587, 70},  // database errors
    {641, 674, 80},  // test-type names, diagram and configuration texts
    {687, 688, 80},  // modulus determination
}};

}  // namespace

StoredTexts::StoredTexts() : StoredTexts(BuiltInTextTable()) {}

StoredTexts::StoredTexts(const TextTable& table) : table_(table) { Apply(0); }

int StoredTexts::MaxLength(int number) {
    for (const StoredRange& range : kStoredRanges) {
        if (number >= range.first && number <= range.last) return range.maxLength;
    }
    return 0;
}

void StoredTexts::Apply(int base) {
    base_ = base;
    texts_.clear();
    for (const StoredRange& range : kStoredRanges) {
        for (int number = range.first; number <= range.last; ++number) {
            texts_.insert(number, table_.Text(number, base).left(range.maxLength));
        }
    }
    titlePrefix_ = kTitlePrefix;
}

}  // namespace quorvex
