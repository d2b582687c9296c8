// How long the operator waits for the results editor on a project of 100 000 records ("show
// all"): from opening the window to its first rows painted, beside the plain scan of the same
// file. Exit code 1 when the editor takes a second or more. Not part of ctest.
#include <QApplication>
#include <QTableView>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "evaluation/project_store.h"
#include "results/results_editor.h"
#include "ui/operator_message.h"
#include "ui/stored_texts.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kRecords = 100000;

double Milliseconds(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

class NoMessages : public quorvex::OperatorMessages {
  public:
    QMessageBox::StandardButton ShowOperatorMessage(const QString&, quorvex::MessageKind,
                                                    quorvex::MessageButtons) override {
        return QMessageBox::Ok;
    }
};

void WriteProject(const std::filesystem::path& file) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    quorvex::ResultsRecord r;
    for (int n = 1; n <= kRecords; ++n) {
        r.SpecimenNo = "P" + std::to_string(n);
        r.SpecimenId = n % 2 ? "Charge A" : "Charge B";
        r.Date = 45000 + n % 1000 + 0.5;
        r.Lo = 50;
        r.Rm = 400.0f + static_cast<float>(n % 200);
        r.Rp = 300.0f + static_cast<float>(n % 100);
        r.CurveNumber = r.RecordNumber = n;
        r.Results[49] = n % 50 == 0 ? quorvex::kDeletionMark : 0.0f;
        const quorvex::ByteImage image = quorvex::ResultsRecordImage(r);
        out.write(reinterpret_cast<const char*>(image.data()),
                  static_cast<std::streamsize>(image.size()));
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const std::filesystem::path work =
        std::filesystem::temp_directory_path() / "quorvex_results_editor_benchmark";
    std::filesystem::remove_all(work);
    std::filesystem::create_directories(work / "Bench");
    WriteProject(work / "Bench" / "Bench.Res");

    int accepted = 0;
    auto start = Clock::now();
    quorvex::ScanProject(work / "Bench" / "Bench.Res", quorvex::RecordFilter{},
                         [&accepted](int, const quorvex::ResultsRecord&) {
                             ++accepted;
                             return true;
                         });
    const double scan = Milliseconds(Clock::now() - start);

    NoMessages messages;
    quorvex::StoredTexts texts;
    quorvex::UiContext ui{messages, texts, {}, nullptr};
    auto test = std::make_unique<quorvex::TestState>();
    quorvex::EditorServices services;
    services.WorkingDirectory = work;
    services.ProjectName = "Bench";
    start = Clock::now();
    quorvex::TDatabaseDialog editor(ui, *test, services, false);
    editor.show();
    editor.Grid()->viewport()->repaint();
    QApplication::processEvents();
    const double shown = Milliseconds(Clock::now() - start);

    std::printf("records %d, listed %d (plain scan %d)\n", kRecords, editor.Model().TestCount(),
                accepted);
    std::printf("plain scan           %8.1f ms\n", scan);
    std::printf("editor, first rows   %8.1f ms\n", shown);
    std::filesystem::remove_all(work);
    return shown < 1000.0 ? 0 : 1;
}
