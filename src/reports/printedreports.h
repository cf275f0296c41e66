#pragma once

#include "reports/reportengine.h"
#include "reports/reportprint.h"

#include <QDialog>
#include <QPrinter>

#include <functional>
#include <vector>

class QAction;
class QLabel;
class QLineEdit;
class QTimer;
class QVBoxLayout;

namespace reports {

// The sales list of a period (report RptPenjualanPeriode2); its records are
// the rows of periodPayments().
const ReportDesign& periodReport();
// The menu list (report RptDaftarMenu2); its records are the rows of menuList().
const ReportDesign& menuReport();

// Hands out a report's records in print order a batch at a time: at most
// `limit` of those after `last` (none: from the first). Fewer than asked
// means there are no more; a source reports its own failures and then
// returns none.
using RecordSource = std::function<std::vector<db::Row>(const db::Row* last, int limit)>;

// A source of records already read.
RecordSource recordsOf(std::vector<db::Row> records);
// The payments of a period, read from the file db.txt names a page at a time.
RecordSource periodRecords(const QDate& start, const QDate& end);

class PageView;

// A report window: the pages of one report's records, maximized and laid out
// for A4 in landscape, from which the user prints on any printer or into a
// PDF file as often as wanted before closing it. Records are read and laid
// out a batch at a time while the first pages already show; only the pages
// on screen are painted.
class ReportPreview : public QDialog {
    Q_OBJECT
public:
    ReportPreview(const ReportDesign& design, RecordSource source, QWidget* parent);
    ~ReportPreview() override;

    // Prints the pages the printer's range and the page set choose (see
    // printPages), after reading the rest of the records; returns whether
    // all was printed.
    bool printTo(QPrinter* printer, PageSet set = PageSet::All);

    // The printer the Print button asks about and prints on.
    QPrinter* printer() { return &printer_; }
    QAction* printAction() const { return printAction_; }

    // Shows these records instead, read afresh from the first page on.
    void readAgain(RecordSource source);

    // Reads and lays out the rest of the records now.
    void finishLayout();
    const ReportLayout& layout() const { return layout_; }
    const std::vector<db::Row>& records() const { return layout_.records(); }

private:
    void startReading();
    bool layOutMore(qint64 budgetMs);
    void print();
    void buildToolBar(QVBoxLayout* box);
    void showPageNumber();

    const ReportDesign& design_;
    RecordSource source_;
    QPrinter printer_;
    ReportLayout layout_;
    PageView* view_ = nullptr;
    QTimer* reader_ = nullptr;
    QLineEdit* pageNumber_ = nullptr;
    QLabel* pageCount_ = nullptr;
    QAction* printAction_ = nullptr;
};

// Shows the report's one window with the records (modeless; it stays open
// after this returns), in front, and returns it; an open one reads afresh.
ReportPreview* showReport(const ReportDesign& design, RecordSource source, QWidget* parent);

}  // namespace reports
