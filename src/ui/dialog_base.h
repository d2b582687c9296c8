// What every dialog of the program shares: the services it reports and stops through, F8 as
// the machine stop, and the fixed place of the settings dialogs.
#pragma once

#include <QDialog>
#include <functional>

class QScrollArea;

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
    // Keeps the whole dialog on the screen it opens on (a small screen of 1024 x 768 too):
    // shrinks it to the screen where its layout allows and moves it up and left as needed.
    void FitIntoScreen();

    UiContext& ui_;

private:
    bool settingsPlacement_ = false;
};

// A long page that scrolls vertically on a small screen: as wide as its content, as tall as
// the screen allows.
QScrollArea* ScrollingPage(QWidget* content, QWidget* parent);

}  // namespace quorvex
