// The screw specimen of the ISO 898 and ISO 3506 tensile tests as the operator enters it: a
// turned-down screw by its diameter do, a whole screw by the stress area As of its thread or
// of a row of the user screw table; the lengths, Le, and the screw designation that becomes
// the remark of the test.
#pragma once

#include <string>

#include "evaluation/field_checks.h"
#include "evaluation/parameter_set.h"
#include "evaluation/results_record.h"
#include "evaluation/screw_tables.h"

namespace quorvex {

enum class ScrewField { TurnedDiameter, TurnedLo, TurnedLc, WholeLo, WholeLc, Le };

struct ScrewFormTexts {
    ScrewSelection Selection;  // UserTableRow counted from 1
    std::string SpecimenNo, SpecimenId, Designation;
    std::string TurnedDiameter, TurnedLo, TurnedLc, WholeLo, WholeLc, Le;
};

constexpr int kThreadSizeCount = 20;  // "M3" ... "M39"

// The list entry of thread size index 0..19 ("M3,5" for M3.5, as the list shows it).
std::string ThreadSizeListItem(int index);

// The form as the dialog opens: the stored selection (a thread form outside its list is the
// regular thread, a size outside the list "M3,5", a class outside its list none), the
// dimensions in their decimals, and the designation composed anew.
ScrewFormTexts LoadScrewForm(int testType, const ParameterSet& p, const UserScrewTable& table);

// So = π do² / 4 of the turned-down screw, or As of the whole screw's thread or user row.
double ScrewCrossSection(const ScrewFormTexts& texts, const UserScrewTable& table);

// Enter in an input: do 0.1 ... 200, the lengths 1 ... 999, Le 4 ... 500; a failure has
// text 567 and the range text (Field = ScrewField).
CheckResult CheckScrewInput(ScrewField field, const std::string& text);
// The decimals an input shows after Enter: do 3, the turned screw's lengths 2, the whole
// screw's lengths and Le 1.
int ScrewInputDecimals(ScrewField field);

// OK: Le, then do 1 ... 200 whatever the kind, then Lo and Lc of the shown kind.
CheckResult CheckScrewForm(const ScrewFormTexts& texts);

// Takes a checked form: So, Lo, Lc, Le and the round fields, the round shape, the
// identification, the screw selection, and the designation as the remark of the current test.
void TakeScrewForm(const ScrewFormTexts& texts, const UserScrewTable& table, ParameterSet& p,
                   ResultsRecord& current);

}  // namespace quorvex
