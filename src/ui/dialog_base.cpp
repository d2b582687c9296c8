// The dialog base: F8 stops the machine from every dialog.
#include "ui/dialog_base.h"

#include <QKeyEvent>

namespace quorvex {

QuorvexDialog::QuorvexDialog(UiContext& ui, QWidget* parent) : QDialog(parent), ui_(ui) {
    setModal(true);
}

void QuorvexDialog::keyPressEvent(QKeyEvent* event) {
    // F8 reaches the dialog from every field, since no field takes it for itself.
    if (event->key() == Qt::Key_F8) {
        if (ui_.StopMachine) ui_.StopMachine();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void QuorvexDialog::PlaceBesideMainWindow(int offset) {
    const QPoint corner = ui_.MainWindow ? ui_.MainWindow->pos() : QPoint(0, 0);
    move(corner + QPoint(offset, offset));
}

void QuorvexDialog::showEvent(QShowEvent* event) {
    if (settingsPlacement_) move(120, 100);
    QDialog::showEvent(event);
}

}  // namespace quorvex
