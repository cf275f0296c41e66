#include "reports/listfiller.h"

#include "toolkit/reportlist.h"

#include <QTimer>
#include <QTreeWidget>

namespace reports {

ListFiller::ListFiller(QTreeView* list)
    : QObject(list), view_(list), list_(qobject_cast<QTreeWidget*>(list)) {}

void ListFiller::fill(std::vector<QStringList> rows, std::function<void()> done) {
    if (!list_) {
        stop();
        ui::setRows(view_, std::move(rows));
        if (done) {
            done();
        }
        return;
    }
    ++generation_;
    rows_ = std::move(rows);
    next_ = 0;
    done_ = std::move(done);
    appendBatch();
}

void ListFiller::fill(int count, ui::RowReader reader) {
    stop();
    ui::setRows(view_, count, std::move(reader));
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
