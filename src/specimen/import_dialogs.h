// The two look-ups of prepared data from the specimen data dialog: "Daten importieren" (F9)
// finds a specimen by its number, "Grenzwerte importieren" (F6) a limit set by its
// identifier. Views over the look-ups of the alias database, which the caller hands in.
#pragma once

#include <array>
#include <functional>
#include <string>

#include "evaluation/imported_data.h"
#include "evaluation/parameter_set.h"
#include "store/alias_import.h"
#include "ui/dialog_base.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace quorvex {

using SpecimenFinder = std::function<ImportLookup<ImportedSpecimen>(const std::string&)>;
using LimitFinder = std::function<ImportLookup<ImportedLimitSet>(const std::string&)>;

// Specimen import: OK only after a specimen was found; the ten header lines may be edited
// before OK.
class TImportDlg : public QuorvexDialog {
    Q_OBJECT
  public:
    TImportDlg(UiContext& ui, const ParameterSet& parameters, SpecimenFinder find,
               QWidget* parent = nullptr);

    // The found specimen with the header lines as the inputs hold them.
    ImportedSpecimen Imported() const;

    QLineEdit* SpecimenNo() const { return specimenNo_; }
    QLineEdit* HeaderLine(int line) const { return lines_.at(static_cast<std::size_t>(line)); }
    QPushButton* ImportButton() const { return import_; }
    QPushButton* OkButton() const { return ok_; }
    void Search();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    SpecimenFinder find_;
    ImportedSpecimen found_;
    QLineEdit* specimenNo_ = nullptr;
    std::array<QLineEdit*, 10> lines_{};
    QPushButton* import_ = nullptr;
    QPushButton* ok_ = nullptr;
};

// Limit import: shows the current limits of the ten results, a found set replaces them, OK
// takes them into the results definition.
class TGImportDlg : public QuorvexDialog {
    Q_OBJECT
  public:
    TGImportDlg(UiContext& ui, ParameterSet& parameters, LimitFinder find,
                QWidget* parent = nullptr);

    QLineEdit* Identifier() const { return identifier_; }
    QLineEdit* MinField(int row) const { return minimum_.at(static_cast<std::size_t>(row)); }
    QLineEdit* MaxField(int row) const { return maximum_.at(static_cast<std::size_t>(row)); }
    QLabel* RowName(int row) const { return names_.at(static_cast<std::size_t>(row)); }
    QPushButton* ImportButton() const { return import_; }
    QPushButton* OkButton() const { return ok_; }
    void Search();

  public slots:
    void accept() override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void ShowRows();

    ParameterSet& parameters_;
    LimitFinder find_;
    FurtherLimit further_ = FurtherLimit::Ag;
    std::array<LimitPair, kImportedLimitRows> rows_{};
    QLineEdit* identifier_ = nullptr;
    std::array<QLabel*, kImportedLimitRows> names_{};
    std::array<QLineEdit*, kImportedLimitRows> minimum_{};
    std::array<QLineEdit*, kImportedLimitRows> maximum_{};
    QPushButton* import_ = nullptr;
    QPushButton* ok_ = nullptr;
};

}  // namespace quorvex
