// The printer of the main window: "&Drucker-Setup" sets it up, "Versuch protokollieren"
// prints the report of the current test on it, and the results editor prints there too.

#include "evaluation/test_state.h"
#include "evaluation/test_types.h"
#include "report/overlay_diagram.h"
#include "report/report_painter.h"
#include "results/report_printing.h"
#include "shell/main_window.h"
#include "ui/dialog_base.h"
#include "ui/stored_texts.h"
#include "ui/text_table.h"

#include <QDate>

namespace quorvex {
namespace {

constexpr int kTextNoTest = 174;
constexpr int kTextStrain = 161;
constexpr int kTextStress = 164;
constexpr int kTextCompression = 891;
constexpr int kTextForceAxis = 885;
constexpr int kTextTravelAxis = 886;

}  // namespace

void TSDIAppForm::InstallReports() {
    connect(menu_.PrinterSetup, &QAction::triggered, this, &TSDIAppForm::PrinterSetupCommand);
    menu_.PrinterSetup->setEnabled(true);
}

QPrinter* TSDIAppForm::Printer() {
    if (!printer_) {
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
        PrepareReportPrinter(*printer_);
    }
    return printer_.get();
}

void TSDIAppForm::PrinterSetupCommand() {
    ShowPrinterSetup(this, *Printer());
}

ResultsReport TSDIAppForm::CurrentTestReport() const {
    const ParameterSet& p = test_.Parameters;
    const int base = ui_.Texts.Base();
    const ReportTexts texts =
        ReportTextsIn([base](int number) { return LoadText(number, base).toStdString(); });
    const std::string format = SystemShortDateFormat();
    const EditorColumns columns(p, format);
    const QString today = QDate::currentDate().toString(QString::fromStdString(format));
    const ResultsRecord& current = test_.TestSeries.Current();
    return BuildResultsReport(p, columns, {current}, true, {}, texts, today.toStdString());
}

std::unique_ptr<OverlayDiagram> TSDIAppForm::CurrentTestDiagram() const {
    auto diagram = std::make_unique<OverlayDiagram>(OverlaySettingsOf(test_.Parameters));
    diagram->AddCurve(CurveOfCurrentTest(test_.Parameters, test_.Buffer, test_.Marks));
    // The report shows the test in the first view of its type.
    diagram->SetView(diagram->Views().front());
    return diagram;
}

OverlayLook TSDIAppForm::CurrentTestLook() const {
    const int base = ui_.Texts.Base();
    const ParameterSet& p = test_.Parameters;
    const bool stressView = IsTensileFamily(p.TestType) || p.TestType == 6 || p.TestType == 9;
    if (!stressView) {
        return OverlayLookOf(p, LoadText(kTextTravelAxis, base), LoadText(kTextForceAxis, base));
    }
    const QString x = p.TestType == 9 ? LoadText(kTextCompression, base) + QStringLiteral(" %")
                                      : LoadText(kTextStrain, base);
    return OverlayLookOf(p, x,
                         LoadText(kTextStress, base) + QLatin1Char(' ') +
                             QString::fromStdString(StressUnit(p.UnitSystem)));
}

void TSDIAppForm::PrintTestCommand() {
    if (test_.Marks.SampleCount <= 0) {
        ui_.Messages.ShowOperatorMessage(ui_.Texts.Text(kTextNoTest), MessageKind::Error,
                                         MessageButtons::Ok);
        return;
    }
    const ResultsReport report = CurrentTestReport();
    const QString undrawable = UndrawableLogoMessage(report.LogoFile, ui_.Texts.Base());
    if (!undrawable.isEmpty()) {
        ui_.Messages.ShowOperatorMessage(undrawable, MessageKind::Warning, MessageButtons::Ok);
    }
    const std::unique_ptr<OverlayDiagram> diagram = CurrentTestDiagram();
    const ReportDiagram printed{diagram.get(), CurrentTestLook()};
    PreviewAndPrintReport(this, *Printer(), report, &printed);
}

}  // namespace quorvex
