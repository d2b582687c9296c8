// F3 and "Probendaten laden": a prepared specimen file, the header data, and the test started
// with the file's specimen; a refused file is named and changes nothing.
#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QPushButton>
#include <filesystem>
#include <fstream>

#include "chosen_files.h"
#include "evaluation/test_files.h"
#include "machine/sim/virtual_machine.h"
#include "results/header_data_dialog.h"
#include "specimen/specimen_dialog.h"
#include "ui/text_table.h"
#include "window_fixture.h"

namespace quorvex {
namespace {

class SpecimenFileWindowTest : public testing::WindowFixture {
  protected:
    void SetUp() override {
        fileDialogs = &chosen;
        PrepareWorkingDirectory(testing::kSimulatedDevices);
        ShowWindow(&machine, &clock);
        ASSERT_TRUE(app.DaqPresent);
        app.ProjectOpen = true;
        ParameterSet& p = test->Parameters;
        p.TestType = 0;
        p.Stages = {};
        p.Stages[0] = {1, 0, 1, 2, 1};
        p.Stages[1] = {1, 1, 1, 20, 1};
    }
    bool F3() { return window->FormKeyDown(Qt::Key_F3, Qt::NoModifier); }
    QString Chosen(const char* name) { return QString::fromStdString((work / name).string()); }

    testing::ChosenFiles chosen;
    ManualClock clock;
    VirtualMachine machine{SimulationConfig{}, clock};
};

TEST_F(SpecimenFileWindowTest, F3StartsTheTestWithTheSavedSpecimen) {
    {
        ParameterSet prepared = test->Parameters;
        prepared.SpecimenShape = 0;
        prepared.GaugeKind = 2;
        prepared.Round = {8.0F, 40.0F, 48.0F, 50.27F};
        prepared.EffectiveSo = 50.27F;
        prepared.EffectiveLo = 40.0F;
        prepared.SpecimenId = "Heat 7";
        prepared.HeaderValue[0] = "Order 42";
        ASSERT_TRUE(SaveSpecimenFile(work / "bar.pro", prepared));
    }
    chosen.open = Chosen("bar.pro");
    QString headerShown;
    WhenModal<TKopfdatenDlg>([&](TKopfdatenDlg* d) {
        headerShown = d->windowTitle();
        d->OkButton()->click();
    });
    bool specimenAsked = false;
    WhenModal<TBtnRightDlg3>([&](TBtnRightDlg3* d) {
        specimenAsked = true;
        d->OkButton()->click();
    });
    ASSERT_TRUE(F3());
    EXPECT_EQ(chosen.titles.back(), LoadText(171, texts.Base()));
    EXPECT_EQ(chosen.filters.back(), QStringLiteral("*.pro"));
    EXPECT_FALSE(headerShown.isEmpty());
    EXPECT_TRUE(specimenAsked);
    ASSERT_TRUE(app.TestRunning);
    EXPECT_FLOAT_EQ(test->Parameters.Round.d, 8.0F);
    EXPECT_NEAR(test->Parameters.EffectiveSo, 50.27, 0.01);
    EXPECT_EQ(test->Parameters.SpecimenId, "Heat 7");
    EXPECT_EQ(test->Parameters.HeaderValue[0], "Order 42");
    window->StopButton()->click();
    EXPECT_FALSE(app.TestRunning);

    // The file menu offers the same start.
    EXPECT_EQ(window->Menu().LoadSpecimen->text(), LoadText(171, texts.Base()));
}

TEST_F(SpecimenFileWindowTest, ARefusedFileIsNamedAndNothingChanges) {
    std::ofstream(work / "short.pro") << "not a specimen";
    const ParameterSet before = test->Parameters;
    chosen.open = Chosen("short.pro");
    messages.shown.clear();
    window->Menu().LoadSpecimen->trigger();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(messages.shown[0].text.startsWith(LoadText(172, texts.Base())));
    EXPECT_TRUE(messages.shown[0].text.contains(QStringLiteral("short.pro")));
    EXPECT_FALSE(app.TestRunning);
    EXPECT_EQ(test->Parameters.EffectiveSo, before.EffectiveSo);
    EXPECT_EQ(test->Parameters.SpecimenId, before.SpecimenId);

    // Cancelling the header data keeps the loaded specimen but starts nothing.
    ParameterSet prepared = test->Parameters;
    prepared.SpecimenId = "Heat 9";
    ASSERT_TRUE(SaveSpecimenFile(work / "nine.pro", prepared));
    chosen.open = Chosen("nine.pro");
    WhenModal<TKopfdatenDlg>([](TKopfdatenDlg* d) { d->reject(); });
    ASSERT_TRUE(F3());
    EXPECT_FALSE(app.TestRunning);

    // Without a project: text 167, no file asked for.
    app.ProjectOpen = false;
    const auto asked = chosen.titles.size();
    messages.shown.clear();
    ASSERT_TRUE(F3());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, texts.Text(text::kNoProjectOpen));
    EXPECT_EQ(chosen.titles.size(), asked);
}

}  // namespace
}  // namespace quorvex
