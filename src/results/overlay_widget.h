// The comparison diagram on the screen: the painter routine draws into an off-screen picture
// that the widget copies on every repaint.
#pragma once

#include <QPixmap>
#include <QWidget>

#include "report/overlay_painter.h"

namespace quorvex {

class OverlayWidget : public QWidget {
    Q_OBJECT
  public:
    explicit OverlayWidget(QWidget* parent = nullptr);

    // Shows the diagram (null: an empty white area) with the look given.
    void ShowDiagram(const OverlayDiagram* diagram, const OverlayLook& look);
    // Draws the picture again, after a change of view or range.
    void Redraw();
    const QPixmap& Picture() const { return picture_; }
    // The frame of the plot area inside the widget.
    QRectF Frame() const;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    const OverlayDiagram* diagram_ = nullptr;
    OverlayLook look_;
    QPixmap picture_;
};

}  // namespace quorvex
