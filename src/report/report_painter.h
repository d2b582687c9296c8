// Paints the printed report on any paged device: a printer, the print preview or a PDF file.
// One routine for all three, so that what is previewed is what is printed and mailed.
#pragma once

#include <QString>

#include "report/overlay_painter.h"
#include "report/report_content.h"

class QPagedPaintDevice;
class QPdfWriter;

namespace quorvex {

// The overlaid curves below the list of the selected tests (the diagram printout).
struct ReportDiagram {
    const OverlayDiagram* Diagram = nullptr;
    OverlayLook Look;
};

// Paints every page: page head, header block, column titles, the rows, then the statistics
// rows, or the diagram when one is given. The device is set to page units of 0.1 mm from the
// top-left corner of the paper. False when painting cannot start on the device.
bool PaintResultsReport(QPagedPaintDevice& device, const ResultsReport& report,
                        const ReportDiagram* diagram = nullptr);

// A4 portrait without margins, so that the page units start at the paper's corner.
void PrepareReportPdf(QPdfWriter& writer);

// Writes the report as a PDF file; false with a reason when it cannot be written.
bool WriteReportPdf(const QString& path, const ResultsReport& report,
                    const ReportDiagram* diagram, QString* error = nullptr);

}  // namespace quorvex
