// The two pages of the results-definition dialog built from the type's table: one row per
// result slot, and the option controls in their groups.
#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "definitions/results_definition_dialog.h"
#include "ui/captions.h"
#include "ui/key_filters.h"
#include "ui/stored_texts.h"
#include "ui/text_table.h"

namespace quorvex {
namespace {

constexpr int kResultsText = 70;     // "&Resultate"
constexpr int kLimitsText = 68;      // "Überwachung &Grenzwerte"
constexpr int kPrintText = 69;       // "Dr&ucken"
constexpr int kStatisticsText = 77;  // "Statistik"
constexpr int kDecimalsText = 693;   // "Nachkomma"
constexpr int kActiveText = 71;      // "aktiv"
constexpr int kRemarkText = 450;     // "Bemerkung"
constexpr int kFootnoteText = 451;   // "Fußnote"

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

// A caption by text number, or a fixed caption that is the same in every language.
template <class W>
W* Captioned(W* widget, int textNumber, const std::string& caption, int base) {
    if (textNumber != 0) {
        SetTextNumber(widget, textNumber);
        ApplyCaption(widget, base);
    } else {
        widget->setText(Q(caption));
    }
    return widget;
}

}  // namespace

QWidget* ResultsDefinitionDialog::BuildRowsPage() {
    const int base = ui_.Texts.Base();
    auto* page = new QWidget(this);
    auto* grid = new QGridLayout(page);
    auto heading = [&](int textNumber, int column, int span) {
        grid->addWidget(Captioned(new QLabel(page), textNumber, {}, base), 0, column, 1, span);
    };
    heading(kResultsText, 0, 1);
    heading(kLimitsText, 1, 6);
    heading(kPrintText, 7, 1);
    heading(kStatisticsText, 8, 1);
    if (layout_.Decimals == DecimalsEdit::Spin) heading(kDecimalsText, 9, 1);
    rows_.resize(layout_.Rows.size());
    for (std::size_t i = 0; i < layout_.Rows.size(); ++i) {
        RowWidgets& r = rows_[i];
        const int line = static_cast<int>(i) + 1;
        r.Evaluate = new QCheckBox(page);
        r.LimitActive = Captioned(new QCheckBox(page), kActiveText, {}, base);
        r.Min = new QLineEdit(page);
        r.Max = new QLineEdit(page);
        for (QLineEdit* e : {r.Min, r.Max}) {
            e->setMaxLength(10);
            AttachDecimalKeyFilter(e);
        }
        r.Unit = new QLabel(page);
        r.Print = new QCheckBox(page);
        r.Statistics = new QCheckBox(page);
        grid->addWidget(r.Evaluate, line, 0);
        grid->addWidget(r.LimitActive, line, 1);
        grid->addWidget(Captioned(new QLabel(page), text::kLimitMin, {}, base), line, 2);
        grid->addWidget(r.Min, line, 3);
        grid->addWidget(Captioned(new QLabel(page), text::kLimitMax, {}, base), line, 4);
        grid->addWidget(r.Max, line, 5);
        grid->addWidget(r.Unit, line, 6);
        grid->addWidget(r.Print, line, 7);
        grid->addWidget(r.Statistics, line, 8);
        if (layout_.Decimals == DecimalsEdit::Spin) {
            r.Decimals = new QSpinBox(page);
            r.Decimals->setRange(0, 5);
            grid->addWidget(r.Decimals, line, 9);
        }
        ConnectRow(r);
    }
    return page;
}

void ResultsDefinitionDialog::ConnectRow(RowWidgets& r) {
    connect(r.Evaluate, &QCheckBox::toggled, this, [&r](bool on) {
        if (on) return;
        for (QCheckBox* b : {r.LimitActive, r.Print, r.Statistics}) b->setChecked(false);
    });
    for (QCheckBox* box : {r.LimitActive, r.Print, r.Statistics}) {
        connect(box, &QCheckBox::toggled, this, [&r, box](bool on) {
            if (on && !r.Evaluate->isChecked()) box->setChecked(false);
        });
    }
}

QWidget* ResultsDefinitionDialog::BuildOptionsPage() {
    const int base = ui_.Texts.Base();
    auto* page = new QWidget(this);
    auto* column = new QVBoxLayout(page);
    std::map<std::string, QGridLayout*> groups;
    auto groupFor = [&](int textNumber, const std::string& caption) {
        const std::string key = std::to_string(textNumber) + caption;
        if (auto it = groups.find(key); it != groups.end()) return it->second;
        auto* box = new QGroupBox(page);
        if (textNumber != 0) {
            SetTextNumber(box, textNumber);
            box->setTitle(LoadText(textNumber, base));
        } else {
            box->setTitle(Q(caption));
        }
        column->addWidget(box);
        return groups[key] = new QGridLayout(box);
    };
    options_.resize(layout_.Options.size());
    for (std::size_t i = 0; i < layout_.Options.size(); ++i) {
        const OptionSpec& o = layout_.Options[i];
        OptionWidgets& w = options_[i];
        QGridLayout* grid = groupFor(o.GroupText, o.GroupCaption);
        QWidget* host = grid->parentWidget();
        const int line = grid->rowCount();
        switch (o.Kind) {
            case OptionKind::Box:
                w.Input = Captioned(new QCheckBox(host), o.TextNumber, o.Caption, base);
                grid->addWidget(w.Input, line, 0, 1, 3);
                break;
            case OptionKind::Choice: {
                w.Input = new QWidget(host);
                auto* items = new QVBoxLayout(w.Input);
                items->setContentsMargins(0, 0, 0, 0);
                w.Items = new QButtonGroup(w.Input);
                const std::size_t count = std::max(o.ItemTexts.size(), o.ItemCaptions.size());
                for (std::size_t item = 0; item < count; ++item) {
                    auto* radio = Captioned(
                        new QRadioButton(w.Input),
                        item < o.ItemTexts.size() ? o.ItemTexts[item] : 0,
                        item < o.ItemCaptions.size() ? o.ItemCaptions[item] : std::string{}, base);
                    w.Items->addButton(radio, static_cast<int>(item));
                    items->addWidget(radio);
                }
                connect(w.Items, &QButtonGroup::idClicked, this, [this, key = o.Key](int item) {
                    if (key == "Standard" && item <= 2) acAsAl_ = item == 2;
                    RefreshLabels();
                });
                grid->addWidget(w.Input, line, 0, 1, 3);
                break;
            }
            case OptionKind::Spin:
            case OptionKind::Number: {
                w.Label = Captioned(new QLabel(host), o.TextNumber, {}, base);
                if (o.TextNumber == 0) w.Label->setText(FixedCaption(o, o.Caption));
                if (o.Kind == OptionKind::Spin) {
                    auto* spin = new QSpinBox(host);
                    spin->setRange(o.Low, o.High);
                    w.Input = spin;
                } else {
                    auto* edit = new QLineEdit(host);
                    edit->setMaxLength(o.DecimalsSlot > 0 ? 10 : std::max(o.Width, 6));
                    AttachDecimalKeyFilter(edit);
                    edit->installEventFilter(this);
                    w.Input = edit;
                }
                grid->addWidget(w.Label, line, 0);
                grid->addWidget(w.Input, line, 1);
                grid->addWidget(new QLabel(Q(o.Unit), host), line, 2);
                break;
            }
        }
        w.Input->setObjectName(Q(o.Key));
    }
    auto* print = new QGroupBox(page);
    SetTextNumber(print, kPrintText);
    print->setTitle(LoadText(kPrintText, base));
    auto* printLayout = new QVBoxLayout(print);
    remark_ = Captioned(new QCheckBox(print), kRemarkText, {}, base);
    footnote_ = Captioned(new QCheckBox(print), kFootnoteText, {}, base);
    printLayout->addWidget(remark_);
    printLayout->addWidget(footnote_);
    column->addWidget(print);
    column->addStretch();
    return page;
}

}  // namespace quorvex
