// The columns of the results editor and of the printed results list: names, units and the
// formatted cell of every column for a stored test, per test type. Plain C++ so that the
// grid, the statistics and the report share one description.
#pragma once

#include <string>
#include <vector>

#include "evaluation/parameter_set.h"
#include "evaluation/results_record.h"

namespace quorvex {

// The placeholder of a result that is 0.
inline constexpr const char* kNoResultValue = "     -";
// A stored value that is no sound number: the record is damaged there.
inline constexpr const char* kDamagedValue = "  ####";

enum class EditorColumnKind {
    RowNumber,
    SpecimenNo,
    SpecimenId,
    DateTime,
    GaugeLength,    // lo of the tensile types, 1 decimal
    TensileField,   // a field of the record with the decimals of its definition slot
    Ratio,          // the strength ratio, 2 decimals
    ResultElement,  // element of the results array (types 3-9)
    Remark,
    CurveNumber,
    RecordNumber,
};

struct EditorColumn {
    std::string Name;
    std::string Unit;
    EditorColumnKind Kind = EditorColumnKind::RowNumber;
    // TensileField: the definition slot (1-21, a in slot 1 ... n in slot 21);
    // ResultElement: the element of the results array (0-based).
    int Index = 0;
    // Set for the columns the statistics run over (the result columns).
    bool IsResult = false;
    // The definition slot whose Evaluate, PrintInList, limits and decimals the column takes.
    int DefinitionSlot = 0;
    // The numbered texts of the name and the unit in the operator's language (0: the name or
    // unit as it stands, a symbol); Name and Unit hold the German text.
    int NameText = 0;
    int UnitText = 0;
};

class EditorColumns {
  public:
    // The columns of the test type of `p`: 29 for the tensile types, k + 7 for the others.
    EditorColumns(const ParameterSet& p, std::string shortDateFormat = "dd.MM.yyyy");

    const std::vector<EditorColumn>& Columns() const { return columns_; }
    int Count() const { return static_cast<int>(columns_.size()); }
    bool Tensile() const { return tensile_; }
    // Indices of the result columns in their order (grid columns 5-25, or 4 onwards).
    const std::vector<int>& ResultColumns() const { return resultColumns_; }
    int RecordNumberColumn() const { return Count() - 1; }
    int CurveNumberColumn() const { return Count() - 2; }

    // The text of a cell; the row-number column gives the running number without "*".
    // In series mode the record-number column stays empty.
    std::string Cell(const ResultsRecord& record, int column, int rowNumber, bool seriesMode) const;

    // The definition slot of a result column (Evaluate, PrintInList, limits, decimals).
    const ResultDefinition& Definition(int column) const;

  private:
    const ParameterSet& p_;
    std::string shortDateFormat_;
    bool tensile_ = true;
    std::vector<EditorColumn> columns_;
    std::vector<int> resultColumns_;
};

// The date as the short date, "/", the time as hh:mm:ss.
std::string FormatDateTime(double days, const std::string& shortDateFormat);

// Whole days since 1899-12-30 of a calendar date.
int DaysFromCivilDate(int year, int month, int day);

}  // namespace quorvex
