#pragma once

#include <QObject>
#include <QPointer>
#include <QStringList>

#include "toolkit/reportlist.h"

#include <functional>
#include <vector>

class QTreeView;
class QTreeWidget;

namespace reports {

// Fills a list. A QTreeWidget takes its rows a batch at a time, so the window
// stays usable while a long list fills: the first batch goes in at once, the
// rest follow from the event loop. A list over a RowModel takes them at once.
class ListFiller : public QObject {
    Q_OBJECT
public:
    explicit ListFiller(QTreeView* list);

    // Starts filling with these rows (dropping the rows of an unfinished
    // fill) and runs done once every row is in.
    void fill(std::vector<QStringList> rows, std::function<void()> done = {});
    // Fills a list over a RowModel with count rows the reader gives as they are shown.
    void fill(int count, ui::RowReader reader);
    // Drops the rows not appended yet.
    void stop();
    bool busy() const { return next_ < rows_.size(); }

    // Rows appended per batch.
    static constexpr size_t kBatch = 2000;

private:
    void appendBatch();

    QTreeView* view_;
    QPointer<QTreeWidget> list_;
    std::vector<QStringList> rows_;
    size_t next_ = 0;
    std::function<void()> done_;
    int generation_ = 0;
};

}  // namespace reports
