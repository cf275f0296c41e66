#include "reports/listfiller.h"

#include "toolkit/reportlist.h"

#include <QTimer>
#include <QTreeWidget>

namespace reports {

ListFiller::ListFiller(QTreeWidget* list) : QObject(list), list_(list) {}

void ListFiller::fill(std::vector<QStringList> rows, std::function<void()> done) {
    ++generation_;
    rows_ = std::move(rows);
    next_ = 0;
    done_ = std::move(done);
    appendBatch();
}

void ListFiller::stop() {
    ++generation_;
    rows_.clear();
    next_ = 0;
    done_ = nullptr;
}

void ListFiller::appendBatch() {
    if (!list_) {
        return;
    }
    const size_t end = std::min(rows_.size(), next_ + kBatch);
    ui::addRows(list_, rows_.begin() + qsizetype(next_), rows_.begin() + qsizetype(end));
    next_ = end;
    if (busy()) {
        const int generation = generation_;
        QTimer::singleShot(0, this, [this, generation] {
            if (generation == generation_) {
                appendBatch();
            }
        });
        return;
    }
    rows_.clear();
    next_ = 0;
    if (std::function<void()> done = std::move(done_)) {
        done_ = nullptr;
        done();
    }
}

}  // namespace reports
