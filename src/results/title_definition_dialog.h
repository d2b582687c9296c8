// "Definition Titel und Kopfdaten": the report's title lines, heading, footnote and logo, and
// the titles of the ten header lines.
#pragma once

#include <array>
#include <memory>

#include "evaluation/parameter_set.h"
#include "results/header_data_form.h"
#include "ui/dialog_base.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace quorvex {

class FileDialogs;

class TMultPageDlg : public QuorvexDialog {
    Q_OBJECT
  public:
    TMultPageDlg(UiContext& ui, ParameterSet& parameters, QWidget* parent = nullptr);
    ~TMultPageDlg() override;

    // Set by the caller before every showing: the inputs can be changed only when the operator
    // has unlocked them with the password.
    bool OperatorUnlocked = false;
    // The file chooser of the browse button; the dialog's own Qt chooser when not set.
    FileDialogs* Files = nullptr;

    enum Tab { TitleTab = 0, HeaderTab = 1, LogoTab = 2 };
    QTabWidget* Tabs() const { return tabs_; }
    QLineEdit* TitleInput(int line) const { return titles_.at(static_cast<std::size_t>(line)); }
    QLineEdit* HeadingInput() const { return heading_; }
    QLineEdit* FootnoteInput() const { return footnote_; }
    QLineEdit* HeaderLabelInput(int line) const {
        return labels_.at(static_cast<std::size_t>(line));
    }
    QLineEdit* LogoInput() const { return logo_; }
    QLabel* LogoPreview() const { return preview_; }
    QPushButton* BrowseButton() const { return browse_; }
    QPushButton* OkButton() const { return ok_; }
    QPushButton* CancelButton() const { return cancel_; }

    void FormShow();
    void BrowseClick();
    void OKBtnClick();

  protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // The inputs of the "Titel" tab in their Enter order: four titles, heading, footnote.
    std::array<QLineEdit*, 6> TitleTabInputs() const;
    void LoadPreview();

    ParameterSet& parameters_;
    std::unique_ptr<FileDialogs> ownFiles_;
    QTabWidget* tabs_ = nullptr;
    std::array<QLineEdit*, 4> titles_{};
    QLineEdit* heading_ = nullptr;
    QLineEdit* footnote_ = nullptr;
    std::array<QLineEdit*, kHeaderLines> labels_{};
    QLineEdit* logo_ = nullptr;
    QLabel* preview_ = nullptr;
    QPushButton* browse_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

}  // namespace quorvex
