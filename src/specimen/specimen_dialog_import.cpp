// The specimen data dialog's take-over of prepared data: a specimen found by its number
// (F9) fills the inputs, a limit set found by its identifier (F6) the results definition.
#include "evaluation/text_functions.h"
#include "specimen/specimen_dialog.h"

namespace quorvex {
namespace {

using SF = SpecimenField;

// The inputs of each shape's dimensions, and its Lo and test length.
struct ShapeInputs {
    std::array<SpecimenField, 3> Dimensions;
    int DimensionCount;
    SpecimenField Lo, TestLength;
};

constexpr ShapeInputs kShapeInputs[] = {
    {{SF::RoundD, SF::RoundD, SF::RoundD}, 1, SF::RoundLo, SF::RoundLc},
    {{SF::FlatA, SF::FlatB, SF::FlatB}, 2, SF::FlatLo, SF::FlatLc},
    {{SF::TubeD, SF::TubeA, SF::TubeA}, 2, SF::TubeLo, SF::TubeLc},
    {{SF::MassRho, SF::MassM, SF::MassLt}, 3, SF::MassLo, SF::MassLv},
    {{SF::SegmentA, SF::SegmentB, SF::SegmentD}, 3, SF::SegmentLo, SF::SegmentLv},
};

std::array<double, 3> DimensionsOf(const ImportedSpecimen& s) {
    switch (s.Shape) {
        case 1:
            return {s.a, s.b, 0};
        case 2:
            return {s.TubeD, s.TubeWall, 0};
        case 3:
            return {s.Density, s.Mass, s.TotalLength};
        case 4:
            return {s.SegmentThickness, s.SegmentWidth, s.SegmentOuterD};
        default:
            break;
    }
    return {s.d, 0, 0};
}

QString Fixed(double value, int decimals) {
    return QString::fromStdString(FormatFixed(value, 0, decimals));
}

}  // namespace

void TBtnRightDlg3::TakeImportedSpecimen(const ImportedSpecimen& specimen) {
    specimenNo_->setText(QString::fromStdString(specimen.SpecimenNo));
    specimenId_->setText(QString::fromStdString(specimen.SpecimenId));
    for (std::size_t i = 0; i < specimen.HeaderLines.size(); ++i) {
        parameters_.HeaderValue[i] = specimen.HeaderLines[i];
    }
    // The plastics specimen stays a flat bar of user-defined length.
    const bool plastics = !shapeBox_->isEnabled();
    const int shape = plastics ? 1 : std::clamp(specimen.Shape, 0, 4);
    if (!plastics) {
        shapes_->button(shape)->setChecked(true);
        gaugeKinds_->button(std::clamp(specimen.Form, 0, 2))->setChecked(true);
        ShowShape(shape);
    }
    if (plastics && specimen.Shape != 1) {
        DimensionConfirmed();
        return;
    }
    const ShapeInputs& inputs = kShapeInputs[static_cast<std::size_t>(shape)];
    const std::array<double, 3> dimensions = DimensionsOf(specimen);
    for (int i = 0; i < inputs.DimensionCount; ++i) {
        const auto index = static_cast<std::size_t>(i);
        // Mass and length of the mass specimen carry two decimals, every other dimension three.
        const int decimals = shape == 3 && i > 0 ? 2 : 3;
        Input(inputs.Dimensions[index])->setText(Fixed(dimensions[index], decimals));
    }
    if (gaugeKinds_->checkedId() == 2) {
        if (specimen.Lo > 0) Input(inputs.Lo)->setText(Fixed(specimen.Lo, 2));
        if (specimen.TestLength > 0)
            Input(inputs.TestLength)->setText(Fixed(specimen.TestLength, 2));
    }
    DimensionConfirmed();
}

void TBtnRightDlg3::ImportSpecimen() {
    if (!machine_.FindSpecimen) return;
    // Opening the import again forgets an earlier one: only a specimen taken now is consumed.
    if (machine_.Imported != nullptr) machine_.Imported->FromImport = false;
    readingTimer_.stop();
    TImportDlg dialog(ui_, parameters_, machine_.FindSpecimen, this);
    specimenImportDlg_ = &dialog;
    const bool taken = dialog.exec() == QDialog::Accepted;
    specimenImportDlg_ = nullptr;
    if (taken) {
        const ImportedSpecimen specimen = dialog.Imported();
        TakeImportedSpecimen(specimen);
        if (machine_.Imported != nullptr) {
            *machine_.Imported = {true, specimen.Id, specimen.SpecimenNo};
        }
    }
    if (readings_.Connected()) readingTimer_.start();
}

void TBtnRightDlg3::ImportLimits() {
    if (!machine_.FindLimits) return;
    TGImportDlg dialog(ui_, parameters_, machine_.FindLimits, this);
    limitImportDlg_ = &dialog;
    dialog.exec();
    limitImportDlg_ = nullptr;
}

}  // namespace quorvex
