// The calibration dialog: live force, travel and strain every 20 ms, tares, the force range
// and the machine stop; a view over the calibration session.
#pragma once

#include <QTimer>
#include <array>

#include "setup/calibration_session.h"
#include "ui/dialog_base.h"

class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace quorvex {

class TKalibrieren : public QuorvexDialog {
    Q_OBJECT
  public:
    TKalibrieren(UiContext& ui, Acquisition& daq, const CalibrationRecord& calibration,
                 double travelLimitFactor, QWidget* parent = nullptr);

    void FormShow();
    void TimerTick();
    void FormClose();

    CalibrationSession& Session() { return session_; }
    QTimer& Timer() { return timer_; }
    QLabel* ForceValue() const { return values_[0]; }
    QLabel* TravelValue() const { return values_[1]; }
    QLabel* StrainValue() const { return values_[2]; }
    QPushButton* TareButton(int channel) const { return tares_[static_cast<std::size_t>(channel)]; }
    QRadioButton* RangeButton(ForceRangeChoice choice) const {
        return ranges_[static_cast<std::size_t>(choice)];
    }
    QPushButton* StopButton() const { return stopButton_; }
    QPushButton* AbortButton() const { return abortButton_; }

  protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void done(int result) override;

  private:
    // Stops the timer for the action and starts it again afterwards.
    template <class Action>
    void Paused(Action action) {
        timer_.stop();
        action();
        timer_.start();
    }

    CalibrationSession session_;
    QTimer timer_;
    std::array<QLabel*, 3> values_{};
    std::array<QPushButton*, 3> tares_{};
    std::array<QRadioButton*, 3> ranges_{};
    QComboBox* strainChannel_ = nullptr;
    QPushButton* stopButton_ = nullptr;
    QPushButton* abortButton_ = nullptr;
    bool open_ = false;
};

}  // namespace quorvex
