// The results editor in the main window: F9, "aktuelle Serie", F10 and the questions before
// the series is cleared open it; storing, re-opening a record and the header display go
// through the window.

#include "evaluation/curve_file.h"
#include "evaluation/project_store.h"
#include "evaluation/test_files.h"
#include "evaluation/test_state.h"
#include "results/filter_dialog.h"
#include "results/header_data_dialog.h"
#include "results/reopen_record.h"
#include "results/results_editor.h"
#include "run/app_state.h"
#include "shell/main_window.h"
#include "run/tensile_run.h"

namespace quorvex {

void TSDIAppForm::InstallResultsEditor() {
    // The filter settings stay for the whole run of the program.
    auto* filter = new TFilterdialog(ui_, test_.Parameters, SystemShortDateFormat(), this);
    ResultsEditor = [this, filter](bool seriesMode) {
        if (!app_.ProjectOpen) return;
        if (!seriesMode && filter->exec() != QDialog::Accepted) return;
        EditorServices services;
        services.WorkingDirectory = app_.WorkingDirectory;
        services.ProjectName = app_.ProjectName.toStdString();
        services.ShortDateFormat = SystemShortDateFormat();
        services.Filter = filter;
        services.Printer = Printer();
        services.StoreSlots = [this](const std::vector<int>& seriesSlots) {
            return StoreSlotsInProject(seriesSlots);
        };
        services.ShowHeaderData = [this](const HeaderLines& lines) {
            const HeaderLines current = test_.Parameters.HeaderValue;
            test_.Parameters.HeaderValue = lines;
            headerDlg_->Editable = false;
            headerDlg_->exec();
            headerDlg_->Editable = true;
            test_.Parameters.HeaderValue = current;
        };
        services.ReopenRecord = [this](int number) { ReopenStoredTest(number); };
        TDatabaseDialog editor(ui_, test_, std::move(services), seriesMode, this);
        editor.exec();
        // Tests stored from the series leave it.
        if (seriesMode && editor.Stored()) ClearSeries(test_.TestSeries, DateTimeNow());
    };
}

void TSDIAppForm::ReopenStoredTest(int recordNumber) {
    const std::filesystem::path directory =
        ProjectDirectory(app_.WorkingDirectory, app_.ProjectName.toStdString());
    const std::optional<ResultsRecord> stored = ReadProjectRecord(
        ProjectResultsFile(app_.WorkingDirectory, app_.ProjectName.toStdString()), recordNumber);
    if (!stored) return;
    ParameterSet& p = test_.Parameters;
    HeaderLines header;
    if (ReadHeaderFile(ProjectRecordFile(directory, recordNumber, ".Hea"), header).Loaded()) {
        p.HeaderValue = header;
    }
    // A missing curve leaves the test without one; the results come from the record then.
    bool curveLoaded = false;
    if (stored->CurveNumber >= 1) {
        curveLoaded = ReadCurveFile(ProjectRecordFile(directory, stored->CurveNumber, ".Dia"), p,
                                    test_.Buffer, test_.Marks)
                          .Loaded();
        // The curve file gives back one sample less than the test had (its last one is not
        // evaluated again for a demonstration curve); a re-opened test is evaluated over the
        // same samples as when it was stored, so that it shows the stored results.
        if (curveLoaded && stored->SampleCount == test_.Marks.SampleCount + 1 &&
            stored->SampleCount <= kBufferCapacity) {
            test_.Marks.SampleCount = stored->SampleCount;
        }
    }
    RestoreSpecimenFromRecord(p, test_.Current(), *stored);
    keepModulus_ = false;
    app_.LastTestNew = true;
    app_.LastTestSaved = false;
    LayoutResultPanels();
    if (curveLoaded) {
        const std::string remark = test_.Current().Remark;
        EvaluateAndShowTest(test_, *diagram_);
        test_.Current().Remark = remark;
    }
    FillResultPanels();
}

}  // namespace quorvex
