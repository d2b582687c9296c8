// The printer side of the reports: the printer set-up, the print preview with its print
// button (the standard print dialog) and saving as PDF, over the one report painter.
#pragma once

#include <QString>
#include <functional>
#include <string>

class QPrinter;
class QWidget;

namespace quorvex {

struct ResultsReport;
struct ReportDiagram;

// Full page, so that the report's 0.1 mm units start at the corner of the paper.
void PrepareReportPrinter(QPrinter& printer);

// The printer set-up dialog on the program's printer; true on OK.
bool ShowPrinterSetup(QWidget* parent, QPrinter& printer);

// The print preview of the report; printing from it goes through the standard print
// dialog. The hourglass shows while pages are drawn.
void PreviewAndPrintReport(QWidget* parent, QPrinter& printer, const ResultsReport& report,
                           const ReportDiagram* diagram);

// Prints the report on the printer as it is set up (no dialog); false when it cannot start.
bool PrintReport(QPrinter& printer, const ResultsReport& report, const ReportDiagram* diagram);

// Text 825 naming the logo when the file is there but is no picture the reports can draw
// (an EMF or WMF file, a damaged picture); empty when the logo is drawn, missing or not named.
QString UndrawableLogoMessage(const std::string& logoFile, int textBase);

}  // namespace quorvex
