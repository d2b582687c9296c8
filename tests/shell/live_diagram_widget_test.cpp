// The drawing area on the screen: the curve in its off-screen image, the magnifier's rubber
// band, and the results picked on the curve in the main window with their confirmation.
#include "shell/live_diagram_widget.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolBar>
#include <memory>

#include "evaluation/curve_builder.h"
#include "evaluation/tensile_evaluation.h"
#include "evaluation/text_functions.h"
#include "gui_test_support.h"
#include "setup/machine_config.h"
#include "shell/accept_value_dialog.h"
#include "run/app_state.h"
#include "shell/diagram_settings_dialog.h"
#include "shell/main_window.h"
#include "shell/project_dialog.h"
#include "shell/result_panels.h"
#include "ui/dialog_base.h"
#include "ui/stored_texts.h"
#include "window_fixture.h"

namespace quorvex {
namespace {

bool Black(const QImage& image, int x, int y) {
    return image.pixel(x, y) == qRgb(0, 0, 0);
}

class DiagramAreaTest : public ::testing::Test {
  protected:
    DiagramAreaTest() {
        nominals.NominalForce = 100;
        nominals.NominalTravel = 300;
        test->Parameters.StartDiagram = 0;
        area.resize(600, 400);
        area.show();
        area.Attach(model);
        StartRecording(test->Buffer, test->Marks);
        model.PrepareForTest();  // 0..30 mm, 0..5 kN
    }
    void Add(double force, double travel) {
        RecordSample(test->Buffer, test->Marks,
                     Sample{float(force), float(travel), 0, 0, 0, 0, 0, 0});
        LivePoint p;
        p.Index = test->Marks.StoredSamples;
        p.ForceKn = force;
        p.TravelMm = travel;
        model.AddLivePoint(p, 1.9);
    }

    std::unique_ptr<TestState> test = std::make_unique<TestState>();
    CalibrationRecord nominals;
    MachineSetupRecord setup;
    StoredTexts texts;
    LiveDiagramModel model{*test, nominals, setup};
    TDiagramArea area{texts};
};

TEST_F(DiagramAreaTest, TheCurveGrowsInTheImageAndARescaleRedrawsIt) {
    Add(0, 0);
    Add(1, 5);                                   // (100, 320)
    Add(2, 10);                                  // (200, 240)
    EXPECT_TRUE(Black(area.Image(), 150, 280));  // on the segment between them
    EXPECT_FALSE(Black(area.Image(), 150, 200));

    Add(6, 12);  // beyond 5 kN: 0..10 kN, the curve at half its height
    EXPECT_EQ(model.ForceStep(), 4);
    EXPECT_TRUE(Black(area.Image(), 150, 340));
    EXPECT_FALSE(Black(area.Image(), 150, 280));

    area.resize(300, 200);  // a new size draws everything again at that size
    EXPECT_EQ(area.Image().size(), QSize(300, 200));
    EXPECT_TRUE(Black(area.Image(), 75, 170));
}

TEST_F(DiagramAreaTest, TheMagnifierZoomsOnARubberBandOfMoreThanTenPixels) {
    std::vector<bool> done;
    area.MagnifierDone = [&](bool zoomed) { done.push_back(zoomed); };
    auto band = [&](QPoint from, QPoint to) {
        area.ArmMagnifier();
        EXPECT_EQ(area.cursor().shape(), Qt::CrossCursor);
        QTest::mousePress(&area, Qt::LeftButton, {}, from);
        QTest::mouseMove(&area, to);
        QTest::mouseRelease(&area, Qt::LeftButton, {}, to);
        EXPECT_FALSE(area.MagnifierArmed());
        EXPECT_NE(area.cursor().shape(), Qt::CrossCursor);
    };
    band({100, 100}, {108, 200});
    EXPECT_FALSE(model.Zoomed());
    band({150, 100}, {300, 200});
    EXPECT_TRUE(model.Zoomed());
    EXPECT_DOUBLE_EQ(model.Ranges().Xmin, 7.5);
    EXPECT_DOUBLE_EQ(model.Ranges().Xmax, 15);
    EXPECT_EQ(done, (std::vector<bool>{false, true}));
}

TEST(DiagramCaptions, AxesAreCaptionedInTheLanguageWithTheStressUnit) {
    struct Case {
        AxisQuantity quantity;
        int unitSystem, base;
        const char* caption;
    } cases[] = {
        {AxisQuantity::Force, 0, 0, "Kraft [kN]"},
        {AxisQuantity::Extensometer, 0, 0, "FDM-Weg [mm]"},
        {AxisQuantity::Stress, 0, 0, "Spannung   N/mm²"},
        {AxisQuantity::Stress, 2, 0, "Spannung   Mpa"},
        {AxisQuantity::Stress, 1, 1000, "Stress   MPa"},
        {AxisQuantity::Compression, 0, 0, "Stauchung"},
        {AxisQuantity::Time, 0, 2000, "Temps s"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(AxisCaption(c.quantity, c.unitSystem, c.base), QString::fromUtf8(c.caption));
    }
    EXPECT_DOUBLE_EQ(TickStep(30), 5);
    EXPECT_DOUBLE_EQ(TickStep(0.2), 0.05);
    EXPECT_DOUBLE_EQ(TickStep(1000), 200);
}

TEST(DiagramSettingsDialog, RefusesForceOverTimeOutsideTheUniversalTest) {
    ParameterSet p;
    p.TestType = 0;
    p.DiagramType = 3;
    p.StartDiagram = 2;
    p.SaveCurves = 0;
    StoredTexts texts;
    RecordedMessages messages;
    UiContext ui{messages, texts, {}, nullptr};
    TBtnRightDlg2 dialog(ui, p, nullptr);
    dialog.show();
    EXPECT_TRUE(dialog.TypeItem(4)->isChecked());
    EXPECT_TRUE(dialog.SaveCurves()->isChecked());
    EXPECT_FALSE(dialog.SaveCurves()->isEnabled());
    EXPECT_EQ(dialog.EnergyEnd()->text(), QStringLiteral("    2.00"));

    dialog.TypeItem(6)->click();  // "Kraft/Zeit"
    EXPECT_TRUE(dialog.TypeItem(0)->isChecked());
    dialog.StartItem(3)->click();
    EXPECT_TRUE(dialog.StartItem(0)->isChecked());
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(messages.shown[0].text, QStringLiteral("Ungültige Eingabe!"));
    EXPECT_EQ(messages.shown[0].kind, MessageKind::Error);

    QTest::keyClick(&dialog, Qt::Key_F, Qt::ControlModifier);  // "Spannung/&Feindehnung"
    EXPECT_TRUE(dialog.TypeItem(4)->isChecked());
    dialog.TypeItem(2)->click();  // "Kraft/Breitenänderung"
    dialog.OkButton()->click();
    EXPECT_EQ(p.DiagramType, 4);
    EXPECT_EQ(p.StartDiagram, 0);
    EXPECT_EQ(p.SaveCurves, 1);

    p.TestType = 9;
    dialog.show();
    EXPECT_EQ(dialog.TypeItem(4)->text(), QStringLiteral("Spannung/Stauchung-II"));
}

// The main window with a tensile test evaluated: the picks on the evaluated curve.
class DiagramPickWindowTest : public testing::WindowFixture {
  protected:
    void SetUp() override {
        PrepareWorkingDirectory(testing::kAbsentDevices);
        ShowWindow();
        window->resize(1000, 800);

        ParameterSet& p = test->Parameters;
        p.TestType = 0;
        p.StrainByTdm = 1;
        for (int slot : {int{kSlotRp}, int{kSlotAe}, 19}) p.Results[slot - 1].Evaluate = 1;
        testing::BuildTensileCurve(*test, model);
        window->FillResultPanels();
        QTest::qWait(20);  // the layout settles: the drawing area has its size
    }
    // A click on the drawing area just below a sample of the stress/fine-strain curve.
    void ClickSample(int sample) {
        LiveDiagramModel& diagram = window->Diagram();
        const auto v = diagram.SampleValues(sample);
        int px = 0, py = 0;
        ASSERT_TRUE(diagram.ToPixel(v.x, v.y, px, py));
        QTest::mouseClick(window->DiagramArea(), Qt::LeftButton, {}, QPoint(px, py + 1));
    }

    testing::TensileModel model;  // So 10 mm², E 210000, smooth yielding from 300 N/mm²
};

TEST_F(DiagramPickWindowTest, ModulusIsPickedWithTwoSamplesAndTakenOnOk) {
    // The force/travel view cannot take the pick.
    window->Diagram().PrepareAxes();
    window->ResultFieldClick("E");
    EXPECT_TRUE(window->PickField().empty());

    window->Diagram().ShowEvaluatedCurve(kViewStressFineStrain);
    window->ResultFieldClick("E");
    ASSERT_EQ(window->PickField(), "E");
    EXPECT_TRUE(window->Timer3().isActive());
    EXPECT_EQ(window->DiagramArea()->cursor().shape(), Qt::CrossCursor);

    QString label, unit;
    WhenModal<TUeberNehmeE>([&](TUeberNehmeE* d) {
        label = d->Label()->text();
        unit = d->Unit()->text();
        d->OkButton()->click();
    });
    ClickSample(21);
    ClickSample(21);  // the same sample again: the pick goes on
    EXPECT_EQ(window->PickField(), "E");
    ClickSample(71);

    EXPECT_EQ(label, QStringLiteral("E_Modul"));
    EXPECT_EQ(unit, QStringLiteral("N/mm²"));
    EXPECT_NEAR(test->Current().E, model.E, model.E * 5e-3);
    EXPECT_TRUE(window->KeepModulus());
    EXPECT_TRUE(window->PickField().empty());
    EXPECT_FALSE(window->Timer3().isActive());
    EXPECT_NE(window->DiagramArea()->cursor().shape(), Qt::CrossCursor);
    EXPECT_FALSE(window->ResultPanels()->Field("E")->text().trimmed().isEmpty());
}

TEST_F(DiagramPickWindowTest, APickedModulusOutlivesTheNextRefreshOfThePanels) {
    window->Diagram().ShowEvaluatedCurve(kViewStressFineStrain);
    window->ResultFieldClick("E");
    WhenModal<TUeberNehmeE>([](TUeberNehmeE* d) { d->OkButton()->click(); });
    ClickSample(21);
    ClickSample(130);  // a secant into the plastic range: a modulus well below the automatic
    const float picked = test->Current().E;
    ASSERT_LT(picked, model.E * 0.9);
    window->FillResultPanels();  // as after a change of the specimen data
    EXPECT_EQ(test->Current().E, picked);
    EXPECT_EQ(window->ResultPanels()->Field("E")->text().trimmed().toStdString(),
              FormatFixed(picked, 0, 0));
}

TEST_F(DiagramPickWindowTest, CancelledProofPickLeavesRpAndTheElasticLine) {
    window->Diagram().ShowEvaluatedCurve(kViewStressFineStrain);
    const float rp = test->Current().Rp;
    const double slope = test->Marks.ModulusLineSlope;
    ASSERT_GT(rp, 0);

    window->ResultFieldClick("Rp");
    QString label;
    WhenModal<TUeberNehmeE>([&](TUeberNehmeE* d) {
        label = d->Label()->text();
        d->reject();
    });
    ClickSample(41);
    ClickSample(5);  // another line through two samples of the elastic part
    EXPECT_EQ(label, QStringLiteral("Rp 0.10"));
    EXPECT_EQ(test->Current().Rp, rp);
    EXPECT_EQ(test->Marks.ModulusLineSlope, slope);
    EXPECT_TRUE(window->PickField().empty());
}

TEST_F(DiagramPickWindowTest, AeIsTheStrainBetweenTwoClicks) {
    LiveDiagramModel& diagram = window->Diagram();
    diagram.ShowEvaluatedCurve(kViewStressFineStrain);
    window->ResultFieldClick("Ae");
    ASSERT_EQ(window->PickField(), "Ae");
    QTest::mouseClick(window->DiagramArea(), Qt::LeftButton, {}, QPoint(40, 100));
    QTest::mouseClick(window->DiagramArea(), Qt::LeftButton, {}, QPoint(140, 120));
    const double expected = diagram.ClickToAxes(140, 0).x - diagram.ClickToAxes(40, 0).x;
    EXPECT_NEAR(test->Current().Ae, expected, 1e-5);
    EXPECT_TRUE(window->PickField().empty());
}

TEST_F(DiagramPickWindowTest, TheToolBarStepsTheRangesAndArmsTheMagnifier) {
    LiveDiagramModel& diagram = window->Diagram();
    diagram.PrepareAxes();
    QToolBar* bar = window->DiagramBar();
    auto action = [bar](const char* name) {
        return bar->findChild<QAction*>(QString::fromLatin1(name));
    };
    const double ymax = diagram.Ranges().Ymax;
    action("ScaleYLarger")->trigger();
    EXPECT_DOUBLE_EQ(diagram.Ranges().Ymax, ymax * 2);  // one force step: twice the range
    action("Magnifier")->trigger();
    EXPECT_FALSE(action("Magnifier")->isEnabled());
    EXPECT_TRUE(window->DiagramArea()->MagnifierArmed());
    // The settings dialog chooses stress over strain: the diagram shows it at once.
    WhenModal<TBtnRightDlg2>([](TBtnRightDlg2* d) {
        d->TypeItem(3)->click();
        d->OkButton()->click();
    });
    action("DiagramSettings")->trigger();
    EXPECT_EQ(test->Parameters.DiagramType, kViewStressStrain);
    EXPECT_EQ(diagram.View(), kViewStressStrain);
}

}  // namespace
}  // namespace quorvex
