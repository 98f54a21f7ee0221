#pragma once
// The printed report: laid out from the results data, not copied from the screen, so it
// holds the whole table and every legend entry however the window is sized or scrolled.

#include "results/causes_view.h"
#include "results/results_data.h"

#include <QDateTime>
#include <QString>

class QPagedPaintDevice;

namespace wf::ui {

// What the report says about the run besides its results.
struct ReportFacts {
    QString dataFile;
    double warrantyMean = 0, warrantySd = 0, burnIn = 0; // h
    QDateTime when;
};

// Paints the report on `device` (a PDF writer or a printer, set up by the caller) from
// its first page on: the caption, date, file and inputs, the whole results table, the
// three charts as vectors with their whole legends. Several pages where one is not
// enough; then the page by cause when it is given. false when the device cannot be painted on.
bool paintReport(QPagedPaintDevice& device, const ResultsData& r, const ReportFacts& facts,
                 const CausesView* causes = nullptr);

// The report as an A4 landscape PDF at `path`; false when it cannot be written.
bool writeReportPdf(const QString& path, const ResultsData& r, const ReportFacts& facts,
                    const CausesView* causes = nullptr);

} // namespace wf::ui
