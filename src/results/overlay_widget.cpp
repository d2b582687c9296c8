// The editor's comparison diagram on the screen.
#include "results/overlay_widget.h"

#include <QPainter>

namespace quorvex {

OverlayWidget::OverlayWidget(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("OverlayDiagram"));
    setMinimumSize(400, 300);
}

void OverlayWidget::ShowDiagram(const OverlayDiagram* diagram, const OverlayLook& look) {
    diagram_ = diagram;
    look_ = look;
    Redraw();
}

QRectF OverlayWidget::Frame() const {
    // Room for the y labels and title on the left, the x labels and title below.
    return QRectF(80, 20, std::max(10, width() - 110), std::max(10, height() - 70));
}

void OverlayWidget::Redraw() {
    picture_ = QPixmap(size().expandedTo(QSize(1, 1)));
    picture_.fill(Qt::white);
    if (diagram_) {
        QPainter painter(&picture_);
        PaintOverlayDiagram(painter, Frame(), *diagram_, ScreenOverlayStyle(), look_);
    }
    update();
}

void OverlayWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, picture_);
}

void OverlayWidget::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Redraw();
}

}  // namespace quorvex
