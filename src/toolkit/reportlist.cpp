#include "toolkit/reportlist.h"

#include "toolkit/keys.h"
#include "toolkit/twips.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QTimer>
#include <QTreeWidget>

#include <malloc.h>

#include <algorithm>
#include <memory>

namespace ui {

namespace {

// Rows read at a time, and the pages kept: a screen shows a few dozen rows.
constexpr int kPage = 256;
constexpr size_t kPagesKept = 40;

}  // namespace

// The rows go when the window closes, after this.
RowModel::~RowModel() {
    QTimer::singleShot(0, QCoreApplication::instance(), &giveMemoryBack);
}

void RowModel::setColumns(std::vector<Column> columns) {
    beginResetModel();
    columns_ = std::move(columns);
    held_.clear();
    count_ = 0;
    reader_ = nullptr;
    pages_.clear();
    readOrder_.clear();
    endResetModel();
}

void RowModel::setRows(std::vector<QStringList> rows) {
    beginResetModel();
    held_ = std::move(rows);
    count_ = int(held_.size());
    reader_ = nullptr;
    pages_.clear();
    readOrder_.clear();
    endResetModel();
}

void RowModel::setRows(int count, RowReader reader) {
    beginResetModel();
    held_.clear();
    count_ = count;
    reader_ = std::move(reader);
    pages_.clear();
    readOrder_.clear();
    endResetModel();
    if (count_ > 0) {
        wanted_ = {0};
        readWanted();
    }
}

int RowModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : count_;
}

int RowModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(columns_.size());
}

QVariant RowModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.column() >= columnCount()) {
        return {};
    }
    if (role == Qt::TextAlignmentRole) {
        return QVariant::fromValue(columns_[size_t(index.column())].align | Qt::AlignVCenter);
    }
    if (role == Qt::DecorationRole && index.column() == 0) {
        return rowIcon();
    }
    if (role != Qt::DisplayRole) {
        return {};
    }
    const QStringList* texts = row(index.row());
    return texts ? texts->value(index.column()) : QString();
}

QVariant RowModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount()) {
        return {};
    }
    if (role == Qt::DisplayRole) {
        return columns_[size_t(section)].caption;
    }
    if (role == Qt::TextAlignmentRole) {
        return QVariant::fromValue(columns_[size_t(section)].align | Qt::AlignVCenter);
    }
    return {};
}

// A page not read yet is read from the event loop, never while the view
// paints: reading may show a message.
const QStringList* RowModel::row(int r) const {
    if (!reader_) {
        return r < int(held_.size()) ? &held_[size_t(r)] : nullptr;
    }
    const auto page = pages_.find(r / kPage);
    if (page != pages_.end()) {
        const size_t at = size_t(r % kPage);
        return at < page->second.size() ? &page->second[at] : nullptr;
    }
    if (std::find(wanted_.begin(), wanted_.end(), r / kPage) == wanted_.end()) {
        if (wanted_.empty()) {
            QTimer::singleShot(0, const_cast<RowModel*>(this), &RowModel::readWanted);
        }
        wanted_.push_back(r / kPage);
    }
    return nullptr;
}

void RowModel::readPage(int page) {
    const int first = page * kPage;
    pages_[page] = reader_(first, std::min(kPage, count_ - first));
    readOrder_.push_back(page);
    if (readOrder_.size() > kPagesKept) {
        pages_.erase(readOrder_.front());
        readOrder_.pop_front();
    }
}

void RowModel::readWanted() {
    const std::vector<int> wanted = std::exchange(wanted_, {});
    for (int page : wanted) {
        if (!reader_ || pages_.count(page) || page * kPage >= count_) {
            continue;
        }
        readPage(page);
        const int last = std::min(count_, (page + 1) * kPage) - 1;
        Q_EMIT dataChanged(index(page * kPage, 0), index(last, columnCount() - 1));
    }
}

void giveMemoryBack() {
    malloc_trim(0);
}

QIcon rowIcon() {
    static const QIcon icon = [] {
        QPixmap pix(16, 16);
        pix.fill(Qt::transparent);
        QPainter p(&pix);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QColor(40, 80, 140));
        p.setBrush(QColor(120, 170, 230));
        p.drawRoundedRect(QRectF(2.5, 2.5, 11, 11), 2, 2);
        p.setPen(Qt::white);
        p.drawLine(5, 6, 11, 6);
        p.drawLine(5, 9, 11, 9);
        return QIcon(pix);
    }();
    return icon;
}

void setupList(QTreeView* list) {
    list->setRootIsDecorated(false);
    list->setItemsExpandable(false);
    list->setUniformRowHeights(true);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setAllColumnsShowFocus(true);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setIconSize(QSize(16, 16));
    list->header()->setStretchLastSection(false);
    list->header()->setSectionsMovable(false);
}

namespace {

void setItemColumns(QTreeWidget* list, const std::vector<Column>& columns) {
    list->clear();
    list->setColumnCount(int(columns.size()));
    QStringList captions;
    for (const Column& c : columns) {
        captions.append(c.caption);
    }
    list->setHeaderLabels(captions);
    for (int i = 0; i < int(columns.size()); ++i) {
        list->headerItem()->setTextAlignment(i, columns[size_t(i)].align | Qt::AlignVCenter);
    }
}

RowModel* rowModel(QTreeView* list) {
    auto* model = qobject_cast<RowModel*>(list->model());
    Q_ASSERT(model);
    return model;
}

}  // namespace

void setColumns(QTreeView* list, const std::vector<Column>& columns) {
    if (auto* items = qobject_cast<QTreeWidget*>(list)) {
        setItemColumns(items, columns);
    } else {
        auto* model = qobject_cast<RowModel*>(list->model());
        if (!model) {
            model = new RowModel(list);
            list->setModel(model);
        }
        model->setColumns(columns);
    }
    for (int i = 0; i < int(columns.size()); ++i) {
        list->setColumnWidth(i, toPx(columns[size_t(i)].widthTw));
        list->setColumnHidden(i, columns[size_t(i)].widthTw == 0);
    }
}

void setRows(QTreeView* list, std::vector<QStringList> rows) {
    rowModel(list)->setRows(std::move(rows));
}

void setRows(QTreeView* list, int count, RowReader reader) {
    rowModel(list)->setRows(count, std::move(reader));
}

namespace {

QTreeWidgetItem* newRow(const QTreeWidget* list, const QStringList& texts) {
    auto* item = new QTreeWidgetItem(texts);
    item->setIcon(0, rowIcon());
    const QTreeWidgetItem* header = list->headerItem();
    for (int i = 0; i < list->columnCount(); ++i) {
        item->setTextAlignment(i, Qt::Alignment(header->textAlignment(i)));
    }
    return item;
}

}  // namespace

QTreeWidgetItem* addRow(QTreeWidget* list, const QStringList& texts) {
    QTreeWidgetItem* item = newRow(list, texts);
    list->addTopLevelItem(item);
    return item;
}

void addRows(QTreeWidget* list, std::vector<QStringList>::const_iterator first,
             std::vector<QStringList>::const_iterator last) {
    QList<QTreeWidgetItem*> items;
    items.reserve(last - first);
    for (auto it = first; it != last; ++it) {
        items.append(newRow(list, *it));
    }
    list->addTopLevelItems(items);
}

QStringList rowTexts(const QTreeWidgetItem* item) {
    QStringList texts;
    if (!item) {
        return texts;
    }
    const int columns =
        item->treeWidget() ? item->treeWidget()->columnCount() : item->columnCount();
    for (int i = 0; i < columns; ++i) {
        texts.append(item->text(i));
    }
    return texts;
}

QStringList selectedRow(const QTreeWidget* list) {
    const QList<QTreeWidgetItem*> items = list->selectedItems();
    return items.isEmpty() ? QStringList() : rowTexts(items.first());
}

int rowCount(const QTreeView* list) {
    return list->model()->rowCount();
}

// The list reports a double-click only on a row; the windows act on one
// anywhere in the list, on an empty list too.
void onRowDoubleClick(QTreeWidget* list, std::function<void()> action, bool enterToo) {
    hookEvents(list->viewport(), [action](QEvent* event) {
        if (event->type() == QEvent::MouseButtonDblClick &&
            static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            action();
        }
        return false;
    });
    if (enterToo) {
        onEnter(list, action);
    }
}

void onRowClick(QTreeWidget* list, std::function<void()> action) {
    // A mouse press selects the row before the click: the click runs the
    // action then, so only keyboard selections run it here. Moving the focus
    // into the list makes a row current without selecting it: that chooses
    // nothing. Space on a row already selected changes no selection.
    auto pressed = std::make_shared<bool>(false);
    hookEvents(list->viewport(), [pressed](QEvent* event) {
        if (event->type() == QEvent::MouseButtonPress) {
            *pressed = true;
        } else if (event->type() == QEvent::MouseButtonRelease) {
            *pressed = false;
        }
        return false;
    });
    hookEvents(list, [list, action](QEvent* event) {
        if (event->type() == QEvent::KeyPress &&
            static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space && list->currentItem() &&
            list->currentItem()->isSelected()) {
            action();
        }
        return false;
    });
    QObject::connect(list, &QTreeWidget::itemSelectionChanged, list, [list, action, pressed] {
        if (!*pressed && !list->selectedItems().isEmpty()) {
            action();
        }
    });
    QObject::connect(list, &QTreeWidget::itemClicked, list,
                     [action](QTreeWidgetItem*, int) { action(); });
}

}  // namespace ui
