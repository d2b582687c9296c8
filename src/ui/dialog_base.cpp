// The dialog base: F8 stops the machine from every dialog.
#include "ui/dialog_base.h"

#include <algorithm>

#include <QKeyEvent>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>

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
    FitIntoScreen();
    QDialog::showEvent(event);
}

void QuorvexDialog::FitIntoScreen() {
    const QScreen* shown = screen();
    if (shown == nullptr) return;
    const QRect available = shown->availableGeometry();
    // The window frame is not known before the window manager maps the dialog: a title bar
    // and a border are reserved for it.
    const int titleBar = style()->pixelMetric(QStyle::PM_TitleBarHeight) + 8;
    const int border = 8;
    const QSize room(available.width() - 2 * border, available.height() - titleBar - border);
    const QSize fitted = size().boundedTo(room).expandedTo(minimumSize());
    if (fitted != size()) resize(fitted);
    QPoint at = pos();
    at.setX(std::max(available.left(), std::min(at.x(), available.right() - width() - border)));
    at.setY(std::max(available.top(),
                     std::min(at.y(), available.bottom() - height() - titleBar - border)));
    if (at != pos()) move(at);
}

namespace {

// As wide as its content (no horizontal scrolling) and as tall as its content would like; the
// dialog then shrinks it to the screen.
class VerticalScrollArea : public QScrollArea {
public:
    using QScrollArea::QScrollArea;
    QSize sizeHint() const override {
        const QSize content = widget() ? widget()->sizeHint() : QSize();
        const int frame = 2 * frameWidth();
        return {content.width() + frame + verticalScrollBar()->sizeHint().width(),
                content.height() + frame};
    }
    QSize minimumSizeHint() const override {
        return {sizeHint().width(), std::min(sizeHint().height(), 120)};
    }
};

}  // namespace

QScrollArea* ScrollingPage(QWidget* content, QWidget* parent) {
    auto* area = new VerticalScrollArea(parent);
    area->setWidget(content);
    area->setWidgetResizable(true);
    area->setFrameShape(QFrame::NoFrame);
    area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    return area;
}

}  // namespace quorvex
