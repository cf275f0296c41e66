#pragma once

#include "reports/reportengine.h"

#include <QPrintPreviewDialog>

#include <vector>

class QPrinter;

namespace reports {

// The sales list of a period (report RptPenjualanPeriode2); its records are
// the rows of periodPayments().
const ReportDesign& periodReport();
// The menu list (report RptDaftarMenu2); its records are the rows of menuList().
const ReportDesign& menuReport();

// A report window: the print preview of one report's records, maximized and in
// landscape, from which the user prints on any printer or into a PDF file.
class ReportPreview : public QPrintPreviewDialog {
    Q_OBJECT
public:
    ReportPreview(const ReportDesign& design, std::vector<db::Row> records, QWidget* parent);

    // Lays the records out for the printer's paper and paints every page.
    // A printer that cannot start or fails while printing is reported in a
    // message; returns whether everything was printed.
    bool printTo(QPrinter* printer);

    // The pages as laid out for the last paper printed or previewed.
    const std::vector<Page>& pages() const { return pages_; }
    const std::vector<db::Row>& records() const { return records_; }

private:
    const std::vector<Page>& pagesFor(const QSize& paperTw);

    const ReportDesign& design_;
    std::vector<db::Row> records_;
    std::vector<Page> pages_;
    QSize laidOutFor_;
};

// Opens a report window for the records (modeless; it stays open after this
// returns) and returns it.
ReportPreview* showReport(const ReportDesign& design, std::vector<db::Row> records,
                          QWidget* parent);

}  // namespace reports
