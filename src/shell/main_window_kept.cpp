// What a termination signal must not lose: the unsaved last test and the current series are
// kept at the close, and the next start offers them for storing in their project.
#include <QMessageBox>
#include <QStatusBar>
#include <QtGlobal>
#include <system_error>

#include "evaluation/project_store.h"
#include "evaluation/test_files.h"
#include "evaluation/test_state.h"
#include "run/app_state.h"
#include "shell/kept_tests.h"
#include "shell/main_window.h"
#include "ui/dialog_base.h"
#include "ui/stored_texts.h"
#include "ui/text_table.h"

namespace quorvex {
namespace {

constexpr int kTextKeptTests = 829;           // "... %1 ... im Resultate-Projekt %2 speichern"
constexpr int kTextKeptWithoutProject = 830;  // "... %1 ... kein Resultate-Projekt geöffnet"
constexpr int kTextStoredAsRecord = 827;      // "Versuch als Datensatz %1 in %2 gespeichert"
constexpr int kStoredMessageMs = 10000;

// The tests that remain in the series take the slots from 1 on, with their files, so that
// the next test goes into the slot after them.
void CloseSeriesGaps(Series& series, const std::filesystem::path& workingDirectory) {
    int next = 1;
    for (int slot = 1; slot <= Series::kSlots; ++slot) {
        ResultsRecord& record = series.Slots[static_cast<std::size_t>(slot)];
        if (!(record.Rm > 0)) continue;
        if (slot != next) {
            for (const char* extension : {".Dia", ".Hea", ".Txt"}) {
                std::error_code error;
                std::filesystem::rename(SeriesFilePath(workingDirectory, slot, extension),
                                        SeriesFilePath(workingDirectory, next, extension), error);
            }
            ResultsRecord& moved = series.Slots[static_cast<std::size_t>(next)];
            moved = record;
            moved.RecordNumber = next;
            if (moved.CurveNumber != 0) moved.CurveNumber = next;
            record = ResultsRecord{};
            record.Date = moved.Date;
        }
        ++next;
    }
}

}  // namespace

void TSDIAppForm::KeepUnsavedTests() {
    // As "Versuch in aktueller Serie speichern" would: the slot's files are written now.
    if (app_.LastTestNew && !app_.LastTestSaved) StoreLastTestInSeriesNow();
    const std::string projectName = app_.ProjectOpen ? app_.ProjectName.toStdString() : "";
    const std::string error =
        WriteKeptTests(app_.WorkingDirectory, test_.TestSeries, test_.Parameters, projectName);
    // Nobody is there to read a message box at a shutdown.
    if (!error.empty()) qWarning("quorvex: the unsaved tests could not be kept: %s", error.c_str());
}

void TSDIAppForm::OfferKeptTests() {
    KeptRead read = ReadKeptTests(app_.WorkingDirectory);
    if (read.Status.status == LoadStatus::Missing) return;
    if (!read.Status.Loaded()) {
        // The files stay as they are, for whoever can mend them.
        ui_.Messages.ShowOperatorMessage(QString::fromStdString(read.Status.message),
                                         MessageKind::Error, MessageButtons::Ok);
        return;
    }
    KeptTests& kept = read.Tests;
    const int count = static_cast<int>(kept.Records.size());
    const QString project = QString::fromStdString(kept.ProjectName);
    const int base = ui_.Texts.Base();
    const QString question = project.isEmpty()
                                 ? LoadText(kTextKeptWithoutProject, base).arg(count)
                                 : LoadText(kTextKeptTests, base).arg(count).arg(project);
    const QMessageBox::StandardButton answer = ui_.Messages.ShowOperatorMessage(
        question, MessageKind::Warning, MessageButtons::YesNoCancel);
    // A signal during the question: the tests stay kept for the next start.
    if (closingUnattended_) return;
    if (answer == QMessageBox::No) {
        RemoveKeptTests(app_.WorkingDirectory);
        return;
    }
    // Back into the series, each in the slot whose files it names.
    std::vector<int> keptSlots;
    for (const ResultsRecord& record : kept.Records) {
        test_.TestSeries.Slots[static_cast<std::size_t>(record.RecordNumber)] = record;
        keptSlots.push_back(record.RecordNumber);
    }
    if (answer == QMessageBox::Yes && !project.isEmpty()) {
        // Stored as F6 would have stored them when the signal came: with that parameter set
        // (test type, header lines, curves, exports) into that project.
        std::swap(test_.Parameters, kept.Parameters);
        const std::vector<StoredRecord> stored = StoreSlotsInNamedProject(keptSlots, project);
        std::swap(test_.Parameters, kept.Parameters);
        for (const StoredRecord& s : stored) {
            const double date = test_.TestSeries.Slots[static_cast<std::size_t>(s.Slot)].Date;
            test_.TestSeries.Slots[static_cast<std::size_t>(s.Slot)] = ResultsRecord{};
            test_.TestSeries.Slots[static_cast<std::size_t>(s.Slot)].Date = date;
        }
        // What could not be stored stays in the series, as after F6.
        CloseSeriesGaps(test_.TestSeries, app_.WorkingDirectory);
        if (!stored.empty()) {
            statusBar()->showMessage(
                LoadText(kTextStoredAsRecord, base).arg(stored.back().RecordNumber).arg(project),
                kStoredMessageMs);
        }
    }
    RemoveKeptTests(app_.WorkingDirectory);
}

}  // namespace quorvex
