// The filter dialog of the results project and the checks of its OK.
#include "results/filter_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <cctype>

#include "evaluation/test_types.h"
#include "evaluation/text_functions.h"
#include "report/results_editor_columns.h"
#include "ui/captions.h"
#include "ui/operator_message.h"
#include "ui/stored_texts.h"
#include "ui/text_table.h"

namespace quorvex {
namespace {

constexpr int kTextNoCriterion = 182;
constexpr int kTextBadDate = 183;
constexpr int kTextSearchFor = 189;
constexpr int kTextDate = 190;
constexpr int kTextSpecimenNo = 193;
constexpr int kTextId = 194;
constexpr int kTextShowAll = 195;
constexpr int kTextFilter = 196;
constexpr int kTextOk = 34;
constexpr int kTextCancel = 975;
constexpr int kTextFrom = 816;  // "von"
constexpr int kTextTo = 817;    // "bis"

}  // namespace

std::optional<int> ParseShortDate(const std::string& text, const std::string& shortDateFormat) {
    if (!IsValidDate(text, shortDateFormat)) return std::nullopt;
    std::string order;
    for (char c : shortDateFormat) {
        const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if ((lower == 'd' || lower == 'm' || lower == 'y') &&
            order.find(lower) == std::string::npos)
            order += lower;
    }
    int parts[3] = {0, 0, 0};
    int part = -1;
    bool inNumber = false;
    for (char c : text) {
        if (std::isdigit(static_cast<unsigned char>(c))) {
            if (!inNumber) {
                if (++part > 2) return std::nullopt;
                inNumber = true;
            }
            parts[part] = parts[part] * 10 + (c - '0');
        } else {
            inNumber = false;
        }
    }
    if (part != 2 || order.size() != 3) return std::nullopt;
    int day = 0, month = 0, year = 0;
    for (std::size_t i = 0; i < 3; ++i) {
        if (order[i] == 'd') day = parts[i];
        if (order[i] == 'm') month = parts[i];
        if (order[i] == 'y') year = parts[i];
    }
    if (year < 100) year += 2000;
    return DaysFromCivilDate(year, month, day);
}

FilterCheck CheckFilterForm(const FilterForm& form, const std::string& shortDateFormat,
                            double gaugeLength) {
    FilterCheck check;
    RecordFilter& f = check.Filter;
    f.ShowAll = form.ShowAll;
    f.ByDate = form.ByDate;
    f.BySpecimenNo = form.BySpecimenNo;
    f.SpecimenNoPattern = form.SpecimenNoPattern;
    f.ById = form.ById;
    f.IdPattern = form.IdPattern;
    f.ByGaugeLength = form.GaugeLengthOffered && form.ByGaugeLength;
    f.GaugeLength = gaugeLength;
    const ParsedNumber lo = ParseNumberInRange(form.GaugeLength, -1e9, 1e9);
    if (form.GaugeLengthOffered && lo.valid) {
        f.GaugeLength = lo.value;
        check.GaugeLengthTaken = true;
    }
    if (!f.ShowAll && !f.ByDate && !f.BySpecimenNo && !f.ById && !f.ByGaugeLength) {
        check.TextNumber = kTextNoCriterion;
        check.Focus = FilterField::ShowAll;
        return check;
    }
    if (f.ByDate) {
        const std::optional<int> from = ParseShortDate(form.From, shortDateFormat);
        if (!from) {
            check.TextNumber = kTextBadDate;
            check.Focus = FilterField::From;
            return check;
        }
        const std::optional<int> to = ParseShortDate(form.To, shortDateFormat);
        if (!to) {
            check.TextNumber = kTextBadDate;
            check.Focus = FilterField::To;
            return check;
        }
        f.FromDay = *from;
        f.ToDay = *to;
    }
    return check;
}

TFilterdialog::TFilterdialog(UiContext& ui, ParameterSet& parameters, std::string shortDateFormat,
                             QWidget* parent)
    : QuorvexDialog(ui, parent),
      parameters_(parameters),
      shortDateFormat_(std::move(shortDateFormat)) {
    setObjectName(QStringLiteral("Filterdialog"));
    const int base = ui_.Texts.Base();
    auto text = [base](int number) { return LoadText(number, base); };
    auto box = [&](int number, QWidget* parentWidget) {
        auto* b = new QCheckBox(text(number), parentWidget);
        SetTextNumber(b, number);
        return b;
    };
    SetTextNumber(this, kTextFilter);
    setWindowTitle(text(kTextFilter));
    UseSettingsPlacement();

    auto* group = new QGroupBox(text(kTextSearchFor), this);
    SetTextNumber(group, kTextSearchFor);
    auto* grid = new QGridLayout(group);
    dateBox_ = box(kTextDate, group);
    fromEdit_ = new QLineEdit(group);
    toEdit_ = new QLineEdit(group);
    auto* fromLabel = new QLabel(text(kTextFrom), group);
    auto* toLabel = new QLabel(text(kTextTo), group);
    SetTextNumber(fromLabel, kTextFrom);
    SetTextNumber(toLabel, kTextTo);
    grid->addWidget(dateBox_, 0, 0);
    grid->addWidget(fromLabel, 0, 1);
    grid->addWidget(fromEdit_, 0, 2);
    grid->addWidget(toLabel, 0, 3);
    grid->addWidget(toEdit_, 0, 4);
    specimenNoBox_ = box(kTextSpecimenNo, group);
    specimenNoEdit_ = new QLineEdit(group);
    specimenNoEdit_->setMaxLength(15);
    grid->addWidget(specimenNoBox_, 1, 0);
    grid->addWidget(specimenNoEdit_, 1, 1, 1, 4);
    idBox_ = box(kTextId, group);
    idEdit_ = new QLineEdit(group);
    idEdit_->setMaxLength(20);
    grid->addWidget(idBox_, 2, 0);
    grid->addWidget(idEdit_, 2, 1, 1, 4);
    gaugeLengthBox_ = new QCheckBox(QStringLiteral("Lo"), group);
    gaugeLengthEdit_ = new QLineEdit(group);
    gaugeLengthUnit_ = new QLabel(QStringLiteral("mm"), group);
    grid->addWidget(gaugeLengthBox_, 3, 0);
    grid->addWidget(gaugeLengthEdit_, 3, 1, 1, 3);
    grid->addWidget(gaugeLengthUnit_, 3, 4);
    showAllBox_ = box(kTextShowAll, group);
    showAllBox_->setChecked(true);
    grid->addWidget(showAllBox_, 4, 0, 1, 5);

    auto* buttons = new QDialogButtonBox(this);
    ok_ = buttons->addButton(text(kTextOk), QDialogButtonBox::AcceptRole);
    QPushButton* cancel = buttons->addButton(text(kTextCancel), QDialogButtonBox::RejectRole);
    SetTextNumber(ok_, kTextOk);
    SetTextNumber(cancel, kTextCancel);
    ok_->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &TFilterdialog::OKBtnClick);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(buttons);
}

void TFilterdialog::showEvent(QShowEvent* event) {
    // Only the tensile types and compression filter by gauge length.
    const bool offered = IsTensileFamily(parameters_.TestType) || parameters_.TestType == 9;
    gaugeLengthBox_->setVisible(offered);
    gaugeLengthEdit_->setVisible(offered);
    gaugeLengthUnit_->setVisible(offered);
    if (!offered) gaugeLengthBox_->setChecked(false);
    gaugeLengthEdit_->setText(QString::fromStdString(FormatFixed(parameters_.FilterRange, 1, 1)));
    QuorvexDialog::showEvent(event);
}

FilterForm TFilterdialog::Form() const {
    FilterForm form;
    form.ByDate = dateBox_->isChecked();
    form.From = fromEdit_->text().toStdString();
    form.To = toEdit_->text().toStdString();
    form.BySpecimenNo = specimenNoBox_->isChecked();
    form.SpecimenNoPattern = specimenNoEdit_->text().toStdString();
    form.ById = idBox_->isChecked();
    form.IdPattern = idEdit_->text().toStdString();
    form.ShowAll = showAllBox_->isChecked();
    form.GaugeLengthOffered = IsTensileFamily(parameters_.TestType) || parameters_.TestType == 9;
    form.ByGaugeLength = gaugeLengthBox_->isChecked();
    form.GaugeLength = gaugeLengthEdit_->text().toStdString();
    return form;
}

void TFilterdialog::OKBtnClick() {
    const FilterCheck check = CheckFilterForm(Form(), shortDateFormat_, parameters_.FilterRange);
    if (check.TextNumber != 0) {
        ui_.Messages.ShowOperatorMessage(LoadText(check.TextNumber, ui_.Texts.Base()),
                                         MessageKind::Error, MessageButtons::Ok);
        QWidget* focus = check.Focus == FilterField::From ? fromEdit_
                         : check.Focus == FilterField::To ? toEdit_
                                                          : static_cast<QWidget*>(showAllBox_);
        focus->setFocus();
        return;
    }
    if (check.GaugeLengthTaken) parameters_.FilterRange = check.Filter.GaugeLength;
    filter_ = check.Filter;
    accept();
}

}  // namespace quorvex
