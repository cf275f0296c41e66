#pragma once

#include "reports/reportengine.h"

#include <vector>

class QPrinter;
class QWidget;

// Printing a report window's pages: the print dialog, the pages it chose,
// the copies, and a print that fails.
namespace reports {

// The odd or even pages only, by their numbers in the report.
enum class PageSet { All, Odd, Even };

// Asks in the print dialog where and what to print of `pageCount` pages: it
// offers the pages by number and the page on screen, and opens on all pages
// and one copy, as what an earlier print chose means nothing to this one.
// Returns whether the user pressed Print; `set` then holds the page set.
bool askPrinter(QPrinter& printer, int pageCount, PageSet& set, QWidget* parent);

// The pages to paint, numbered from 0, of `count` pages with `current` on
// screen: those the printer's range names (all, some by number, or the page
// on screen) that are in the set, the last first when asked, and the copies
// a printer that cannot make them itself leaves to us.
std::vector<int> chosenPages(const QPrinter& printer, PageSet set, int current, int count);

// Prints the chosen pages of the layout as they show on screen, landscape
// on any paper (shrunk when the paper is smaller than the page), and leaves
// none of the choosing to the print system as well. A printer that cannot
// start, fails, or whose queue refuses the job is reported in a message;
// returns whether all was printed.
bool printPages(const ReportLayout& layout, QPrinter& printer, PageSet set, int current);

}  // namespace reports
