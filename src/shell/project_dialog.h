// The results-project dialog: mode 1 creates a project under a new name, mode 2 opens one of
// the project directories.
#pragma once

#include "ui/dialog_base.h"

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace quorvex {

struct AppState;
struct ParameterSet;

class TNeue_Serie : public QuorvexDialog {
    Q_OBJECT
public:
    static constexpr int kCreateMode = 1;
    static constexpr int kOpenMode = 2;
    // What exec() returns in mode 2 when the operator asks for a new project instead.
    static constexpr int kNewProjectRequested = 2;

    TNeue_Serie(UiContext& ui, AppState& app, ParameterSet& parameters, QWidget* parent);

    int Mode = kOpenMode;

    QComboBox* NameBox() const { return nameBox_; }
    QListWidget* ProjectList() const { return projectList_; }
    QPushButton* OkButton() const { return okButton_; }
    QPushButton* NewButton() const { return newButton_; }

public slots:
    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QString ChosenName() const;
    void UpdateOk();

    AppState& app_;
    ParameterSet& parameters_;
    QLabel* label_;
    QComboBox* nameBox_;
    QListWidget* projectList_;
    QPushButton* okButton_;
    QPushButton* cancelButton_;
    QPushButton* newButton_;
};

}  // namespace quorvex
