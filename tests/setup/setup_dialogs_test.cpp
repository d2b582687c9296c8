// The setup, serial port and calibration dialogs driven as the operator drives them.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QSpinBox>
#include <QTabWidget>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <filesystem>

#include "gui_test_support.h"
#include "setup/calibration_dialog.h"
#include "setup/serial_ports_dialog.h"
#include "setup/setup_dialog.h"
#include "temp_dir.h"
#include "test_doubles.h"
#include "ui/password_dialog.h"
#include "ui/stored_texts.h"

namespace quorvex {
namespace {

namespace fs = std::filesystem;
namespace ff = form_field;

int F(SetupField field) {
    return static_cast<int>(field);
}

class SetupDialogTest : public testing_support::TempDirTest {
  protected:
    void SetUp() override {
        TempDirTest::SetUp();
        parameters.TransverseLimitMm = 0.5;
        machine.LoadCells.SensorSelected = 1;
        machine.Setup.HydraulicGrips = 1;
        machine.Setup.AmpVersion = 4;
        dialog.WorkingDirectory = dir;
    }
    void Open(bool unlocked) {
        dialog.OperatorUnlocked = unlocked;
        dialog.open();
        ASSERT_TRUE(dialog.isVisible());
    }
    QLineEdit* Edit(int field) { return qobject_cast<QLineEdit*>(dialog.Field(field)); }
    void GiveCode(QPushButton* button, const char* code) {
        WhenModal<TPasswordDlg>([code](TPasswordDlg* d) {
            QTest::keyClicks(d->Entry(), QString::fromLatin1(code));
            QTest::keyClick(d->Entry(), Qt::Key_Return);
        });
        QTest::mouseClick(button, Qt::LeftButton);
    }

    RecordedMessages messages;
    StoredTexts texts;
    int stops = 0;
    UiContext ui{messages, texts, [this] { ++stops; }, nullptr};
    ParameterSet parameters;
    MachineConfig machine;
    TPasswordDlg password{ui, nullptr};
    TBtnRightDlg dialog{ui, parameters, machine, password};
};

TEST_F(SetupDialogTest, MachineModeShowsItsTabsAndLocksWithoutTheAccessFlag) {
    Open(false);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Setup-Maschine"));
    QStringList tabs;
    for (int i = 0; i < dialog.Tabs()->count(); ++i) tabs << dialog.Tabs()->tabText(i);
    EXPECT_EQ(tabs, (QStringList{"Messbereiche", "Regelparameter", "Konfiguration Maschine",
                                 "Zusatzgeräte", "Ablaufsteuerung"}));
    for (int field : {F(SetupField::NominalForce), F(SetupField::MessageTime), ff::kForceGainP,
                      ff::kLoadCellNominal}) {
        EXPECT_FALSE(dialog.Field(field)->isEnabled()) << field;
    }
    EXPECT_FALSE(dialog.MachineCodeButton()->isEnabled());
    EXPECT_FALSE(dialog.SystemDataButton()->isEnabled());
    EXPECT_EQ(Edit(ff::kForcePoint + 1)->text(), QStringLiteral("  0"));
    // Alt+F12 opens nothing without the access flag; F8 still stops the machine.
    QTest::keyClick(&dialog, Qt::Key_F12, Qt::AltModifier);
    EXPECT_FALSE(dialog.Field(F(SetupField::NominalForce))->isEnabled());
    QTest::keyClick(&dialog, Qt::Key_F8);
    EXPECT_EQ(stops, 1);
    dialog.reject();
}

// Each mode takes the size of its own tabs, within a 1024 x 768 screen, whichever mode was
// shown before.
TEST_F(SetupDialogTest, EachModeTakesTheSizeOfItsTabsAndFitsTheSmallScreen) {
    for (const int mode : {TBtnRightDlg::kMachineSetupMode, TBtnRightDlg::kTestParameterMode,
                           TBtnRightDlg::kMachineSetupMode}) {
        dialog.Mode = mode;
        Open(true);
        const QSize size = dialog.size();
        if (mode == TBtnRightDlg::kTestParameterMode) {
            EXPECT_EQ(size, dialog.sizeHint());
            // The stage unit boxes show their longest unit whole.
            auto* unit = qobject_cast<QComboBox*>(dialog.Field(ff::kStageSpeedUnit));
            ASSERT_NE(unit, nullptr);
            EXPECT_GE(unit->width(), unit->fontMetrics().horizontalAdvance(unit->itemText(2)));
        }
        EXPECT_LE(size.width(), 1024) << mode;
        EXPECT_LE(size.height(), 768 - 100) << mode;  // placed 100 pixels below the top
        // Every number box of every tab shows its value whole.
        for (auto* tabs : dialog.findChildren<QTabWidget*>()) {
            for (int t = 0; t < tabs->count(); ++t) {
                tabs->setCurrentIndex(t);
                QApplication::processEvents();
                for (auto* spin : tabs->widget(t)->findChildren<QSpinBox*>()) {
                    EXPECT_GE(spin->width(), spin->sizeHint().width())
                        << mode << " " << tabs->tabText(t).toStdString();
                }
            }
        }
        dialog.reject();
    }
}

TEST_F(SetupDialogTest, AccessFlagThenMasterCodeOpenTheMachineFields) {
    Open(true);
    EXPECT_TRUE(dialog.Field(ff::kForceGainP)->isEnabled());
    EXPECT_TRUE(dialog.Field(F(SetupField::ExtensometerLimit))->isEnabled());
    EXPECT_FALSE(dialog.Field(F(SetupField::NominalForce))->isEnabled());
    EXPECT_FALSE(dialog.Field(ff::kTdmIncrements)->isEnabled());
    EXPECT_FALSE(dialog.SequenceBox(SequenceOption::AutoZeroForce)->isEnabled());

    GiveCode(dialog.MachineCodeButton(), "qm41");  // wrong
    EXPECT_FALSE(dialog.Field(F(SetupField::NominalForce))->isEnabled());
    GiveCode(dialog.MachineCodeButton(), "qm418");
    EXPECT_TRUE(dialog.Field(F(SetupField::NominalForce))->isEnabled());
    EXPECT_TRUE(dialog.Field(ff::kTdmIncrements)->isEnabled());
    dialog.reject();

    // The rights last one showing; Ctrl+F opens the machine fields as the code does.
    Open(true);
    EXPECT_FALSE(dialog.Field(F(SetupField::NominalTravel))->isEnabled());
    QTest::keyClick(&dialog, Qt::Key_F, Qt::ControlModifier);
    EXPECT_TRUE(dialog.Field(F(SetupField::NominalTravel))->isEnabled());
    dialog.reject();
}

TEST_F(SetupDialogTest, SequenceOptionsNeedTheirPasswordAndFollowEachOther) {
    parameters.AutoOpenGrips = 1;
    parameters.AutoReturnStart = 1;
    Open(true);
    GiveCode(dialog.SequenceCodeButton(), "5391");
    QCheckBox* grips = dialog.SequenceBox(SequenceOption::AutoOpenGrips);
    QCheckBox* ret = dialog.SequenceBox(SequenceOption::AutoReturnStart);
    QCheckBox* preload = dialog.SequenceBox(SequenceOption::AutoPreload);
    EXPECT_TRUE(grips->isEnabled());
    EXPECT_TRUE(preload->isEnabled());  // amplifier version 4: the arms need no TDM
    EXPECT_FALSE(dialog.SequenceBox(SequenceOption::AutoSequence)->isEnabled());  // no TDM
    EXPECT_TRUE(ret->isChecked());

    QTest::mouseClick(grips, Qt::LeftButton);
    EXPECT_FALSE(grips->isChecked());
    EXPECT_FALSE(ret->isChecked());
    QTest::mouseClick(ret, Qt::LeftButton);
    EXPECT_FALSE(ret->isChecked());  // not without opening the grips
    QTest::mouseClick(dialog.SequenceBox(SequenceOption::AutoCloseArms), Qt::LeftButton);
    EXPECT_FALSE(dialog.SequenceBox(SequenceOption::AutoCloseArms)->isChecked());
    dialog.reject();
    EXPECT_EQ(parameters.AutoReturnStart, 1);  // cancelled: nothing stored
}

TEST_F(SetupDialogTest, AFailedCheckNamesTheRangeShowsItsFieldAndKeepsTheDialog) {
    Open(true);
    QTest::keyClick(&dialog, Qt::Key_F12, Qt::AltModifier);
    dialog.Tabs()->setCurrentIndex(2);
    Edit(F(SetupField::NominalTravel))->setText(QStringLiteral("2500"));
    Edit(ff::kForceGainP + 1)->setText(QStringLiteral("77"));
    QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, QStringLiteral("Gültigkeitsbereich 0.0 ... 2000.0 !"));
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.Tabs()->currentIndex(), 0);
    EXPECT_EQ(dialog.focusWidget(), dialog.Field(F(SetupField::NominalTravel)));
    EXPECT_EQ(machine.Setup.ForceGainP[1], 0);  // nothing stored

    // A gain that is not a whole number is named too, on its own tab.
    Edit(F(SetupField::NominalTravel))->setText(QStringLiteral("400"));
    Edit(ff::kTravelGainD)->setText(QStringLiteral("-"));
    QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
    EXPECT_EQ(messages.shown.back().text, QStringLiteral("Ungültige Eingabe!"));
    EXPECT_EQ(dialog.Tabs()->currentIndex(), 1);

    // The preload is checked against the nominal force just entered; its field is not on
    // a tab of this mode, so the nominal force gets the focus.
    Edit(ff::kTravelGainD)->setText(QStringLiteral("3"));
    Edit(F(SetupField::NominalForce))->setText(QStringLiteral("1"));
    parameters.PreloadValue[0] = 0.2f;
    QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
    EXPECT_EQ(messages.shown.back().text,
              QStringLiteral("Gültigkeitsbereich  0.0 ... 10% * Nennkraft !"));
    EXPECT_EQ(dialog.focusWidget(), dialog.Field(F(SetupField::NominalForce)));

    Edit(F(SetupField::NominalForce))->setText(QStringLiteral("50"));
    QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(machine.Setup.ForceGainP[1], 77);
    EXPECT_EQ(machine.Setup.TravelGainD, 3);
    EXPECT_FLOAT_EQ(parameters.NominalTravelMm, 400);
    EXPECT_FALSE(fs::exists(dir / "Dravon.pid"));  // OK alone writes no file
}

TEST_F(SetupDialogTest, SystemDataAreSavedAfterTheChecksEvenByALaterOk) {
    Open(true);
    Edit(F(SetupField::MessageTime))->setText(QStringLiteral("12"));
    QTest::mouseClick(dialog.SystemDataButton(), Qt::LeftButton);
    EXPECT_EQ(messages.shown.back().text, QStringLiteral("Gültigkeitsbereich 0 ... 10 !"));
    EXPECT_FALSE(fs::exists(dir / "Quorvex.kal"));
    Edit(F(SetupField::MessageTime))->setText(QStringLiteral("4"));
    Edit(ff::kForceGainD)->setText(QStringLiteral("123"));
    QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(fs::exists(dir / "Quorvex.kal"));
    EXPECT_TRUE(fs::exists(dir / "TdmParameter.set"));
    MachineSetupRecord saved;
    ASSERT_TRUE(LoadMachineSetup(saved, dir, 1).Loaded());
    EXPECT_EQ(saved.ForceGainD, 123);

    // The next showing starts without the request.
    fs::remove(dir / "Quorvex.kal");
    Open(true);
    QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
    EXPECT_FALSE(fs::exists(dir / "Quorvex.kal"));
}

TEST_F(SetupDialogTest, SensorValuesAreSavedFromTheirButtons) {
    Open(true);
    Edit(ff::kLoadCellNominal + 1)->setText(QStringLiteral("10"));
    Edit(ff::kLoadCellNominal)->setText(QStringLiteral("100"));
    QTest::mouseClick(dialog.SaveLoadCellsButton(), Qt::LeftButton);
    SensorTable cells;
    ASSERT_TRUE(LoadSensorTable(cells, dir / "Messdosen.kal").Loaded());
    EXPECT_DOUBLE_EQ(cells.SensorNominal[0], 100);
    EXPECT_EQ(cells.SensorCount, 1);  // load cell 2 has no channel yet

    Edit(ff::kExtensometerFactor)->setText(QStringLiteral("."));
    QTest::mouseClick(dialog.SaveExtensometersButton(), Qt::LeftButton);
    EXPECT_EQ(messages.shown.back().text, QStringLiteral("Ungültige Eingabe!"));
    EXPECT_FALSE(fs::exists(dir / "Dehnungsaufnehmer.kal"));
    EXPECT_EQ(dialog.focusWidget(), dialog.Field(ff::kExtensometerFactor));
    dialog.reject();
}

TEST_F(SetupDialogTest, EnterMovesOnAndDecimalFieldsTakeACommaAsPoint) {
    Open(true);
    QTest::keyClick(&dialog, Qt::Key_G, Qt::AltModifier);
    QLineEdit* le = Edit(F(SetupField::GaugeLengthLe));
    EXPECT_EQ(dialog.focusWidget(), le);
    le->clear();
    QTest::keyClicks(le, QStringLiteral("4x5,5"));
    EXPECT_EQ(le->text(), QStringLiteral("45.5"));
    QTest::keyClick(le, Qt::Key_Return);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_NE(dialog.focusWidget(), le);
    QLineEdit* gain = Edit(ff::kForceGainI);
    gain->clear();
    QTest::keyClicks(gain, QStringLiteral("+12.5"));
    EXPECT_EQ(gain->text(), QStringLiteral("+125"));
    dialog.reject();
}

TEST(SerialPortDialog, ListsFollowTheAccessFlagAndOkStores) {
    RecordedMessages messages;
    StoredTexts texts;
    UiContext ui{messages, texts, {}, nullptr};
    ParameterSet p;
    p.ControllerPort = 0;
    p.CaliperPort = 1;
    p.MicrometerPort = 17;
    TBtnRightDlg5 dialog(ui, p);
    dialog.open();
    EXPECT_EQ(dialog.ControllerList()->currentText(), QStringLiteral("Com 1"));
    EXPECT_EQ(dialog.MicrometerList()->currentText(), QStringLiteral("None"));
    EXPECT_FALSE(dialog.CaliperList()->isEnabled());
    EXPECT_FALSE(dialog.OkButton()->isEnabled());
    dialog.accept();  // the Enter key without the flag
    EXPECT_TRUE(dialog.isVisible());
    dialog.reject();

    dialog.OperatorUnlocked = true;
    dialog.open();
    dialog.CaliperList()->setCurrentIndex(16);
    dialog.MicrometerList()->setCurrentIndex(2);
    QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
    EXPECT_EQ(p.CaliperPort, 16);
    EXPECT_EQ(p.MicrometerPort, 3);
    EXPECT_EQ(p.ControllerPort, 0);
}

TEST(CalibrationDialog, ShowsLiveReadingsFromTheCardAndRestoresOnClose) {
    using namespace testing;
    EventLog log;
    ManualClock clock;
    FakeDaqCard daq{log};
    Acquisition acquisition{&daq, clock};
    acquisition.SetSampleCounts(7, 8, 9);
    acquisition.InitDaq();
    daq.samples = {{0, 10000}, {4, 0}, {2, 3000}};
    RecordedMessages messages;
    StoredTexts texts;
    UiContext ui{messages, texts, {}, nullptr};
    CalibrationRecord calibration;  // 300 kN, 300 mm
    TKalibrieren dialog(ui, acquisition, calibration, 1.0);
    dialog.open();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Kalibrierung"));
    EXPECT_TRUE(dialog.RangeButton(ForceRangeChoice::Full)->isChecked());
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return dialog.ForceValue()->text() == QStringLiteral("100.0 "); }, 2000));
    EXPECT_EQ(dialog.TravelValue()->text(), QStringLiteral("30.0 "));

    // The readings follow the card.
    daq.samples[0] = 15000;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return dialog.ForceValue()->text() == QStringLiteral("150.0 "); }, 2000));
    QTest::mouseClick(dialog.TareButton(0), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return dialog.ForceValue()->text() == QStringLiteral("0.0 "); }, 2000));
    EXPECT_TRUE(dialog.Timer().isActive());
    QTest::mouseClick(dialog.RangeButton(ForceRangeChoice::Tenth), Qt::LeftButton);
    EXPECT_EQ(dialog.Session().ForceDecimals(), 2);
    EXPECT_EQ(acquisition.ForceRange(), 10);

    QTest::mouseClick(dialog.AbortButton(), Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_FALSE(dialog.Timer().isActive());
    EXPECT_EQ(acquisition.ForceSamples(), 7);
    EXPECT_EQ(acquisition.TravelSamples(), 9);
    EXPECT_EQ(acquisition.ZeroOffsets()[0], 0.0);
    EXPECT_EQ(acquisition.ForceRange(), 1);
}

}  // namespace
}  // namespace quorvex
