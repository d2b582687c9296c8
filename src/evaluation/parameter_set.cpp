// Defaults, byte image and stage text form of the parameter set.
#include "parameter_set.h"

#include <cstdio>

#include "text_functions.h"
#include "win1252.h"

namespace quorvex {

std::array<ResultDefinition, kResultDefinitionSlots> DefaultResultDefinitions() {
    struct Row {
        std::uint8_t evaluate, limitActive, printInReport;
        float limitMin, limitMax;
        std::int32_t decimals;
    };
    static constexpr Row kRows[22] = {
        {1, 0, 1, 0.05f, 5000, 2},   {1, 0, 1, 0.05f, 5000, 2},   // a, b
        {1, 0, 1, 0.05f, 5000, 3},   {1, 0, 1, 0.05f, 5000, 2},   // d, D
        {1, 0, 1, 0.1f, 5000, 1},                                 // So
        {0, 0, 0, 10, 1000, 0},      {0, 0, 0, 10, 1000, 0},      // ReH, ReL
        {1, 0, 1, 10, 2000, 0},      {0, 0, 0, 10, 2000, 0},      // Rp, Rt
        {1, 0, 1, 10, 3000, 0},      {0, 0, 0, 10, 3000, 0},      // Rm, Rr
        {0, 0, 0, 0.01f, 10, 2},                                  // R1/R2
        {0, 0, 0, 1, 100, 1},        {1, 1, 1, 1, 100, 1},        // Ae, Ag
        {0, 0, 0, 1, 100, 1},        {1, 0, 1, 1, 100, 1},        // Agt, Ac
        {1, 0, 1, 1, 100, 1},        {1, 0, 1, 1, 100, 1},        // At, Z
        {1, 0, 1, 60000, 300000, 0},                              // E
        {0, 0, 0, 0.01f, 10, 4},     {0, 0, 0, 0.01f, 10, 4},     // r, n
        {0, 0, 0, 0.01f, 100, 2},                                 // remark
    };
    std::array<ResultDefinition, kResultDefinitionSlots> slots{};
    for (std::size_t i = 0; i < std::size(kRows); ++i) {
        const Row& row = kRows[i];
        slots[i] = {row.evaluate, row.limitActive, row.printInReport,
                    row.limitMin, row.limitMax,    row.decimals,
                    0};
    }
    return slots;
}

ByteImage ParameterSet::DefaultReservedImage() {
    ByteImage image(kImageSize, 0);
    ImageWriter writer(image);
    // Reserved fields that the defaults fill although nothing reads them.
    writer.Int32(1706, "", 80);
    writer.Float(1941, "", 1.0f);
    writer.Byte(2075, "", 1);
    writer.Int32(2281, "", 10);
    writer.Int32(2293, "", 20);
    return image;
}

std::string StageText(const SpeedStage& stage) {
    auto unitDigit = [](std::int32_t unit) {
        return std::string(1, static_cast<char>('0' + (unit >= 0 && unit <= 9 ? unit : 0)));
    };
    return "/" + std::string(stage.StageActive ? "1" : "0") + "/" +
           FormatFixed(stage.StageFrom, 10, 3) + "/" + unitDigit(stage.StageFromUnit) + "/" +
           FormatFixed(stage.StageSpeed, 10, 3) + "/" + unitDigit(stage.StageSpeedUnit);
}

SpeedStage ParseStageText(const std::string& text) {
    SpeedStage stage;
    if (text.size() < 28) return stage;
    // Character positions as written: 1-based 2, 4-13, 15, 17-26, 28.
    auto unitAt = [&](std::size_t position, std::int32_t fallback) {
        const char c = text[position - 1];
        return c >= '0' && c <= '9' ? static_cast<std::int32_t>(c - '0') : fallback;
    };
    auto valueAt = [&](std::size_t first) {
        const ParsedNumber parsed = ParseNumberInRange(text.substr(first - 1, 10), -1e300, 1e300);
        return parsed.valid ? parsed.value : 0.0;
    };
    stage.StageActive = text[1] == '1' ? 1 : 0;
    stage.StageFrom = valueAt(4);
    stage.StageFromUnit = unitAt(15, stage.StageFromUnit);
    stage.StageSpeed = valueAt(17);
    stage.StageSpeedUnit = unitAt(28, stage.StageSpeedUnit);
    return stage;
}

void ParameterImageReader::StageText(std::size_t offset, SpeedStage& stage) {
    std::string text;
    String(offset, "StageText", text, 50);
    // Character positions count bytes of the stored text.
    stage = ParseStageText(Utf8ToWin1252(text));
}

void ParameterImageWriter::StageText(std::size_t offset, const SpeedStage& stage) {
    String(offset, "StageText", quorvex::StageText(stage), 50);
}

ParameterSet ParameterSetFromImage(std::span<const std::uint8_t> image) {
    ParameterSet p;
    ParameterImageReader reader(image);
    MapFields(reader, p);
    p.Carried.assign(image.begin(), image.end());
    p.Carried.resize(ParameterSet::kImageSize, 0);
    return p;
}

ByteImage ParameterSetImage(const ParameterSet& p) {
    ByteImage image = p.Carried;
    image.resize(ParameterSet::kImageSize, 0);
    ParameterImageWriter writer(image);
    MapFields(writer, const_cast<ParameterSet&>(p));
    return image;
}

}  // namespace quorvex
