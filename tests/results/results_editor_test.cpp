// The results editor without widgets: its columns per test type, the checks of the filter
// dialog, the grid model's selection with the statistics block and a re-opened record's
// specimen.
#include <gtest/gtest.h>

#include <limits>

#include "evaluation/result_elements.h"
#include "results/filter_dialog.h"
#include "results/reopen_record.h"
#include "report/results_editor_columns.h"
#include "results/results_grid_model.h"

namespace quorvex {
namespace {

TEST(EditorColumns, NamesAndUnitsFollowTheTestTypeAndTheParameterSet) {
    ParameterSet p;
    p.TestType = 0;
    p.ProofStrain = 0.2f;
    p.SecondProofStrain = 0.5f;
    p.SecondProofIsRt = 1;
    p.StressAreaFlag = 1;
    p.UnitSystem = 2;
    p.RatioKind = 3;
    const EditorColumns tensile(p);
    ASSERT_EQ(tensile.Count(), 29);
    const auto& c = tensile.Columns();
    EXPECT_EQ(c[9].Name, " As");
    EXPECT_EQ(c[9].Unit, " in²");
    EXPECT_EQ(c[12].Name, "Rp 0.20");
    EXPECT_EQ(c[13].Name, "Rt 0.50");
    EXPECT_EQ(c[14].Unit, " Psi");
    EXPECT_EQ(c[16].Name, "Rm/ReH");
    EXPECT_EQ(c[28].Name, "Kopfdaten-");
    ASSERT_EQ(tensile.ResultColumns().size(), 21u);
    EXPECT_EQ(tensile.ResultColumns().front(), 5);
    EXPECT_EQ(tensile.ResultColumns().back(), 25);

    p.TestType = 2;
    EXPECT_EQ(EditorColumns(p).Columns()[20].Name, " Al");

    // The other types: k results between the date and the remark.
    const std::pair<int, int> counts[] = {{3, 6}, {4, 8}, {5, 19}, {6, 19},
                                          {7, 7}, {8, 6}, {9, 11}};
    for (const auto& [type, k] : counts) {
        p.TestType = type;
        const EditorColumns other(p);
        EXPECT_EQ(other.Count(), k + 7) << type;
        EXPECT_EQ(other.ResultColumns().front(), 4) << type;
        EXPECT_EQ(other.Columns()[static_cast<std::size_t>(k + 4)].Name, "Bemerkung") << type;
    }
    // Sig-1 ... Sig-5 of the plastics test carry the strain only while they are evaluated.
    p.TestType = 6;
    p.SigStrainPoint = {1, 2, 5, 10, 25};
    for (auto& d : p.Results) d.Evaluate = 0;
    p.Results[9].Evaluate = 1;   // the third (element 9)
    p.Results[11].Evaluate = 1;  // the fifth
    const EditorColumns plastics(p);
    const char* sigNames[] = {" Sig-", " Sig-", " Sig-5", " Sig-", " Sig-25"};
    for (int j = 0; j < 5; ++j) {
        EXPECT_EQ(plastics.Columns()[static_cast<std::size_t>(4 + 7 + j)].Name, sigNames[j]) << j;
    }
    p.TestType = 9;
    p.ProofStrain = 0.2f;
    EXPECT_EQ(EditorColumns(p).Columns()[8].Name, " " + CompressionColumnHeading(0.2f));
}

TEST(EditorColumns, CellsShowZeroAsADashAndTheWidthOnlyBesideAThickness) {
    ParameterSet p;
    p.TestType = 0;
    const EditorColumns columns(p);
    ResultsRecord r;
    r.SpecimenNo = "A1";
    r.Date = DaysFromCivilDate(2024, 3, 5) + 0.5 + 30.0 / 86400.0;
    r.Lo = 50.04f;
    r.b = 20.0f;
    r.Rm = 512.4f;
    r.RatioR1R2 = 1.2345f;
    r.CurveNumber = 7;
    r.RecordNumber = 7;
    EXPECT_EQ(columns.Cell(r, 0, 12, false), "   12");
    EXPECT_EQ(columns.Cell(r, 1, 1, false), "A1");
    EXPECT_EQ(columns.Cell(r, 3, 1, false), "05.03.2024/12:00:30");
    EXPECT_EQ(columns.Cell(r, 4, 1, false), "  50.0");
    EXPECT_EQ(columns.Cell(r, 5, 1, false), kNoResultValue);  // a is 0
    EXPECT_EQ(columns.Cell(r, 6, 1, false), kNoResultValue);  // so b is not shown
    EXPECT_EQ(columns.Cell(r, 14, 1, false), "   512");
    EXPECT_EQ(columns.Cell(r, 16, 1, false), "  1.23");
    EXPECT_EQ(columns.Cell(r, 27, 1, false), "     7");
    EXPECT_EQ(columns.Cell(r, 28, 1, false), "     7");
    EXPECT_EQ(columns.Cell(r, 28, 1, true), "");  // series mode

    p.TestType = 3;
    p.Results[4].Decimals = 1;
    const EditorColumns shear(p);
    r.Results[4] = -12.25f;
    EXPECT_EQ(shear.Cell(r, 8, 1, false), " -12.3");  // negative values are shown too
    EXPECT_EQ(shear.Cell(r, 9, 1, false), kNoResultValue);
}

TEST(FilterForm, OkChecksTheCriteriaAndTheDatesInOrder) {
    struct Case {
        const char* name;
        FilterForm form;
        int text;
        FilterField focus;
    };
    FilterForm none;
    none.ShowAll = false;
    FilterForm badFrom = none;
    badFrom.ByDate = true;
    badFrom.From = "31.02.2024";
    badFrom.To = "01.03.2024";
    FilterForm badTo = badFrom;
    badTo.From = "01.02.2024";
    badTo.To = "x";
    FilterForm gaugeHidden = none;
    gaugeHidden.ByGaugeLength = true;  // ticked but not offered for the type
    const Case cases[] = {
        {"no criterion", none, 182, FilterField::ShowAll},
        {"bad from date", badFrom, 183, FilterField::From},
        {"bad to date", badTo, 183, FilterField::To},
        {"gauge length not offered", gaugeHidden, 182, FilterField::ShowAll},
    };
    for (const Case& c : cases) {
        const FilterCheck check = CheckFilterForm(c.form, "dd.MM.yyyy", 80);
        EXPECT_EQ(check.TextNumber, c.text) << c.name;
        EXPECT_EQ(check.Focus, c.focus) << c.name;
    }

    FilterForm good = badTo;
    good.To = "29.02.2024";
    good.GaugeLengthOffered = true;
    good.ByGaugeLength = true;
    good.GaugeLength = "abc";
    FilterCheck check = CheckFilterForm(good, "dd.MM.yyyy", 80);
    ASSERT_EQ(check.TextNumber, 0);
    EXPECT_EQ(check.Filter.FromDay, DaysFromCivilDate(2024, 2, 1));
    EXPECT_EQ(check.Filter.ToDay, DaysFromCivilDate(2024, 2, 29));
    EXPECT_FALSE(check.GaugeLengthTaken);  // a Lo that does not convert keeps the last one
    EXPECT_EQ(check.Filter.GaugeLength, 80);
    good.GaugeLength = "50";
    check = CheckFilterForm(good, "dd.MM.yyyy", 80);
    EXPECT_TRUE(check.GaugeLengthTaken);
    EXPECT_EQ(check.Filter.GaugeLength, 50);

    EXPECT_EQ(DaysFromCivilDate(1899, 12, 30), 0);
    EXPECT_EQ(DaysFromCivilDate(1900, 3, 1), 61);
    EXPECT_EQ(ParseShortDate("3/1/1900", "M/d/yyyy"), 61);
    EXPECT_EQ(ParseShortDate("1.3.", "dd.MM.yyyy"), std::nullopt);
}

class GridStatistics : public ::testing::Test {
  protected:
    void SetUp() override {
        p.TestType = 0;
        p.StatMean = p.StatMinimum = p.StatMaximum = p.StatRange = p.StatStdDev = 0;
        p.StatConfidence = p.StatCp = p.StatCpk = p.StatLimits = p.StatCount = 1;
        ResultDefinition& rm = p.Results[9];
        rm = {1, 1, 1, 8.0f, 14.0f, 2, 1};
        std::vector<ResultsRecord> tests(4);
        const float values[] = {9, 10, 11, 12};
        for (std::size_t i = 0; i < tests.size(); ++i) {
            tests[i].Rm = values[i];
            tests[i].RecordNumber = static_cast<int>(i) + 11;  // records 11 ... 14
        }
        model.SetTests(tests);
    }
    QString Cell(const char* label, int column) {
        for (int row = model.StatisticsFirstRow(); row < model.rowCount(); ++row) {
            if (model.CellText(row, 0) == QLatin1String(label)) return model.CellText(row, column);
        }
        return QStringLiteral("<no row>");
    }

    ParameterSet p;
    EditorColumns columns{p};
    ResultsGridModel model{p, columns, false};
};

TEST_F(GridStatistics, TheThirdSelectionShowsTheBlockOfTheRoundedValues) {
    const int rm = 14;
    EXPECT_EQ(model.ToggleSelection(0), ResultsGridModel::Toggle::Selected);
    EXPECT_EQ(model.ToggleSelection(2), ResultsGridModel::Toggle::Selected);
    EXPECT_TRUE(model.StatisticsBlock().empty());
    EXPECT_EQ(model.rowCount(), 4);
    EXPECT_EQ(model.ToggleSelection(1), ResultsGridModel::Toggle::Selected);
    // "Nr." is the record's number; a selected row also shows as selected.
    EXPECT_EQ(model.CellText(1, 0), QStringLiteral("   12*"));
    EXPECT_EQ(model.CellText(3, 0), QStringLiteral("   14"));
    EXPECT_TRUE(model.data(model.index(1, 5), Qt::BackgroundRole).isValid());
    EXPECT_FALSE(model.data(model.index(3, 5), Qt::BackgroundRole).isValid());
    ASSERT_FALSE(model.StatisticsBlock().empty());
    EXPECT_EQ(model.CellText(4, 0), QString());  // one empty row below the tests
    EXPECT_EQ(Cell("Vertrauensber. 95%", rm).trimmed(), QStringLiteral("8.87"));
    EXPECT_EQ(model.CellText(model.StatisticsFirstRow() + 1, rm).trimmed(),
              QStringLiteral("11.13"));
    EXPECT_EQ(Cell("cp", rm).trimmed(), QStringLiteral("1.00"));
    EXPECT_EQ(Cell("cpk", rm).trimmed(), QStringLiteral("0.67"));
    EXPECT_EQ(Cell("USG", rm).trimmed(), QStringLiteral("8.00"));
    EXPECT_EQ(Cell("OSG", rm).trimmed(), QStringLiteral("14.00"));
    EXPECT_EQ(Cell("Anzahl der Werte", rm).trimmed(), QStringLiteral("3"));
    // A result without Evaluate and PrintInList stays empty in the block.
    EXPECT_EQ(Cell("Anzahl der Werte", 15), QString());

    EXPECT_EQ(model.ToggleSelection(1), ResultsGridModel::Toggle::Deselected);
    EXPECT_TRUE(model.StatisticsBlock().empty());
    EXPECT_EQ(model.rowCount(), 4);
    EXPECT_EQ(model.ToggleSelection(7), ResultsGridModel::Toggle::NoTest);

    model.SelectAll();
    EXPECT_EQ(model.SelectedRows(), (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(Cell("Anzahl der Werte", rm).trimmed(), QStringLiteral("4"));
    model.ClearSelection();
    EXPECT_TRUE(model.SelectedRows().empty());
    EXPECT_EQ(model.rowCount(), 4);
}

}  // namespace
}  // namespace quorvex

namespace quorvex {
namespace {

TEST(ReopenRecord, AScrewTestGetsItsRoundSpecimenAndScrewSelectionBack) {
    ParameterSet p;
    p.TestType = 1;
    p.EffectiveLo = 40;
    p.EffectiveLc = 45;
    p.EffectiveSo = 58;
    p.ThreadSizeIndex = 3;
    ResultsRecord stored;
    stored.SpecimenShape = 0;  // round
    stored.d = 8.6f;
    stored.Results[0] = 8.6f;
    stored.Results[1] = 40;
    stored.Results[2] = 45;
    stored.Results[3] = 58;
    stored.Results[4] = 2;   // user table row
    stored.Results[5] = 1;   // fine thread
    stored.Results[6] = 7;   // thread size
    stored.Results[7] = 4;   // property class
    stored.Results[8] = 0;
    stored.Results[9] = 1;   // the stress area
    ResultsRecord current;
    RestoreSpecimenFromRecord(p, current, stored);
    EXPECT_FLOAT_EQ(p.Round.d, 8.6f);
    EXPECT_FLOAT_EQ(p.Round.Lc, 45);
    EXPECT_FLOAT_EQ(p.Round.So, 58);
    EXPECT_EQ(p.UserTableRow, 2);
    EXPECT_EQ(p.ThreadKind, 1);
    EXPECT_EQ(p.ThreadSizeIndex, 7);
    EXPECT_EQ(p.StrengthClassIndex, 4);
    EXPECT_EQ(p.StressAreaFlag, 1);

    // A garbled selection in the record leaves the current one.
    stored.Results[5] = 9;
    stored.Results[6] = std::numeric_limits<float>::quiet_NaN();
    stored.Results[7] = 2.5f;
    stored.Results[9] = 0;
    RestoreSpecimenFromRecord(p, current, stored);
    EXPECT_EQ(p.ThreadKind, 1);
    EXPECT_EQ(p.ThreadSizeIndex, 7);
    EXPECT_EQ(p.StrengthClassIndex, 4);
    EXPECT_EQ(p.StressAreaFlag, 0);
}

}  // namespace
}  // namespace quorvex
