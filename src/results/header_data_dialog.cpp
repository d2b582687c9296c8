// The header data dialog: a view over the header lines of the parameter set.
#include "results/header_data_dialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/captions.h"
#include "ui/operator_message.h"
#include "ui/stored_texts.h"
#include "ui/text_table.h"

namespace quorvex {
namespace {

constexpr int kCaptionText = 50;      // "Kopfdaten"
constexpr int kClearText = 51;        // "&Löschen"
constexpr int kUndefinedText = 52;    // "nicht definiert"
constexpr int kReallyClearText = 86;  // "Wirklich alle Kopfdaten löschen?"
constexpr int kOkText = 34;
constexpr int kCancelText = 35;  // "Abbrechen"

}  // namespace

TKopfdatenDlg::TKopfdatenDlg(UiContext& ui, ParameterSet& parameters, QWidget* parent)
    : QuorvexDialog(ui, parent), parameters_(parameters) {
    setObjectName(QStringLiteral("KopfdatenDlg"));
    const int base = ui_.Texts.Base();
    SetTextNumber(this, kCaptionText);
    setWindowTitle(LoadText(kCaptionText, base));

    auto* grid = new QGridLayout;
    for (int i = 0; i < kHeaderLines; ++i) {
        const auto index = static_cast<std::size_t>(i);
        titles_[index] = new QLabel(this);
        inputs_[index] = new QLineEdit(this);
        inputs_[index]->setMaxLength(kHeaderValueInput);
        inputs_[index]->installEventFilter(this);
        grid->addWidget(titles_[index], i, 0);
        grid->addWidget(inputs_[index], i, 1);
    }

    auto* buttons = new QDialogButtonBox(this);
    clear_ = buttons->addButton(LoadText(kClearText, base), QDialogButtonBox::ActionRole);
    ok_ = buttons->addButton(LoadText(kOkText, base), QDialogButtonBox::AcceptRole);
    cancel_ = buttons->addButton(LoadText(kCancelText, base), QDialogButtonBox::RejectRole);
    SetTextNumber(clear_, kClearText);
    SetTextNumber(ok_, kOkText);
    SetTextNumber(cancel_, kCancelText);
    for (QPushButton* b : {clear_, ok_, cancel_}) b->setAutoDefault(false);
    connect(clear_, &QPushButton::clicked, this, &TKopfdatenDlg::LoeschenClick);
    connect(ok_, &QPushButton::clicked, this, &TKopfdatenDlg::OKBtnClick);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);
}

void TKopfdatenDlg::showEvent(QShowEvent* event) {
    FormShow();
    QuorvexDialog::showEvent(event);
    const QPoint corner = ui_.MainWindow ? ui_.MainWindow->pos() : QPoint(0, 0);
    move(corner + QPoint(50, 100));
    if (Editable) {
        inputs_[0]->setFocus();
    } else {
        cancel_->setFocus();
    }
}

void TKopfdatenDlg::FormShow() {
    const int base = ui_.Texts.Base();
    setWindowTitle(LoadText(kCaptionText, base));
    for (std::size_t i = 0; i < titles_.size(); ++i) {
        const HeaderTitle title = HeaderTitleOf(parameters_.HeaderLabel[i]);
        titles_[i]->setText(
            (title.Defined ? QString::fromStdString(title.Text) : LoadText(kUndefinedText, base)) +
            QLatin1Char(':'));
        titles_[i]->setStyleSheet(title.Defined ? QStringLiteral("color: black")
                                                : QStringLiteral("color: red"));
        inputs_[i]->setText(QString::fromStdString(parameters_.HeaderValue[i]));
        inputs_[i]->setEnabled(Editable);
    }
    clear_->setEnabled(Editable);
    ok_->setEnabled(Editable);
}

void TKopfdatenDlg::LoeschenClick() {
    const auto answer = ui_.Messages.ShowOperatorMessage(
        LoadText(kReallyClearText, ui_.Texts.Base()), MessageKind::Warning, MessageButtons::YesNo);
    if (answer != QMessageBox::Yes) return;
    for (QLineEdit* input : inputs_) input->clear();
    inputs_[0]->setFocus();
}

void TKopfdatenDlg::OKBtnClick() {
    if (!Editable) return;
    std::array<std::string, kHeaderLines> lines;
    for (std::size_t i = 0; i < lines.size(); ++i) lines[i] = inputs_[i]->text().toStdString();
    StoreHeaderValues(lines, parameters_);
    accept();
}

bool TKopfdatenDlg::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            for (int i = 0; i < kHeaderLines; ++i) {
                if (inputs_[static_cast<std::size_t>(i)] != watched) continue;
                const int next = NextHeaderInput(i, ok_->isEnabled());
                if (next < 0) {
                    ok_->setFocus();
                } else {
                    inputs_[static_cast<std::size_t>(next)]->setFocus();
                }
                return true;  // the Enter itself is swallowed
            }
        }
    }
    return QuorvexDialog::eventFilter(watched, event);
}

}  // namespace quorvex
