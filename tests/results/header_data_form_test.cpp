// The rules of the header data and the title definition without widgets: undefined titles,
// Enter's order, cutting to the stored widths, a vanished logo, the reserved field.
#include "results/header_data_form.h"

#include <gtest/gtest.h>

#include "evaluation/byte_image.h"

namespace quorvex {
namespace {

TEST(HeaderDataForm, TitlesOfOnlySpacesAreUndefined) {
    EXPECT_FALSE(HeaderTitleOf("").Defined);
    EXPECT_FALSE(HeaderTitleOf("    ").Defined);
    const HeaderTitle customer = HeaderTitleOf(" Kunde");
    EXPECT_TRUE(customer.Defined);
    EXPECT_EQ(customer.Text, " Kunde");
}

TEST(HeaderDataForm, EnterMovesThroughTheInputs) {
    EXPECT_EQ(NextHeaderInput(0, true), 1);
    EXPECT_EQ(NextHeaderInput(8, false), 9);
    EXPECT_EQ(NextHeaderInput(9, true), -1);  // to OK
    EXPECT_EQ(NextHeaderInput(9, false), 0);  // read-only: back to the first line
    EXPECT_EQ(NextTitleInput(3), 4);          // title 4 -> heading
    EXPECT_EQ(NextTitleInput(5), 0);          // footnote -> title 1
    EXPECT_EQ(NextHeaderLabelInput(9), 0);
}

TEST(HeaderDataForm, HeaderValuesAreCutToTheirStoredWidth) {
    ParameterSet p;
    std::array<std::string, kHeaderLines> lines{};
    lines[0] = "Müller GmbH";
    std::string umlauts;
    for (int i = 0; i < 45; ++i) umlauts += "ä";
    lines[9] = umlauts + std::string(10, 'x');
    StoreHeaderValues(lines, p);
    EXPECT_EQ(p.HeaderValue[0], "Müller GmbH");
    EXPECT_EQ(p.HeaderValue[9], umlauts + "xxxxx");  // 50 characters
    EXPECT_EQ(p.HeaderValue[5], "");
}

TEST(HeaderDataForm, TitleDefinitionOpensAndStores) {
    ParameterSet p;
    p.TitleLine[0] = "Werkstoffprüfung";
    p.HeaderLabel[2] = std::string(35, 'L');
    p.LogoFile = "C:\\Logo\\firma.bmp";
    p.Footnote = std::string(80, 'f');
    auto none = [](const std::string&) { return false; };
    TitleDefinitionForm form = OpenTitleDefinition(p, none);
    EXPECT_EQ(form.TitleLines[0], "Werkstoffprüfung");
    EXPECT_EQ(form.HeaderLabels[2], std::string(30, 'L'));  // the input takes 30
    EXPECT_EQ(form.LogoFile, "");                           // the file is gone
    EXPECT_EQ(OpenTitleDefinition(p, [](const std::string&) { return true; }).LogoFile, p.LogoFile);

    // The reserved 32-bit field at 1706 is cleared by OK; everything else is stored as typed.
    ASSERT_NE(ParameterSetImage(p)[1706], 0);
    form.ReportHeading = "Prüfprotokoll";
    form.HeaderLabels[9] = "Auftrag";
    StoreTitleDefinition(form, p);
    EXPECT_EQ(p.LogoFile, "");
    EXPECT_EQ(p.ReportHeading, "Prüfprotokoll");
    EXPECT_EQ(p.HeaderLabel[9], "Auftrag");
    EXPECT_EQ(p.Footnote, std::string(80, 'f'));
    const ByteImage image = ParameterSetImage(p);
    for (std::size_t i = 1706; i < 1710; ++i) EXPECT_EQ(image[i], 0) << i;
    // Read back, the stored values are the same.
    const ParameterSet back = ParameterSetFromImage(image);
    EXPECT_EQ(back.HeaderLabel[9], "Auftrag");
    EXPECT_EQ(back.ReportHeading, "Prüfprotokoll");
}

}  // namespace
}  // namespace quorvex
