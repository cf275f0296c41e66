#include "toolkit/reportlist.h"

#include "toolkit/keys.h"
#include "toolkit/twips.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QTreeWidget>

#include <memory>

namespace ui {

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

void setupList(QTreeWidget* list) {
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

void setColumns(QTreeWidget* list, const std::vector<Column>& columns) {
    list->clear();
    list->setColumnCount(int(columns.size()));
    QStringList captions;
    for (const Column& c : columns) {
        captions.append(c.caption);
    }
    list->setHeaderLabels(captions);
    for (int i = 0; i < int(columns.size()); ++i) {
        list->setColumnWidth(i, toPx(columns[size_t(i)].widthTw));
        list->setColumnHidden(i, columns[size_t(i)].widthTw == 0);
        list->headerItem()->setTextAlignment(i, columns[size_t(i)].align | Qt::AlignVCenter);
    }
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

int rowCount(const QTreeWidget* list) {
    return list->topLevelItemCount();
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
