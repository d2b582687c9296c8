// The entry of the values measured after the test, fed by the caliper: a reading fills the
// focused input and moves on, and a reading for the last input confirms the dialog.
#include "shell/lu_dialog.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <map>

#include "machine/test_doubles.h"
#include "ui/gui_test_support.h"
#include "ui/stored_texts.h"

namespace quorvex {
namespace {

using testing::EventLog;
using testing::RecordingPort;

class LuDialogReadings : public ::testing::Test {
  protected:
    LuDialogReadings() {
        ports.OpenPort(3, 9600, 'N', 1, 8);
        dialog.SetReadings(&readings);
    }
    void Send(const std::string& text) {
        caliper->incoming.insert(caliper->incoming.end(), text.begin(), text.end());
    }

    EventLog log;
    RecordingPort* caliper = nullptr;
    PortTable ports{[this](int) {
        auto port = std::make_unique<RecordingPort>(log);
        caliper = port.get();
        return port;
    }};
    InstrumentReadings readings{&ports, 3, 0};
    RecordedMessages messages;
    StoredTexts texts;
    UiContext ui{messages, texts, {}, nullptr};
    TLuDialog dialog{ui, nullptr};
};

TEST_F(LuDialogReadings, WidthThenThicknessFromTheInstrumentConfirmTheDialog) {
    dialog.Prepare(TLuDialog::kWidthThickness, 20, 10, 30, 2, 1, 5);
    dialog.open();
    dialog.Input(0)->setFocus();
    Send("A 19,8");
    dialog.PollInstruments();  // no carriage return yet
    EXPECT_EQ(dialog.Input(0)->text(), QStringLiteral("20.00"));
    Send("7\r");
    dialog.PollInstruments();
    EXPECT_EQ(dialog.Input(0)->text(), QStringLiteral("19.87"));
    EXPECT_EQ(dialog.focusWidget(), dialog.Input(1));
    EXPECT_TRUE(dialog.isVisible());

    // Out of its range the second reading is refused with the range and the dialog stays.
    Send("A 7,5\r");
    dialog.PollInstruments();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(dialog.isVisible());
    Send("A 1,95\r");
    dialog.PollInstruments();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_DOUBLE_EQ(dialog.Value(0), 19.87);
    EXPECT_DOUBLE_EQ(dialog.Value(1), 1.95);
}

TEST_F(LuDialogReadings, OneInputMovesToOkAndAReadingThereConfirms) {
    dialog.Prepare(TLuDialog::kLu, 50, 40, 80);
    dialog.open();
    dialog.Input(0)->setFocus();
    Send("A 61,25\r");
    dialog.PollInstruments();
    EXPECT_EQ(dialog.focusWidget(), dialog.OkButton());
    Send("A 1\r");
    dialog.PollInstruments();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_DOUBLE_EQ(dialog.Value(), 61.25);
}

TEST_F(LuDialogReadings, TheOfferedValueOnItsBoundIsTakenAsShown) {
    // d0 of a cylinder whose So was kept in single precision: a hair above 10 mm.
    const double d0 = 10.0000002;
    for (const auto& [low, high] : {std::pair{d0, 5 * d0}, std::pair{0.5, d0}}) {
        dialog.Prepare(TLuDialog::kDu, d0, low, high);
        dialog.open();
        EXPECT_EQ(dialog.Input(0)->text(), QStringLiteral("10.00"));
        dialog.OkButton()->click();
        EXPECT_TRUE(messages.shown.empty()) << messages.shown.front().text.toStdString();
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_DOUBLE_EQ(dialog.Value(), 10.0);
    }
    // Below the shown bound it is refused, and the message names the range as shown.
    dialog.Prepare(TLuDialog::kDu, 9.99, d0, 5 * d0);
    dialog.open();
    dialog.OkButton()->click();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(messages.shown[0].text.contains(QStringLiteral("10.00")));
    EXPECT_TRUE(dialog.isVisible());
}

}  // namespace
}  // namespace quorvex
