#include "evaluation/ascii_export.h"

#include <gtest/gtest.h>

#include <memory>

#include "evaluation/files.h"
#include "temp_dir.h"

namespace quorvex {
namespace {

std::string FileText(const std::filesystem::path& path) {
    const auto bytes = ReadWholeFile(path);
    return bytes ? std::string(bytes->begin(), bytes->end()) : std::string("<missing>");
}

class AsciiExportTest : public testing_support::TempDirTest {
  protected:
    void SetUp() override {
        TempDirTest::SetUp();
        record.SpecimenNo = "A 12";
        record.SpecimenId = "Charge 7";
        record.Date = 46366.75;  // 2026-12-10, 18:00
        record.Lo = 50;
        record.d = 10;
        record.So = 78.54f;
        record.Rm = 512.34f;
        record.Ag = 12.5f;
        record.E = 205123.4f;
        record.Remark = "Bemerkung; äußerst";  // the ";" becomes "," in the line
        p.HeaderValue[0] = "Kunde";
        p.Results[9].Decimals = 1;  // Rm
    }
    ResultsRecord record;
    ParameterSet p;
};

TEST_F(AsciiExportTest, TensileLineWithSeparatorAndDecimalComma) {
    const std::string line = TensileResultLine(record, p, "dd.MM.yyyy");
    const std::string expected =
        "A12           ;Charge7             ;10.12.2026;   50,0;   0,00;   0,00; 10,000;   0,00;"
        "   78,5;   0,00;      0;      0;      0;      0;  512,3;      0;   0,00;    0,0;   12,5;"
        "    0,0;    0,0;    0,0;    0,0;  205123; 0,0000; 0,0000;Bemerkung, "
        "äußerst;Kunde;;;;;;;;;;";
    EXPECT_EQ(line, expected);
}

TEST_F(AsciiExportTest, BlankSeparatorAndDecimalPoint) {
    p.UseSeparator = 0;
    p.DecimalComma = 0;
    p.DecimalPoint = 1;
    const std::string line = TensileResultLine(record, p, "M/d/yy");
    EXPECT_EQ(line.substr(0, 52), "A12            Charge7              12/10/26    50.0");
    EXPECT_EQ(line.back(), ' ');
    EXPECT_NE(line.find("  512.3 "), std::string::npos);
}

TEST_F(AsciiExportTest, NumberFieldsAreCutTo14Characters) {
    EXPECT_EQ(NumberField(123456789012.345, 7, 3, false), "123456789012.3");
    EXPECT_EQ(NumberField(-1.5, 7, 2, true), "  -1,50");
}

TEST_F(AsciiExportTest, ArrayLineAndAppending) {
    record.Results[0] = 112.5f;
    record.Results[5] = 3.25f;
    p.Results[0].Decimals = 1;
    p.Results[5].Decimals = 2;
    const auto path = dir / "Scher.Asc";
    ASSERT_TRUE(AppendArrayResultLine(path, 6, record, p, "dd.MM.yyyy"));
    ASSERT_TRUE(AppendArrayResultLine(path, 6, record, p, "dd.MM.yyyy"));
    const std::string line =
        "A12           ;Charge7             ;10.12.2026;  112,5;   0,00;  0,000;   0,00;    0,0;"
        "   3,25;Bemerkung, \xE4u\xDF"
        "erst;Kunde;;;;;;;;;;\r\n";
    EXPECT_EQ(FileText(path), line + line);
    EXPECT_FALSE(AppendResultLine(dir / "no" / "dir.Asc", "x"));
}

TEST_F(AsciiExportTest, RawDataFiles) {
    auto buffer = std::make_unique<MeasurementBuffer>();
    buffer->At(Channel::Force, 1) = 1.2345f;
    buffer->At(Channel::Travel, 1) = 0.5f;
    buffer->At(Channel::Extension, 1) = 0.01f;
    buffer->At(Channel::WidthChange, 1) = -0.0012f;
    buffer->At(Channel::Probe1, 1) = 0.1f;
    buffer->At(Channel::Probe2, 1) = 0.2f;
    buffer->At(Channel::Probe3, 1) = 0.3f;
    const std::string headings =
        "[Headings]\r\nKunde\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n[Values]\r\n";

    ASSERT_TRUE(WriteRawDataFile(dir / "1.Txt", *buffer, 0, p));
    EXPECT_EQ(FileText(dir / "1.Txt"), headings);
    ASSERT_TRUE(WriteRawDataFile(dir / "1.Txt", *buffer, 1, p));
    EXPECT_EQ(FileText(dir / "1.Txt"), headings + "   1,235;    0,50;   0,010; -0,0012;\r\n");
    ASSERT_TRUE(WriteProbeRawDataFile(dir / "probe.txt", *buffer, 1, p));
    EXPECT_EQ(FileText(dir / "probe.txt"), headings + " 0,20000; 0,10000; 0,20000; 0,30000;\r\n");

    record.Results[0] = 10;
    record.Results[1] = 4;
    record.Results[3] = 50;
    record.Results[19] = 115;
    ASSERT_TRUE(CopyRawDataFile(dir / "1.Txt", dir / "copy.Txt", record, 6));
    EXPECT_EQ(FileText(dir / "copy.Txt"),
              "[Specimen data]\r\nSpecimen No =A 12\r\nInternal ID =Charge 7\r\n"
              "Remark =Bemerkung; \xE4u\xDF"
              "erst\r\nb  =   10.00\r\nh  =   4.000\r\nlo =   50.00\r\n"
              "lc =  115.00\r\n" +
                  headings + "   1,235;    0,50;   0,010; -0,0012;\r\n");
    ASSERT_TRUE(CopyRawDataFile(dir / "1.Txt", dir / "plain.Txt", record, 0));
    EXPECT_EQ(FileText(dir / "plain.Txt"), FileText(dir / "1.Txt"));
    ASSERT_TRUE(WriteFileAtomic(dir / "empty.Txt", {}));
    ASSERT_TRUE(CopyRawDataFile(dir / "empty.Txt", dir / "empty-copy.Txt", record, 0));
    EXPECT_EQ(FileText(dir / "empty-copy.Txt"), "\r\n");
    EXPECT_FALSE(CopyRawDataFile(dir / "missing.Txt", dir / "x.Txt", record, 0));
}

TEST(ShortDate, Formats) {
    EXPECT_EQ(FormatShortDate(46366.99, "dd.MM.yyyy"), "10.12.2026");
    EXPECT_EQ(FormatShortDate(2.0, "d/M/yyyy"), "1/1/1900");
    EXPECT_EQ(FormatShortDate(45352.0, "yyyy-MM-dd"), "2024-03-01");
    EXPECT_EQ(FormatShortDate(45351.0, "dd.MM.yy"), "29.02.24");
}

}  // namespace
}  // namespace quorvex
