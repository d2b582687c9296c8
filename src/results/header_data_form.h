// What the header data dialog and the title and header definition show and store: plain
// functions over the parameter set, so that their rules are tested without widgets.
#pragma once

#include <array>
#include <functional>
#include <string>

#include "evaluation/parameter_set.h"

namespace quorvex {

constexpr int kHeaderLines = 10;
constexpr int kHeaderValueInput = 40;  // characters of a header line's input
constexpr int kHeaderLabelInput = 30;  // of a header title's input
constexpr int kTitleLineInput = 40;
constexpr int kReportHeadingInput = 50;
constexpr int kFootnoteInput = 80;
constexpr int kLogoFileInput = 80;

// The title of one header line as the header data dialog shows it: the defined title, or text
// 52 "nicht definiert" in red when the title holds nothing but spaces.
struct HeaderTitle {
    bool Defined = false;
    std::string Text;  // the title without the ":" that follows it; empty when not defined
};
HeaderTitle HeaderTitleOf(const std::string& label);

// OK of the header data dialog: the ten inputs become the header lines (cut to 50).
void StoreHeaderValues(const std::array<std::string, kHeaderLines>& inputs, ParameterSet& p);

// Enter in header input i (0-based) moves to the next input; from the last one to OK when OK
// can be pressed, else back to the first. Returns the next input, or -1 for OK.
int NextHeaderInput(int input, bool okEnabled);

// The inputs of the title and header definition.
struct TitleDefinitionForm {
    std::array<std::string, 4> TitleLines;
    std::string ReportHeading;
    std::string Footnote;
    std::array<std::string, kHeaderLines> HeaderLabels;
    std::string LogoFile;
};

// The inputs from the parameter set, each cut to its input length; a logo file that does not
// exist (fileExists says) is emptied.
TitleDefinitionForm OpenTitleDefinition(const ParameterSet& p,
                                        const std::function<bool(const std::string&)>& fileExists);

// OK: titles and header titles (cut to 50), heading, logo file and footnote (cut to 80); the
// reserved 32-bit field at offset 1706 of the record is cleared.
void StoreTitleDefinition(const TitleDefinitionForm& form, ParameterSet& p);

// Enter in the "Titel" tab: title 1 -> 2 -> 3 -> 4 -> heading -> footnote -> title 1
// (inputs numbered 0..5); in the "Kopfdaten" tab header title i -> i + 1, 10 -> 1.
int NextTitleInput(int input);
int NextHeaderLabelInput(int input);

}  // namespace quorvex
