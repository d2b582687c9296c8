// The title and header definition: a view over the page head and header titles of the
// parameter set.
#include "results/title_definition_dialog.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "report/report_logo.h"
#include "results/report_printing.h"
#include "ui/captions.h"
#include "ui/file_dialogs.h"
#include "ui/operator_message.h"
#include "ui/stored_texts.h"
#include "ui/text_table.h"

namespace quorvex {
namespace {

constexpr int kCaptionText = 61;    // "Definition Titel und Kopfdaten"
constexpr int kHeaderText = 62;     // "Kopfdaten"
constexpr int kTitleText = 63;      // "Titel"
constexpr int kLogoText = 470;      // "Logo"
constexpr int kHeadingText = 458;   // "Protokollüberschrift"
constexpr int kFootnoteText = 451;  // "Fußnote"
constexpr int kLogoFileText = 870;  // "Bild-Datei"
constexpr int kBrowseText = 871;    // "Durchsuchen"
constexpr int kOkText = 34;
constexpr int kCancelText = 975;  // "&Abbruch"

QLineEdit* Input(QWidget* parent, int maxLength) {
    auto* input = new QLineEdit(parent);
    input->setMaxLength(maxLength);
    return input;
}

QLabel* NumberedLabel(int textNumber, int base, QWidget* parent) {
    auto* label = new QLabel(LoadText(textNumber, base), parent);
    SetTextNumber(label, textNumber);
    return label;
}

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

}  // namespace

TMultPageDlg::TMultPageDlg(UiContext& ui, ParameterSet& parameters, QWidget* parent)
    : QuorvexDialog(ui, parent), parameters_(parameters) {
    setObjectName(QStringLiteral("MultPageDlg"));
    UseSettingsPlacement();
    const int base = ui_.Texts.Base();
    SetTextNumber(this, kCaptionText);
    setWindowTitle(LoadText(kCaptionText, base));
    tabs_ = new QTabWidget(this);

    auto* titlePage = new QWidget(tabs_);
    auto* titleGroup = new QGroupBox(LoadText(kTitleText, base), titlePage);
    SetTextNumber(titleGroup, kTitleText);
    auto* titleForm = new QFormLayout(titleGroup);
    for (std::size_t i = 0; i < titles_.size(); ++i) {
        titles_[i] = Input(titleGroup, kTitleLineInput);
        titleForm->addRow(QStringLiteral("&%1:").arg(i + 1), titles_[i]);
    }
    auto* titleLayout = new QFormLayout;
    heading_ = Input(titlePage, kReportHeadingInput);
    footnote_ = Input(titlePage, kFootnoteInput);
    titleLayout->addRow(NumberedLabel(kHeadingText, base, titlePage), heading_);
    titleLayout->addRow(NumberedLabel(kFootnoteText, base, titlePage), footnote_);
    auto* titleColumn = new QVBoxLayout(titlePage);
    titleColumn->addWidget(titleGroup);
    titleColumn->addLayout(titleLayout);

    auto* headerPage = new QWidget(tabs_);
    auto* headerGroup = new QGroupBox(LoadText(kHeaderText, base), headerPage);
    SetTextNumber(headerGroup, kHeaderText);
    auto* headerForm = new QFormLayout(headerGroup);
    for (std::size_t i = 0; i < labels_.size(); ++i) {
        labels_[i] = Input(headerGroup, kHeaderLabelInput);
        headerForm->addRow(i < 9 ? QStringLiteral("&%1:").arg(i + 1) : QStringLiteral("1&0:"),
                           labels_[i]);
    }
    (new QVBoxLayout(headerPage))->addWidget(headerGroup);

    auto* logoPage = new QWidget(tabs_);
    logo_ = Input(logoPage, kLogoFileInput);
    browse_ = new QPushButton(LoadText(kBrowseText, base), logoPage);
    SetTextNumber(browse_, kBrowseText);
    browse_->setAutoDefault(false);
    connect(browse_, &QPushButton::clicked, this, &TMultPageDlg::BrowseClick);
    preview_ = new QLabel(logoPage);
    preview_->setMinimumSize(200, 120);
    preview_->setAlignment(Qt::AlignCenter);
    auto* logoRow = new QHBoxLayout;
    logoRow->addWidget(NumberedLabel(kLogoFileText, base, logoPage));
    logoRow->addWidget(logo_);
    logoRow->addWidget(browse_);
    auto* logoColumn = new QVBoxLayout(logoPage);
    logoColumn->addLayout(logoRow);
    logoColumn->addWidget(preview_, 1);

    tabs_->addTab(titlePage, LoadText(kTitleText, base));
    tabs_->addTab(headerPage, LoadText(kHeaderText, base));
    tabs_->addTab(logoPage, LoadText(kLogoText, base));
    for (QLineEdit* input : TitleTabInputs()) input->installEventFilter(this);
    for (QLineEdit* input : labels_) input->installEventFilter(this);

    auto* buttons = new QDialogButtonBox(this);
    ok_ = buttons->addButton(LoadText(kOkText, base), QDialogButtonBox::AcceptRole);
    cancel_ = buttons->addButton(LoadText(kCancelText, base), QDialogButtonBox::RejectRole);
    SetTextNumber(ok_, kOkText);
    SetTextNumber(cancel_, kCancelText);
    for (QPushButton* b : {ok_, cancel_}) b->setAutoDefault(false);
    connect(ok_, &QPushButton::clicked, this, &TMultPageDlg::OKBtnClick);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    layout->addWidget(buttons);
}

TMultPageDlg::~TMultPageDlg() = default;

std::array<QLineEdit*, 6> TMultPageDlg::TitleTabInputs() const {
    return {titles_[0], titles_[1], titles_[2], titles_[3], heading_, footnote_};
}

void TMultPageDlg::showEvent(QShowEvent* event) {
    FormShow();
    QuorvexDialog::showEvent(event);
    (OperatorUnlocked ? ok_ : cancel_)->setFocus();
}

void TMultPageDlg::FormShow() {
    const int base = ui_.Texts.Base();
    setWindowTitle(LoadText(kCaptionText, base));
    tabs_->setTabText(TitleTab, LoadText(kTitleText, base));
    tabs_->setTabText(HeaderTab, LoadText(kHeaderText, base));
    tabs_->setTabText(LogoTab, LoadText(kLogoText, base));
    tabs_->setCurrentIndex(HeaderTab);
    const TitleDefinitionForm form = OpenTitleDefinition(
        parameters_, [](const std::string& path) { return QFileInfo(Q(path)).isFile(); });
    for (std::size_t i = 0; i < titles_.size(); ++i) titles_[i]->setText(Q(form.TitleLines[i]));
    heading_->setText(Q(form.ReportHeading));
    footnote_->setText(Q(form.Footnote));
    for (std::size_t i = 0; i < labels_.size(); ++i) labels_[i]->setText(Q(form.HeaderLabels[i]));
    logo_->setText(Q(form.LogoFile));
    LoadPreview();
    for (QLineEdit* input : TitleTabInputs()) input->setEnabled(OperatorUnlocked);
    for (QLineEdit* input : labels_) input->setEnabled(OperatorUnlocked);
    logo_->setEnabled(OperatorUnlocked);
    browse_->setEnabled(OperatorUnlocked);
}

void TMultPageDlg::LoadPreview() {
    // A picture the program cannot read leaves the preview without a picture and says why
    // there; the name is kept.
    const QPixmap picture(logo_->text());
    if (picture.isNull()) {
        preview_->clear();
        preview_->setWordWrap(true);
        preview_->setText(
            UndrawableLogoMessage(logo_->text().toStdString(), ui_.Texts.Base()));
    } else {
        preview_->setPixmap(picture.scaled(preview_->size(), Qt::KeepAspectRatio));
    }
}

void TMultPageDlg::BrowseClick() {
    if (!Files) {
        if (!ownFiles_) ownFiles_ = std::make_unique<QtFileDialogs>(this);
        Files = ownFiles_.get();
    }
    const QString path = Files->OpenFileName(LoadText(kLogoFileText, ui_.Texts.Base()),
                                             QFileInfo(logo_->text()).path(),
                                             LogoFileFilter(QStringLiteral("Alle")));
    if (path.isEmpty()) return;
    logo_->setText(path.left(kLogoFileInput));
    LoadPreview();
    const QString undrawable = UndrawableLogoMessage(path.toStdString(), ui_.Texts.Base());
    if (!undrawable.isEmpty()) {
        ui_.Messages.ShowOperatorMessage(undrawable, MessageKind::Warning, MessageButtons::Ok);
    }
}

void TMultPageDlg::OKBtnClick() {
    TitleDefinitionForm form;
    for (std::size_t i = 0; i < titles_.size(); ++i) {
        form.TitleLines[i] = titles_[i]->text().toStdString();
    }
    form.ReportHeading = heading_->text().toStdString();
    form.Footnote = footnote_->text().toStdString();
    for (std::size_t i = 0; i < labels_.size(); ++i) {
        form.HeaderLabels[i] = labels_[i]->text().toStdString();
    }
    form.LogoFile = logo_->text().toStdString();
    StoreTitleDefinition(form, parameters_);
    accept();
}

void TMultPageDlg::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if ((event->modifiers() & Qt::ControlModifier) && key >= Qt::Key_0 && key <= Qt::Key_9) {
        const int digit = key - Qt::Key_0;
        if (tabs_->currentIndex() == TitleTab && digit >= 1 && digit <= 4) {
            titles_[static_cast<std::size_t>(digit - 1)]->setFocus();
        } else if (tabs_->currentIndex() == HeaderTab) {
            labels_[static_cast<std::size_t>(digit == 0 ? 9 : digit - 1)]->setFocus();
        }
        event->accept();
        return;
    }
    QuorvexDialog::keyPressEvent(event);
}

bool TMultPageDlg::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* keyEvent = static_cast<QKeyEvent*>(event);
        if (keyEvent->key() == Qt::Key_Return || keyEvent->key() == Qt::Key_Enter) {
            const auto titleInputs = TitleTabInputs();
            for (int i = 0; i < 6; ++i) {
                if (titleInputs[static_cast<std::size_t>(i)] == watched) {
                    titleInputs[static_cast<std::size_t>(NextTitleInput(i))]->setFocus();
                    return true;
                }
            }
            for (int i = 0; i < kHeaderLines; ++i) {
                if (labels_[static_cast<std::size_t>(i)] == watched) {
                    labels_[static_cast<std::size_t>(NextHeaderLabelInput(i))]->setFocus();
                    return true;
                }
            }
        }
        // Ctrl with a digit belongs to the dialog, not to the input that has the focus.
        if ((keyEvent->modifiers() & Qt::ControlModifier) && keyEvent->key() >= Qt::Key_0 &&
            keyEvent->key() <= Qt::Key_9) {
            keyPressEvent(keyEvent);
            return true;
        }
    }
    return QuorvexDialog::eventFilter(watched, event);
}

}  // namespace quorvex
