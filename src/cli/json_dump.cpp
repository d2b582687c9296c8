// JSON text of a record, from the same field list that reads and writes its image.
#include "json_dump.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace quorvex::cli {
namespace {

template <class T>
std::string NumberLiteral(T v) {
    if (!std::isfinite(v)) return std::isnan(v) ? "\"NaN\"" : (v > 0 ? "\"Infinity\"" : "\"-Infinity\"");
    char buffer[400];
    const auto magnitude = std::fabs(v);
    const bool fixed = magnitude == 0 || (magnitude >= 1e-6 && magnitude < 1e15);
    const auto [end, error] =
        fixed ? std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::fixed)
              : std::to_chars(buffer, buffer + sizeof buffer, v);
    return error == std::errc() ? std::string(buffer, end) : "0";
}

}  // namespace

std::string JsonQuoted(const std::string& utf8) {
    std::string out = "\"";
    for (unsigned char c : utf8) {
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default:
                if (c < 0x20) {
                    char buffer[8];
                    std::snprintf(buffer, sizeof buffer, "\\u%04x", c);
                    out += buffer;
                } else {
                    out += static_cast<char>(c);
                }
        }
    }
    return out + "\"";
}

JsonDump::JsonDump() : out_("{"), levels_{{false, true}} {}

void JsonDump::Key(const char* name) {
    Level& level = levels_.back();
    const bool first = level.first;
    level.first = false;
    if (!first) out_ += ",";
    out_ += levels_.size() == 1 ? "\n  " : (first ? "" : " ");
    if (!level.isArray) out_ += JsonQuoted(name) + ": ";
}

void JsonDump::Value(const std::string& literal, const char* name) {
    Key(name);
    out_ += literal;
}

void JsonDump::BeginArray(const char* name) {
    Key(name);
    out_ += "[";
    levels_.push_back({true, true});
}

void JsonDump::EndArray() {
    levels_.pop_back();
    out_ += "]";
}

void JsonDump::BeginObject() {
    Key("");
    out_ += "{";
    levels_.push_back({false, true});
}

void JsonDump::BeginObject(const char* name) {
    Key(name);
    out_ += "{";
    levels_.push_back({false, true});
}

void JsonDump::EndObject() {
    levels_.pop_back();
    out_ += "}";
}

void JsonDump::Byte(std::size_t, const char* name, const std::uint8_t& v) {
    Value(std::to_string(v), name);
}
void JsonDump::Int32(std::size_t, const char* name, const std::int32_t& v) {
    Value(std::to_string(v), name);
}
void JsonDump::Float(std::size_t, const char* name, const float& v) {
    Value(NumberLiteral(v), name);
}
void JsonDump::Double(std::size_t, const char* name, const double& v) {
    Value(NumberLiteral(v), name);
}
void JsonDump::String(std::size_t, const char* name, const std::string& v, std::size_t) {
    Value(JsonQuoted(v), name);
}

void JsonDump::Bool(const char* name, bool v) { Value(v ? "true" : "false", name); }

void JsonDump::StageText(std::size_t offset, const SpeedStage& stage) {
    MapFields(*this, const_cast<SpeedStage&>(stage), offset);
}

std::string JsonDump::Text() { return out_ + "\n}\n"; }

}  // namespace quorvex::cli
