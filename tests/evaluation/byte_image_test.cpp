#include "evaluation/byte_image.h"

#include <gtest/gtest.h>

namespace quorvex {
namespace {

struct Sample {
    std::uint8_t flag = 0;
    std::int32_t count = 0;
    float value = 0;
    double precise = 0;
    std::string text;
};

template <class Io>
void MapFields(Io& io, Sample& s) {
    io.Byte(0, "flag", s.flag);
    io.Int32(1, "count", s.count);
    io.Float(5, "value", s.value);
    io.Double(9, "precise", s.precise);
    io.String(17, "text", s.text, 5);
}

TEST(ByteImage, FieldsAtTheirOffsetsLittleEndian) {
    const ByteImage image = {1,    0x78, 0x56, 0x34, 0x12, 0x00, 0x00, 0xC0, 0x3F,  // 1.5f
                             0,    0,    0,    0,    0,    0,    0x04, 0x40,        // 2.5
                             2,    'M',  0xFC, 'x',  'y',  'z',  0xAA};
    Sample s;
    ReadRecord(image, s);
    EXPECT_EQ(s.flag, 1);
    EXPECT_EQ(s.count, 0x12345678);
    EXPECT_FLOAT_EQ(s.value, 1.5f);
    EXPECT_DOUBLE_EQ(s.precise, 2.5);
    EXPECT_EQ(s.text, "Mü");
    EXPECT_EQ(s.text.size(), 3u);  // UTF-8 in memory

    // Writing back: the same bytes, with the bytes behind the text zeroed and the byte
    // outside the record carried.
    ByteImage expected = image;
    expected[20] = expected[21] = expected[22] = 0;
    EXPECT_EQ(WriteRecord(s, image), expected);
}

TEST(ByteImage, StringLengthIsClampedToItsField) {
    ByteImage image(24, 'x');
    image[17] = 200;  // announces more than the field holds
    Sample s;
    ReadRecord(image, s);
    EXPECT_EQ(s.text, "xxxxx");

    s.text = "Größere";  // seven characters, cut to five
    const ByteImage written = WriteRecord(s, ByteImage(24, 0));
    EXPECT_EQ(written[17], 5);
    EXPECT_EQ(std::string(written.begin() + 18, written.begin() + 23), "Gr\xF6\xDF" "e");
}

TEST(ByteImage, ShortImageLeavesFieldsUnchanged) {
    Sample s;
    s.precise = 7.0;
    ReadRecord(ByteImage(10, 0), s);
    EXPECT_DOUBLE_EQ(s.precise, 7.0);
    EXPECT_EQ(s.count, 0);
}

}  // namespace
}  // namespace quorvex
