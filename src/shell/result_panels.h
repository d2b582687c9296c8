// The result panels at the bottom of the main window: the two tabs of the tensile types or
// the group of another test type, white value fields that turn red outside their limits and
// green while they wait for a point picked on the curve.
#pragma once

#include <QColor>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "shell/result_panel_model.h"

class QGroupBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace quorvex {

class TResultPanels : public QWidget {
    Q_OBJECT
  public:
    static inline const QColor kPickGreen = QColor(0, 128, 0);

    explicit TResultPanels(QWidget* parent = nullptr);

    // Shows the group of the test type with its labels; every value field empty and white.
    void Layout(const ParameterSet& p);
    // Shows the results of the current test (call Layout first).
    void Fill(const TestState& state, int forceDecimals);
    // One field's text and colour, for values entered after the test.
    void Show(const std::string& name, const std::string& text, bool red);
    void SetColour(const std::string& name, const QColor& colour);

    const PanelLayout& CurrentLayout() const { return layout_; }
    QLineEdit* Field(const std::string& name) const;
    QLabel* Caption(const std::string& name) const;
    QTabWidget* Tabs() const { return tabs_; }
    QGroupBox* Group() const { return group_; }
    // "ohne Bruch", shown over the values of a test that ended without a break.
    QLabel* NoBreakMark() const { return noBreak_; }

    // A left click on a value field, by its name.
    std::function<void(const std::string& name)> FieldClicked;
    // The remark field was edited.
    std::function<void(const QString& remark)> RemarkEdited;

    // "Rohdaten der Taster exportieren" under the compression results, on a machine that
    // measures with the three probes; the window writes the file.
    void SetProbeExportAvailable(bool available);
    QPushButton* ProbeExportButton() const { return probeExport_; }
    std::function<void()> ProbeExportClicked;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void ClearPages();

    PanelLayout layout_;
    QTabWidget* tabs_ = nullptr;
    QGroupBox* group_ = nullptr;
    std::vector<QWidget*> pages_;  // the two tabs, then the group
    std::vector<QLineEdit*> fields_;
    std::vector<QLabel*> captions_;
    QPushButton* probeExport_ = nullptr;
    QLabel* noBreak_ = nullptr;
    bool probeExportAvailable_ = false;
};

}  // namespace quorvex
