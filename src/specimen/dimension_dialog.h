// The dimension measurement: up to five readings of one dimension of the specimen, typed or
// taken from the caliper or the micrometer, and their mean.
#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <array>

#include "specimen/instrument_readings.h"
#include "ui/dialog_base.h"

namespace quorvex {

class TAbmessungenDlg : public QuorvexDialog {
    Q_OBJECT
  public:
    TAbmessungenDlg(UiContext& ui, QWidget* parent = nullptr);

    // Prepares the dialog for one dimension ("b", "a", "d" or "D"): its five inputs labelled
    // " b.1" ... " b.5", emptied, and the port of its instrument purged (the caliper for b and
    // D, the micrometer for a and d). readings may be null.
    void Prepare(const QString& dimension, InstrumentReadings* readings);
    // The mean of the readings greater than 0 on OK; 0 otherwise.
    double Mean() const { return mean_; }
    int Decimals() const { return decimals_; }

    QLineEdit* Reading(int i) const { return inputs_.at(static_cast<std::size_t>(i)); }
    QLabel* ReadingLabel(int i) const { return labels_.at(static_cast<std::size_t>(i)); }
    QLabel* MeanField() const { return meanField_; }
    QPushButton* OkButton() const { return okButton_; }
    // One poll of the instruments (the 50 ms timer calls it).
    void PollInstruments();

  public slots:
    void accept() override;
    void done(int result) override;

  protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    int InputIndex(const QWidget* widget) const;
    bool CheckReading(int index);
    void ShowMean();

    std::array<QLineEdit*, 5> inputs_{};
    std::array<QLabel*, 5> labels_{};
    QLabel* meanField_ = nullptr;
    QPushButton* okButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    QTimer readingTimer_;
    InstrumentReadings* readings_ = nullptr;
    int decimals_ = 2;
    double mean_ = 0;
};

}  // namespace quorvex
