// Curve files to CSV and back. The CSV has one header line and one line per sample: force
// kN, travel mm, extension mm, width change mm, with a decimal point.
#include "curve_command.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string_view>

#include "evaluation/curve_file.h"
#include "evaluation/tensile_evaluation.h"
#include "evaluation/test_state.h"
#include "evaluation/text_functions.h"

namespace quorvex::cli {
namespace {

constexpr const char* kCsvHeader = "Force_kN,Travel_mm,Extension_mm,WidthChange_mm";

std::string Shortest(float v) {
    char buffer[64];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, v);
    return error == std::errc() ? std::string(buffer, end) : "0";
}

int Export(const std::string& file, std::ostream& out, std::ostream& err) {
    CurveFileContent curve;
    const LoadResult result = ParseCurveFile(file, curve);
    if (result.status == LoadStatus::Missing) {
        err << "quorvex-cli: cannot open \"" << file << "\"\n";
        return 1;
    }
    if (!result.Loaded()) {
        err << "quorvex-cli: " << result.message << "\n";
        return 1;
    }
    if (curve.Samples.size() < static_cast<std::size_t>(curve.AnnouncedSamples)) {
        err << "quorvex-cli: The curve file \"" << file << "\" is shorter than it announces ("
            << curve.Samples.size() << " of " << curve.AnnouncedSamples << " samples).\n";
        return 1;
    }
    std::string text = std::string(kCsvHeader) + "\n";
    for (const CurveFileSample& s : curve.Samples) {
        text += Shortest(s.Force) + "," + Shortest(s.Travel) + "," + Shortest(s.Extension) + "," +
                Shortest(s.WidthChange) + "\n";
    }
    out << text;
    return 0;
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

// The numbers of one CSV line (comma, semicolon or tab separated), or nothing when a field
// is not a number. A line separated by semicolons or tabs may write its numbers with a
// decimal comma, as the program's own ASCII export does with the German settings.
std::optional<std::vector<double>> ParseCsvLine(std::string_view line) {
    const bool decimalComma = line.find_first_of(";\t") != std::string_view::npos;
    const char* separators = decimalComma ? ";\t" : ",;\t";
    std::vector<double> values;
    char digits[64];
    while (true) {
        const std::size_t end = line.find_first_of(separators);
        std::string_view field = Trim(line.substr(0, end));
        if (decimalComma && field.size() < sizeof digits) {
            std::copy(field.begin(), field.end(), digits);
            std::replace(digits, digits + field.size(), ',', '.');
            field = std::string_view(digits, field.size());
        }
        double value = 0;
        const auto [ptr, error] = std::from_chars(field.data(), field.data() + field.size(), value);
        if (field.empty() || error != std::errc() || ptr != field.data() + field.size()) {
            return std::nullopt;
        }
        values.push_back(value);
        if (end == std::string_view::npos) break;
        line.remove_prefix(end + 1);
    }
    return values;
}

// The lines of a CSV read piece by piece, so that a file of any size costs no more memory
// than its longest allowed line. LF, CRLF and CR end a line; a UTF-8 byte-order mark at the
// start is skipped.
class CsvLines {
  public:
    static constexpr std::size_t kLongestLine = 4096;
    enum class Next { Line, End, TooLong, Unreadable };

    explicit CsvLines(std::istream& in) : in_(in) {}

    Next Read(std::string_view& line) {
        line_.clear();
        for (;;) {
            if (position_ == filled_ && !Fill()) {
                if (in_.bad()) return Next::Unreadable;
                if (line_.empty() && !pendingLine_) return Next::End;
                pendingLine_ = false;
                return Finish(line);
            }
            const char c = buffer_[position_++];
            if (skipLineFeed_) {
                skipLineFeed_ = false;
                if (c == '\n') continue;
            }
            pendingLine_ = true;
            if (c == '\n' || c == '\r') {
                skipLineFeed_ = c == '\r';
                pendingLine_ = false;
                return Finish(line);
            }
            if (line_.size() == kLongestLine) {
                ++number_;
                return Next::TooLong;
            }
            line_ += c;
        }
    }
    int Number() const { return number_; }

  private:
    bool Fill() {
        in_.read(buffer_, sizeof buffer_);
        filled_ = static_cast<std::size_t>(in_.gcount());
        position_ = 0;
        return filled_ > 0;
    }
    Next Finish(std::string_view& line) {
        ++number_;
        if (number_ == 1 && line_.starts_with("\xEF\xBB\xBF")) line_.erase(0, 3);
        line = line_;
        return Next::Line;
    }

    std::istream& in_;
    char buffer_[65536];
    std::size_t position_ = 0, filled_ = 0;
    std::string line_;
    bool skipLineFeed_ = false, pendingLine_ = false;
    int number_ = 0;
};

struct SpecimenOption {
    const char* name;
    float* value;
};

int Import(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const std::string& csvFile = args[0];
    const std::string& curveFile = args[1];
    auto state = std::make_unique<TestState>();
    ParameterSet& p = state->Parameters;
    const SpecimenOption options[] = {{"So", &p.EffectiveSo},
                                      {"Lo", &p.EffectiveLo},
                                      {"Lc", &p.EffectiveLc},
                                      {"Le", &p.GaugeLengthLe},
                                      {"b", &p.Flat.b}};
    for (std::size_t i = 2; i < args.size(); ++i) {
        std::string word = args[i], valueText;
        const std::size_t equals = word.find('=');
        if (equals != std::string::npos) {
            valueText = word.substr(equals + 1);
            word.resize(equals);
        } else if (i + 1 < args.size()) {
            valueText = args[++i];
        }
        const SpecimenOption* option = nullptr;
        for (const SpecimenOption& o : options) {
            if (word == std::string("--") + o.name) option = &o;
        }
        if (!option) {
            err << "quorvex-cli: unknown option \"" << word << "\" (--So, --Lo, --Lc, --Le, --b)\n";
            return 2;
        }
        const ParsedNumber parsed = ParseNumberInRange(valueText, 0.001, 1000000.0);
        if (!parsed.valid) {
            err << "quorvex-cli: " << word << " must be a number in 0.001 ... 1000000\n";
            return 2;
        }
        *option->value = static_cast<float>(parsed.value);
    }

    const std::filesystem::path csvPath = ResolvePath(csvFile);
    std::error_code error;
    if (std::filesystem::equivalent(csvPath, ResolvePath(curveFile), error)) {
        err << "quorvex-cli: \"" << curveFile << "\" is the CSV itself; nothing was written\n";
        return 1;
    }
    // Looked at through the program's one opening place first: a FIFO or a device would
    // never end.
    const OpenedFile opened = OpenRegularFile(csvPath, OpenFor::Reading);
    if (opened.Status.status == LoadStatus::Refused) {
        err << "quorvex-cli: " << opened.Status.message << "\n";
        return 1;
    }
    std::ifstream in;
    if (opened.Status.Loaded()) in.open(csvPath, std::ios::binary);
    if (!in) {
        err << "quorvex-cli: cannot open \"" << csvFile << "\"\n";
        return 1;
    }
    CsvLines lines(in);
    std::string_view line;
    bool firstLine = true;
    for (;;) {
        const CsvLines::Next next = lines.Read(line);
        if (next == CsvLines::Next::End) break;
        if (next == CsvLines::Next::TooLong) {
            err << "quorvex-cli: \"" << csvFile << "\" line " << lines.Number()
                << " is longer than " << CsvLines::kLongestLine
                << " characters; nothing was written\n";
            return 1;
        }
        if (next == CsvLines::Next::Unreadable) {
            err << "quorvex-cli: \"" << csvFile << "\" cannot be read; nothing was written\n";
            return 1;
        }
        line = Trim(line);
        if (line.empty()) continue;
        const auto values = ParseCsvLine(line);
        const bool header = firstLine && !values;
        firstLine = false;
        if (header) continue;
        if (!values || values->size() < 3 || values->size() > 4) {
            err << "quorvex-cli: \"" << csvFile << "\" line " << lines.Number()
                << ": expected force kN, travel mm, extension mm and optionally width change mm"
                   " as numbers; nothing was written\n";
            return 1;
        }
        if (BufferFull(state->Marks)) {
            err << "quorvex-cli: \"" << csvFile << "\" holds more than " << kBufferCapacity
                << " samples; nothing was written\n";
            return 1;
        }
        Sample sample{};
        for (std::size_t k = 0; k < values->size(); ++k) {
            sample[k] = static_cast<float>((*values)[k]);
            if (!std::isfinite(sample[k])) {
                err << "quorvex-cli: \"" << csvFile << "\" line " << lines.Number() << ": value "
                    << k + 1 << " is not a finite number of float range; nothing was written\n";
                return 1;
            }
        }
        RecordSample(state->Buffer, state->Marks, sample);
    }
    if (state->Marks.StoredSamples == 0) {
        err << "quorvex-cli: \"" << csvFile << "\" holds no sample; nothing was written\n";
        return 1;
    }
    TestMarks& marks = state->Marks;
    marks.SampleCount = marks.StoredSamples;
    if (marks.SampleCount > 0) {
        const CurveView c(state->Buffer, p, marks);
        marks.BreakIndex = FindBreakIndex(c);
        marks.ExtensionEndIndex = ExtensionUsable(c) ? MaximumExtensionIndex(c) : 1;
    }
    p.Flat.a = p.Flat.b > 0 ? p.EffectiveSo / p.Flat.b : 0.0f;
    if (!WriteCurveFile(curveFile, p, state->Buffer, marks)) {
        err << "quorvex-cli: cannot write \"" << curveFile << "\"\n";
        return 1;
    }
    out << "wrote " << marks.SampleCount << " samples to \"" << curveFile << "\"\n";
    return 0;
}

}  // namespace

void PrintCurveHelp(std::ostream& out) {
    out << "  curve export CURVE       print the curve file CURVE (.Dia) as CSV: a header line,\n"
           "                           then force kN, travel mm, extension mm, width change mm\n"
           "  curve import CSV OUT [--So A] [--Lo L] [--Lc L] [--Le L] [--b B]\n"
           "                           build the curve file OUT from such a CSV (width change\n"
           "                           optional); specimen values default to So 78.54 mm²,\n"
           "                           Lo 50, Lc 60, Le 50 and b 20 mm\n";
}

int RunCurveCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.size() == 2 && args[0] == "export") return Export(args[1], out, err);
    if (args.size() >= 3 && args[0] == "import")
        return Import({args.begin() + 1, args.end()}, out, err);
    err << "quorvex-cli: usage:\n";
    PrintCurveHelp(err);
    return 2;
}

}  // namespace quorvex::cli
