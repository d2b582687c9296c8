// The main window's live diagram: the drawing area in the test panel, its tool bar (range
// steps, magnifier, diagram settings) and the results the operator picks on the curve.
#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>

#include "evaluation/tensile_evaluation.h"
#include "evaluation/test_state.h"
#include "evaluation/text_functions.h"
#include "setup/machine_config.h"
#include "shell/accept_value_dialog.h"
#include "shell/diagram_settings_dialog.h"
#include "shell/live_diagram_widget.h"
#include "shell/main_window.h"
#include "shell/result_panel_model.h"
#include "shell/result_panels.h"
#include "ui/captions.h"
#include "ui/dialog_base.h"
#include "ui/stored_texts.h"
#include "ui/text_table.h"

namespace quorvex {

void TSDIAppForm::BuildDiagram() {
    diagram_ =
        std::make_unique<LiveDiagramModel>(test_, machineConfig_.Calibration, machineConfig_.Setup);
    auto* layout = new QVBoxLayout(testPanel_);
    layout->setContentsMargins(2, 2, 2, 2);
    diagramArea_ = new TDiagramArea(ui_.Texts, testPanel_);
    layout->addWidget(diagramArea_);
    diagramArea_->Attach(*diagram_);
    diagramArea_->Clicked = [this](int x, int y) { DiagramClick(x, y); };
    diagramArea_->MagnifierDone = [this](bool) { magnifierAction_->setEnabled(true); };

    diagramBar_ = addToolBar(LoadText(text::kDiagramDisplay, 0));
    diagramBar_->setObjectName(QStringLiteral("DiagramBar"));
    auto add = [this](const char* name, int textNumber, QStyle::StandardPixmap icon) {
        QAction* action =
            diagramBar_->addAction(style()->standardIcon(icon), LoadText(textNumber, 0));
        action->setObjectName(QString::fromLatin1(name));
        SetTextNumber(action, textNumber);
        return action;
    };
    const struct {
        const char* name;
        int textNumber;
        QStyle::StandardPixmap icon;
        RangeButton button;
    } rangeButtons[] = {
        {"ScaleYLarger", text::kScaleYAxis, QStyle::SP_ArrowUp, RangeButton::YLarger},
        {"ScaleYSmaller", text::kScaleYAxis, QStyle::SP_ArrowDown, RangeButton::YSmaller},
        {"ScaleXLarger", text::kScaleXAxis, QStyle::SP_ArrowRight, RangeButton::XLarger},
        {"ScaleXSmaller", text::kScaleXAxis, QStyle::SP_ArrowLeft, RangeButton::XSmaller},
    };
    for (const auto& b : rangeButtons) {
        const RangeButton button = b.button;
        connect(add(b.name, b.textNumber, b.icon), &QAction::triggered, this,
                [this, button] { DiagramRangeCommand(button); });
    }
    connect(add("DiagramSettings", text::kDiagramDisplay, QStyle::SP_FileDialogDetailedView),
            &QAction::triggered, this, &TSDIAppForm::DiagramSettingsCommand);
    magnifierAction_ = add("Magnifier", text::kMagnifier, QStyle::SP_FileDialogContentsView);
    connect(magnifierAction_, &QAction::triggered, this, &TSDIAppForm::MagnifierCommand);

    ueberNehmeE_ = new TUeberNehmeE(ui_, this);
    diagramSettingsDlg_ = new TBtnRightDlg2(ui_, test_.Parameters, this);
    connect(menu_.Diagram, &QAction::triggered, this, &TSDIAppForm::DiagramSettingsCommand);
    menu_.Diagram->setEnabled(true);
}

void TSDIAppForm::DiagramRangeCommand(RangeButton button) {
    if (!diagram_->PressRangeButton(button)) QApplication::beep();
}

void TSDIAppForm::MagnifierCommand() {
    magnifierAction_->setEnabled(false);
    diagramArea_->ArmMagnifier();
}

void TSDIAppForm::DiagramSettingsCommand() {
    diagramSettingsDlg_->exec();
    diagram_->PrepareAxes();
}

void TSDIAppForm::PickModeStarted() {
    pickClicks_ = PickClicks{};
    diagramArea_->SetPickCursor(true);
}

void TSDIAppForm::PickModeEnded() {
    pickClicks_ = PickClicks{};
    if (diagramArea_) diagramArea_->SetPickCursor(false);
}

void TSDIAppForm::ShowPickedResults() {
    LeavePickModes();
    LayoutResultPanels();
    resultPanels_->Fill(test_, machineConfig_.Factors.ForceDecimals);
}

void TSDIAppForm::DiagramClick(int x, int y) {
    if (pickField_.empty()) return;
    const ParameterSet& p = test_.Parameters;
    const PickKind kind = PickKindOfField(p.TestType, pickField_);
    if (kind == PickKind::None) return;
    if (pickClicks_.Kind != kind) pickClicks_ = PickClicks{kind};
    const LiveDiagramModel::AxisPoint v = diagram_->ClickToAxes(x, y);

    if (NeedsTwoSamples(kind)) {
        const int sample = diagram_->SampleAtStress(v.y, p.EffectiveSo);
        if (!pickClicks_.HaveFirst) {
            pickClicks_.HaveFirst = true;
            pickClicks_.FirstSample = sample;
            diagram_->MarkSample(sample, DiagramMark::PickedSample);
            return;
        }
        if (sample == pickClicks_.FirstSample) return;  // the same sample: pick on
        diagram_->MarkSample(sample, DiagramMark::PickedSample);
        const int first = pickClicks_.FirstSample;
        LeavePickModes();
        if (kind == PickKind::Modulus) {
            ConfirmModulus(first, sample);
        } else {
            ConfirmProof(first, sample);
        }
        return;
    }
    if (kind == PickKind::Ae) {
        diagram_->MarkPoint(v.x, v.y, DiagramMark::PickedPoint);
        if (!pickClicks_.HaveFirst) {
            pickClicks_.HaveFirst = true;
            pickClicks_.FirstX = v.x;
            return;
        }
        PickAe(test_, pickClicks_.FirstX, v.x);
    } else if (kind == PickKind::UpperYield || kind == PickKind::LowerYield) {
        PickYield(test_, kind == PickKind::UpperYield, v.y);
    } else {
        PickValue(test_, pickField_, v.x, v.y);
    }
    ShowPickedResults();
}

void TSDIAppForm::ConfirmModulus(int first, int second) {
    const ParameterSet& p = test_.Parameters;
    const double modulus = PickModulus(test_, first, second);
    ueberNehmeE_->Prepare(LoadText(text::kModulusLabel, ui_.Texts.Base()),
                          InStressUnit(modulus, p.UnitSystem), 0,
                          QString::fromStdString(StressUnit(p.UnitSystem)));
    if (ueberNehmeE_->exec() == QDialog::Accepted) {
        AcceptModulus(test_, first, second);
        keepModulus_ = true;
        diagram_->Redraw();
        ShowPickedResults();
        return;
    }
    // Drawn again in XOR, the two marks vanish.
    diagram_->MarkSample(first, DiagramMark::PickedSample);
    diagram_->MarkSample(second, DiagramMark::PickedSample);
    keepModulus_ = false;
}

void TSDIAppForm::ConfirmProof(int first, int second) {
    const ParameterSet& p = test_.Parameters;
    const TestMarks before = test_.Marks;
    const std::optional<double> rp = PickProof(test_, first, second);
    diagram_->Redraw();
    if (!rp) return;
    ueberNehmeE_->Prepare(
        QStringLiteral("Rp ") + QString::fromStdString(FormatFixed(p.ProofStrain, 4, 2)),
        InStressUnit(*rp, p.UnitSystem), p.Results[static_cast<std::size_t>(kSlotRp - 1)].Decimals,
        QString::fromStdString(StressUnit(p.UnitSystem)));
    if (ueberNehmeE_->exec() == QDialog::Accepted) {
        test_.Current().Rp = static_cast<float>(*rp);
        ShowPickedResults();
        return;
    }
    // Cancelled: the elastic line and the proof crossing of the evaluation come back.
    test_.Marks = before;
    diagram_->Redraw();
}

}  // namespace quorvex
