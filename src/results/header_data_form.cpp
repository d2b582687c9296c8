// Header lines, their titles and the report's page head.
#include "results/header_data_form.h"

#include <algorithm>
#include <cstring>

#include "evaluation/win1252.h"

namespace quorvex {
namespace {

constexpr std::size_t kReservedOffset = 1706;

}  // namespace

HeaderTitle HeaderTitleOf(const std::string& label) {
    // Every space is removed before the test: "   " is no title.
    if (std::all_of(label.begin(), label.end(), [](char c) { return c == ' '; })) return {};
    return {true, label};
}

void StoreHeaderValues(const std::array<std::string, kHeaderLines>& inputs, ParameterSet& p) {
    for (int i = 0; i < kHeaderLines; ++i) {
        p.HeaderValue[static_cast<std::size_t>(i)] =
            Utf8Left(inputs[static_cast<std::size_t>(i)], 50);
    }
}

int NextHeaderInput(int input, bool okEnabled) {
    if (input < kHeaderLines - 1) return input + 1;
    return okEnabled ? -1 : 0;
}

TitleDefinitionForm OpenTitleDefinition(const ParameterSet& p,
                                        const std::function<bool(const std::string&)>& fileExists) {
    TitleDefinitionForm form;
    for (std::size_t i = 0; i < form.TitleLines.size(); ++i) {
        form.TitleLines[i] = Utf8Left(p.TitleLine[i], kTitleLineInput);
    }
    form.ReportHeading = Utf8Left(p.ReportHeading, kReportHeadingInput);
    form.Footnote = Utf8Left(p.Footnote, kFootnoteInput);
    for (std::size_t i = 0; i < form.HeaderLabels.size(); ++i) {
        form.HeaderLabels[i] = Utf8Left(p.HeaderLabel[i], kHeaderLabelInput);
    }
    const std::string logo = Utf8Left(p.LogoFile, kLogoFileInput);
    form.LogoFile = !logo.empty() && fileExists(logo) ? logo : std::string{};
    return form;
}

void StoreTitleDefinition(const TitleDefinitionForm& form, ParameterSet& p) {
    for (std::size_t i = 0; i < form.TitleLines.size(); ++i) {
        p.TitleLine[i] = Utf8Left(form.TitleLines[i], 50);
    }
    for (std::size_t i = 0; i < form.HeaderLabels.size(); ++i) {
        p.HeaderLabel[i] = Utf8Left(form.HeaderLabels[i], 50);
    }
    p.ReportHeading = Utf8Left(form.ReportHeading, 80);
    p.Footnote = Utf8Left(form.Footnote, 80);
    p.LogoFile = Utf8Left(form.LogoFile, 80);
    if (p.Carried.size() >= kReservedOffset + 4) {
        std::fill_n(p.Carried.begin() + kReservedOffset, 4, std::uint8_t{0});
    }
}

int NextTitleInput(int input) {
    return (input + 1) % 6;
}
int NextHeaderLabelInput(int input) {
    return (input + 1) % kHeaderLines;
}

}  // namespace quorvex
