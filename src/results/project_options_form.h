// What the statistics and ASCII options dialogs of a results project edit, and when they may
// be changed: plain functions over the parameter set, so that the rules are tested without widgets.
#pragma once

#include <array>
#include <cstdint>

#include "evaluation/parameter_set.h"

namespace quorvex {

// The options of a project taken over from an existing project directory stay as they were
// stored unless the operator has unlocked them with the password; a project created in this
// run stays editable.
bool ProjectOptionsReadOnly(bool projectTakenOver, bool operatorUnlocked);

// Which parts of an options dialog the operator can use.
struct ProjectOptionsAccess {
    bool BoxesEnabled = true;
    bool OkEnabled = true;
    bool AliasTableEnabled = true;  // "Versuch in Access-Datenbank speichern"
};

// The database option needs the alias table, which is looked for once at start-up.
ProjectOptionsAccess OptionsAccess(bool readOnly, bool databaseAvailable);

// One statistic the editor and the printed list can show, in the order of their rows.
struct StatisticsChoice {
    std::uint8_t ParameterSet::*Setting;
    int TextNumber;       // 0: Caption is the same in every language
    const char* Caption;  // only when TextNumber is 0
};

inline constexpr std::array<StatisticsChoice, 10> kStatisticsChoices = {{
    {&ParameterSet::StatMean, 79, nullptr},        // "&Mittelwert"
    {&ParameterSet::StatMinimum, 80, nullptr},     // "M&inimum"
    {&ParameterSet::StatMaximum, 81, nullptr},     // "Ma&ximum"
    {&ParameterSet::StatRange, 82, nullptr},       // "&Spanne Max-Min"
    {&ParameterSet::StatStdDev, 83, nullptr},      // "&Standardabweichung"
    {&ParameterSet::StatConfidence, 84, nullptr},  // "Ver&trauensbereich 0.95 %"
    {&ParameterSet::StatCp, 0, "cp"},
    {&ParameterSet::StatCpk, 0, "cpk"},
    {&ParameterSet::StatCount, 85, nullptr},    // "Anzahl der &Werte"
    {&ParameterSet::StatLimits, 815, nullptr},  // "Grenzwerte"
}};

using StatisticsSelection = std::array<bool, kStatisticsChoices.size()>;

// Any byte other than 0 counts as chosen, as in the editor that shows the rows.
StatisticsSelection OpenStatisticsSelection(const ParameterSet& p);
void StoreStatisticsSelection(const StatisticsSelection& s, ParameterSet& p);

struct AsciiOptions {
    bool AsciiExport = false;
    bool UseSeparator = false;
    bool DecimalComma = false;  // otherwise "Punkt"
    bool WriteAliasTable = false;
    bool AutoSpecimenNo = false;
    bool RawDataExport = false;
};

// The decimal choice shows what the export writes: a comma only when DecimalComma is 1, so a
// set holding both flags shows "Komma" and one holding neither "Punkt". Without the alias table
// the database option shows unticked.
AsciiOptions OpenAsciiOptions(const ParameterSet& p, bool databaseAvailable);

// OK: exactly one of DecimalPoint and DecimalComma is set, and without the alias table the
// database option is written 0.
void StoreAsciiOptions(const AsciiOptions& o, bool databaseAvailable, ParameterSet& p);

}  // namespace quorvex
