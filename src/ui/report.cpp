#include "ui/report.h"

#include "format/messages.h"
#include "format/number_format.h"
#include "ui/chart_builder.h"

#include <QChart>
#include <QCoreApplication>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QGraphicsScene>
#include <QLegend>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>

namespace wf::ui {

namespace {

// Coordinates of the layout: 1/96 inch, the screen's pixel, so the charts' fonts (given in
// points) and their geometry keep the proportions they have on screen.
constexpr double kUnitDpi = 96;

QFont pixelFont(double px, bool bold = false) {
    QFont f;
    f.setPixelSize(std::max(1, int(px)));
    f.setBold(bold);
    return f;
}

class Layout {
public:
    Layout(QPagedPaintDevice& device, QPainter& painter)
        : device_(device)
        , p_(painter) {
        const double k = device.logicalDpiX() / kUnitDpi;
        p_.scale(k, k);
        const QRectF px = device.pageLayout().paintRectPixels(device.logicalDpiX());
        page_ = QRectF(0, 0, px.width() / k, px.height() / k);
        y_ = 0;
    }

    double room() const { return page_.bottom() - y_; }
    double width() const { return page_.width(); }
    double y() const { return y_; }
    void advance(double h) { y_ += h; }

    void newPage() {
        device_.newPage();
        y_ = 0;
    }

    void line(const QString& text, const QFont& font) {
        p_.setFont(font);
        p_.setPen(Qt::black);
        const QFontMetricsF fm(font);
        p_.drawText(QPointF(0, y_ + fm.ascent()), text);
        y_ += fm.lineSpacing();
    }

    // Every column of `rows` (the first the heading); the font shrinks until they fit the width.
    void table(const std::vector<std::vector<QString>>& rows) {
        const std::size_t columns = rows.empty() ? 0 : rows[0].size();
        const auto cell = [&rows](std::size_t row, std::size_t c) {
            return c < rows[row].size() ? rows[row][c] : QString();
        };
        double px = 11;
        std::vector<double> widths;
        for (;; px -= 0.5) {
            widths.assign(columns, 0);
            const QFontMetricsF fm(pixelFont(px, true));
            for (std::size_t c = 0; c < columns; ++c)
                for (std::size_t row = 0; row < rows.size(); ++row)
                    for (const QString& l : cell(row, c).split('\n'))
                        widths[c] = std::max(widths[c], fm.horizontalAdvance(l.trimmed()) + px);
            double total = 0;
            for (double w : widths) total += w;
            if (total <= width() || px <= 5) break;
        }
        const QFont plain = pixelFont(px), bold = pixelFont(px, true);
        const double lineH = QFontMetricsF(bold).lineSpacing();
        for (std::size_t row = 0; row < rows.size(); ++row) {
            int lines = 1;
            for (std::size_t c = 0; c < columns; ++c)
                lines = std::max<int>(lines, cell(row, c).count('\n') + 1);
            const double h = lines * lineH + px * 0.4;
            if (room() < h) newPage();
            double x = 0;
            for (std::size_t c = 0; c < columns; ++c) {
                const QRectF box(x, y_, widths[c], h);
                if (row == 0) p_.fillRect(box, QColor(0xEE, 0xEE, 0xEE));
                p_.setPen(QPen(Qt::gray, 0.5));
                p_.drawRect(box);
                p_.setPen(Qt::black);
                p_.setFont(row == 0 || c == 0 ? bold : plain);
                p_.drawText(box.adjusted(px / 2, 0, -px / 4, 0), Qt::AlignVCenter | Qt::AlignLeft,
                            cell(row, c).trimmed());
                x += widths[c];
            }
            y_ += h;
        }
    }

    // Text wrapped to the page's width.
    void paragraph(const QString& text, const QFont& font) {
        p_.setFont(font);
        p_.setPen(Qt::black);
        const QRectF area(0, y_, width(), room());
        const QRectF used = p_.boundingRect(area, Qt::TextWordWrap, text);
        if (used.height() > room()) newPage();
        p_.drawText(QRectF(0, y_, width(), used.height()), Qt::TextWordWrap, text);
        y_ += used.height();
    }

    // The chart drawn by the window's own code into `box`, its legend beside it in columns
    // wide enough for every text.
    void chart(const ChartData& d, const ChartOptions& o, const QRectF& box) {
        QGraphicsScene scene;
        auto* chart = new QChart;
        scene.addItem(chart);
        ChartOptions own = o;
        own.ownLegend = true;
        // The legend's texts from the data (what fillChart lists), to size the chart once.
        QStringList texts;
        for (const SeriesData& sd : d.series)
            if (sd.active && sd.inLegend && !sd.title.isEmpty() && !sd.points.empty())
                texts << sd.title;
        const QFont font = pixelFont(10);
        const QFontMetricsF fm(font);
        double textW = 0;
        for (const QString& t : texts) textW = std::max(textW, fm.horizontalAdvance(t));
        const double entryW = textW + 36, entryH = fm.lineSpacing() + 2;
        const int perColumn = std::max(1, int(box.height() / entryH));
        const int columns = int((texts.size() + perColumn - 1) / perColumn);
        const double legendW = std::min(box.width() / 2, columns * entryW);
        const QRectF chartBox(box.left(), box.top(), box.width() - legendW, box.height());
        chart->resize(chartBox.size());
        chart->setBackgroundRoundness(0);
        fillChart(chart, d, own);
        // The scene lays the chart out when events run; its titles then wrap to its width.
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
        scene.setSceneRect(chart->rect());
        // Vectors: the scene paints through the device's own engine.
        scene.render(&p_, chartBox, chart->rect());
        const std::vector<LegendEntry> probe = legendEntries(chart);
        p_.setFont(font);
        for (std::size_t i = 0; i < probe.size(); ++i) {
            const int col = int(i) / perColumn, row = int(i) % perColumn;
            const double x = chartBox.right() + col * entryW, y = box.top() + row * entryH;
            paintLegendIcon(p_, QRectF(x + 2, y + 2, 28, entryH - 4), probe[i]);
            p_.setPen(Qt::black);
            p_.drawText(QRectF(x + 32, y, entryW - 32, entryH), Qt::AlignVCenter | Qt::AlignLeft,
                        probe[i].text);
        }
    }

private:
    QPagedPaintDevice& device_;
    QPainter& p_;
    QRectF page_;
    double y_ = 0;
};

} // namespace

bool paintReport(QPagedPaintDevice& device, const ResultsData& r, const ReportFacts& f,
                 const CausesView* causes) {
    QPainter painter;
    if (!painter.begin(&device)) return false;
    painter.setRenderHint(QPainter::Antialiasing);
    Layout page(device, painter);
    page.line(msg::reportTitle, pixelFont(18, true));
    page.line(r.caption, pixelFont(15, true));
    const QFont small = pixelFont(11);
    page.line(msg::reportWhen(QLocale().toString(f.when, QStringLiteral("dd.MM.yyyy HH:mm:ss"))),
              small);
    page.line(msg::reportFile(QFileInfo(f.dataFile).fileName()), small);
    page.line(msg::reportInputs(fmt::general(f.warrantyMean), fmt::general(f.warrantySd),
                                fmt::general(f.burnIn)),
              small);
    page.advance(6);
    // The grid's columns up to the data column: the others are empty.
    const int last = std::clamp(r.dataColumn, 0, kResultColumns - 1);
    std::vector<std::vector<QString>> rows = trimmedRows(r);
    for (auto& row : rows) row.resize(std::min(row.size(), std::size_t(last + 1)));
    page.table(rows);
    page.advance(10);

    ChartOptions totals;
    totals.rightRange = std::make_pair(0.0, 100.0);
    // The ln chart and the totals beside each other below the table where there is room,
    // the flow chart on a page of its own, as large as the window shows it.
    if (page.room() < 300) page.newPage();
    const double half = page.width() / 2;
    const QRectF lower(0, page.y(), half - 6, page.room());
    page.chart(r.chart3, ChartOptions{}, lower);
    page.chart(r.chart2, totals, lower.translated(half + 6, 0));
    page.newPage();
    ChartOptions rates;
    rates.legend = true;
    page.chart(r.chart1, rates, QRectF(0, 0, page.width(), page.room()));
    if (causes) {
        page.newPage();
        page.line(msg::causesTitle, pixelFont(15, true));
        page.advance(4);
        page.table(causes->table);
        page.advance(6);
        for (const QString& note : causes->notes) page.paragraph(note, pixelFont(10));
        page.advance(10);
        if (page.room() < 300) page.newPage();
        page.chart(causes->chart, ChartOptions{}, QRectF(0, page.y(), page.width(), page.room()));
    }
    return painter.end();
}

bool writeReportPdf(const QString& path, const ResultsData& r, const ReportFacts& facts,
                    const CausesView* causes) {
    QPdfWriter pdf(path);
    pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape,
                                  QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
    pdf.setResolution(int(kUnitDpi));
    pdf.setTitle(msg::reportTitle);
    pdf.setCreator(QStringLiteral("weibflow"));
    return paintReport(pdf, r, facts, causes);
}

} // namespace wf::ui
