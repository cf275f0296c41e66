#pragma once

#include <QObject>
#include <QPointer>
#include <QStringList>

#include <functional>
#include <vector>

class QTreeWidget;

namespace reports {

// Appends many rows to a list a batch at a time, so the window stays usable
// while a long list fills. The first batch goes in at once; the rest follow
// from the event loop.
class ListFiller : public QObject {
    Q_OBJECT
public:
    explicit ListFiller(QTreeWidget* list);

    // Starts filling with these rows (dropping the rows of an unfinished
    // fill) and runs done once every row is in.
    void fill(std::vector<QStringList> rows, std::function<void()> done = {});
    // Drops the rows not appended yet.
    void stop();
    bool busy() const { return next_ < rows_.size(); }

    // Rows appended per batch.
    static constexpr size_t kBatch = 2000;

private:
    void appendBatch();

    QPointer<QTreeWidget> list_;
    std::vector<QStringList> rows_;
    size_t next_ = 0;
    std::function<void()> done_;
    int generation_ = 0;
};

}  // namespace reports
