// The results editor's comparison diagram and its printouts: the overlaid curves of the
// selected tests, their views and axis steps, the print preview and the PDF.
#include <QApplication>
#include <QButtonGroup>
#include <QDate>
#include <QFileDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QToolButton>

#include "evaluation/test_types.h"
#include "results/overlay_widget.h"
#include "report/report_painter.h"
#include "results/report_printing.h"
#include "results/results_editor.h"
#include "ui/captions.h"
#include "ui/stored_texts.h"
#include "ui/text_table.h"

namespace quorvex {
namespace {

constexpr int kTextNoneSelected = 207;
constexpr int kTextDiagramType = 120;
constexpr int kTextForceTravel = 116;
constexpr int kTextEnergyTravel = 657;
constexpr int kTextEnergy = 658;
constexpr int kTextForceTime = 659;
constexpr int kTextStrainView = 221;
constexpr int kTextFineStrainView = 222;
constexpr int kTextCompressionView = 883;
constexpr int kTextFineCompressionView = 824;
constexpr int kTextStrain = 161;
constexpr int kTextFineStrain = 162;
constexpr int kTextStress = 164;
constexpr int kTextCompression = 891;
constexpr int kTextForceAxis = 885;
constexpr int kTextTravelAxis = 886;
constexpr int kTextTimeAxis = 892;
constexpr int kTextNumber = 223;
constexpr int kTextDate = 178;
constexpr int kTextSavePdfTitle = 822;
constexpr int kTextPdfFailed = 823;

int ViewTextNumber(OverlayView view, int testType) {
    const bool compression = testType == 9;
    switch (view) {
        case OverlayView::Strain:
            return compression ? kTextCompressionView : kTextStrainView;
        case OverlayView::FineStrain:
            return compression ? kTextFineCompressionView : kTextFineStrainView;
        case OverlayView::ForceTravel:
            return kTextForceTravel;
        case OverlayView::EnergyTravel:
            return kTextEnergyTravel;
        case OverlayView::ForceTime:
            return kTextForceTime;
    }
    return kTextStrainView;
}

}  // namespace

void TDatabaseDialog::BuildDiagramControls() {
    const int base = ui_.Texts.Base();
    SetTextNumber(viewGroup_, kTextDiagramType);
    viewGroup_->setTitle(LoadText(kTextDiagramType, base));
    auto* viewLayout = new QHBoxLayout(viewGroup_);
    viewButtons_ = new QButtonGroup(viewGroup_);
    for (OverlayView view : OverlayViewsOf(test_.Parameters.TestType)) {
        const int number = ViewTextNumber(view, test_.Parameters.TestType);
        auto* radio = new QRadioButton(LoadText(number, base), viewGroup_);
        SetTextNumber(radio, number);
        viewButtons_->addButton(radio, static_cast<int>(view));
        viewLayout->addWidget(radio);
    }
    connect(viewButtons_, &QButtonGroup::idClicked, this,
            [this](int id) { SetDiagramView(static_cast<OverlayView>(id)); });

    auto* axisLayout = new QHBoxLayout(axisButtons_);
    axisLayout->setContentsMargins(0, 0, 0, 0);
    const struct {
        const char* name;
        Qt::ArrowType arrow;
        bool x;
        int direction;
    } arrows[] = {{"XRangeDown", Qt::LeftArrow, true, -1},
                  {"XRangeUp", Qt::RightArrow, true, 1},
                  {"YRangeDown", Qt::DownArrow, false, -1},
                  {"YRangeUp", Qt::UpArrow, false, 1}};
    for (const auto& a : arrows) {
        auto* b = new QToolButton(axisButtons_);
        b->setObjectName(QString::fromLatin1(a.name));
        b->setArrowType(a.arrow);
        const bool x = a.x;
        const int direction = a.direction;
        connect(b, &QToolButton::clicked, this, [this, x, direction] { StepAxis(x, direction); });
        axisLayout->addWidget(b);
    }
    viewGroup_->hide();
    axisButtons_->hide();
}

bool TDatabaseDialog::RequireSelection() {
    if (!model_->SelectedRows().empty()) return true;
    Ask(LoadText(kTextNoneSelected, ui_.Texts.Base()), MessageKind::Error, MessageButtons::Ok);
    return false;
}

std::filesystem::path TDatabaseDialog::CurveFileOfRow(int row) const {
    if (seriesMode_) {
        return SeriesFilePath(services_.WorkingDirectory,
                              listedSlots_.at(static_cast<std::size_t>(row)), ".Dia");
    }
    return ProjectRecordFile(ProjectDirectory(services_.WorkingDirectory, services_.ProjectName),
                             model_->Test(row).CurveNumber, ".Dia");
}

bool TDatabaseDialog::DiagramShown() const {
    return diagram_ && !overlay_->isHidden();
}

void TDatabaseDialog::DiagramClick() {
    if (!RequireSelection()) return;
    diagram_ = std::make_unique<OverlayDiagram>(OverlaySettingsOf(test_.Parameters));
    const std::vector<int>& rows = model_->SelectedRows();
    for (std::size_t i = 0; i < rows.size() && i < OverlayDiagram::kMaxCurves; ++i) {
        const int row = rows[i];
        CurveFileContent curve;
        // A missing or refused curve file leaves that curve out, without a message.
        const bool hasCurve = seriesMode_ || model_->Test(row).CurveNumber >= 1;
        if (hasCurve && ParseCurveFile(CurveFileOfRow(row), curve).Loaded()) {
            diagram_->AddCurve(curve);
        } else {
            diagram_->AddMissingCurve();
        }
    }
    if (QAbstractButton* b = viewButtons_->button(static_cast<int>(diagram_->View()))) {
        b->setChecked(true);
    }
    grid_->hide();
    overlay_->show();
    viewGroup_->show();
    axisButtons_->show();
    formButton_->setEnabled(true);
    overlay_->ShowDiagram(diagram_.get(), DiagramLook());
}

void TDatabaseDialog::FormClick() {
    overlay_->hide();
    viewGroup_->hide();
    axisButtons_->hide();
    grid_->show();
    formButton_->setEnabled(false);
}

void TDatabaseDialog::SetDiagramView(OverlayView view) {
    if (!diagram_) return;
    diagram_->SetView(view);
    overlay_->ShowDiagram(diagram_.get(), DiagramLook());
}

void TDatabaseDialog::StepAxis(bool xAxis, int direction) {
    if (!diagram_) return;
    const bool moved = xAxis ? diagram_->StepX(direction) : diagram_->StepY(direction);
    if (!moved) {
        QApplication::beep();
        return;
    }
    overlay_->Redraw();
}

OverlayLook TDatabaseDialog::DiagramLook() const {
    const int base = ui_.Texts.Base();
    return OverlayLookIn(test_.Parameters, diagram_ ? diagram_->View() : OverlayView::Strain,
                         [base](int number) { return LoadText(number, base); });
}

std::vector<ResultsRecord> TDatabaseDialog::SelectedTests() const {
    std::vector<ResultsRecord> tests;
    for (int row : model_->SelectedRows()) tests.push_back(model_->Test(row));
    return tests;
}

ResultsReport TDatabaseDialog::BuildReport() const {
    const int base = ui_.Texts.Base();
    const ReportTexts texts =
        ReportTextsIn([base](int number) { return LoadText(number, base).toStdString(); });
    const QString today =
        QDate::currentDate().toString(QString::fromStdString(services_.ShortDateFormat));
    return BuildResultsReport(test_.Parameters, *columns_, SelectedTests(), seriesMode_,
                              model_->StatisticsBlock(), texts, today.toStdString());
}

bool TDatabaseDialog::PrintTo(QPagedPaintDevice& device) {
    if (model_->SelectedRows().empty()) return false;
    const ResultsReport report = BuildReport();
    if (DiagramShown()) {
        const ReportDiagram printed{diagram_.get(), DiagramLook()};
        return PaintResultsReport(device, report, &printed);
    }
    return PaintResultsReport(device, report);
}

bool TDatabaseDialog::SavePdf(const QString& path) {
    if (model_->SelectedRows().empty()) return false;
    const ResultsReport report = BuildReport();
    WarnUndrawableLogo(report);
    QString error;
    bool written;
    if (DiagramShown()) {
        const ReportDiagram printed{diagram_.get(), DiagramLook()};
        written = WriteReportPdf(path, report, &printed, &error);
    } else {
        written = WriteReportPdf(path, report, nullptr, &error);
    }
    if (!written) {
        Ask(LoadText(kTextPdfFailed, ui_.Texts.Base()).arg(path), MessageKind::Error,
            MessageButtons::Ok);
    }
    return written;
}

void TDatabaseDialog::WarnUndrawableLogo(const ResultsReport& report) {
    const QString undrawable = UndrawableLogoMessage(report.LogoFile, ui_.Texts.Base());
    if (!undrawable.isEmpty()) Ask(undrawable, MessageKind::Warning, MessageButtons::Ok);
}

void TDatabaseDialog::PrintClick() {
    if (!RequireSelection()) return;
    QPrinter* printer = services_.Printer;
    if (!printer) {
        if (!ownPrinter_) ownPrinter_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer = ownPrinter_.get();
    }
    const ResultsReport report = BuildReport();
    WarnUndrawableLogo(report);
    if (DiagramShown()) {
        const ReportDiagram printed{diagram_.get(), DiagramLook()};
        PreviewAndPrintReport(this, *printer, report, &printed);
    } else {
        PreviewAndPrintReport(this, *printer, report, nullptr);
    }
}

void TDatabaseDialog::SavePdfClick() {
    if (!RequireSelection()) return;
    const int base = ui_.Texts.Base();
    const QString path =
        QFileDialog::getSaveFileName(this, LoadText(kTextSavePdfTitle, base),
                                     QString::fromStdString(services_.WorkingDirectory.string()),
                                     QStringLiteral("PDF (*.pdf)"));
    if (path.isEmpty()) return;
    SavePdf(path.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive)
                ? path
                : path + QStringLiteral(".pdf"));
}

}  // namespace quorvex
