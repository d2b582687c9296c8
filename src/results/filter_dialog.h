// "Filter": which records of the results project the editor lists. The checks of OK are a
// plain function over the field texts; the dialog keeps its settings for the program's run.
#pragma once

#include <optional>
#include <string>

#include "evaluation/parameter_set.h"
#include "evaluation/project_store.h"
#include "ui/dialog_base.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QLabel;

namespace quorvex {

struct FilterForm {
    bool ByDate = false;
    std::string From, To;
    bool BySpecimenNo = false;
    std::string SpecimenNoPattern;
    bool ById = false;
    std::string IdPattern;
    bool ShowAll = true;
    bool GaugeLengthOffered = false;  // test types 0-2 and 9
    bool ByGaugeLength = false;
    std::string GaugeLength;
};

enum class FilterField { None, ShowAll, From, To };

struct FilterCheck {
    int TextNumber = 0;  // 0: accepted; 182 no criterion; 183 a bad date
    FilterField Focus = FilterField::None;
    RecordFilter Filter;
    bool GaugeLengthTaken = false;  // the Lo text converted; Filter.GaugeLength holds it
};

// The checks of OK in their order, and the filter the form describes. `gaugeLength` is the
// value kept so far, used when the Lo text does not convert.
FilterCheck CheckFilterForm(const FilterForm& form, const std::string& shortDateFormat,
                            double gaugeLength);

// Whole days since 1899-12-30 of a date typed in the short date format; nothing when the
// text is not a valid date.
std::optional<int> ParseShortDate(const std::string& text, const std::string& shortDateFormat);

class TFilterdialog : public QuorvexDialog {
    Q_OBJECT
  public:
    TFilterdialog(UiContext& ui, ParameterSet& parameters, std::string shortDateFormat,
                  QWidget* parent = nullptr);

    // The filter of the last OK ("show all" until then).
    const RecordFilter& Filter() const { return filter_; }

    QCheckBox* DateBox() const { return dateBox_; }
    QLineEdit* FromEdit() const { return fromEdit_; }
    QLineEdit* ToEdit() const { return toEdit_; }
    QCheckBox* SpecimenNoBox() const { return specimenNoBox_; }
    QLineEdit* SpecimenNoEdit() const { return specimenNoEdit_; }
    QCheckBox* IdBox() const { return idBox_; }
    QLineEdit* IdEdit() const { return idEdit_; }
    QCheckBox* ShowAllBox() const { return showAllBox_; }
    QCheckBox* GaugeLengthBox() const { return gaugeLengthBox_; }
    QLineEdit* GaugeLengthEdit() const { return gaugeLengthEdit_; }
    QPushButton* OkButton() const { return ok_; }

    void OKBtnClick();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    FilterForm Form() const;

    ParameterSet& parameters_;
    std::string shortDateFormat_;
    RecordFilter filter_;
    QCheckBox* dateBox_ = nullptr;
    QLineEdit* fromEdit_ = nullptr;
    QLineEdit* toEdit_ = nullptr;
    QCheckBox* specimenNoBox_ = nullptr;
    QLineEdit* specimenNoEdit_ = nullptr;
    QCheckBox* idBox_ = nullptr;
    QLineEdit* idEdit_ = nullptr;
    QCheckBox* showAllBox_ = nullptr;
    QCheckBox* gaugeLengthBox_ = nullptr;
    QLineEdit* gaugeLengthEdit_ = nullptr;
    QLabel* gaugeLengthLabel_ = nullptr;
    QLabel* gaugeLengthUnit_ = nullptr;
    QPushButton* ok_ = nullptr;
};

}  // namespace quorvex
