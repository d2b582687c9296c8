// A field visitor that prints a record as one JSON object: every field under its name,
// repeated fields as arrays, the stages and result slots as arrays of objects.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "evaluation/parameter_set.h"

namespace quorvex::cli {

class JsonDump {
public:
    JsonDump();

    void BeginArray(const char* name);
    void EndArray();
    void BeginObject();
    // An object under a name, inside an object.
    void BeginObject(const char* name);
    void EndObject();

    void Byte(std::size_t, const char* name, const std::uint8_t& v);
    void Int32(std::size_t, const char* name, const std::int32_t& v);
    void Float(std::size_t, const char* name, const float& v);
    void Double(std::size_t, const char* name, const double& v);
    void String(std::size_t, const char* name, const std::string& v, std::size_t);
    void Bool(const char* name, bool v);
    void StageText(std::size_t offset, const SpeedStage& stage);

    // The finished JSON text (closes the outer object).
    std::string Text();

private:
    void Key(const char* name);
    void Value(const std::string& literal, const char* name);

    struct Level {
        bool isArray;
        bool first;
    };
    std::string out_;
    std::vector<Level> levels_;
};

std::string JsonQuoted(const std::string& utf8);

}  // namespace quorvex::cli
