// Names, units and cell texts of the results editor's columns per test type.
#include "report/results_editor_columns.h"

#include <array>
#include <cmath>

#include "evaluation/ascii_export.h"
#include "evaluation/result_elements.h"
#include "evaluation/test_types.h"
#include "evaluation/text_functions.h"

namespace quorvex {
namespace {

std::string RatioName(int ratioKind) {
    static constexpr std::array<const char*, 8> kNames = {"Rm/Rp", "Rm/Rt", "Rm/ReH", "Rm/ReL",
                                                          "Rp/Rm", "Rt/Rm", "ReH/Rm", "ReL/Rm"};
    if (ratioKind < 1 || ratioKind > 8) return kNames[0];
    return kNames[static_cast<std::size_t>(ratioKind - 1)];
}

// The record field of a tensile definition slot 1-21.
float TensileValue(const ResultsRecord& r, int slot) {
    switch (slot) {
        case 1:
            return r.a;
        case 2:
            return r.b;
        case 3:
            return r.d;
        case 4:
            return r.D;
        case 5:
            return r.So;
        case 6:
            return r.ReH;
        case 7:
            return r.ReL;
        case 8:
            return r.Rp;
        case 9:
            return r.Rp2;
        case 10:
            return r.Rm;
        case 11:
            return r.Rr;
        case 12:
            return r.RatioR1R2;
        case 13:
            return r.Ae;
        case 14:
            return r.Ag;
        case 15:
            return r.Agt;
        case 16:
            return r.Ac;
        case 17:
            return r.At;
        case 18:
            return r.Z;
        case 19:
            return r.E;
        case 20:
            return r.r;
        case 21:
            return r.n;
        default:
            return 0;
    }
}

struct NamedUnit {
    const char* Name;
    const char* Unit;
};

// Result columns of the types 3-9 whose names do not depend on the parameter set.
std::vector<NamedUnit> FixedResultColumns(int testType) {
    switch (testType) {
        case 3:
            return {{"L", "mm"},  {"t / h", "mm"}, {"b", "mm"},
                    {"lv", "mm"}, {"Fmax", "N"},   {"Tau", "MPa"}};
        case 4:
            return {{"Lc", "mm"},  {"Lt", "mm"}, {"Fmax", "N"}, {"Lmax", "mm"},
                    {"Amax", "%"}, {"Fr", "N"},  {"Lr", "mm"},  {"Ar", "%"}};
        case 5:
            return {{"Fmax", "N"},   {"Smax", "mm"},  {"Fr", "N"},       {"Sr", "mm"},
                    {"Fx", "N"},     {"Sx", "mm"},    {"F1", "N"},       {"S1", "mm"},
                    {"F2", "N"},     {"S2", "mm"},    {"C", "N/mm"},     {"W", "J"},
                    {"Wx", "J"},     {"Swx", "mm"},   {"Delta-S", "mm"}, {"So", "mm²"},
                    {"SigX", "MPa"}, {"Sig1", "MPa"}, {"Sig2", "MPa"}};
        case 6:
            return {{"b", "mm"},      {"h", "mm"},      {"A", "mm²"},     {"Lo", "mm"},
                    {"Sig-Y", "MPa"}, {"Sig-M", "MPa"}, {"Sig-B", "MPa"}, {"Sig-1", "MPa"},
                    {"Sig-2", "MPa"}, {"Sig-3", "MPa"}, {"Sig-4", "MPa"}, {"Sig-5", "MPa"},
                    {"Eps-Y", "%"},   {"Eps-M", "%"},   {"Eps-B", "%"},   {"Eps-tM", "%"},
                    {"Eps-tB", "%"},  {"µ", ""},        {"E", "MPa"}};
        case 7:
            return {{"L", "mm"},   {"h", "mm"},        {"b", "mm"}, {"Ef", "MPa"},
                    {"Fmax", "N"}, {"Sig.-fm", "MPa"}, {"Sm", "mm"}};
        case 8:
            return {{"L", "mm"}, {"h", "mm"},   {"b", "mm"},
                    {"l", "mm"}, {"Fmax", "N"}, {"Rtf(fct)", "MPa"}};
        case 9:
            return {{"d", "mm"},     {"h", "mm"},     {"So", "mm²"}, {"Sig-dB", "MPa"},
                    {"", "MPa"},     {"", "MPa"},     {"", "MPa"},   {"Sig-dF", "MPa"},
                    {"Eps-dB", "%"}, {"Phi-dB", "%"}, {"E", "MPa"}};
        default:
            return {};
    }
}

std::string TwoDigits(int v) {
    return (v < 10 ? "0" : "") + std::to_string(v);
}

}  // namespace

int DaysFromCivilDate(int year, int month, int day) {
    // Days from 1970-01-01 by the proleptic Gregorian calendar, then moved to 1899-12-30.
    year -= month <= 2 ? 1 : 0;
    const int era = (year >= 0 ? year : year - 399) / 400;
    const int yoe = year - era * 400;
    const int doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468 + 25569;
}

std::string FormatDateTime(double days, const std::string& shortDateFormat) {
    std::string text = FormatShortDate(days, shortDateFormat) + "/";
    double fraction = std::isfinite(days) ? days - std::floor(days) : 0.0;
    int seconds = static_cast<int>(std::lround(fraction * 86400.0));
    if (seconds >= 86400) seconds = 86399;
    text += TwoDigits(seconds / 3600) + ":" + TwoDigits(seconds / 60 % 60) + ":" +
            TwoDigits(seconds % 60);
    return text;
}

EditorColumns::EditorColumns(const ParameterSet& p, std::string shortDateFormat)
    : p_(p), shortDateFormat_(std::move(shortDateFormat)), tensile_(IsTensileFamily(p.TestType)) {
    using K = EditorColumnKind;
    columns_.push_back({"Nr.", "", K::RowNumber, 0, false, 0, 706});
    columns_.push_back({" Probennummer", "", K::SpecimenNo, 0, false, 0, 104});
    columns_.push_back({" Kennung", "", K::SpecimenId, 0, false, 0, 707});
    columns_.push_back({" Datum/Zeit", " TT.MM.JJJJ", K::DateTime, 0, false, 0, 708, 709});
    if (tensile_) {
        const std::string stress = " " + StressUnit(p.UnitSystem);
        const bool psi = p.UnitSystem == 2;
        const std::string area = psi ? " in²" : " mm²";
        const bool al = p.TestType == static_cast<int>(TestType::ScrewIso3506);
        columns_.push_back({" lo", " mm", K::GaugeLength});
        const std::string second = p.SecondProofIsRt ? "Rt " : "Rp ";
        const std::array<std::pair<std::string, std::string>, 21> named = {{
            {"  a", " mm"},
            {"  b", " mm"},
            {"  d", " mm"},
            {"  D", " mm"},
            {p.StressAreaFlag ? " As" : " So", area},
            {" ReH", stress},
            {" ReL", stress},
            {"Rp " + FormatFixed(p.ProofStrain, 1, 2), stress},
            {second + FormatFixed(p.SecondProofStrain, 1, 2), stress},
            {" Rm", stress},
            {" Rr", stress},
            {RatioName(p.RatioKind), ""},
            {" Ae", " %"},
            {" Ag", " %"},
            {" Agt", " %"},
            {al ? " Al" : " Ac", al ? " mm" : " %"},
            {" At", " %"},
            {" Z", " %"},
            {" E", stress},
            {" r", ""},
            {" n", ""},
        }};
        for (int slot = 1; slot <= 21; ++slot) {
            const auto& [name, unit] = named[static_cast<std::size_t>(slot - 1)];
            resultColumns_.push_back(Count());
            columns_.push_back(
                {name, unit, slot == 12 ? K::Ratio : K::TensileField, slot, true, slot});
        }
    } else {
        std::vector<NamedUnit> fixed = FixedResultColumns(p.TestType);
        const std::array<double, 3> compressionStrains = {p.ProofStrain, p.SecondProofStrain,
                                                          p.ThirdProofStrain};
        for (std::size_t j = 0; j < fixed.size(); ++j) {
            std::string name = fixed[j].Name;
            if (p.TestType == 9 && j >= 4 && j <= 6) {
                name = CompressionColumnHeading(compressionStrains[j - 4]);
            }
            // The plastics test names Sig-1 ... Sig-5 by their strains, while they are on.
            if (p.TestType == 6 && j >= 7 && j <= 11) {
                const double strain = p.SigStrainPoint[j - 7];
                name = "Sig-";
                if (p.Results[j].Evaluate && std::isfinite(strain) && std::fabs(strain) < 1e6) {
                    name += std::to_string(std::llround(strain));
                }
            }
            const std::string unit = *fixed[j].Unit ? std::string(" ") + fixed[j].Unit : "";
            resultColumns_.push_back(Count());
            columns_.push_back({" " + name, unit, K::ResultElement, static_cast<int>(j), true,
                                static_cast<int>(j) + 1});
        }
    }
    columns_.push_back({"Bemerkung", "", K::Remark, 0, false, 0, 450});
    columns_.push_back({"Diagramm-", "Index", K::CurveNumber, 0, false, 0, 710, 712});
    columns_.push_back({"Kopfdaten-", "Index", K::RecordNumber, 0, false, 0, 711, 712});
}

const ResultDefinition& EditorColumns::Definition(int column) const {
    const int slot = columns_.at(static_cast<std::size_t>(column)).DefinitionSlot;
    const int index = slot >= 1 && slot <= kResultDefinitionSlots ? slot - 1 : 0;
    return p_.Results[static_cast<std::size_t>(index)];
}

std::string EditorColumns::Cell(const ResultsRecord& r, int column, int rowNumber,
                                bool seriesMode) const {
    if (column < 0 || column >= Count()) return {};
    const EditorColumn& c = columns_[static_cast<std::size_t>(column)];
    using K = EditorColumnKind;
    auto number = [](double value, int width, int decimals) -> std::string {
        // A stored value that no test gives (NaN, infinity, 3.4e38) is damage, not a number.
        if (!std::isfinite(value) || std::fabs(value) > kLargestStoredValue) return kDamagedValue;
        if (value == 0.0) return kNoResultValue;
        // Decimals come from a file; a wild value must not make a wild text.
        return FormatFixed(value, width, decimals < 0 ? 0 : decimals > 9 ? 9 : decimals);
    };
    switch (c.Kind) {
        case K::RowNumber:
            return FormatFixed(rowNumber, 5, 0);
        case K::SpecimenNo:
            return r.SpecimenNo;
        case K::SpecimenId:
            return r.SpecimenId;
        case K::DateTime:
            return FormatDateTime(r.Date, shortDateFormat_);
        case K::GaugeLength:
            return number(r.Lo, 6, 1);
        case K::TensileField:
            // The width is shown only beside a thickness (a flat specimen).
            if (c.Index == 2 && r.a == 0) return kNoResultValue;
            return number(TensileValue(r, c.Index), 6, Definition(column).Decimals);
        case K::Ratio:
            return number(r.RatioR1R2, 6, 2);
        case K::ResultElement:
            return number(r.Results[static_cast<std::size_t>(c.Index)], 6,
                          Definition(column).Decimals);
        case K::Remark:
            return r.Remark;
        case K::CurveNumber:
            return FormatFixed(r.CurveNumber, 6, 0);
        case K::RecordNumber:
            return seriesMode ? std::string() : FormatFixed(r.RecordNumber, 6, 0);
    }
    return {};
}

}  // namespace quorvex
