// The database rows: field names and their order, rounding, "-" for blank text, the day of
// storing, and the layouts the tables are created from.
#include "evaluation/export_rows.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace quorvex {
namespace {

std::vector<std::string> Names(const ExportRow& row) {
    std::vector<std::string> names;
    for (const ExportField& field : row.Fields) names.push_back(field.Name);
    return names;
}

const ExportField& Field(const ExportRow& row, const std::string& name) {
    for (const ExportField& field : row.Fields) {
        if (field.Name == name) return field;
    }
    throw std::runtime_error("no field " + name);
}

std::vector<std::string> Numbered(const std::string& prefix, int count) {
    std::vector<std::string> names;
    for (int i = 1; i <= count; ++i) names.push_back(prefix + std::to_string(i));
    return names;
}

std::vector<std::string> Joined(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

ResultsRecord TensileRecord() {
    ResultsRecord r;
    r.SpecimenNo = "  ";
    r.SpecimenId = "Charge 7";
    r.ScrewType = "M12";
    r.Date = 46366.75;
    r.Lo = 50.004f;
    r.So = 78.5398f;
    r.Rm = 512.6f;
    r.RatioR1R2 = 1.2345f;
    r.Ag = 12.34f;
    r.r = 0.8766f;
    r.E = 205123.4f;
    r.QAW = 0.456f;
    return r;
}

TEST(ExportRowsTest, Rounding) {
    struct Case {
        double value;
        int decimals;
        double rounded;
    };
    const Case cases[] = {
        {512.6, 0, 513},  {78.5398, 2, 78.54}, {12.34, 1, 12.3},  {0.8766, 3, 0.877},
        {2.5, 0, 2},      {3.5, 0, 4},         {-2.5, 0, -2},     {0.125, 2, 0.12},
        {-0.004, 2, 0.0}, {1.5, -1, 2},        {1e300, 5, 1e300}, {123.456, 12, 123.456},
    };
    for (const Case& c : cases) {
        EXPECT_DOUBLE_EQ(RoundToDecimals(c.value, c.decimals), c.rounded)
            << c.value << " with " << c.decimals;
    }
    EXPECT_TRUE(std::isnan(RoundToDecimals(std::numeric_limits<double>::quiet_NaN(), 2)));
}

TEST(ExportRowsTest, TensileRow) {
    ParameterSet p;
    p.HeaderValue[0] = "Kunde";
    p.HeaderValue[1] = "   ";
    const ExportRow row = BuildExportRow(TensileRecord(), p, 46370.4);
    EXPECT_EQ(row.Table, "Data_EN10002");
    const std::vector<std::string> leading = {
        "SpecimenNo", "InternalID", "Screwtyp", "Date", "L0",     "A",  "B",  "D0",      "D",
        "S0",         "ReL",        "ReH",      "Rp1",  "Rp2_Rt", "Rm", "Rr", "R1_R2",   "Ae",
        "Ag",         "Agt",        "Ac",       "At",   "Z",      "R",  "N",  "E_Modul", "Comment"};
    EXPECT_EQ(Names(row), Joined(Joined(leading, Numbered("H", 10)), Numbered("D", 20)));

    struct Expected {
        const char* name;
        double number;
    };
    for (const Expected& e : {Expected{"L0", 50.0}, Expected{"S0", 78.54}, Expected{"Rm", 513},
                              Expected{"R1_R2", 1.23}, Expected{"Ag", 12.3}, Expected{"R", 0.877},
                              Expected{"E_Modul", 205123}, Expected{"Date", 46370}}) {
        EXPECT_DOUBLE_EQ(Field(row, e.name).Number, e.number) << e.name;
    }
    EXPECT_EQ(Field(row, "Date").Kind, ExportKind::Date);
    EXPECT_EQ(Field(row, "Rm").Kind, ExportKind::Number);
    // Blank text is "-"; other text is written as it is.
    EXPECT_EQ(Field(row, "SpecimenNo").Text, "-");
    EXPECT_EQ(Field(row, "InternalID").Text, "Charge 7");
    EXPECT_EQ(Field(row, "Screwtyp").Text, "M12");
    EXPECT_EQ(Field(row, "Comment").Text, "-");
    EXPECT_EQ(Field(row, "H1").Text, "Kunde");
    EXPECT_EQ(Field(row, "H2").Text, "-");
    EXPECT_EQ(Field(row, "D20").Kind, ExportKind::Integer);
    EXPECT_EQ(Field(row, "D20").Integer, 0);
}

TEST(ExportRowsTest, AliasRow) {
    ParameterSet p;
    p.HeaderValue[9] = "Zehn";
    const ExportRow row = BuildAliasRow(TensileRecord(), p, 46370.4);
    EXPECT_EQ(row.Table, "WerteZug");
    const std::vector<std::string> leading = {
        "ProbenNr", "Kennung", "Schraubentyp", "Datum", "L0",  "Pa",  "Pb", "Pd", "Pad",
        "S0",       "QAW",     "Rel",          "Reh",   "Rp1", "Rp2", "Rm", "Rr", "R1R2",
        "Ae",       "Ag",      "Agt",          "Ac",    "At",  "Z",   "r",  "n",  "Bemerkung"};
    EXPECT_EQ(Names(row), Joined(leading, Numbered("k", 10)));
    EXPECT_EQ(Field(row, "ProbenNr").Text, "-");
    EXPECT_DOUBLE_EQ(Field(row, "QAW").Number, 0.46);
    EXPECT_DOUBLE_EQ(Field(row, "Datum").Number, 46370);
    EXPECT_EQ(Field(row, "k10").Text, "Zehn");
}

TEST(ExportRowsTest, ResultsArrayRowsRoundByTheirResultDefinition) {
    ParameterSet p;
    p.TestType = 3;
    p.Results[0].Decimals = 1;
    p.Results[4].Decimals = 0;
    p.Results[5].Decimals = 2;
    ResultsRecord r = TensileRecord();
    r.Results[0] = 10.46f;
    r.Results[4] = 1234.56f;
    r.Results[5] = 3.14159f;
    r.Results[6] = 99;  // beyond the exported elements
    const ExportRow row = BuildExportRow(r, p, 46370.4);
    EXPECT_EQ(row.Table, "Data_EN2563");
    EXPECT_EQ(Names(row), Joined({"SpecimenNo", "InternalID", "Date", "L", "T", "B", "Lv", "FMax",
                                  "Tau", "Comment"},
                                 Numbered("H", 10)));
    EXPECT_DOUBLE_EQ(Field(row, "L").Number, 10.5);
    EXPECT_DOUBLE_EQ(Field(row, "FMax").Number, 1235);
    EXPECT_DOUBLE_EQ(Field(row, "Tau").Number, 3.14);

    p.TestType = 10;
    EXPECT_TRUE(BuildExportRow(r, p, 0).Fields.empty());
}

TEST(ExportRowsTest, LayoutsOfEveryTable) {
    const std::vector<ExportRow> layouts = ExportTableLayouts();
    std::vector<std::string> tables;
    for (const ExportRow& layout : layouts) tables.push_back(layout.Table);
    EXPECT_EQ(tables, (std::vector<std::string>{
                          "Data_EN10002", "Data_EN2563", "Data_Chain", "Data_Universal",
                          "Data_Plastics", "Data_ENISO14125", "Data_EN12372", "Data_DIN50106"}));
    for (int type = 3; type <= 9; ++type) {
        const ExportRow& layout = layouts[static_cast<std::size_t>(type - 2)];
        EXPECT_EQ(layout.Fields.size(), static_cast<std::size_t>(ExportedResultCount(type) + 14))
            << type;
        EXPECT_EQ(ExportTableName(type), layout.Table);
    }
    EXPECT_EQ(Names(layouts[4]).at(8), "Sig-M");
    EXPECT_EQ(Names(AliasTableLayout()), Names(BuildAliasRow({}, {}, 0)));
    EXPECT_EQ(ExportTableName(-1), "");
    EXPECT_EQ(AsciiResultFileName(2), "EN10002.Asc");
    EXPECT_EQ(AsciiResultFileName(3), "Data_ENEN2563.Asc");
    EXPECT_EQ(AsciiResultFileName(10), "");
}

}  // namespace
}  // namespace quorvex
