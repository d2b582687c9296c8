// Result panel widgets.
#include "shell/result_panels.h"

#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "ui/captions.h"

namespace quorvex {
namespace {

constexpr int kColumns = 6;  // label, field, unit, three times per row
constexpr int kProbeExportText = 998;  // "Rohdaten der Taster exportieren"
constexpr int kNoBreakText = 231;      // "ohne Bruch"

void Paint(QLineEdit* field, const QColor& colour) {
    QPalette palette = field->palette();
    palette.setColor(QPalette::Base, colour);
    field->setPalette(palette);
}

}  // namespace

TResultPanels::TResultPanels(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("ResultPanels"));
    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("ResultTabs"));
    auto* first = new QWidget(tabs_);
    auto* second = new QWidget(tabs_);
    tabs_->addTab(first, QString());
    tabs_->addTab(second, QString());
    group_ = new QGroupBox(this);
    group_->setObjectName(QStringLiteral("ResultGroup"));
    pages_ = {first, second, group_};
    for (QWidget* page : pages_) new QGridLayout(page);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    // Over the values of a test that was stopped before its break criterion ended it.
    noBreak_ = new QLabel(QStringLiteral("ohne Bruch"), this);
    noBreak_->setObjectName(QStringLiteral("NoBreakMark"));
    SetTextNumber(noBreak_, kNoBreakText);
    noBreak_->setStyleSheet(QStringLiteral("QLabel { color: red; font-weight: bold; }"));
    noBreak_->hide();
    layout->addWidget(noBreak_);
    layout->addWidget(tabs_);
    layout->addWidget(group_);
    group_->hide();
    probeExport_ = new QPushButton(QStringLiteral("Rohdaten der Taster exportieren"), this);
    probeExport_->setObjectName(QStringLiteral("ProbeRawDataExport"));
    SetTextNumber(probeExport_, kProbeExportText);
    layout->addWidget(probeExport_);
    probeExport_->hide();
    connect(probeExport_, &QPushButton::clicked, this, [this] {
        if (ProbeExportClicked) ProbeExportClicked();
    });
}

void TResultPanels::SetProbeExportAvailable(bool available) {
    probeExportAvailable_ = available;
    probeExport_->setVisible(available && layout_.Group == ResultGroup::Compression);
}

void TResultPanels::ClearPages() {
    for (QLineEdit* field : fields_) delete field;
    for (QLabel* caption : captions_) delete caption;
    fields_.clear();
    captions_.clear();
    for (QWidget* page : pages_) {
        for (QLabel* unit : page->findChildren<QLabel*>(QStringLiteral("unit"))) delete unit;
    }
}

void TResultPanels::Layout(const ParameterSet& p) {
    ClearPages();
    noBreak_->hide();
    layout_ = BuildPanelLayout(p);
    const bool tensile = layout_.Group == ResultGroup::Tensile;
    tabs_->setVisible(tensile);
    group_->setVisible(!tensile);
    SetProbeExportAvailable(probeExportAvailable_);
    std::vector<int> placed(pages_.size(), 0);
    for (const PanelField& entry : layout_.Fields) {
        const std::size_t pageIndex = tensile ? static_cast<std::size_t>(entry.Tab) : 2;
        QWidget* page = pages_[pageIndex];
        auto* grid = static_cast<QGridLayout*>(page->layout());
        const int at = placed[pageIndex]++;
        auto* caption = new QLabel(QString::fromStdString(entry.Caption), page);
        auto* field = new QLineEdit(page);
        field->setObjectName(QString::fromStdString(entry.Name));
        field->setReadOnly(!entry.Remark);
        field->setAlignment(entry.Remark ? Qt::AlignLeft : Qt::AlignRight);
        field->setAutoFillBackground(true);
        Paint(field, Qt::white);
        if (entry.Remark) {
            field->setMaxLength(40);
            grid->addWidget(field, at / 3 + 1, 0, 1, kColumns * 3);
            connect(field, &QLineEdit::textEdited, this, [this](const QString& text) {
                if (RemarkEdited) RemarkEdited(text);
            });
            delete caption;
            caption = nullptr;
        } else {
            const int row = at / 3, column = (at % 3) * 3;
            grid->addWidget(caption, row, column);
            grid->addWidget(field, row, column + 1);
            if (!entry.Unit.empty()) {
                auto* unit = new QLabel(QString::fromStdString(entry.Unit), page);
                unit->setObjectName(QStringLiteral("unit"));
                grid->addWidget(unit, row, column + 2);
            }
            field->installEventFilter(this);
        }
        fields_.push_back(field);
        captions_.push_back(caption);
    }
}

void TResultPanels::Fill(const TestState& state, int forceDecimals) {
    const std::vector<FieldDisplay> shown = FillPanel(layout_, state, forceDecimals);
    noBreak_->setVisible(state.Marks.EvaluationDone && EndedWithoutBreak(state.TestSeries.Current()));
    for (std::size_t i = 0; i < shown.size() && i < fields_.size(); ++i) {
        fields_[i]->setText(QString::fromStdString(shown[i].Text));
        Paint(fields_[i], shown[i].Red ? QColor(Qt::red) : QColor(Qt::white));
    }
}

void TResultPanels::Show(const std::string& name, const std::string& text, bool red) {
    if (QLineEdit* field = Field(name)) {
        field->setText(QString::fromStdString(text));
        Paint(field, red ? QColor(Qt::red) : QColor(Qt::white));
    }
}

void TResultPanels::SetColour(const std::string& name, const QColor& colour) {
    if (QLineEdit* field = Field(name)) Paint(field, colour);
}

QLineEdit* TResultPanels::Field(const std::string& name) const {
    const int index = FieldIndex(layout_, name);
    return index < 0 ? nullptr : fields_[static_cast<std::size_t>(index)];
}

QLabel* TResultPanels::Caption(const std::string& name) const {
    const int index = FieldIndex(layout_, name);
    return index < 0 ? nullptr : captions_[static_cast<std::size_t>(index)];
}

bool TResultPanels::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        for (std::size_t i = 0; i < fields_.size(); ++i) {
            if (fields_[i] == watched && FieldClicked) {
                FieldClicked(layout_.Fields[i].Name);
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace quorvex
