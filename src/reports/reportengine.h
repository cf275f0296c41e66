#pragma once

#include "db/database.h"

#include <QColor>
#include <QDate>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

#include <vector>

class QPainter;

// A small report engine: a report's design (sections of labels and bound
// fields placed in twips) is laid out as pages of positioned items before
// anything is painted, so the same pages go to the screen, a printer or a PDF.
namespace reports {

// A text in the report font (Arial, which resolves to Liberation Sans).
struct TextStyle {
    double pointSize = 8.25;
    bool bold = false;
    Qt::Alignment align = Qt::AlignLeft;
};

// A fixed label; "%D" (long date), "%p" (page) and "%P" (pages) are filled in.
struct ReportLabel {
    QString name;
    QString text;
    QRect tw;
    TextStyle style;
    int column = -1;  // the detail field whose column it heads, moved along with it
};

// A field bound to a column of the records.
struct ReportField {
    QString name;
    int column = 0;
    QRect tw;
    TextStyle style;
    bool money = false;  // the data format "#.##0"
    bool date = false;   // a stored date, printed dd/MM/yyyy
};

// Everything one printed report is made of. Section positions are twips
// inside the page margins.
struct ReportDesign {
    QString caption;  // of the report window
    int marginTw = 1440;
    int pageHeaderHeight = 0;
    QRect band;  // the grey rectangle behind the column labels
    std::vector<ReportLabel> pageHeader;
    int detailHeight = 0;
    std::vector<ReportField> detail;
    int lineLeft = 0;  // the line under every row, along the section's bottom
    int lineLength = 0;
    int pageFooterHeight = 0;
    std::vector<ReportLabel> pageFooter;
};

// One positioned thing on a page, in twips from the paper's top left corner.
struct PageItem {
    enum Kind { Text, Line, Rect };
    Kind kind = Text;
    QRect tw;  // a line runs from the top left corner along the width
    QString text;
    TextStyle style;
    QString name;  // the design's control name
};

using Page = std::vector<PageItem>;

// The grey of the band behind the column labels.
inline const QColor kBandColour{0xE0, 0xE0, 0xE0};

// The paper the reports are laid out on by default: A4 in landscape, in twips.
QSize landscapeA4Tw();

// Lays records out on pages of one paper size as they come in: page header
// and footer on every page, one detail row per record in the given order.
// No text is cut: a text wider than its field uses the free room up to the
// next field, a word still too wide widens its column on that page (the
// columns right of it move along as far as needed), and what remains wraps
// and grows the row.
// Only where each page starts is kept; a page's items are built when asked.
class ReportLayout {
public:
    ReportLayout(const ReportDesign& design, const QSize& paperTw, const QDate& today);

    // Takes the next records in print order and places them on pages.
    void add(std::vector<db::Row> records);
    // Ends the records: "%P" is filled from then on (until then it shows "...").
    void finish() { finished_ = true; }
    bool finished() const { return finished_; }

    // The pages begun so far; there is always at least one.
    int pageCount() const { return int(pages_.size()); }
    Page page(int index) const;
    const std::vector<db::Row>& records() const { return records_; }
    const QSize& paper() const { return paper_; }

private:
    // Where one detail column draws on a page, in design twips: the span its
    // widest word needs and the room its texts are drawn in.
    struct Column {
        int slotLeft = 0;
        int slotRight = 0;
        int roomLeft = 0;
        int roomRight = 0;
    };
    using Widths = std::vector<int>;  // the widest word of each column on a page
    struct PageSpan {
        size_t first = 0;
        size_t end = 0;
        Widths widths;
    };
    std::vector<Column> columns(const Widths& widths) const;
    QStringList texts(const db::Row& record) const;
    Widths widened(Widths widths, const QStringList& texts) const;
    int rowHeight(const QStringList& texts, const std::vector<Column>& cols) const;
    int pageHeight(const PageSpan& span, const std::vector<Column>& cols) const;
    // Returns the row's height.
    int placeRow(const db::Row& record, const std::vector<Column>& cols, int top, Page& page) const;
    void placeHeaders(const std::vector<Column>& cols, int number, Page& page) const;
    int stretch(const std::vector<Column>& cols) const;

    ReportDesign design_;
    QSize paper_;
    QString longDate_;
    Widths headings_;  // the width of each column's label
    std::vector<db::Row> records_;
    std::vector<PageSpan> pages_;
    int y_ = 0;  // where the next row goes on the last page
    bool finished_ = false;
};

// Lays all the records out at once (see ReportLayout).
std::vector<Page> layOut(const ReportDesign& design, const std::vector<db::Row>& records,
                         const QSize& paperTw, const QDate& today);

// The report's font for a style, sized in twips (one pixel per twip).
QFont reportFont(const TextStyle& style);

// Paints one page; the painter's device is the paper at the given resolution.
void paintPage(QPainter& painter, const Page& page, int dotsPerInch);

}  // namespace reports
