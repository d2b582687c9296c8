// The database rows of a stored test, built field by field in the order the tables expect.
#include "export_rows.h"

#include <cmath>

#include "result_elements.h"
#include "text_functions.h"

namespace quorvex {
namespace {

constexpr int kTensileTypes = 3;  // 0-2 share the tensile table

// Builds a row in writing order.
class RowBuilder {
  public:
    explicit RowBuilder(std::string table) { row_.Table = std::move(table); }

    // Blank text would be an empty cell that some readers take for a missing value.
    RowBuilder& Text(const std::string& name, const std::string& text) {
        Add(name, ExportKind::Text).Text = DashIfEmpty(text);
        return *this;
    }
    RowBuilder& Number(const std::string& name, double value, int decimals) {
        Add(name, ExportKind::Number).Number = RoundToDecimals(value, decimals);
        return *this;
    }
    RowBuilder& Integer(const std::string& name, std::int64_t value) {
        Add(name, ExportKind::Integer).Integer = value;
        return *this;
    }
    // The day of storing, not the test's own date and time.
    RowBuilder& Date(const std::string& name, double today) {
        Add(name, ExportKind::Date).Number = std::isfinite(today) ? std::floor(today) : 0.0;
        return *this;
    }
    // The ten header lines of the parameter set as they are at the moment of storing.
    RowBuilder& HeaderLines(const std::string& prefix, const ParameterSet& p) {
        for (std::size_t i = 0; i < p.HeaderValue.size(); ++i) {
            Text(prefix + std::to_string(i + 1), p.HeaderValue[i]);
        }
        return *this;
    }

    ExportRow Take() { return std::move(row_); }

  private:
    ExportField& Add(const std::string& name, ExportKind kind) {
        ExportField& field = row_.Fields.emplace_back();
        field.Name = name;
        field.Kind = kind;
        return field;
    }

    ExportRow row_;
};

ExportRow TensileRow(const ResultsRecord& r, const ParameterSet& p, double today) {
    RowBuilder row(ExportTableName(0));
    row.Text("SpecimenNo", r.SpecimenNo).Text("InternalID", r.SpecimenId);
    row.Text("Screwtyp", r.ScrewType).Date("Date", today);
    row.Number("L0", r.Lo, 2).Number("A", r.a, 3).Number("B", r.b, 2);
    row.Number("D0", r.d, 3).Number("D", r.D, 3).Number("S0", r.So, 2);
    row.Number("ReL", r.ReL, 0).Number("ReH", r.ReH, 0).Number("Rp1", r.Rp, 0);
    row.Number("Rp2_Rt", r.Rp2, 0).Number("Rm", r.Rm, 0).Number("Rr", r.Rr, 0);
    row.Number("R1_R2", r.RatioR1R2, 2).Number("Ae", r.Ae, 2);
    row.Number("Ag", r.Ag, 1).Number("Agt", r.Agt, 1).Number("Ac", r.Ac, 1);
    row.Number("At", r.At, 1).Number("Z", r.Z, 1);
    row.Number("R", r.r, 3).Number("N", r.n, 3).Number("E_Modul", r.E, 0);
    row.Text("Comment", r.Remark).HeaderLines("H", p);
    for (int i = 1; i <= 20; ++i) row.Integer("D" + std::to_string(i), 0);
    return row.Take();
}

ExportRow ArrayRow(const ResultsRecord& r, const ParameterSet& p, double today) {
    RowBuilder row(ExportTableName(p.TestType));
    row.Text("SpecimenNo", r.SpecimenNo).Text("InternalID", r.SpecimenId).Date("Date", today);
    const auto names = ResultElementNames(p.TestType);
    for (std::size_t element = 0; element < names.size(); ++element) {
        // Element j is shown and exported with the decimals of results-definition slot j + 1.
        const int decimals = element < p.Results.size() ? p.Results[element].Decimals : 0;
        row.Number(names[element], r.Results[element], decimals);
    }
    row.Text("Comment", r.Remark).HeaderLines("H", p);
    return row.Take();
}

}  // namespace

std::string ExportTableName(int testType) {
    constexpr const char* kNames[] = {
        "Data_EN10002",   "Data_EN10002",  "Data_EN10002",    "Data_EN2563",  "Data_Chain",
        "Data_Universal", "Data_Plastics", "Data_ENISO14125", "Data_EN12372", "Data_DIN50106"};
    return testType >= 0 && testType <= 9 ? kNames[testType] : "";
}

std::string AsciiResultFileName(int testType) {
    // The shear test's file name has the doubled "EN": the systems that read it know it so.
    constexpr const char* kNames[] = {
        "EN10002.Asc",      "EN10002.Asc",        "EN10002.Asc",       "Data_ENEN2563.Asc",
        "Data_Chain.Asc",   "Data_Universal.Asc", "Data_Plastics.Asc", "Data_ENISO14125.Asc",
        "Data_EN12372.Asc", "Data_DIN50106.Asc"};
    return testType >= 0 && testType <= 9 ? kNames[testType] : "";
}

int ExportedResultCount(int testType) {
    return ExportedElementCount(testType);
}

double RoundToDecimals(double value, int decimals) {
    if (!std::isfinite(value)) return value;
    // Halves go to the even neighbour, as in the result line and on the screen.
    const int d = decimals < 0 ? 0 : (decimals > 9 ? 9 : decimals);
    const double scale = PowerOfTen(d);
    const double scaled = value * scale;
    // Beyond 2^52 a double has no fraction left to round.
    if (!std::isfinite(scaled) || std::fabs(scaled) >= 4503599627370496.0) return value;
    // A value that rounds to zero has no sign, as on the screen.
    return std::nearbyint(scaled) / scale + 0.0;
}

ExportRow BuildExportRow(const ResultsRecord& record, const ParameterSet& p, double today) {
    if (p.TestType >= 0 && p.TestType < kTensileTypes) return TensileRow(record, p, today);
    if (p.TestType >= kTensileTypes && p.TestType <= 9) return ArrayRow(record, p, today);
    return {};
}

ExportRow BuildAliasRow(const ResultsRecord& r, const ParameterSet& p, double today) {
    RowBuilder row(kAliasTable);
    row.Text("ProbenNr", r.SpecimenNo).Text("Kennung", r.SpecimenId);
    row.Text("Schraubentyp", r.ScrewType).Date("Datum", today);
    row.Number("L0", r.Lo, 2).Number("Pa", r.a, 3).Number("Pb", r.b, 2);
    row.Number("Pd", r.d, 3).Number("Pad", r.D, 3).Number("S0", r.So, 2);
    row.Number("QAW", r.QAW, 2);
    row.Number("Rel", r.ReL, 0).Number("Reh", r.ReH, 0).Number("Rp1", r.Rp, 0);
    row.Number("Rp2", r.Rp2, 0).Number("Rm", r.Rm, 0).Number("Rr", r.Rr, 0);
    row.Number("R1R2", r.RatioR1R2, 2).Number("Ae", r.Ae, 2);
    row.Number("Ag", r.Ag, 1).Number("Agt", r.Agt, 1).Number("Ac", r.Ac, 1);
    row.Number("At", r.At, 1).Number("Z", r.Z, 1);
    row.Number("r", r.r, 3).Number("n", r.n, 3);
    row.Text("Bemerkung", r.Remark).HeaderLines("k", p);
    return row.Take();
}

std::vector<ExportRow> ExportTableLayouts() {
    std::vector<ExportRow> layouts;
    ParameterSet p;
    for (int type : {0, 3, 4, 5, 6, 7, 8, 9}) {
        p.TestType = type;
        layouts.push_back(BuildExportRow(ResultsRecord{}, p, 0));
    }
    return layouts;
}

ExportRow AliasTableLayout() {
    return BuildAliasRow(ResultsRecord{}, ParameterSet{}, 0);
}

}  // namespace quorvex
