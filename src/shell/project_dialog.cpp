// The results-project dialog.
#include "shell/project_dialog.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "run/app_state.h"
#include "shell/results_project.h"
#include "ui/captions.h"
#include "ui/operator_message.h"
#include "ui/stored_texts.h"
#include "ui/text_table.h"

namespace quorvex {
namespace {

constexpr int kNewText = 793;  // "&Neu..."

}  // namespace

TNeue_Serie::TNeue_Serie(UiContext& ui, AppState& app, ParameterSet& parameters, QWidget* parent)
    : QuorvexDialog(ui, parent), app_(app), parameters_(parameters) {
    setObjectName(QStringLiteral("Neue_Serie"));
    setWindowTitle(LoadText(133, 0));
    SetTextNumber(this, 133);
    label_ = new QLabel(LoadText(131, 0), this);
    SetTextNumber(label_, 131);
    nameBox_ = new QComboBox(this);
    nameBox_->setObjectName(QStringLiteral("ProjectName"));
    nameBox_->setEditable(true);
    nameBox_->setInsertPolicy(QComboBox::NoInsert);
    nameBox_->lineEdit()->installEventFilter(this);
    projectList_ = new QListWidget(this);
    projectList_->setObjectName(QStringLiteral("ProjectList"));
    okButton_ = new QPushButton(LoadText(34, 0), this);
    cancelButton_ = new QPushButton(LoadText(35, 0), this);
    SetTextNumber(okButton_, 34);
    SetTextNumber(cancelButton_, 35);
    // An empty working directory on the first start has nothing to open: a new project is
    // one click away.
    newButton_ = new QPushButton(LoadText(kNewText, 0), this);
    newButton_->setObjectName(QStringLiteral("NewProject"));
    SetTextNumber(newButton_, kNewText);
    connect(newButton_, &QPushButton::clicked, this, [this] { done(kNewProjectRequested); });
    okButton_->setDefault(true);
    connect(okButton_, &QPushButton::clicked, this, &TNeue_Serie::accept);
    connect(cancelButton_, &QPushButton::clicked, this, &TNeue_Serie::reject);
    connect(projectList_, &QListWidget::itemDoubleClicked, this, [this] {
        if (!ChosenName().isEmpty()) accept();
    });
    connect(projectList_, &QListWidget::currentRowChanged, this, [this] { UpdateOk(); });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(newButton_);
    buttons->addStretch();
    buttons->addWidget(okButton_);
    buttons->addWidget(cancelButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label_);
    layout->addWidget(nameBox_);
    layout->addWidget(projectList_);
    layout->addLayout(buttons);
    resize(320, 300);
}

void TNeue_Serie::showEvent(QShowEvent* event) {
    const QStringList names = ListProjectDirectories(app_.WorkingDirectory);
    const bool create = Mode == kCreateMode;
    nameBox_->setVisible(create);
    projectList_->setVisible(!create);
    newButton_->setVisible(!create);
    nameBox_->clear();
    nameBox_->addItems(names);
    nameBox_->setCurrentIndex(-1);
    nameBox_->setEditText(QString());
    // The hint "Bitte geben Sie ein neues Resultate-Projekt ein!".
    const QString hint = LoadText(132, ui_.Texts.Base());
    nameBox_->lineEdit()->setPlaceholderText(hint);
    nameBox_->setToolTip(hint);
    projectList_->clear();
    projectList_->addItems(names);
    if (!names.isEmpty()) projectList_->setCurrentRow(0);
    UpdateOk();
    move(180, 140);
    QuorvexDialog::showEvent(event);
    if (create) {
        nameBox_->setFocus();
    } else {
        projectList_->setFocus();
    }
}

bool TNeue_Serie::eventFilter(QObject* watched, QEvent* event) {
    // Enter in the name field acts like OK when a name is typed.
    if (watched == nameBox_->lineEdit() && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (!ChosenName().isEmpty()) accept();
            return true;
        }
    }
    return QuorvexDialog::eventFilter(watched, event);
}

QString TNeue_Serie::ChosenName() const {
    if (Mode == kCreateMode) return CleanProjectName(nameBox_->currentText());
    const QListWidgetItem* item = projectList_->currentItem();
    return item ? CleanProjectName(item->text()) : QString();
}

void TNeue_Serie::UpdateOk() {
    okButton_->setEnabled(Mode == kCreateMode || projectList_->count() > 0);
}

void TNeue_Serie::accept() {
    const QString name = ChosenName();
    if (name.isEmpty()) return;  // the dialog stays open
    ProjectResult result = Mode == kCreateMode
                               ? CreateResultsProject(app_.WorkingDirectory, name)
                               : OpenResultsProject(app_.WorkingDirectory, name, parameters_);
    if (!result.FileMessage.isEmpty()) {
        ui_.Messages.ShowOperatorMessage(result.FileMessage, MessageKind::Error,
                                         MessageButtons::Ok);
    }
    if (!result.Opened) {
        if (result.RefusalText != 0) {
            ui_.Messages.ShowOperatorMessage(ui_.Texts.Text(result.RefusalText), MessageKind::Error,
                                             MessageButtons::Ok);
        }
        app_.ProjectOpen = false;
        return;
    }
    app_.ProjectName = name;
    app_.ProjectOpen = true;
    app_.ProjectSettingsFromFile = result.SettingsFromFile;
    QuorvexDialog::accept();
}

}  // namespace quorvex
