#include "evaluation/screw_tables.h"

#include <gtest/gtest.h>

#include <fstream>

namespace quorvex {
namespace {

TEST(ScrewTables, DesignationsAndStressAreas) {
    UserScrewTable table;
    LoadScrewTable(table, "/nonexistent");
    struct Case {
        int testType, kind, sizeIndex, strengthClass, stainlessClass;
        double area;
        const char* designation;
    } cases[] = {
        {1, 0, 8, 0, 0, 84.3, "M12x1.75"},     {1, 0, 8, 9, 0, 84.3, "M12x1.75/10.9"},
        {1, 1, 6, 0, 0, 39.2, "M8x1"},         {1, 1, 4, 0, 0, 20.1, "M6x1"},
        {1, 0, 4, 0, 0, 20.1, "M6x1"},         {2, 0, 10, 0, 12, 157, "A4-80 M16x2"},
        {2, 1, 19, 3, 0, 1030, "M39x3"},  // the ISO 898 class is not used by type 2
        {1, 0, 1, 7, 5, 6.78, "M3.5x0.6/8.8"}, {1, 0, 20, 0, 0, 1.0, ""},  // outside the table
    };
    for (const Case& c : cases) {
        ScrewSelection s;
        s.TestType = c.testType;
        s.WholeScrew = true;
        s.Kind = c.kind;
        s.ThreadSizeIndex = c.sizeIndex;
        s.StrengthClassIndex = c.strengthClass;
        s.StainlessClassIndex = c.stainlessClass;
        EXPECT_DOUBLE_EQ(StressArea(s, table), c.area) << c.designation;
        EXPECT_EQ(ScrewDesignation(s, table), c.designation);
    }
    ScrewSelection turned;
    turned.TurnedDiameter = 10.0;
    EXPECT_NEAR(StressArea(turned, table), 78.5398, 1e-4);
    EXPECT_EQ(ClassName(0), "");
    EXPECT_EQ(Iso898ListItem(0), "ohne Bez.");
    EXPECT_EQ(ClassName(10), "12.9");
    EXPECT_EQ(StainlessClassName(23), "F1-60");
    EXPECT_EQ(StainlessClassName(24), "");
}

TEST(ScrewTables, PlaceholdersWithoutAFile) {
    UserScrewTable table;
    LoadScrewTable(table, "/nonexistent");
    EXPECT_EQ(table.Count, 10);
    EXPECT_EQ(table.Entries[0].Designation, "1AAAAAAAAAAA");
    EXPECT_EQ(table.Entries[9].Designation, "10AAAAAAAAAA");
    EXPECT_DOUBLE_EQ(table.Entries[9].StressArea, 10.0);
}

TEST(ScrewTables, UserTableFileLines) {
    const auto dir = std::filesystem::path(::testing::TempDir()) / "screws";
    std::filesystem::create_directories(dir);
    {
        std::ofstream out(dir / "schraubentabelle.txt", std::ios::binary);
        out << "M10 special;58,0\r\n"
            << "\r\n"
            << "no separator 12.5\r\n"
            << "Sonderschraube f\xFC"
               "r Pr\xFC"
               "fung mit sehr langem Namen XYZ;  As = 3.25 mm2\r\n"
            << "bad;abc\r\n";
    }
    UserScrewTable table;
    LoadScrewTable(table, dir);
    ASSERT_EQ(table.Count, 5);
    EXPECT_EQ(table.Entries[0].Designation, "M10 special");
    EXPECT_DOUBLE_EQ(table.Entries[0].StressArea, 58.0);
    EXPECT_EQ(table.Entries[1].Designation, "");  // an empty line is an entry too
    EXPECT_EQ(table.Entries[2].Designation, "");
    EXPECT_DOUBLE_EQ(table.Entries[2].StressArea, 12.5);
    EXPECT_EQ(table.Entries[3].Designation, "Sonderschraube für Prüfung mit sehr lang");  // 40
    // Everything up to the "A" of "As" goes, and the "2" of "mm2" joins the digits.
    EXPECT_DOUBLE_EQ(table.Entries[3].StressArea, 3.252);
    EXPECT_DOUBLE_EQ(table.Entries[4].StressArea, 0.0);

    ScrewSelection s;
    s.WholeScrew = true;
    s.Kind = 2;
    s.UserTableRow = 1;
    EXPECT_EQ(ScrewDesignation(s, table), "M10 special");
    EXPECT_DOUBLE_EQ(StressArea(s, table), 58.0);

    {
        std::ofstream out(dir / "schraubentabelle.txt", std::ios::binary | std::ios::trunc);
        for (int i = 0; i < 600; ++i) out << "S" << i << ";" << i << "\n";
    }
    LoadScrewTable(table, dir);
    EXPECT_EQ(table.Count, 500);
    EXPECT_EQ(table.Entries[499].Designation, "S499");
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace quorvex
