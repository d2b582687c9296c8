// The rules of the statistics and ASCII options dialogs.
#include "results/project_options_form.h"

namespace quorvex {

bool ProjectOptionsReadOnly(bool projectTakenOver, bool operatorUnlocked) {
    return projectTakenOver && !operatorUnlocked;
}

ProjectOptionsAccess OptionsAccess(bool readOnly, bool databaseAvailable) {
    ProjectOptionsAccess access;
    access.BoxesEnabled = !readOnly;
    access.OkEnabled = !readOnly;
    access.AliasTableEnabled = !readOnly && databaseAvailable;
    return access;
}

StatisticsSelection OpenStatisticsSelection(const ParameterSet& p) {
    StatisticsSelection s{};
    for (std::size_t i = 0; i < kStatisticsChoices.size(); ++i) {
        s[i] = p.*kStatisticsChoices[i].Setting != 0;
    }
    return s;
}

void StoreStatisticsSelection(const StatisticsSelection& s, ParameterSet& p) {
    for (std::size_t i = 0; i < kStatisticsChoices.size(); ++i) {
        p.*kStatisticsChoices[i].Setting = s[i] ? 1 : 0;
    }
}

AsciiOptions OpenAsciiOptions(const ParameterSet& p, bool databaseAvailable) {
    AsciiOptions o;
    o.AsciiExport = p.AsciiExport != 0;
    o.UseSeparator = p.UseSeparator != 0;
    o.DecimalComma = p.DecimalComma == 1;
    o.WriteAliasTable = databaseAvailable && p.WriteAliasTable != 0;
    o.AutoSpecimenNo = p.AutoSpecimenNo != 0;
    o.RawDataExport = p.RawDataExport != 0;
    return o;
}

void StoreAsciiOptions(const AsciiOptions& o, bool databaseAvailable, ParameterSet& p) {
    p.AsciiExport = o.AsciiExport;
    p.UseSeparator = o.UseSeparator;
    p.DecimalComma = o.DecimalComma;
    p.DecimalPoint = !o.DecimalComma;
    p.WriteAliasTable = databaseAvailable && o.WriteAliasTable;
    p.AutoSpecimenNo = o.AutoSpecimenNo;
    p.RawDataExport = o.RawDataExport;
}

}  // namespace quorvex
