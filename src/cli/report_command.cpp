// The results list of a results project, with its statistics or with the overlaid curves,
// written headless as the editor prints it: same columns, same layout, same painter.
#include "report_command.h"

#include <QCoreApplication>
#include <QDate>
#include <QGuiApplication>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <set>

#include "evaluation/files.h"
#include "evaluation/parameter_file.h"
#include "evaluation/project_store.h"
#include "evaluation/statistics.h"
#include "evaluation/test_files.h"
#include "evaluation/test_types.h"
#include "report/overlay_diagram.h"
#include "report/report_logo.h"
#include "report/report_painter.h"
#include "ui/text_table.h"

namespace quorvex::cli {
namespace {

int Usage(std::ostream& err) {
    err << "quorvex-cli: usage:\n";
    PrintReportHelp(err);
    return 2;
}

struct ReportOptions {
    std::string ResultsFile, PdfFile;
    std::vector<int> Records;  // empty: every record that is not deleted
    bool Diagram = false;
    int Language = -1;  // index of the text table; -1: the project's language
};

// "de", "en", "fr", "nl" or "it" as the index of the text table's language, else -1.
int LanguageOfCode(const std::string& code) {
    static const char* const kCodes[] = {"de", "en", "fr", "nl", "it"};
    for (int i = 0; i < 5; ++i) {
        if (code == kCodes[i]) return i;
    }
    return -1;
}

bool ParseOptions(const std::vector<std::string>& args, ReportOptions& o, std::ostream& err) {
    if (args.empty() || args[0].empty() || args[0][0] == '-') return false;
    o.ResultsFile = args[0];
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--pdf" && i + 1 < args.size()) {
            o.PdfFile = args[++i];
        } else if (args[i] == "--records" && i + 1 < args.size()) {
            if (!ParseRecordList(args[++i], o.Records)) {
                err << "quorvex-cli: \"" << args[i]
                    << "\" is no list of record numbers (for example 1,3-5)\n";
                return false;
            }
        } else if (args[i] == "--diagram") {
            o.Diagram = true;
        } else if (args[i] == "--language" && i + 1 < args.size()) {
            o.Language = LanguageOfCode(args[++i]);
            if (o.Language < 0) {
                err << "quorvex-cli: \"" << args[i]
                    << "\" is no language (de, en, fr, nl or it)\n";
                return false;
            }
        } else {
            return false;
        }
    }
    return !o.PdfFile.empty();
}

int WriteReport(const ReportOptions& o, std::ostream& out, std::ostream& err) {
    namespace fs = std::filesystem;
    const fs::path resultsFile = ResolvePath(o.ResultsFile);
    const fs::path directory = resultsFile.parent_path();
    const fs::path parameterFile =
        ResolvePath(directory / (resultsFile.stem().string() + ".Par"));
    // The results file is what the command is about: name it first when it is not there.
    std::error_code status;
    if (!fs::exists(resultsFile, status)) {
        err << "quorvex-cli: the results file \"" << o.ResultsFile << "\" is not there\n";
        return 1;
    }
    if (fs::is_directory(resultsFile, status)) {
        err << "quorvex-cli: \"" << o.ResultsFile << "\" is a directory, not a results file\n";
        return 1;
    }
    const fs::path pdfDirectory = fs::absolute(fs::path(o.PdfFile), status).parent_path();
    if (!fs::is_directory(pdfDirectory, status)) {
        err << "quorvex-cli: the directory \"" << pdfDirectory.string() << "\" of \"" << o.PdfFile
            << "\" is not there\n";
        return 1;
    }
    ParameterSet p;
    const LoadResult loaded = LoadParameterSet(p, parameterFile, false);
    if (!loaded.Loaded()) {
        err << "quorvex-cli: "
            << (loaded.message.empty()
                    ? "cannot read the project's parameter set \"" + parameterFile.string() + "\""
                    : loaded.message)
            << "\n";
        return 1;
    }

    const std::set<int> wanted(o.Records.begin(), o.Records.end());
    // One pass over the file takes the numbers of the listed records, the first ten of them
    // (their curves, colours and header data) and the statistics; the rows are read again one
    // at a time while the pages are painted, so a project of a million tests is never held.
    const EditorColumns columns(p, "dd.MM.yyyy");
    const std::vector<int>& resultColumns = columns.ResultColumns();
    std::vector<StatisticsAccumulator> accumulators(resultColumns.size());
    std::vector<int> numbers;
    std::vector<ResultsRecord> firstTests;
    const auto count = ReadProjectRecords(resultsFile, [&](int number, const ResultsRecord& read) {
        if (IsDeletedRecord(read) || (!wanted.empty() && !wanted.count(number))) return true;
        ResultsRecord r = read;
        r.RecordNumber = number;
        numbers.push_back(number);
        const int k = static_cast<int>(numbers.size());
        for (std::size_t c = 0; c < resultColumns.size(); ++c) {
            accumulators[c].Add(columns.Cell(r, resultColumns[c], k, false));
        }
        if (firstTests.size() < OverlayDiagram::kMaxCurves) firstTests.push_back(r);
        return true;
    });
    if (!count) {
        err << "quorvex-cli: cannot open the results file \"" << o.ResultsFile << "\"\n";
        return 1;
    }
    if (!count->Message.empty()) err << "quorvex-cli: " << count->Message << "\n";
    for (int number : wanted) {
        if (!std::binary_search(numbers.begin(), numbers.end(), number)) {
            err << "quorvex-cli: record " << number << " is not in the project or deleted\n";
        }
    }
    if (numbers.empty()) {
        err << "quorvex-cli: no record to print\n";
        return 1;
    }

    // The printout carries the header data of the last listed test, as the editor's does.
    HeaderLines header;
    if (numbers.size() <= 10 &&
        ReadHeaderFile(ProjectRecordFile(directory, numbers.back(), ".Hea"), header).Loaded()) {
        p.HeaderValue = header;
    }

    // The words of the printout in the project's language, or the one asked for.
    const int language = o.Language >= 0 ? o.Language : p.Language;
    const int base = LanguageBase(language);
    auto text = [base](int number) { return LoadText(number, base); };
    auto words = [&text](int number) { return text(number).toStdString(); };
    const StatisticsEditor editor =
        columns.Tensile() ? StatisticsEditor::Tensile : StatisticsEditor::OtherTypes;
    std::vector<ResultDefinition> definitions;
    std::vector<ColumnStatistics> columnStatistics;
    for (std::size_t c = 0; c < resultColumns.size(); ++c) {
        definitions.push_back(columns.Definition(resultColumns[c]));
        columnStatistics.push_back(accumulators[c].Result(definitions.back().LimitMin,
                                                          definitions.back().LimitMax, editor));
    }
    const std::vector<StatisticsRow> statistics =
        BuildStatisticsBlock(p, definitions, columnStatistics, numbers.size(), editor,
                             StatisticsLabelsIn(words));
    const std::string today = QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy")).toStdString();
    ResultsReport report =
        BuildResultsReport(p, columns, {}, false, statistics, ReportTextsIn(words), today);
    const bool coloured = numbers.size() <= 10 && p.PrintCurveColoured != 0;
    const ProjectRecordReader reader(resultsFile);
    report.StreamedRowCount = numbers.size();
    report.StreamedRow = [&](std::size_t i, ReportRow& row) {
        std::optional<ResultsRecord> r = reader.Read(numbers[i]);
        if (!r) {
            err << "quorvex-cli: record " << numbers[i] << " of \"" << o.ResultsFile
                << "\" could not be read again while printing\n";
            return false;
        }
        r->RecordNumber = numbers[i];
        row = ReportRowOf(report, columns, *r, static_cast<int>(i) + 1, false, coloured);
        return true;
    };
    if (CheckLogo(report.LogoFile) == LogoCheck::NotDrawable) {
        err << "quorvex-cli: the logo \"" << report.LogoFile
            << "\" cannot be drawn (PNG, JPEG and BMP pictures are); the report is printed "
               "without it\n";
    }

    std::unique_ptr<OverlayDiagram> diagram;
    ReportDiagram printed;
    if (o.Diagram) {
        diagram = std::make_unique<OverlayDiagram>(OverlaySettingsOf(p));
        for (const ResultsRecord& test : firstTests) {
            CurveFileContent curve;
            const int curveNumber = test.CurveNumber;
            if (curveNumber < 1) {
                diagram->AddMissingCurve();
                continue;
            }
            const LoadResult read =
                ParseCurveFile(ProjectRecordFile(directory, curveNumber, ".Dia"), curve);
            if (read.Loaded()) {
                diagram->AddCurve(curve);
            } else {
                if (!read.message.empty()) err << "quorvex-cli: " << read.message << "\n";
                diagram->AddMissingCurve();
            }
        }
        printed = {diagram.get(), OverlayLookIn(p, diagram->View(), text)};
    }

    QString error;
    if (!WriteReportPdf(QString::fromStdString(o.PdfFile), report,
                        diagram ? &printed : nullptr, &error)) {
        err << "quorvex-cli: " << error.toStdString() << "\n";
        return 1;
    }
    out << "wrote " << numbers.size() << " record(s) to " << o.PdfFile << "\n";
    return 0;
}

}  // namespace

bool ParseRecordList(const std::string& text, std::vector<int>& numbers) {
    std::vector<int> result;
    std::size_t pos = 0;
    if (text.empty()) return false;
    while (pos <= text.size()) {
        const std::size_t comma = std::min(text.find(',', pos), text.size());
        const std::string part = text.substr(pos, comma - pos);
        const std::size_t dash = part.find('-');
        auto number = [](const std::string& s, long& v) {
            if (s.empty() || s.size() > 9 || s.find_first_not_of("0123456789") != std::string::npos)
                return false;
            v = std::strtol(s.c_str(), nullptr, 10);
            return v >= 1;
        };
        long from = 0, to = 0;
        if (dash == std::string::npos) {
            if (!number(part, from)) return false;
            to = from;
        } else if (!number(part.substr(0, dash), from) || !number(part.substr(dash + 1), to) ||
                   to < from || to - from > 1000000) {
            return false;
        }
        for (long n = from; n <= to; ++n) result.push_back(static_cast<int>(n));
        pos = comma + 1;
        if (comma == text.size()) break;
    }
    std::sort(result.begin(), result.end());
    result.erase(std::unique(result.begin(), result.end()), result.end());
    numbers = std::move(result);
    return true;
}

void PrintReportHelp(std::ostream& out) {
    out << "  report DIR/NAME.Res --pdf OUT.pdf [--records 1,3-5] [--diagram]\n"
           "         [--language de|en|fr|nl|it]\n"
           "                           write the printed results list of the project's\n"
           "                           records (all that are not deleted, or those listed)\n"
           "                           as a PDF file: with the statistics rows, or with the\n"
           "                           overlaid curves of the first ten records; in the\n"
           "                           project's language unless --language names another\n";
}

namespace {
// Painting a PDF needs a GUI application, but no screen. Qt's own notes ("QPainter::begin():
// Returned false" ...) are no message of ours: every failure is reported in the command's own
// words.
std::unique_ptr<QGuiApplication> GuiForPainting() {
    std::unique_ptr<QGuiApplication> app;
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type == QtFatalMsg) std::fprintf(stderr, "quorvex-cli: %s\n", qPrintable(text));
    });
    if (!QCoreApplication::instance()) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        static int argc = 1;
        static char name[] = "quorvex-cli";
        static char* argv[] = {name, nullptr};
        app = std::make_unique<QGuiApplication>(argc, argv);
    }
    return app;
}
}  // namespace

int WriteRecordsReport(const ParameterSet& p, const std::vector<ResultsRecord>& records,
                       const std::string& pdfFile, std::ostream& out, std::ostream& err) {
    const std::unique_ptr<QGuiApplication> app = GuiForPainting();
    std::error_code status;
    const std::filesystem::path pdfDirectory =
        std::filesystem::absolute(std::filesystem::path(pdfFile), status).parent_path();
    if (!std::filesystem::is_directory(pdfDirectory, status)) {
        err << "quorvex-cli: the directory \"" << pdfDirectory.string() << "\" of \"" << pdfFile
            << "\" is not there\n";
        return 1;
    }
    const EditorColumns columns(p, "dd.MM.yyyy");
    const std::vector<StatisticsRow> statistics =
        StatisticsOfSelection(p, columns, records, false);
    const std::string today =
        QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy")).toStdString();
    const ResultsReport report =
        BuildResultsReport(p, columns, records, false, statistics, ReportTexts{}, today);
    QString error;
    if (!WriteReportPdf(QString::fromStdString(pdfFile), report, nullptr, &error)) {
        err << "quorvex-cli: " << error.toStdString() << "\n";
        return 1;
    }
    out << "wrote " << records.size() << " record(s) to " << pdfFile << "\n";
    return 0;
}

int RunReportCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    ReportOptions options;
    if (!ParseOptions(args, options, err)) return Usage(err);
    const std::unique_ptr<QGuiApplication> app = GuiForPainting();
    return WriteReport(options, out, err);
}

}  // namespace quorvex::cli
