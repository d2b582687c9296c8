// The entry of a value measured after the test: a final length (lg or lu), the final
// diameter, or the final width and thickness. Each input must lie in the range the caller
// gives; the range is named when it does not.
#pragma once

#include <QTimer>
#include <array>

#include "specimen/instrument_readings.h"
#include "ui/dialog_base.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace quorvex {

class TLuDialog : public QuorvexDialog {
    Q_OBJECT
  public:
    // 1 lg, 2 lu, 3 du, 4 width and thickness.
    enum Mode { kLg = 1, kLu = 2, kDu = 3, kWidthThickness = 4 };

    TLuDialog(UiContext& ui, QWidget* parent);

    // Sets the mode, the values offered and their ranges; the second applies to mode 4.
    void Prepare(int mode, double value, double min, double max, double secondValue = 0,
                 double secondMin = 0, double secondMax = 0);
    double Value(int input = 0) const { return values_[static_cast<std::size_t>(input)]; }

    QLineEdit* Input(int input = 0) const { return inputs_[static_cast<std::size_t>(input)]; }
    QPushButton* OkButton() const { return ok_; }
    QLabel* Prompt() const { return prompt_; }

    void OKBtnClick();

    // The caliper and micrometer: a reading goes into the focused input; one for the last
    // input, or while OK has the focus, confirms the dialog. readings may be null.
    void SetReadings(InstrumentReadings* readings) { readings_ = readings; }
    void PollInstruments();

  public slots:
    void done(int result) override;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    int mode_ = kLg;
    QLabel* prompt_ = nullptr;
    QLabel* secondPrompt_ = nullptr;
    std::array<QLineEdit*, 2> inputs_{};
    std::array<double, 2> values_{};
    std::array<double, 2> min_{}, max_{};
    QPushButton* ok_ = nullptr;
    InstrumentReadings* readings_ = nullptr;
    QTimer readingTimer_;
};

}  // namespace quorvex
