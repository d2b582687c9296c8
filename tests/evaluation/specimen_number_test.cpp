// The automatic specimen numbers: which numbers take part, the counter file and its faults.
#include "evaluation/specimen_number.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "evaluation/test_files.h"
#include "temp_dir.h"

namespace quorvex {
namespace {

class SpecimenNumberingTest : public testing_support::TempDirTest {
  protected:
    void WriteCounter(const std::string& text) {
        std::ofstream(dir / kSpecimenNumberFile, std::ios::binary) << text;
    }
    std::string Counter() const {
        std::ifstream in(dir / kSpecimenNumberFile, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
};

TEST_F(SpecimenNumberingTest, NumbersAfterTheHashAndKeepsTheCounter) {
    struct Case {
        const char* name;
        bool automatic;
        const char* entered;
        const char* file;  // nullptr: no file
        const char* expected;
        bool numbered;
        const char* fileAfter;  // nullptr: no file
    };
    const Case cases[] = {
        {"pattern", true, "Charge 7-#", " 12 \r\n", "Charge 7-#13", true, "13\r\n"},
        {"pattern of a shown number", true, "Charge 7-#13", "12", "Charge 7-#13", true, "13\r\n"},
        {"missing file counts as 0", true, "P#", nullptr, "P#1", true, "1\r\n"},
        {"hash first", true, "#12", "12", "#12", false, "12"},
        {"no hash", true, "Probe 4", "12", "Probe 4", false, "12"},
        {"numbering off", false, "Charge 7-#", "12", "Charge 7-#", false, "12"},
        {"cut to 30", true, "ABCDEFGHIJKLMNOPQRSTUVWXYZ12#", "99998",
         "ABCDEFGHIJKLMNOPQRSTUVWXYZ12#9", true, "99999\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(dir / kSpecimenNumberFile);
        if (c.file != nullptr) WriteCounter(c.file);
        std::string number = c.entered;
        const SpecimenNumbering result = ApplyAutomaticSpecimenNumber(dir, c.automatic, number);
        EXPECT_EQ(number, c.expected);
        EXPECT_EQ(result.Numbered, c.numbered);
        if (c.fileAfter == nullptr) {
            EXPECT_FALSE(std::filesystem::exists(dir / kSpecimenNumberFile));
        } else {
            EXPECT_EQ(Counter(), c.fileAfter);
        }
    }
}

TEST_F(SpecimenNumberingTest, AGarbledCounterFileIsRefusedAndLeftAlone) {
    WriteCounter("zwölf\r\n");
    std::string number = "Charge 7-#";
    const SpecimenNumbering result = ApplyAutomaticSpecimenNumber(dir, true, number);
    EXPECT_FALSE(result.Numbered);
    EXPECT_EQ(result.Status.status, LoadStatus::Refused);
    EXPECT_NE(result.Status.message.find("ProbenNr.txt"), std::string::npos);
    EXPECT_EQ(number, "Charge 7-#");
    EXPECT_EQ(Counter(), "zwölf\r\n");
}

TEST(SpecimenNumberPreview, ShowsTheNumberTheTestWillReceive) {
    EXPECT_EQ(PreviewSpecimenNumber("Charge 7-#", 12), "Charge 7-#13");
    EXPECT_EQ(PreviewSpecimenNumber("Charge 7-#5", 12), "Charge 7-#13");
    EXPECT_EQ(PreviewSpecimenNumber("#5", 12), "#5");
    EXPECT_EQ(PreviewSpecimenNumber("Probe", 12), "Probe");
}

}  // namespace
}  // namespace quorvex
