// The painter routine of the comparison diagram, shared by the editor's window, the printed
// report and the PDF.
#include "report/overlay_painter.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <array>
#include <cmath>

#include "evaluation/test_types.h"

namespace quorvex {
namespace {

QFont LabelFont(double height, bool bold) {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(height))));
    font.setBold(bold);
    return font;
}

QString Label(double value, int decimals) {
    return QString::number(value, 'f', decimals);
}

}  // namespace

OverlayStyle ScreenOverlayStyle() {
    OverlayStyle s;
    s.FramePen = 1;
    s.GridPen = 1;
    s.CurvePen = 1;
    s.TickLength = 4;
    s.LabelHeight = 11;
    s.TitleHeight = 12;
    s.LabelGap = 4;
    s.CurveOffsetStep = 10;
    s.XTitleAt = QPointF(0, 34);
    s.YTitleAt = QPointF(-62, 0);
    return s;
}

OverlayStyle PrintOverlayStyle() {
    OverlayStyle s;
    s.FramePen = 3;
    s.GridPen = 2;
    s.CurvePen = 3;
    s.TickLength = 15;
    s.LabelHeight = 35;
    s.TitleHeight = 40;
    s.LabelGap = 25;
    s.CurveOffsetStep = 10;
    // The x title stands at x = 1500, 80 below a frame whose left edge is at 340; the y title
    // 220 left of the frame, starting 350 below its top.
    s.XTitleAt = QPointF(1160, 80);
    s.YTitleAt = QPointF(-220, 350);
    return s;
}

OverlayLook OverlayLookOf(const ParameterSet& p, const QString& xTitle, const QString& yTitle) {
    OverlayLook look;
    look.HideGrid = p.HideGrid != 0;
    look.Coloured = p.PrintCurveColoured != 0;
    look.CurveOffset = p.CurveOffset != 0;
    look.XTitle = xTitle;
    look.YTitle = yTitle;
    return look;
}

OverlayLook OverlayLookIn(const ParameterSet& p, OverlayView view,
                          const std::function<QString(int)>& text) {
    constexpr int kStrain = 161, kFineStrain = 162, kStress = 164, kEnergy = 658;
    constexpr int kForceAxis = 885, kTravelAxis = 886, kCompression = 891, kTimeAxis = 892;
    const QString stress =
        text(kStress) + QLatin1Char(' ') + QString::fromStdString(StressUnit(p.UnitSystem));
    QString x, y = stress;
    switch (view) {
        case OverlayView::Strain:
            x = p.TestType == 9 ? text(kCompression) + QStringLiteral(" %") : text(kStrain);
            break;
        case OverlayView::FineStrain:
            x = text(kFineStrain);
            break;
        case OverlayView::ForceTravel:
            x = text(kTravelAxis);
            y = text(kForceAxis);
            break;
        case OverlayView::EnergyTravel:
            x = text(kTravelAxis);
            y = text(kEnergy) + QStringLiteral(" [J]");
            break;
        case OverlayView::ForceTime:
            x = text(kTimeAxis);
            y = text(kForceAxis);
            break;
    }
    return OverlayLookOf(p, x, y);
}

QColor OverlayCurveColour(int k, bool coloured) {
    static const std::array<QColor, 10> kColours = {
        QColor(0, 0, 0),     QColor(0, 0, 255),   QColor(128, 128, 0), QColor(0, 128, 0),
        QColor(255, 0, 0),   QColor(0, 128, 128), QColor(128, 0, 0),   QColor(0, 0, 128),
        QColor(0, 255, 0),   QColor(192, 192, 192)};
    if (!coloured || k < 1 || k > 10) return Qt::black;
    return kColours[static_cast<std::size_t>(k - 1)];
}

QPointF OverlayToFrame(const QRectF& frame, double xRange, double yRange, const OverlayPoint& p) {
    const double x = xRange > 0 ? frame.left() + p.X / xRange * frame.width() : frame.left();
    const double y = yRange > 0 ? frame.bottom() - p.Y / yRange * frame.height() : frame.bottom();
    return {x, y};
}

void PaintOverlayDiagram(QPainter& painter, const QRectF& frame, const OverlayDiagram& diagram,
                         const OverlayStyle& style, const OverlayLook& look) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    if (style.FillWhite) painter.fillRect(frame, Qt::white);

    // Grid lines (or ticks only) and the ten divisions of each axis.
    QPen gridPen(Qt::black, style.GridPen);
    gridPen.setCosmetic(false);
    painter.setPen(gridPen);
    for (int i = 1; i < 10; ++i) {
        const double x = frame.left() + frame.width() * i / 10.0;
        const double y = frame.bottom() - frame.height() * i / 10.0;
        if (!look.HideGrid) {
            painter.drawLine(QPointF(x, frame.top()), QPointF(x, frame.bottom()));
            painter.drawLine(QPointF(frame.left(), y), QPointF(frame.right(), y));
        }
    }
    QPen framePen(Qt::black, style.FramePen);
    painter.setPen(framePen);
    for (int i = 0; i <= 10; ++i) {
        const double x = frame.left() + frame.width() * i / 10.0;
        const double y = frame.bottom() - frame.height() * i / 10.0;
        if (style.TickLength > 0) {
            painter.drawLine(QPointF(x, frame.bottom()), QPointF(x, frame.bottom() + style.TickLength));
            painter.drawLine(QPointF(frame.left() - style.TickLength, y), QPointF(frame.left(), y));
        } else if (look.HideGrid && i > 0 && i < 10) {
            // Without outside ticks the hidden grid leaves short ticks inside the frame.
            const double tick = std::max(2.0, frame.height() / 80.0);
            painter.drawLine(QPointF(x, frame.bottom()), QPointF(x, frame.bottom() - tick));
            painter.drawLine(QPointF(frame.left(), y), QPointF(frame.left() + tick, y));
        }
    }
    painter.drawRect(frame);

    // Labels: x centred below the frame, y right-aligned beside it; both start at "0".
    const double xRange = diagram.XRange();
    const double yRange = diagram.YRange();
    const int xDecimals = OverlayDiagram::XLabelDecimals(xRange);
    const int yDecimals = OverlayDiagram::YLabelDecimals(yRange);
    painter.setFont(LabelFont(style.LabelHeight, false));
    const double labelBox = style.LabelHeight * 8;
    for (int i = 0; i <= 10; ++i) {
        const double x = frame.left() + frame.width() * i / 10.0;
        const QString xText = i == 0 ? QStringLiteral("0") : Label(xRange * i / 10.0, xDecimals);
        painter.drawText(QRectF(x - labelBox / 2, frame.bottom() + style.LabelGap, labelBox,
                                style.LabelHeight * 1.5),
                         Qt::AlignHCenter | Qt::AlignTop, xText);
        const double y = frame.bottom() - frame.height() * i / 10.0;
        const QString yText = i == 0 ? QStringLiteral("0") : Label(yRange * i / 10.0, yDecimals);
        painter.drawText(QRectF(frame.left() - style.LabelGap - labelBox,
                                y - style.LabelHeight * 0.75, labelBox, style.LabelHeight * 1.5),
                         Qt::AlignRight | Qt::AlignVCenter, yText);
    }

    // Titles, bold; the y title runs upwards.
    painter.setFont(LabelFont(style.TitleHeight, true));
    const QPointF xTitle = frame.bottomLeft() + style.XTitleAt;
    painter.drawText(QRectF(xTitle.x(), xTitle.y(), labelBox * 3, style.TitleHeight * 1.5),
                     Qt::AlignLeft | Qt::AlignTop, look.XTitle);
    painter.save();
    // The y title runs upwards from its start: it starts low enough that all of it stays beside
    // the frame, and none of it above the frame's top edge, where a window cuts it off.
    const double yTitleLength = painter.fontMetrics().horizontalAdvance(look.YTitle);
    QPointF yTitle = frame.topLeft() + style.YTitleAt;
    yTitle.setY(frame.top() +
                std::clamp(std::max(style.YTitleAt.y(), yTitleLength), 0.0, frame.height()));
    painter.translate(yTitle);
    painter.rotate(-90);
    painter.drawText(QRectF(0, 0, labelBox * 3, style.TitleHeight * 1.5),
                     Qt::AlignLeft | Qt::AlignTop, look.YTitle);
    painter.restore();

    // The curves in their colours, each shifted by its offset; a point outside the frame (or
    // beyond what a device coordinate holds) breaks the line.
    painter.setClipRect(frame.adjusted(-style.FramePen, -style.FramePen, style.FramePen,
                                       style.FramePen));
    painter.setRenderHint(QPainter::Antialiasing, true);
    constexpr double kLargestCoordinate = 32766;
    for (int k = 1; k <= diagram.CurveCount(); ++k) {
        if (!diagram.HasCurve(k)) continue;
        QPen pen(OverlayCurveColour(k, look.Coloured), style.CurvePen);
        painter.setPen(pen);
        const double shift = look.CurveOffset ? (k - 1) * style.CurveOffsetStep : 0.0;
        QPainterPath path;
        bool drawing = false;
        for (const OverlayPoint& v : diagram.Points(k)) {
            QPointF p = OverlayToFrame(frame, xRange, yRange, v);
            p.rx() += shift;
            const bool inside = std::isfinite(p.x()) && std::isfinite(p.y()) &&
                                std::fabs(p.x()) <= kLargestCoordinate &&
                                std::fabs(p.y()) <= kLargestCoordinate &&
                                p.x() >= frame.left() && p.x() <= frame.right() &&
                                p.y() >= frame.top() && p.y() <= frame.bottom();
            if (!inside) {
                drawing = false;
                continue;
            }
            if (drawing) {
                path.lineTo(p);
            } else {
                path.moveTo(p);
                drawing = true;
            }
        }
        painter.drawPath(path);
    }
    painter.restore();
}

}  // namespace quorvex
