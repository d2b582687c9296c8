// A field visitor that walks the parameter set's field list, builds each field's name as
// "params show" nests it, and changes the one field an assignment names.
#include "parameter_assignment.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <optional>
#include <string_view>
#include <type_traits>

#include "evaluation/parameter_file.h"
#include "evaluation/test_types.h"
#include "evaluation/win1252.h"
#include "evaluation/break_value.h"

namespace quorvex::cli {
namespace {

constexpr std::size_t kStageTextLength = 28;

template <class T>
std::optional<T> WholeNumber(std::string_view text) {
    T value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) {
        return std::nullopt;
    }
    return value;
}

class FieldAssigner : public FieldGroups {
  public:
    FieldAssigner(std::string_view field, std::string_view text, ByteImage* image)
        : field_(field), text_(text), image_(image) {}

    void BeginArray(const char* name) { levels_.push_back({Name(name), true, 0}); }
    void EndArray() { levels_.pop_back(); }
    void BeginObject() { levels_.push_back({Name(""), false, 0}); }
    void EndObject() { levels_.pop_back(); }

    void Byte(std::size_t offset, const char* name, std::uint8_t& value) {
        Assign(
            offset, name, value,
            [](std::string_view text) -> std::optional<std::uint8_t> {
                const auto number = WholeNumber<long long>(text);
                if (!number || *number < 0 || *number > 255) return std::nullopt;
                return static_cast<std::uint8_t>(*number);
            },
            "a whole number 0 ... 255");
    }
    void Int32(std::size_t offset, const char* name, std::int32_t& value) {
        Assign(
            offset, name, value,
            [](std::string_view text) { return WholeNumber<std::int32_t>(text); },
            "a whole number -2147483648 ... 2147483647");
    }
    void Float(std::size_t offset, const char* name, float& value) {
        Assign(
            offset, name, value,
            [](std::string_view text) -> std::optional<float> {
                const auto number = WholeNumber<double>(text);
                if (!number || !std::isfinite(*number) ||
                    std::fabs(*number) > std::numeric_limits<float>::max()) {
                    return std::nullopt;
                }
                return static_cast<float>(*number);
            },
            "a finite number within +-3.4e38");
    }
    void Double(std::size_t offset, const char* name, double& value) {
        Assign(
            offset, name, value,
            [](std::string_view text) -> std::optional<double> {
                const auto number = WholeNumber<double>(text);
                if (!number || !std::isfinite(*number)) return std::nullopt;
                return *number;
            },
            "a finite number");
    }
    void String(std::size_t offset, const char* name, std::string& value, std::size_t maxLength) {
        const std::string range = "a text of at most " + std::to_string(maxLength) +
                                  " characters of the Windows-1252 code page, without control "
                                  "characters";
        Assign(
            offset, name, value,
            [maxLength](std::string_view text) -> std::optional<std::string> {
                // A character the file cannot hold would be stored as "?"; a line break or a
                // tab would split or shift the lines and reports that show the text.
                if (Win1252ToUtf8(Utf8ToWin1252(text)) != text) return std::nullopt;
                for (const char c : text) {
                    const auto byte = static_cast<unsigned char>(c);
                    if (byte < 0x20 || byte == 0x7F) return std::nullopt;
                }
                if (Utf8Length(text) > maxLength) return std::nullopt;
                return std::string(text);
            },
            range.c_str(), maxLength);
    }

    // Stages 6-30 are stored as one text; their fields are named like those of stages 1-5.
    void StageText(std::size_t offset, SpeedStage& stage) {
        const SpeedStage before = stage;
        const bool foundBefore = found_;
        textStage_ = true;
        MapFields(*this, stage, offset);
        textStage_ = false;
        if (found_ == foundBefore || !error_.empty()) return;
        const std::string text = quorvex::StageText(stage);
        const bool unitsFit = stage.StageFromUnit >= 0 && stage.StageFromUnit <= 9 &&
                              stage.StageSpeedUnit >= 0 && stage.StageSpeedUnit <= 9;
        if (text.size() != kStageTextLength || !unitsFit) {
            error_ = "\"" + field_ + "=" + text_ +
                     "\" does not fit the stored text of the stages 6-30 (values -99999.999 ... "
                     "999999.999, units 0 ... 9)";
            stage = before;
            return;
        }
        if (image_ != nullptr) ParameterImageWriter(*image_).StageText(offset, stage);
    }

    bool Found() const { return found_; }
    const std::string& Error() const { return error_; }
    // Where the assigned field lies in the record image (0 bytes for a text).
    std::size_t Offset() const { return offset_; }
    std::size_t Size() const { return size_; }

  private:
    struct Level {
        std::string Name;
        bool IsArray;
        int Next;
    };

    // The full name of the next field at this level: "Name", "Array[i]" or "Object.Name".
    std::string Name(const char* name) {
        if (levels_.empty()) return name;
        Level& level = levels_.back();
        if (level.IsArray) return level.Name + "[" + std::to_string(level.Next++) + "]";
        return level.Name + "." + name;
    }

    template <class T, class Parse>
    void Assign(std::size_t offset, const char* name, T& value, Parse parse, const char* range,
                std::size_t maxLength = 0) {
        if (Name(name) != field_ || found_) return;
        found_ = true;
        const auto parsed = parse(text_);
        if (!parsed) {
            error_ = "\"" + field_ + "=" + text_ + "\": " + field_ + " takes " + range;
            return;
        }
        value = *parsed;
        offset_ = offset;
        if constexpr (!std::is_same_v<T, std::string>) size_ = textStage_ ? 0 : sizeof(T);
        if (image_ == nullptr || textStage_) return;
        ImageWriter writer(*image_);
        if constexpr (std::is_same_v<T, std::string>) {
            writer.String(offset, name, value, maxLength);
        } else if constexpr (std::is_same_v<T, std::uint8_t>) {
            writer.Byte(offset, name, value);
        } else if constexpr (std::is_same_v<T, std::int32_t>) {
            writer.Int32(offset, name, value);
        } else if constexpr (std::is_same_v<T, float>) {
            writer.Float(offset, name, value);
        } else {
            writer.Double(offset, name, value);
        }
    }

    std::string field_, text_;
    ByteImage* image_;
    std::vector<Level> levels_;
    bool textStage_ = false;
    bool found_ = false;
    std::string error_;
    std::size_t offset_ = 0, size_ = 0;
};

// What a load accepts of the fields it repairs, for the message that refuses another value.
std::string AcceptedRange(const std::string& field) {
    static const std::pair<const char*, const char*> kRanges[] = {
        {"ModulusMethod", "0 ... 2"},      {"FmaxLimitPercent", "6 ... 100"},
        {"ModulusF1Percent", "any but 0"}, {"ModulusF2Percent", "any but 0"},
        {"EnergyAxisEnd", "any but 0"},    {"SpringStage", "0 ... 10"},
        {"ControlDeviation", "1 ... 50"},  {"TestSpace", "1 ... 2"},
        {"MicrometerPort", "any but 0"},
    };
    for (const auto& [name, range] : kRanges) {
        if (field == name) return range;
    }
    if (field.rfind("SigStrainPoint[", 0) == 0) return "whole numbers";
    return "normal numbers (no denormal ones)";
}

// A value that a load would refuse or repair is refused here, so that what is written is
// read back as written.
std::string LoadRefusal(const ParameterSet& changed, const std::string& field, std::size_t offset,
                        std::size_t size, const std::string& assignment) {
    if (field == "TestType" && !IsValidTestType(changed.TestType)) {
        return "\"" + assignment + "\": the test type is 0 ... 9 (a load refuses the file with another)";
    }
    if (size == 0) return {};
    ParameterSet repaired = changed;
    RepairAsLoaded(repaired);
    const ByteImage as = ParameterSetImage(changed);
    const ByteImage loaded = ParameterSetImage(repaired);
    if (std::equal(as.begin() + static_cast<std::ptrdiff_t>(offset),
                   as.begin() + static_cast<std::ptrdiff_t>(offset + size),
                   loaded.begin() + static_cast<std::ptrdiff_t>(offset))) {
        return {};
    }
    return "\"" + assignment + "\": a load would not keep it; " + field + " takes " +
           AcceptedRange(field);
}

// The fields that decide the break value's meaning and range: an assignment to one of them
// has the break value checked against its range once all assignments are made.
bool DecidesBreakValue(const std::string& field) {
    return field == "BreakDropPercent" || field == "BreakChannel" || field == "TestType" ||
           field == "NominalForceKn" || field == "NominalTravelMm";
}

}  // namespace

std::string AssignParameterFields(ParameterSet& p, ByteImage* image,
                                  const std::vector<std::string>& assignments) {
    ParameterSet changed = p;
    std::optional<ByteImage> changedImage;
    if (image != nullptr) changedImage = *image;
    std::string breakAssignment;  // the last assignment that the break value depends on
    for (const std::string& assignment : assignments) {
        const std::size_t equals = assignment.find('=');
        if (equals == std::string::npos || equals == 0) {
            return "\"" + assignment + "\" is no assignment Field=Value";
        }
        const std::string field = assignment.substr(0, equals);
        FieldAssigner assigner(field, std::string_view(assignment).substr(equals + 1),
                               changedImage ? &*changedImage : nullptr);
        MapFields(assigner, changed);
        if (!assigner.Error().empty()) return assigner.Error();
        if (!assigner.Found()) {
            return "\"" + field +
                   "\" is no field of the parameter set (names as \"params show\" prints them: "
                   "arrays as Name[i], fields of their objects as Name[i].Field)";
        }
        const std::string refused =
            LoadRefusal(changed, field, assigner.Offset(), assigner.Size(), assignment);
        if (!refused.empty()) return refused;
        if (DecidesBreakValue(field)) breakAssignment = assignment;
    }
    // A value that no break can reach, or that every sample reaches, is no end of test.
    if (!breakAssignment.empty()) {
        const std::string refused = BreakValueRefusal(changed);
        if (!refused.empty()) return "\"" + breakAssignment + "\": " + refused;
    }
    p = std::move(changed);
    if (image != nullptr) *image = std::move(*changedImage);
    return "";
}

}  // namespace quorvex::cli
