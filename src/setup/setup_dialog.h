// The setup dialog: in mode 1 the machine setup ("Setup-Maschine") with its measuring ranges,
// controller gains, machine configuration, accessories and sequence options; in mode 2 the
// test parameters of its tab "Versuch". A view over the setup form: the checks and the
// storing are the form's.
#pragma once

#include <QPushButton>
#include <QTabWidget>
#include <filesystem>
#include <functional>
#include <map>
#include <vector>

#include "evaluation/parameter_set.h"
#include "setup/machine_config.h"
#include "setup/setup_form.h"
#include "ui/captions.h"
#include "ui/dialog_base.h"
#include "ui/stored_texts.h"
#include "ui/text_table.h"

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QFormLayout;
class QLabel;
class QLineEdit;
class QSpinBox;

namespace quorvex {

class TPasswordDlg;

class TBtnRightDlg : public QuorvexDialog {
    Q_OBJECT
  public:
    static constexpr int kMachineSetupMode = 1;
    static constexpr int kTestParameterMode = 2;

    TBtnRightDlg(UiContext& ui, ParameterSet& parameters, MachineConfig& machine,
                 TPasswordDlg& password, QWidget* parent = nullptr);

    // Set by the caller before showing.
    int Mode = kMachineSetupMode;
    bool OperatorUnlocked = false;  // the access flag of the password
    std::filesystem::path WorkingDirectory;

    // The tab "Versuch" of mode 2.
    QWidget* TestTab() const { return testTab_; }
    // "Rmin im Versuch" or "Fmin im Versuch" and its unit, as the test type labels them.
    QLabel* MinimumLabel() const { return minimumLabel_; }
    QLabel* MinimumUnitLabel() const { return minimumUnit_; }
    QWidget* HysteresisGroup() const { return hysteresisGroup_; }

    // The handlers, named as the operator's actions.
    void FormShow();
    bool FormCloseQuery();
    void OKBtnClick();
    void CancelBtnClick();
    void Button1Click();      // "Systemdaten speichern"
    void BitBtn1Click();      // master code of the machine fields
    void BitBtn2Click();      // password of the sequence options
    void SaveButtonClick();   // "Kennwerte speichern" of the load cells
    void SaveButton2Click();  // "Kennwerte speichern" of the extensometers

    // The form as the fields hold it now.
    SetupForm ReadForm() const;
    const SetupRights& Rights() const { return rights_; }
    bool SystemDataRequested() const { return systemDataRequested_; }

    QTabWidget* Tabs() const { return tabs_; }
    // The field of a SetupField or form_field number; null when the dialog has none.
    QWidget* Field(int field) const;
    QCheckBox* SequenceBox(SequenceOption option) const;
    QPushButton* OkButton() const { return okButton_; }
    // "Maschine A&US bei Versuchsende" on the tab "Versuch".
    QCheckBox* MachineOffAtEnd() const { return machineOffAtEnd_; }
    QPushButton* CancelButton() const { return cancelButton_; }
    QPushButton* SystemDataButton() const { return systemDataButton_; }
    QPushButton* MachineCodeButton() const { return machineCodeButton_; }
    QPushButton* SequenceCodeButton() const { return sequenceCodeButton_; }
    QPushButton* SaveLoadCellsButton() const { return saveLoadCellsButton_; }
    QPushButton* SaveExtensometersButton() const { return saveExtensometersButton_; }

  public slots:
    void accept() override;

  protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    enum class Right { Basic, Machine };

    // Building the tabs (setup_dialog_tabs.cpp).
    void BuildTabs();
    QWidget* BuildRangesTab();
    QWidget* BuildGainsTab();
    QWidget* BuildMachineTab();
    QWidget* BuildAccessoriesTab();
    QWidget* BuildSequenceTab();
    QWidget* BuildTestTab();  // setup_dialog_test_tab.cpp

    // The unit wording of the parameter set's stress unit and the adjustments of the test
    // type, when the tab "Versuch" is shown.
    void AdjustTestTab();
    void PreloadUnitChanged(int unit);
    // Enter in the preload field: false (after the message) when the value is out of bounds.
    bool PreloadEntryAccepted();
    QComboBox* UnitCombo(int field, std::function<int&(SetupForm&)> member);

    // Field makers: each binds its widget to a member of the form and to an editing right.
    QLineEdit* Text(QFormLayout* layout, int caption, int field, bool decimal, Right right,
                    std::function<std::string&(SetupForm&)> member);
    QLineEdit* TextCell(int field, bool decimal, Right right,
                        std::function<std::string&(SetupForm&)> member);
    QCheckBox* Check(int caption, Right right, std::function<bool&(SetupForm&)> member);
    QSpinBox* Spin(int low, int high, Right right, std::function<int&(SetupForm&)> member);
    // Items with a text number, or (number 0) a fixed caption.
    struct Item {
        int number = 0;
        const char* fixed = "";
    };
    QWidget* Radios(int caption, std::initializer_list<Item> items, Right right,
                    std::function<int&(SetupForm&)> member);
    QComboBox* Combo(const QStringList& items, Right right, std::function<int&(SetupForm&)> member);
    void Bind(QWidget* widget, Right right);
    template <class W>
    W* Captioned(W* widget, int number) {
        SetTextNumber(widget, number);
        widget->setText(LoadText(number, ui_.Texts.Base()));
        return widget;
    }

    void WriteForm(const SetupForm& form);
    void ApplyRights();
    void EnableSequenceOptions();
    void SequenceOptionClicked(SequenceOption option, bool checked);
    void ShowFailure(const CheckFailure& failure);
    void FocusField(int field);
    void ShowFileNotWritten(const std::filesystem::path& path);
    void SetTabCaptions();

    ParameterSet& parameters_;
    MachineConfig& machine_;
    TPasswordDlg& password_;
    QCheckBox* machineOffAtEnd_ = nullptr;  // tab "Versuch"
    SetupRights rights_;
    bool systemDataRequested_ = false;
    bool confirming_ = false;

    QTabWidget* tabs_ = nullptr;
    QWidget* testTab_ = nullptr;
    QWidget* rangesTab_ = nullptr;
    QWidget* gainsTab_ = nullptr;
    QWidget* machineTab_ = nullptr;
    QWidget* accessoriesTab_ = nullptr;
    QWidget* sequenceTab_ = nullptr;
    QPushButton* okButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    QPushButton* systemDataButton_ = nullptr;
    QPushButton* machineCodeButton_ = nullptr;
    QPushButton* sequenceCodeButton_ = nullptr;
    QPushButton* saveLoadCellsButton_ = nullptr;
    QPushButton* saveExtensometersButton_ = nullptr;
    std::map<SequenceOption, QCheckBox*> sequenceBoxes_;
    QLabel* minimumLabel_ = nullptr;
    QLabel* minimumUnit_ = nullptr;
    QWidget* hysteresisGroup_ = nullptr;

    std::map<int, QWidget*> fields_;
    std::vector<std::function<void(const SetupForm&)>> writers_;
    std::vector<std::function<void(SetupForm&)>> readers_;
    std::vector<QWidget*> basicWidgets_;
    std::vector<QWidget*> machineWidgets_;
};

}  // namespace quorvex
