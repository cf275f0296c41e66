#pragma once

#include "db/database.h"

#include <QColor>
#include <QDate>
#include <QRect>
#include <QSize>
#include <QString>

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
};

// A field bound to a column of the records.
struct ReportField {
    QString name;
    int column = 0;
    QRect tw;
    TextStyle style;
    bool money = false;  // the data format "#.##0"
    bool date = false;   // a stored date, printed dd/MM/yyyy
    bool grows = false;  // grows downwards when the text needs more lines
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

// Lays the records out on pages of the given paper size: page header and
// footer on every page, one detail row per record in the given order, "%D"
// filled with today's date. There is always at least one page.
std::vector<Page> layOut(const ReportDesign& design, const std::vector<db::Row>& records,
                         const QSize& paperTw, const QDate& today);

// The report's font for a style, sized in twips (one pixel per twip).
QFont reportFont(const TextStyle& style);

// Paints one page; the painter's device is the paper at the given resolution.
void paintPage(QPainter& painter, const Page& page, int dotsPerInch);

}  // namespace reports
