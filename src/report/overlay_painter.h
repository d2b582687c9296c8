// Draws the comparison diagram of the results editor with a QPainter, on the screen, on a
// printer page and into a PDF: one routine, in the units and geometry the caller gives.
#pragma once

#include <QColor>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <functional>

#include "report/overlay_diagram.h"

class QPainter;

namespace quorvex {

// Sizes in the painter's units (pixels on the screen, 0.1 mm on paper).
struct OverlayStyle {
    double FramePen = 1, GridPen = 1, CurvePen = 1;
    double TickLength = 0;   // ticks outside the frame
    double LabelHeight = 11; // axis labels
    double TitleHeight = 12; // axis titles, bold
    double LabelGap = 4;     // between the frame and the labels
    double CurveOffsetStep = 10;
    QPointF XTitleAt;        // from the bottom-left corner of the frame
    QPointF YTitleAt;        // from the top-left corner; the title runs upwards from there
    bool FillWhite = true;
};

OverlayStyle ScreenOverlayStyle();
OverlayStyle PrintOverlayStyle();

// What the parameter set and the language decide about the picture.
struct OverlayLook {
    bool HideGrid = false;
    bool Coloured = true;
    bool CurveOffset = false;
    QString XTitle, YTitle;
};

OverlayLook OverlayLookOf(const ParameterSet& p, const QString& xTitle, const QString& yTitle);
// The look of a view with its axis titles in a language: text(number) gives the numbered text
// of that language. The editor, its printout and quorvex-cli report share it.
OverlayLook OverlayLookIn(const ParameterSet& p, OverlayView view,
                          const std::function<QString(int)>& text);

// Colour of curve k (1-based): black, blue, olive, green, red, teal, maroon, navy, lime,
// silver; black when the colours are off or k lies outside 1-10.
QColor OverlayCurveColour(int k, bool coloured);

// Frame, grid or ticks, labels, titles and the curves inside `frame`; points outside the
// frame are left out.
void PaintOverlayDiagram(QPainter& painter, const QRectF& frame, const OverlayDiagram& diagram,
                         const OverlayStyle& style, const OverlayLook& look);

// The point of a curve value in the frame (before the offset of its curve).
QPointF OverlayToFrame(const QRectF& frame, double xRange, double yRange, const OverlayPoint& p);

}  // namespace quorvex
