// The drawing area: axes, curve and marks in an off-screen image, the magnifier's rubber band
// and the clicks of the point picks.
#include "shell/live_diagram_widget.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QRubberBand>
#include <cmath>

#include "ui/stored_texts.h"
#include "ui/text_table.h"

namespace quorvex {
namespace {

constexpr int kTickLength = 5;
constexpr int kMarkSize = 4;

constexpr int kTextDeformationEnergy = 658;  // "Verformungsenergie"

int CaptionNumber(AxisQuantity quantity) {
    switch (quantity) {
        case AxisQuantity::Force:
            return text::kAxisForce;
        case AxisQuantity::Travel:
            return text::kAxisTravel;
        case AxisQuantity::Extensometer:
            return text::kAxisExtensometer;
        case AxisQuantity::Fourth:
            return text::kAxisWidthChange;
        case AxisQuantity::Strain:
            return text::kAxisStrain;
        case AxisQuantity::FineStrain:
            return text::kAxisFineStrain;
        case AxisQuantity::Compression:
            return text::kAxisCompression;
        case AxisQuantity::Stress:
            return text::kAxisStress;
        case AxisQuantity::Time:
            return text::kAxisTime;
        case AxisQuantity::Energy:
            return kTextDeformationEnergy;
    }
    return text::kAxisForce;
}

// The decimals that tell the ticks of this spacing apart.
int TickDecimals(double step) {
    return std::max(0, static_cast<int>(std::ceil(-std::log10(step) - 1e-9)));
}

}  // namespace

QString AxisCaption(AxisQuantity quantity, int unitSystem, int languageBase) {
    const int number = CaptionNumber(quantity);
    QString caption = LoadText(number, languageBase);
    if (caption.isEmpty()) caption = LoadText(number, 0);
    if (quantity == AxisQuantity::Stress) {
        caption += unitSystem == 1   ? QStringLiteral("  MPa")
                   : unitSystem == 2 ? QStringLiteral("  Mpa")
                                     : QStringLiteral("  N/mm²");
    }
    if (quantity == AxisQuantity::Energy) caption += QStringLiteral(" [J]");
    return caption;
}

double TickStep(double range) {
    if (!(range > 0) || !std::isfinite(range)) return 1;
    const double raw = range / 8;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (double factor : {1.0, 2.0, 5.0}) {
        if (factor * power >= raw) return factor * power;
    }
    return 10 * power;
}

TDiagramArea::TDiagramArea(const StoredTexts& texts, QWidget* parent)
    : QWidget(parent), texts_(texts), curvePen_(Qt::black, 0) {
    setObjectName(QStringLiteral("DiagramArea"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(200, 150);
    rubberBand_ = new QRubberBand(QRubberBand::Rectangle, this);
    NewImage(QSize(600, 400));
}

// The diagram may already be gone (the main window's members go before its child widgets):
// it is not touched here.
TDiagramArea::~TDiagramArea() {
    if (painter_.isActive()) painter_.end();
}

void TDiagramArea::Attach(LiveDiagramModel& model) {
    model_ = &model;
    model.SetCanvas(this);
    model.SetSize(image_.width(), image_.height());
}

void TDiagramArea::NewImage(QSize size) {
    if (painter_.isActive()) painter_.end();
    image_ = QImage(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    image_.fill(Qt::white);
    painter_.begin(&image_);
    painter_.setFont(QFont(QStringLiteral("Arial"), 8));
    painter_.setPen(curvePen_);
}

void TDiagramArea::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (size() == image_.size()) return;
    NewImage(size());
    if (model_) model_->SetSize(width(), height());
}

void TDiagramArea::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    p.drawImage(event->rect(), image_, event->rect());
}

void TDiagramArea::DrawAxes(const DiagramAxes& axes) {
    if (!painter_.isActive()) return;
    QPainter& p = painter_;
    const int w = image_.width(), h = image_.height();
    p.fillRect(image_.rect(), Qt::white);
    const QPen gridPen(QColor(200, 200, 200), 0, Qt::DotLine);
    const QPen axisPen(Qt::black, 0);
    const AxisRanges& r = axes.Ranges;
    const double scaleX = axes.Width / (r.Xmax - r.Xmin);
    const double scaleY = axes.Height / (r.Ymax - r.Ymin);
    const QFontMetrics metrics(p.font());

    const double stepX = TickStep(r.Xmax - r.Xmin);
    const int decimalsX = TickDecimals(stepX);
    for (double v = std::ceil(r.Xmin / stepX) * stepX; v <= r.Xmax + stepX * 1e-6; v += stepX) {
        const int x = static_cast<int>(std::lround((v - r.Xmin) * scaleX));
        if (!axes.HideGrid && x > 0 && x < w - 1) {
            p.setPen(gridPen);
            p.drawLine(x, 0, x, h - 1);
        }
        p.setPen(axisPen);
        p.drawLine(x, h - 1, x, h - 1 - kTickLength);
        if (x > 0 && x < w - 20) {
            p.drawText(x + 2, h - kTickLength - 2, QString::number(v, 'f', decimalsX));
        }
    }
    const int base = texts_.Base();
    const QString xCaption = AxisCaption(axes.X, axes.UnitSystem, base);
    const QString yCaption = AxisCaption(axes.Y, axes.UnitSystem, base);
    const int yCaptionRight = 6 + metrics.horizontalAdvance(yCaption);
    const int yCaptionBottom = metrics.height() + 4;
    const double stepY = TickStep(r.Ymax - r.Ymin);
    const int decimalsY = TickDecimals(stepY);
    for (double v = std::ceil(r.Ymin / stepY) * stepY; v <= r.Ymax + stepY * 1e-6; v += stepY) {
        const int y = h - static_cast<int>(std::lround((v - r.Ymin) * scaleY));
        if (!axes.HideGrid && y > 0 && y < h - 1) {
            p.setPen(gridPen);
            p.drawLine(0, y, w - 1, y);
        }
        p.setPen(axisPen);
        p.drawLine(0, y, kTickLength, y);
        if (y > 0 && y < h - metrics.height()) {
            // A label that would run into the axis caption stands to the caption's right.
            const int left = y - metrics.ascent() / 2 < yCaptionBottom ? yCaptionRight + 8
                                                                         : kTickLength + 2;
            p.drawText(left, y + metrics.ascent() / 2, QString::number(v, 'f', decimalsY));
        }
    }
    p.setPen(axisPen);
    p.drawRect(0, 0, w - 1, h - 1);
    p.drawText(w - metrics.horizontalAdvance(xCaption) - 6, h - metrics.height() - kTickLength - 4,
               xCaption);
    p.drawText(6, metrics.ascent() + 4, yCaption);
    p.setPen(curvePen_);
    redrawing_ = true;
}

void TDiagramArea::DrawPoint(int x, int y) {
    if (!painter_.isActive()) return;
    painter_.drawPoint(x, y);
    if (!redrawing_) update();
}

void TDiagramArea::DrawSegment(int x0, int y0, int x1, int y1) {
    if (!painter_.isActive()) return;
    painter_.drawLine(x0, y0, x1, y1);
    if (!redrawing_) update();
}

void TDiagramArea::DrawGuideLine(int x0, int y0, int x1, int y1) {
    if (!painter_.isActive()) return;
    painter_.setPen(QPen(QColor(0, 0, 192), 0, Qt::DashLine));
    painter_.drawLine(x0, y0, x1, y1);
    painter_.setPen(curvePen_);
    if (!redrawing_) update();
}

void TDiagramArea::DrawMark(int x, int y, DiagramMark mark) {
    if (!painter_.isActive()) return;
    QPainter& p = painter_;
    const int s = kMarkSize;
    const QRect box(x - s, y - s, 2 * s, 2 * s);
    switch (mark) {
        case DiagramMark::ModulusRange:
            p.setPen(QPen(QColor(0, 0, 192), 0));
            p.drawRect(box);
            break;
        case DiagramMark::Proof:
            p.setPen(QPen(QColor(192, 0, 0), 0));
            p.drawLine(x - s, y, x + s, y);
            p.drawLine(x, y - s, x, y + s);
            break;
        case DiagramMark::Yield: {
            p.setPen(QPen(QColor(0, 128, 0), 0));
            const QPoint diamond[] = {{x, y - s}, {x + s, y}, {x, y + s}, {x - s, y}};
            p.drawPolygon(diamond, 4);
            break;
        }
        case DiagramMark::Maximum:
            p.fillRect(box, QColor(192, 0, 0));
            break;
        case DiagramMark::Break:
            p.setPen(QPen(Qt::black, 0));
            p.drawLine(x - s, y - s, x + s, y + s);
            p.drawLine(x - s, y + s, x + s, y - s);
            break;
        case DiagramMark::PickedSample:
            // Drawn in XOR, so that drawing it again erases it (a cancelled pick).
            p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
            p.setPen(QPen(Qt::white, 0));
            p.drawRect(box);
            p.setCompositionMode(QPainter::CompositionMode_SourceOver);
            break;
        case DiagramMark::PickedPoint:
            p.setPen(QPen(QColor(0, 0, 192), 0));
            p.drawEllipse(QPoint(x, y), 3, 3);
            break;
    }
    p.setPen(curvePen_);
    if (!redrawing_) update();
}

void TDiagramArea::Finish() {
    redrawing_ = false;
    update();
}

void TDiagramArea::ArmMagnifier() {
    magnifierArmed_ = true;
    UpdateCursor();
}

void TDiagramArea::SetPickCursor(bool on) {
    pickCursor_ = on;
    UpdateCursor();
}

void TDiagramArea::UpdateCursor() {
    if (magnifierArmed_ || pickCursor_) {
        setCursor(Qt::CrossCursor);
    } else {
        unsetCursor();
    }
}

void TDiagramArea::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const QPoint pos = event->position().toPoint();
    if (magnifierArmed_) {
        banding_ = true;
        bandOrigin_ = pos;
        rubberBand_->setGeometry(QRect(pos, QSize()));
        rubberBand_->show();
        return;
    }
    if (Clicked) Clicked(pos.x(), pos.y());
}

void TDiagramArea::mouseMoveEvent(QMouseEvent* event) {
    if (!banding_) return;
    rubberBand_->setGeometry(QRect(bandOrigin_, event->position().toPoint()).normalized());
}

void TDiagramArea::mouseReleaseEvent(QMouseEvent* event) {
    if (!banding_ || event->button() != Qt::LeftButton) return;
    banding_ = false;
    rubberBand_->hide();
    magnifierArmed_ = false;
    UpdateCursor();
    const QPoint end = event->position().toPoint();
    const bool zoomed =
        model_ && model_->ApplyZoom(bandOrigin_.x(), bandOrigin_.y(), end.x(), end.y());
    if (MagnifierDone) MagnifierDone(zoomed);
}

}  // namespace quorvex
