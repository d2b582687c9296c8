// Draws the report in 0.1 mm page units: y is stored negative (upwards from the top edge) as
// the layout describes it and turned into a downward device coordinate here only.
#include "report/report_painter.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>

namespace quorvex {
namespace {

using namespace report_page;

class PagePainter {
  public:
    explicit PagePainter(QPainter& painter) : p_(painter) {}

    void Font(int height, bool bold = false) {
        QFont font(QStringLiteral("Arial"));
        font.setPixelSize(std::max(1, height));
        font.setBold(bold);
        p_.setFont(font);
        height_ = height;
    }
    void Pen(int width, const QColor& colour = Qt::black) { p_.setPen(QPen(colour, width)); }

    // Text with its top-left corner at (x, y).
    void Left(int x, int y, const QString& text) {
        p_.drawText(QRectF(x, -y, 4000, height_ * 1.5), Qt::AlignLeft | Qt::AlignTop, text);
    }
    // Text ending at x.
    void Right(int x, int y, const QString& text) {
        p_.drawText(QRectF(x - 4000, -y, 4000, height_ * 1.5), Qt::AlignRight | Qt::AlignTop,
                    text);
    }
    // Text centred between left and right.
    void Centre(int left, int right, int y, const QString& text) {
        const double middle = (left + right) / 2.0;
        p_.drawText(QRectF(middle - 2000, -y, 4000, height_ * 1.5),
                    Qt::AlignHCenter | Qt::AlignTop, text);
    }
    void Line(int x1, int y1, int x2, int y2) { p_.drawLine(QPointF(x1, -y1), QPointF(x2, -y2)); }

    QPainter& Painter() { return p_; }

  private:
    QPainter& p_;
    int height_ = 35;
};

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

void PageHead(PagePainter& pp, const ResultsReport& r) {
    pp.Pen(3);
    pp.Painter().setBrush(Qt::NoBrush);
    pp.Painter().drawRect(QRectF(kLeft, -kHeadTop, kRight - kLeft, kHeadTop - kHeadBottom));
    pp.Line(1320, kHeadTop, 1320, kHeadBottom);
    pp.Line(1320, -220, kRight, -220);
    int textColumn = 120;
    // A missing or unreadable logo only leaves the logo out.
    const QString logoFile = Q(r.LogoFile).trimmed();
    if (!logoFile.isEmpty() && QFileInfo(logoFile).isFile()) {
        const QImage logo(logoFile);
        if (!logo.isNull()) {
            pp.Painter().drawImage(QRectF(104, 104, 400, 188), logo);
            pp.Line(504, kHeadTop, 504, kHeadBottom);
            textColumn = 520;
        }
    }
    pp.Font(35, true);
    pp.Left(textColumn, -110, Q(r.TitleLines[0]));
    pp.Font(50);
    pp.Left(1340, -140, Q(r.Heading));
    pp.Font(35);
    pp.Left(1340, -235, Q(r.DateLabel));
    pp.Left(1490, -235, Q(r.Date));
    const int lineY[3] = {-165, -205, -245};
    for (int i = 1; i < 4; ++i) pp.Left(textColumn, lineY[i - 1], Q(r.TitleLines[static_cast<std::size_t>(i)]));
    if (r.PrintFootnote) {
        pp.Line(kLeft, kFootnoteLine, kRight, kFootnoteLine);
        pp.Left(120, -2720, Q(r.Footnote));
    }
}

void HeaderBlock(PagePainter& pp, const ResultsReport& r, const ReportPlan& plan) {
    pp.Font(35);
    pp.Pen(3);
    int i = 0;
    for (const auto& [label, value] : r.HeaderLines) {
        ++i;
        const int y = kHeadBottom - 40 * i;
        pp.Left(140, y, Q(label));
        pp.Left(820, y, QStringLiteral(":"));
        pp.Left(840, y, Q(value));
    }
    if (plan.HeaderRuleY != 0) pp.Line(kLeft, plan.HeaderRuleY, kRight, plan.HeaderRuleY);
}

void ColumnTitles(PagePainter& pp, const ResultsReport& r, int y) {
    const int h = r.Layout.FontHeight;
    const auto& P = r.Layout.P;
    pp.Font(h);
    pp.Pen(3);
    pp.Left(P[0], y, Q(r.NumberTitle));
    pp.Left(P[1], y, Q(r.SpecimenTitle));
    for (const ReportColumnTitle& c : r.Columns) {
        pp.Centre(c.Left, c.Right, y, Q(c.Name));
        pp.Centre(c.Left, c.Right, y - (h + 10), Q(c.Unit));
    }
    if (r.PrintRemark) pp.Left(r.RemarkX, y, Q(r.RemarkTitle));
    pp.Line(kLeft, y - (2 * h + 20), kRight, y - (2 * h + 20));
}

void Row(PagePainter& pp, const ResultsReport& r, const ReportRow& row, int y, bool coloured) {
    const auto& P = r.Layout.P;
    pp.Font(r.Layout.FontHeight);
    pp.Pen(3, coloured ? OverlayCurveColour(row.Colour, true) : QColor(Qt::black));
    pp.Left(P[0], y, Q(row.Number));
    pp.Left(P[1], y, Q(row.SpecimenNo));
    for (std::size_t k = 0; k < row.Cells.size() && k < r.Columns.size(); ++k) {
        pp.Right(r.Columns[k].Right - 10, y, Q(row.Cells[k]));
    }
    if (r.PrintRemark) pp.Left(r.RemarkX, y, Q(row.Remark));
}

}  // namespace

bool PaintResultsReport(QPagedPaintDevice& device, const ResultsReport& report,
                        const ReportDiagram* diagram) {
    const bool withDiagram = diagram && diagram->Diagram;
    const ReportPlan plan = PlanResultsReport(report, withDiagram);
    QPainter painter;
    if (!painter.begin(&device)) return false;
    // Page units of 0.1 mm.
    painter.scale(device.logicalDpiX() / 254.0, device.logicalDpiY() / 254.0);
    PagePainter pp(painter);
    const int rowStep = report.Layout.FontHeight + 20;
    std::size_t nextRow = 0;
    ReportRow streamed;
    for (int page = 0; page < plan.Pages; ++page) {
        if (page > 0 && !device.newPage()) {
            painter.end();
            return false;
        }
        PageHead(pp, report);
        if (page == 0) HeaderBlock(pp, report, plan);
        for (const ReportPlacement& t : plan.Titles) {
            if (t.Page == page) ColumnTitles(pp, report, t.Y);
        }
        // The rows are planned page by page: each page takes up where the last one ended.
        for (; nextRow < plan.Rows.size() && plan.Rows[nextRow].Page <= page; ++nextRow) {
            if (report.StreamedRow) {
                streamed = {};
                if (!report.StreamedRow(nextRow, streamed)) {
                    painter.end();
                    return false;
                }
            }
            const ReportRow& row = report.StreamedRow ? streamed : report.Rows[nextRow];
            Row(pp, report, row, plan.Rows[nextRow].Y, row.Colour > 0);
        }
        pp.Pen(3);
        if (plan.RuleAfterRows.Page == page && report.RowCount() > 0) {
            pp.Line(kLeft, plan.RuleAfterRows.Y, kRight, plan.RuleAfterRows.Y);
        }
        if (!withDiagram && !report.Statistics.empty() && plan.Statistics.Page == page) {
            pp.Font(report.Layout.FontHeight);
            pp.Pen(3);
            int y = plan.Statistics.Y;
            for (const StatisticsRow& s : report.Statistics) {
                pp.Left(report.Layout.P[0], y, Q(s.Label));
                for (std::size_t k = 0; k < s.Cells.size() && k < report.Columns.size(); ++k) {
                    pp.Right(report.Columns[k].Right - 10, y, Q(s.Cells[k]));
                }
                y -= rowStep;
            }
        }
        if (withDiagram && plan.Diagram.Page == page) {
            const QRectF frame(kDiagramLeft, -plan.Diagram.Y, kDiagramWidth, kDiagramHeight);
            PaintOverlayDiagram(painter, frame, *diagram->Diagram, PrintOverlayStyle(),
                                diagram->Look);
        }
    }
    painter.end();
    return true;
}

void PrepareReportPdf(QPdfWriter& writer) {
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(0, 0, 0, 0)));
    writer.setResolution(600);
    writer.setCreator(QStringLiteral("Quorvex"));
}

bool WriteReportPdf(const QString& path, const ResultsReport& report,
                    const ReportDiagram* diagram, QString* error) {
    // The file is written beside its final name and renamed, so that a failed report never
    // replaces an earlier one by half a file.
    const QString partial = path + QStringLiteral(".part");
    bool painted = false;
    {
        QPdfWriter writer(partial);
        PrepareReportPdf(writer);
        painted = PaintResultsReport(writer, report, diagram);
    }
    if (!painted || !QFileInfo(partial).isFile()) {
        QFile::remove(partial);
        if (error) *error = QStringLiteral("cannot write \"%1\"").arg(path);
        return false;
    }
    QFile::remove(path);
    if (!QFile::rename(partial, path)) {
        QFile::remove(partial);
        if (error) *error = QStringLiteral("cannot write \"%1\"").arg(path);
        return false;
    }
    return true;
}

}  // namespace quorvex
