// What every dialog of the program shares: the services it reports and stops through, F8 as
// the machine stop, and the fixed place of the settings dialogs.
#pragma once

#include <QDialog>
#include <functional>

namespace quorvex {

class OperatorMessages;
class StoredTexts;

// Handed by reference to every dialog; the shell fills it once.
struct UiContext {
    OperatorMessages& Messages;
    StoredTexts& Texts;
    // Stops the machine (key F8 in every dialog); empty until the shell installs it.
    std::function<void()> StopMachine;
    // The main window, from whose corner some dialogs are placed.
    QWidget* MainWindow = nullptr;
};

class QuorvexDialog : public QDialog {
    Q_OBJECT
public:
    QuorvexDialog(UiContext& ui, QWidget* parent);

protected:
    // Settings and data dialogs open at the fixed screen position top 100, left 120.
    void UseSettingsPlacement() { settingsPlacement_ = true; }
    // Places the dialog this far right of and below the main window's top-left corner.
    void PlaceBesideMainWindow(int offset);
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

    UiContext& ui_;

private:
    bool settingsPlacement_ = false;
};

}  // namespace quorvex
