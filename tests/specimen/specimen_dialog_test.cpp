// The specimen data dialog and the dimension measurement: entering a specimen, refusals that
// name the range and keep the focus, readings of the simulated caliper and micrometer, the
// preload approach and the automatic start on the simulated machine.
#include "specimen/specimen_dialog.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "gui_test_support.h"
#include "machine/machine.h"
#include "machine/sim/virtual_machine.h"
#include "specimen/dimension_dialog.h"
#include "ui/stored_texts.h"

namespace quorvex {
namespace {

using SF = SpecimenField;

// The simulated machine with its caliper on COM3 and its micrometer on COM4.
struct SimulatedBench {
    explicit SimulatedBench(SpecimenPreset preset) {
        SimulationConfig config;
        config.Preset = preset;
        sim = std::make_unique<VirtualMachine>(config, clock);
        MachineStartup startup = SimulatedMachineStartup(1);
        startup.Platform.ComDevice[3] = kSimulatedCaliperDevice;
        startup.Platform.ComDevice[4] = kSimulatedMicrometerDevice;
        startup.CaliperPort = 3;
        startup.MicrometerPort = 4;
        startup.Controller.NominalForce = config.NominalForce;
        startup.Controller.NominalTravel = config.NominalTravel;
        startup.Controller.FmaxMonitoring = true;
        machine = OpenMachine(startup, clock, sim.get()).machine;
        Tick();
    }
    void Tick() {
        clock.Advance(50);
        machine->Daq().ReadAll();
    }
    double Force() const {
        return machine->Daq().RawValues()[kRawForce] * sim->Config().NominalForce / 30000;
    }
    SpecimenDialogMachine Services(int ampVersion) {
        SpecimenDialogMachine m;
        m.Link = &machine->Link();
        m.Relays = &machine->Relays();
        m.Daq = &machine->Daq();
        m.Ports = &machine->Ports();
        m.CaliperPort = 3;
        m.MicrometerPort = 4;
        m.AmpVersion = ampVersion;
        m.Time = &clock;
        return m;
    }

    ManualClock clock;
    std::unique_ptr<VirtualMachine> sim;
    std::unique_ptr<Machine> machine;
};

class SpecimenDialog : public ::testing::Test {
  protected:
    void Open(int mode) {
        dialog.Mode = mode;
        dialog.open();
        QApplication::setActiveWindow(&dialog);
        ASSERT_TRUE(dialog.isVisible());
    }
    // Types a value into an input and confirms it with Enter.
    void Enter(SpecimenField field, const char* text) {
        QLineEdit* input = dialog.Input(field);
        input->setFocus();
        input->setText(QString::fromUtf8(text));
        QTest::keyClick(input, Qt::Key_Return);
    }
    void Choose(QButtonGroup* group, int id) { group->button(id)->click(); }
    QString Text(SpecimenField field) { return dialog.Input(field)->text(); }
    void Ok() { QTest::mouseClick(dialog.OkButton(), Qt::LeftButton); }
    QString LastMessage() const {
        return messages.shown.empty() ? QString() : messages.shown.back().text;
    }

    RecordedMessages messages;
    StoredTexts texts;
    int stops = 0;
    UiContext ui{messages, texts, [this] { ++stops; }, nullptr};
    ParameterSet parameters;
    TBtnRightDlg3 dialog{ui, parameters};
};

TEST_F(SpecimenDialog, EntersASpecimenWithItsProportionalLengthsAndRefusesWrongValues) {
    Open(TBtnRightDlg3::kPlainMode);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Probendaten"));
    EXPECT_EQ(dialog.OkButton()->text(), QStringLiteral("Ok"));
    EXPECT_FALSE(dialog.StatusLine()->isVisible());
    EXPECT_EQ(dialog.Shapes()->button(4)->text(), QStringLiteral("Rohrsegment"));

    // Round d = 10, short proportional: So 78.54, Lo [5.65 √So] = 50, Lc [50 + 10] = 60.
    Choose(dialog.Shapes(), 0);
    Choose(dialog.GaugeKinds(), 0);
    Enter(SF::RoundD, "10");
    EXPECT_EQ(dialog.SoField()->text(), QStringLiteral("78.54 mm²"));
    EXPECT_EQ(Text(SF::RoundLo), QStringLiteral("50.00"));
    EXPECT_EQ(Text(SF::RoundLc), QStringLiteral("60.00"));

    // Flat 2 × 20, long proportional: So 40, Lo [11.3 √40] = 71, Lc [71 + 1.5 √40] = 80.
    Choose(dialog.Shapes(), 1);
    Choose(dialog.GaugeKinds(), 1);
    Enter(SF::FlatA, "2");
    Enter(SF::FlatB, "20");
    EXPECT_EQ(dialog.SoField()->text(), QStringLiteral("40.00 mm²"));
    EXPECT_EQ(Text(SF::FlatLo), QStringLiteral("71.00"));
    EXPECT_EQ(Text(SF::FlatLc), QStringLiteral("80.00"));

    // A tube whose wall is half its diameter is a solid bar; a thicker wall is refused.
    Choose(dialog.Shapes(), 2);
    Choose(dialog.GaugeKinds(), 2);
    Enter(SF::TubeD, "20");
    Enter(SF::TubeA, "10.01");
    Ok();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(LastMessage(), QStringLiteral("Gültigkeitsbereich 0.01 ... D/2 !"));
    EXPECT_EQ(messages.shown.back().kind, MessageKind::Error);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.focusWidget(), dialog.Input(SF::TubeA));

    // Back to the round specimen: its inputs were kept. A diameter of 250 names its range.
    Choose(dialog.Shapes(), 0);
    EXPECT_EQ(Text(SF::RoundD), QStringLiteral("10"));
    dialog.Input(SF::RoundD)->setText(QStringLiteral("250"));
    Ok();
    EXPECT_EQ(LastMessage(), QStringLiteral("Gültigkeitsbereich 0.01 ... 200.0 !"));
    EXPECT_EQ(dialog.focusWidget(), dialog.Input(SF::RoundD));
    EXPECT_FLOAT_EQ(parameters.Round.d, 10.0f);  // nothing taken yet

    dialog.Input(SF::RoundD)->setText(QStringLiteral("10"));
    dialog.SpecimenNo()->setText(QStringLiteral("Charge 7"));
    Ok();
    ASSERT_FALSE(dialog.isVisible()) << LastMessage().toStdString();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(parameters.SpecimenShape, 0);
    EXPECT_NEAR(parameters.EffectiveSo, 78.54, 0.01);
    EXPECT_FLOAT_EQ(parameters.EffectiveLo, 50);
    EXPECT_EQ(parameters.SpecimenNo, "Charge 7");
    EXPECT_FLOAT_EQ(parameters.Tube.a, 2);  // the refused tube was not taken
}

// The defaults (round d 10, long proportional) open with the lengths of that specimen:
// Lo [11.3 √78.54] = 100, Lc [100 + 10] = 110; a user-defined one keeps its stored lengths.
TEST_F(SpecimenDialog, OpensWithTheProportionalLengthsOfItsCrossSection) {
    ASSERT_EQ(parameters.GaugeKind, 1);
    Open(TBtnRightDlg3::kPlainMode);
    EXPECT_EQ(Text(SF::RoundLo), QStringLiteral("100.00"));
    EXPECT_EQ(Text(SF::RoundLc), QStringLiteral("110.00"));
    dialog.reject();

    parameters.GaugeKind = 2;
    Open(TBtnRightDlg3::kPlainMode);
    EXPECT_EQ(Text(SF::RoundLo), QStringLiteral("50.00"));
    EXPECT_EQ(Text(SF::RoundLc), QStringLiteral("60.00"));
}

TEST_F(SpecimenDialog, PlasticsIsFlatAndUserDefinedAndCtrlKConfirmsForANewEvaluation) {
    parameters.TestType = 6;
    parameters.SpecimenShape = 0;
    parameters.AutoSpecimenNo = 1;
    dialog.SpecimenCounter = 12;
    Open(TBtnRightDlg3::kPlainMode);
    EXPECT_TRUE(dialog.Shapes()->button(1)->isChecked());
    EXPECT_FALSE(dialog.Shapes()->button(0)->isEnabled());
    EXPECT_TRUE(dialog.GaugeKinds()->button(2)->isChecked());
    EXPECT_EQ(dialog.Label(SF::FlatA)->text(), QStringLiteral("h"));
    EXPECT_EQ(dialog.Label(SF::FlatLc)->text(), QStringLiteral("L"));

    // Enter in the specimen number shows the number the test will receive.
    dialog.SpecimenNo()->setFocus();
    dialog.SpecimenNo()->setText(QStringLiteral("P-#"));
    QTest::keyClick(dialog.SpecimenNo(), Qt::Key_Return);
    EXPECT_EQ(dialog.SpecimenNo()->text(), QStringLiteral("P-#13"));

    QTest::keyClick(dialog.Input(SF::FlatB), Qt::Key_K, Qt::ControlModifier);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_TRUE(dialog.ConfirmedForReevaluation());
    EXPECT_EQ(parameters.SpecimenShape, 1);
    EXPECT_EQ(parameters.SpecimenNo, "P-#13");

    Open(TBtnRightDlg3::kPlainMode);
    EXPECT_FALSE(dialog.ConfirmedForReevaluation());  // cleared on every opening
    QTest::keyClick(dialog.Input(SF::FlatB), Qt::Key_F8);
    EXPECT_EQ(stops, 1);
    dialog.reject();
}

TEST_F(SpecimenDialog, ReadingsOfTheSimulatedInstrumentsLandInTheFocusedDimension) {
    SimulatedBench bench(SpecimenPreset::Aluminium);  // flat 20 × 3
    dialog.SetMachine(bench.Services(0));
    parameters.SpecimenShape = 1;
    parameters.GaugeKind = 2;
    Open(TBtnRightDlg3::kPlainMode);

    dialog.Input(SF::FlatA)->setFocus();  // the thickness: the micrometer
    bench.sim->PressMicrometerButton();
    dialog.PollInstruments();
    EXPECT_NEAR(dialog.Input(SF::FlatA)->text().toDouble(), 3.0, 0.02);
    EXPECT_EQ(Text(SF::FlatA).section('.', 1).size(), 3);
    EXPECT_EQ(dialog.focusWidget(), dialog.Input(SF::FlatB));

    bench.sim->PressCaliperButton();
    dialog.PollInstruments();
    EXPECT_NEAR(Text(SF::FlatB).toDouble(), 20.0, 0.1);
    EXPECT_NEAR(dialog.SoField()->text().section(' ', 0, 0).toDouble(), 60.0, 0.5);

    // A reading while no dimension has the focus goes nowhere.
    const QString lo = Text(SF::FlatLo);
    dialog.Input(SF::FlatLo)->setFocus();
    bench.sim->PressCaliperButton();
    dialog.PollInstruments();
    EXPECT_EQ(Text(SF::FlatLo), lo);

    // F3 measures the focused width: a reading of the caliper, one typed, three empty.
    dialog.Input(SF::FlatB)->setFocus();
    QString labelText;
    WhenModal<TAbmessungenDlg>([&](TAbmessungenDlg* d) {
        labelText = d->ReadingLabel(0)->text();
        d->Reading(0)->setFocus();
        bench.sim->PressCaliperButton();
        d->PollInstruments();
        d->Reading(1)->setText(QStringLiteral("500"));
        QTest::mouseClick(d->OkButton(), Qt::LeftButton);  // refused: 0.001 ... 400
        d->Reading(0)->setText(QStringLiteral("10.01"));
        d->Reading(1)->setText(QStringLiteral("10.03"));
        QTest::mouseClick(d->OkButton(), Qt::LeftButton);
    });
    QTest::keyClick(dialog.Input(SF::FlatB), Qt::Key_F3);
    EXPECT_EQ(labelText, QStringLiteral("b b.1"));
    EXPECT_EQ(LastMessage(), QStringLiteral("Gültigkeitsbereich  0.001 ... 400.0 !"));
    EXPECT_EQ(Text(SF::FlatB), QStringLiteral("10.02"));
    dialog.reject();
}

TEST_F(SpecimenDialog, F2ApproachesThePreloadOnTheSimulatedMachine) {
    SimulatedBench bench(SpecimenPreset::Steel);
    dialog.SetMachine(bench.Services(0));
    parameters.PreloadUnit = 0;
    parameters.PreloadValue[0] = 3.0f;
    Open(TBtnRightDlg3::kStartMode);
    EXPECT_EQ(dialog.OkButton()->text(), QStringLiteral("Start"));
    EXPECT_EQ(dialog.StatusLine()->text(), QStringLiteral("Startbereit = False"));
    QTest::keyClick(dialog.Input(SF::RoundD), Qt::Key_F2);
    for (int i = 0; i < 100; ++i) bench.Tick();
    EXPECT_NEAR(bench.Force(), 3.0, 0.15);
    dialog.reject();  // ends the approach
    EXPECT_FALSE(bench.sim->Controller().RampRunning());
}

TEST_F(SpecimenDialog, TheAutomaticStartRunsOnlyInStartModeWhenReady) {
    SimulatedBench bench(SpecimenPreset::Steel);
    SpecimenDialogMachine services = bench.Services(3);
    services.ForceKn = [&bench] { return bench.Force(); };
    dialog.SetMachine(services);
    parameters.AutoPreload = 1;
    parameters.PreloadValue[0] = 2.0f;
    parameters.SequenceTimeoutSec = 5;
    auto runStart = [&] {
        for (int i = 0; i < 400 && dialog.Start().Running(); ++i) {
            bench.Tick();
            dialog.AutomaticStartTick();
        }
    };

    Open(TBtnRightDlg3::kStartMode);
    EXPECT_EQ(dialog.StatusLine()->text(), QStringLiteral("Startbereit = True"));
    EXPECT_FALSE(dialog.PreloadButton()->isVisible());
    Ok();
    EXPECT_EQ(dialog.StatusLine()->text(), QStringLiteral("Vorkraft anfahren"));
    EXPECT_TRUE(dialog.isVisible());
    runStart();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_NEAR(bench.Force(), 2.0, 0.1);

    // With the arm closing the arms never report closed: the time-out keeps the dialog open.
    parameters.AutoCloseArms = 1;
    Open(TBtnRightDlg3::kStartMode);
    Ok();
    runStart();
    EXPECT_EQ(dialog.Start().Current(), AutomaticStart::Step::ArmsNotClosed);
    EXPECT_EQ(LastMessage(), QStringLiteral("Tastarme wurden nicht geschlossen"));
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(dialog.OkButton()->isEnabled());

    // Escape during the wait aborts it and keeps the dialog.
    Ok();
    QTest::keyClick(dialog.Input(SF::RoundD), Qt::Key_Escape);
    EXPECT_EQ(dialog.StatusLine()->text(), QStringLiteral("Abbruch "));
    EXPECT_TRUE(dialog.isVisible());
    dialog.reject();

    // The plain showing never starts the approach, after a ready start showing as well.
    Open(TBtnRightDlg3::kPlainMode);
    Ok();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(dialog.Start().Running());
    EXPECT_EQ(dialog.Start().Current(), AutomaticStart::Step::Aborted);
}

}  // namespace
}  // namespace quorvex
