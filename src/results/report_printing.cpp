// Printer set-up, preview and printing of the reports through Qt Print Support.
#include "results/report_printing.h"

#include <QApplication>
#include <QPageSetupDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include "report/report_logo.h"
#include "report/report_painter.h"
#include "ui/text_table.h"

namespace quorvex {

void PrepareReportPrinter(QPrinter& printer) {
    printer.setFullPage(true);
}

bool ShowPrinterSetup(QWidget* parent, QPrinter& printer) {
    QPageSetupDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

bool PrintReport(QPrinter& printer, const ResultsReport& report, const ReportDiagram* diagram) {
    PrepareReportPrinter(printer);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool printed = PaintResultsReport(printer, report, diagram);
    QApplication::restoreOverrideCursor();
    return printed;
}

void PreviewAndPrintReport(QWidget* parent, QPrinter& printer, const ResultsReport& report,
                           const ReportDiagram* diagram) {
    PrepareReportPrinter(printer);
    QPrintPreviewDialog preview(&printer, parent);
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                     [&](QPrinter* target) { PrintReport(*target, report, diagram); });
    preview.exec();
}

QString UndrawableLogoMessage(const std::string& logoFile, int textBase) {
    constexpr int kTextLogoNotDrawable = 825;
    if (CheckLogo(logoFile) != LogoCheck::NotDrawable) return {};
    return LoadText(kTextLogoNotDrawable, textBase).arg(QString::fromStdString(logoFile).trimmed());
}

}  // namespace quorvex
