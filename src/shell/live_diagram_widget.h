// The drawing area of the live diagram: the curve is drawn into an off-screen image, one
// segment per sample, and the widget only copies the image to the screen. The magnifier's
// rubber band and the clicks of the point picks start here.
#pragma once

#include <QImage>
#include <QPainter>
#include <QWidget>
#include <functional>

#include "run/live_diagram_model.h"

class QRubberBand;

namespace quorvex {

class StoredTexts;

// Text numbers of the axis captions.
namespace text {
constexpr int kAxisForce = 885;
constexpr int kAxisTravel = 886;
constexpr int kAxisExtensometer = 887;
constexpr int kAxisStrain = 888;
constexpr int kAxisFineStrain = 889;
constexpr int kAxisStress = 890;
constexpr int kAxisCompression = 891;
constexpr int kAxisTime = 892;
constexpr int kAxisWidthChange = 893;
constexpr int kScaleYAxis = 894;
constexpr int kScaleXAxis = 895;
constexpr int kMagnifier = 896;
constexpr int kDiagramDisplay = 130;
constexpr int kAcceptCaption = 898;
constexpr int kModulusLabel = 899;
}  // namespace text

// The caption of an axis in the language of this base; the stress caption carries the unit.
QString AxisCaption(AxisQuantity quantity, int unitSystem, int languageBase);

// Tick spacing of an axis: 1, 2 or 5 times a power of ten, about eight ticks over the range.
double TickStep(double range);

class TDiagramArea : public QWidget, public DiagramCanvas {
    Q_OBJECT
  public:
    TDiagramArea(const StoredTexts& texts, QWidget* parent = nullptr);
    ~TDiagramArea() override;

    // The diagram it shows; it draws into this area from now on.
    void Attach(LiveDiagramModel& model);

    // The magnifier: cross-hair cursor until the rubber band has been drawn.
    void ArmMagnifier();
    bool MagnifierArmed() const { return magnifierArmed_; }
    // The cross-hair cursor of the pick modes.
    void SetPickCursor(bool on);

    const QImage& Image() const { return image_; }

    // The magnifier has been used (the button is enabled again); zoomed or not.
    std::function<void(bool zoomed)> MagnifierDone;
    // A press on the area outside the magnifier, in pixels of the area.
    std::function<void(int x, int y)> Clicked;

    // DiagramCanvas
    void DrawAxes(const DiagramAxes& axes) override;
    void DrawPoint(int x, int y) override;
    void DrawSegment(int x0, int y0, int x1, int y1) override;
    void DrawGuideLine(int x0, int y0, int x1, int y1) override;
    void DrawMark(int x, int y, DiagramMark mark) override;
    void Finish() override;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    void NewImage(QSize size);
    void UpdateCursor();

    const StoredTexts& texts_;
    LiveDiagramModel* model_ = nullptr;
    QImage image_;
    // Lives as long as the image, so that a sample's segment costs no painter set-up.
    QPainter painter_;
    QPen curvePen_;
    bool magnifierArmed_ = false;
    bool pickCursor_ = false;
    QRubberBand* rubberBand_ = nullptr;
    QPoint bandOrigin_;
    bool banding_ = false;
    bool redrawing_ = false;  // between the axes and the end of a redraw: one update at the end
};

}  // namespace quorvex
