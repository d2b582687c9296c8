// The calibration dialog.
#include "setup/calibration_dialog.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "setup/setup_texts.h"
#include "ui/captions.h"
#include "ui/stored_texts.h"
#include "ui/text_table.h"

namespace quorvex {

TKalibrieren::TKalibrieren(UiContext& ui, Acquisition& daq, const CalibrationRecord& calibration,
                           double travelLimitFactor, QWidget* parent)
    : QuorvexDialog(ui, parent), session_(daq, calibration, travelLimitFactor) {
    setObjectName(QStringLiteral("Kalibrieren"));
    SetTextNumber(this, setup_text::kCalibrationTitle);
    const int base = ui.Texts.Base();
    auto captioned = [base](auto* widget, int number) {
        SetTextNumber(widget, number);
        widget->setText(LoadText(number, base));
        return widget;
    };

    auto* grid = new QGridLayout;
    const int channels[3] = {setup_text::kForce, setup_text::kTravel, setup_text::kStrain};
    const char* units[3] = {"kN", "mm", "mm"};
    for (std::size_t i = 0; i < 3; ++i) {
        const int row = static_cast<int>(i);
        grid->addWidget(captioned(new QLabel, channels[i]), row, 0);
        values_[i] = new QLabel;
        values_[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        values_[i]->setMinimumWidth(160);
        QFont font = values_[i]->font();
        font.setPointSize(font.pointSize() * 2);
        values_[i]->setFont(font);
        grid->addWidget(values_[i], row, 1);
        grid->addWidget(new QLabel(QString::fromLatin1(units[i])), row, 2);
        tares_[i] = captioned(new QPushButton, setup_text::kTare);
        tares_[i]->setAutoDefault(false);
        grid->addWidget(tares_[i], row, 3);
    }
    connect(tares_[0], &QPushButton::clicked, this,
            [this] { Paused([this] { session_.TareForce(); }); });
    connect(tares_[1], &QPushButton::clicked, this,
            [this] { Paused([this] { session_.TareTravel(); }); });
    connect(tares_[2], &QPushButton::clicked, this,
            [this] { Paused([this] { session_.TareStrain(); }); });

    strainChannel_ = new QComboBox;
    strainChannel_->addItems({QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("(1+2)/2")});
    connect(strainChannel_, &QComboBox::currentIndexChanged, this,
            [this](int index) { session_.StrainChannelChoice = index + 1; });
    grid->addWidget(captioned(new QLabel, setup_text::kChannel), 2, 4);
    grid->addWidget(strainChannel_, 2, 5);

    auto* rangeGroup = new QGroupBox(LoadText(setup_text::kForceRange, base));
    SetTextNumber(rangeGroup, setup_text::kForceRange);
    auto* rangeLayout = new QHBoxLayout(rangeGroup);
    const std::pair<ForceRangeChoice, const char*> choices[] = {{ForceRangeChoice::Full, "1/1"},
                                                                {ForceRangeChoice::Tenth, "1/10"},
                                                                {ForceRangeChoice::Auto, "Auto"}};
    for (const auto& [choice, caption] : choices) {
        auto* radio = new QRadioButton(QString::fromLatin1(caption));
        ranges_[static_cast<std::size_t>(choice)] = radio;
        rangeLayout->addWidget(radio);
        const ForceRangeChoice c = choice;
        connect(radio, &QRadioButton::clicked, this,
                [this, c] { Paused([this, c] { session_.SelectForceRange(c); }); });
    }

    stopButton_ = new QPushButton(QStringLiteral("F8"));
    abortButton_ = captioned(new QPushButton, setup_text::kAbort);
    for (QPushButton* button : {stopButton_, abortButton_}) button->setAutoDefault(false);
    connect(stopButton_, &QPushButton::clicked, this,
            [this] { Paused([this] { session_.StopMachine(); }); });
    connect(abortButton_, &QPushButton::clicked, this, &TKalibrieren::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(rangeGroup);
    buttons->addStretch();
    buttons->addWidget(stopButton_);
    buttons->addWidget(abortButton_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);

    timer_.setSingleShot(true);
    timer_.setInterval(CalibrationSession::kTickMs);
    connect(&timer_, &QTimer::timeout, this, &TKalibrieren::TimerTick);
}

void TKalibrieren::showEvent(QShowEvent* event) {
    setWindowTitle(LoadText(setup_text::kCalibrationTitle, ui_.Texts.Base()));
    setGeometry(0, 0, 640, 360);
    QuorvexDialog::showEvent(event);
    FormShow();
}

void TKalibrieren::FormShow() {
    session_.Begin();
    ranges_[static_cast<std::size_t>(ForceRangeChoice::Full)]->setChecked(true);
    strainChannel_->setCurrentIndex(0);
    open_ = true;
    timer_.start();
}

void TKalibrieren::TimerTick() {
    timer_.stop();
    const CalibrationReading reading = session_.Tick();
    values_[0]->setText(QString::fromStdString(reading.Force));
    values_[1]->setText(QString::fromStdString(reading.Travel));
    values_[2]->setText(QString::fromStdString(reading.Strain));
    if (open_) timer_.start();
}

void TKalibrieren::keyPressEvent(QKeyEvent* event) {
    // F8 here sends the stop pulse of the shutdown line.
    if (event->key() == Qt::Key_F8) {
        Paused([this] { session_.StopMachine(); });
        event->accept();
        return;
    }
    QuorvexDialog::keyPressEvent(event);
}

void TKalibrieren::FormClose() {
    if (!open_) return;
    open_ = false;
    timer_.stop();
    session_.End();
}

void TKalibrieren::done(int result) {
    FormClose();
    QuorvexDialog::done(result);
}

}  // namespace quorvex
