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
#include "evaluation/test_files.h"
#include "evaluation/test_types.h"
#include "report/overlay_diagram.h"
#include "report/report_painter.h"

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
};

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
        } else {
            return false;
        }
    }
    return !o.PdfFile.empty();
}

// The axis titles of the printout in the program's own language (German).
OverlayLook LookOf(const ParameterSet& p, OverlayView view) {
    const QString stress =
        QStringLiteral("Spannung ") + QString::fromStdString(StressUnit(p.UnitSystem));
    switch (view) {
        case OverlayView::Strain:
            return OverlayLookOf(p,
                                 p.TestType == 9 ? QStringLiteral("Stauchung %")
                                                 : QStringLiteral("Dehnung %"),
                                 stress);
        case OverlayView::FineStrain:
            return OverlayLookOf(p, QStringLiteral("Feindehnung %"), stress);
        case OverlayView::ForceTravel:
            return OverlayLookOf(p, QStringLiteral("Traversenweg [mm]"),
                                 QStringLiteral("Kraft [kN]"));
        case OverlayView::EnergyTravel:
            return OverlayLookOf(p, QStringLiteral("Traversenweg [mm]"),
                                 QStringLiteral("Verformungsenergie [J]"));
        case OverlayView::ForceTime:
            return OverlayLookOf(p, QStringLiteral("Zeit sec"), QStringLiteral("Kraft [kN]"));
    }
    return {};
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
    std::vector<ResultsRecord> records;
    std::set<int> found;
    const auto count = ReadProjectRecords(resultsFile, [&](int number, const ResultsRecord& r) {
        if (IsDeletedRecord(r) || (!wanted.empty() && !wanted.count(number))) return true;
        records.push_back(r);
        records.back().RecordNumber = number;
        found.insert(number);
        return true;
    });
    if (!count) {
        err << "quorvex-cli: cannot open the results file \"" << o.ResultsFile << "\"\n";
        return 1;
    }
    if (!count->Message.empty()) err << "quorvex-cli: " << count->Message << "\n";
    for (int number : wanted) {
        if (!found.count(number)) {
            err << "quorvex-cli: record " << number << " is not in the project or deleted\n";
        }
    }
    if (records.empty()) {
        err << "quorvex-cli: no record to print\n";
        return 1;
    }

    // The printout carries the header data of the last listed test, as the editor's does.
    HeaderLines header;
    if (records.size() <= 10 &&
        ReadHeaderFile(ProjectRecordFile(directory, records.back().RecordNumber, ".Hea"), header)
            .Loaded()) {
        p.HeaderValue = header;
    }

    const EditorColumns columns(p, "dd.MM.yyyy");
    const std::vector<StatisticsRow> statistics =
        StatisticsOfSelection(p, columns, records, false);
    const std::string today = QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy")).toStdString();
    const ResultsReport report =
        BuildResultsReport(p, columns, records, false, statistics, ReportTexts{}, today);

    std::unique_ptr<OverlayDiagram> diagram;
    ReportDiagram printed;
    if (o.Diagram) {
        diagram = std::make_unique<OverlayDiagram>(OverlaySettingsOf(p));
        for (std::size_t i = 0; i < records.size() && i < OverlayDiagram::kMaxCurves; ++i) {
            CurveFileContent curve;
            const int curveNumber = records[i].CurveNumber;
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
        printed = {diagram.get(), LookOf(p, diagram->View())};
    }

    QString error;
    if (!WriteReportPdf(QString::fromStdString(o.PdfFile), report,
                        diagram ? &printed : nullptr, &error)) {
        err << "quorvex-cli: " << error.toStdString() << "\n";
        return 1;
    }
    out << "wrote " << records.size() << " record(s) to " << o.PdfFile << "\n";
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
           "                           write the printed results list of the project's\n"
           "                           records (all that are not deleted, or those listed)\n"
           "                           as a PDF file: with the statistics rows, or with the\n"
           "                           overlaid curves of the first ten records\n";
}

int RunReportCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    ReportOptions options;
    if (!ParseOptions(args, options, err)) return Usage(err);
    // Painting a PDF needs a GUI application, but no screen.
    std::unique_ptr<QGuiApplication> app;
    // Qt's own notes ("QPainter::begin(): Returned false" ...) are no message of ours: every
    // failure is reported in the command's own words.
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
    return WriteReport(options, out, err);
}

}  // namespace quorvex::cli
