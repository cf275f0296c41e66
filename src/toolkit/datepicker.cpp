#include "toolkit/datepicker.h"

#include "toolkit/msgbox.h"
#include "toolkit/seams.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QClipboard>
#include <QKeyEvent>
#include <QPointer>
#include <QScreen>
#include <QStyle>
#include <QToolButton>

namespace ui {

namespace {

const QChar kSeparator('/');
constexpr int kLargest[] = {31, 12, 9999};

bool isDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

}  // namespace

DatePicker::DatePicker(QWidget* parent, const QString& name) : QLineEdit(parent) {
    setObjectName(name);
    setContextMenuPolicy(Qt::NoContextMenu);
    setAcceptDrops(false);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    QAction* drop = addAction(style()->standardIcon(QStyle::SP_ArrowDown), TrailingPosition);
    connect(drop, &QAction::triggered, this, &DatePicker::openCalendar);
    // Qt's own button, kept out of the window's controls as Qt names its own.
    findChild<QToolButton*>()->setObjectName(QStringLiteral("qt_datepicker_drop"));
    setDate(ui::now().date());
}

QDate DatePicker::date() const {
    if (parts_[Year].size() != 4) {
        return {};
    }
    return {parts_[Year].toInt(), parts_[Month].toInt(), parts_[Day].toInt()};
}

void DatePicker::setDate(QDate date) {
    if (!typing_ && !dayTyped_ && date == this->date()) {
        return;
    }
    parts_[Day] = date.toString(QStringLiteral("dd"));
    parts_[Month] = date.toString(QStringLiteral("MM"));
    parts_[Year] = date.toString(QStringLiteral("yyyy"));
    typing_ = false;
    dayTyped_ = false;
    showParts();
}

void DatePicker::focusDay() {
    setFocus();
    finishPart();
    select(Day);
}

bool DatePicker::checkDate() {
    if (date().isValid()) {
        return true;
    }
    const QPointer<DatePicker> alive(this);
    msgBox(
        QStringLiteral("Tanggal ") + text() + QStringLiteral(" tidak ada! Isi tanggal yang benar!"),
        Buttons::Ok, Icon::Exclamation, QStringLiteral("Perhatian!"));
    if (alive) {
        focusDay();
    }
    return false;
}

// Keys the picker does not take (Enter, Esc, the window's shortcuts) go on to
// the window.
void DatePicker::keyPressEvent(QKeyEvent* event) {
    if (!editKey(event)) {
        event->ignore();
    }
}

bool DatePicker::editKey(const QKeyEvent* event) {
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    const int key = event->key();
    if (event->matches(QKeySequence::Copy)) {
        QApplication::clipboard()->setText(text());
        return true;
    }
    if (event->matches(QKeySequence::Paste)) {
        for (const QChar c : QApplication::clipboard()->text()) {
            type(c);
        }
        return true;
    }
    if (key == Qt::Key_F4 ||
        (modifiers == Qt::AltModifier && (key == Qt::Key_Down || key == Qt::Key_Up))) {
        openCalendar();
        return true;
    }
    if (modifiers != Qt::NoModifier && modifiers != Qt::ShiftModifier) {
        return false;
    }
    switch (key) {
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Home:
        case Qt::Key_End: {
            const int to = key == Qt::Key_Home  ? Day
                           : key == Qt::Key_End ? Year
                                                : part_ + (key == Qt::Key_Left ? -1 : 1);
            finishPart();
            select(qBound(int(Day), to, int(Year)));
            return true;
        }
        case Qt::Key_Up:
        case Qt::Key_Down:
            step(key == Qt::Key_Up ? 1 : -1);
            return true;
        case Qt::Key_Backspace:
        case Qt::Key_Delete:
            eraseDigit();
            return true;
        default:
            break;
    }
    // Any other character is taken: digits and separators type, the rest
    // is dropped.
    if (event->text().isEmpty() || !event->text().front().isPrint()) {
        return false;
    }
    for (const QChar c : event->text()) {
        type(c);
    }
    return true;
}

// A separator ends a part typed short ("5/3/2027"); one that follows a part
// typed whole is the one shown already.
void DatePicker::type(QChar c) {
    if (isDigit(c)) {
        typeDigit(c);
    } else if (typing_ && QStringLiteral("/.-").contains(c)) {
        nextPart();
    }
}

// A part is typed whole at its last digit, or as soon as no further digit
// could follow (a day from 4, a month from 2); typing then goes on in the
// next part.
void DatePicker::typeDigit(QChar digit) {
    if (!typing_) {
        parts_[part_].clear();
        typing_ = true;
    }
    QString& typed = parts_[part_];
    typed += digit;
    const bool whole = part_ == Year
                           ? typed.size() == 4
                           : typed.size() == 2 || typed.front().digitValue() > kLargest[part_] / 10;
    if (whole) {
        nextPart();
    } else {
        showParts();
    }
}

// Ends the part being typed and selects the next one.
void DatePicker::nextPart() {
    const bool dayTyped = part_ == Day;
    finishPart();
    dayTyped_ = dayTyped;
    select(qMin(part_ + 1, int(Year)));
}

void DatePicker::eraseDigit() {
    if (typing_) {
        parts_[part_].chop(1);
    } else {
        parts_[part_].clear();
        typing_ = true;
    }
    dayTyped_ = false;
    showParts();
}

// A day or month typed as one digit is shown with its leading zero; a year
// keeps the digits typed, so "26" stays no date rather than becoming 0026.
void DatePicker::finishPart() {
    if (typing_ && part_ != Year && parts_[part_].size() == 1) {
        parts_[part_].prepend(QLatin1Char('0'));
    }
    typing_ = false;
    dayTyped_ = false;
}

void DatePicker::step(int by) {
    finishPart();
    const int value = qBound(1, parts_[part_].toInt() + by, kLargest[part_]);
    parts_[part_] = QStringLiteral("%1").arg(value, part_ == Year ? 4 : 2, 10, QLatin1Char('0'));
    select(part_);
}

void DatePicker::select(int part) {
    part_ = part;
    showParts();
}

// The text as typed; the part being typed shows the cursor after its
// digits, any other part is selected. A text that is no date shows red, but
// for a day whose month is still to come.
void DatePicker::showParts() {
    setText(parts_[Day] + kSeparator + parts_[Month] + kSeparator + parts_[Year]);
    if (hasFocus()) {
        int start = 0;
        for (int p = Day; p < part_; ++p) {
            start += int(parts_[p].size()) + 1;
        }
        const int length = int(parts_[part_].size());
        if (typing_) {
            setCursorPosition(start + length);
        } else {
            setSelection(start, length);
        }
    }
    const bool wrong = !typing_ && !dayTyped_ && !date().isValid();
    QPalette colours = palette();
    colours.setColor(QPalette::Text,
                     wrong ? QColor(Qt::red) : QApplication::palette(this).color(QPalette::Text));
    setPalette(colours);
    setToolTip(wrong ? QStringLiteral("Tanggal ini tidak ada.") : QString());
}

void DatePicker::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        const int at = cursorPositionAt(event->position().toPoint());
        finishPart();
        select(qMin(int(text().left(at).count(kSeparator)), int(Year)));
    }
    event->accept();
}

// Dragging selects nothing more, and the middle button pastes nothing: a
// click selects one part, as the keys do.
void DatePicker::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
}

void DatePicker::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
}

void DatePicker::mouseDoubleClickEvent(QMouseEvent* event) {
    mousePressEvent(event);
}

void DatePicker::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    if (event->reason() == Qt::TabFocusReason) {
        select(Day);
    } else if (event->reason() == Qt::BacktabFocusReason) {
        select(Year);
    } else if (event->reason() != Qt::MouseFocusReason) {
        select(part_);
    }
}

void DatePicker::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    finishPart();
    showParts();
}

// The calendar opens on the date shown (today when the text is none), below
// the picker or above it at the screen's foot; a click or Enter on a day
// takes it, Esc leaves the date as it was.
void DatePicker::openCalendar() {
    finishPart();
    auto* calendar = new QCalendarWidget(this);
    calendar->setWindowFlags(Qt::Popup);
    calendar->setAttribute(Qt::WA_DeleteOnClose);
    calendar->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    calendar->setSelectedDate(date().isValid() ? date() : ui::now().date());
    const auto pick = [this, calendar](QDate picked) {
        calendar->close();
        setDate(picked);
    };
    connect(calendar, &QCalendarWidget::clicked, this, pick);
    connect(calendar, &QCalendarWidget::activated, this, pick);
    calendar->adjustSize();
    const QRect screen = this->screen()->availableGeometry();
    QPoint at = mapToGlobal(QPoint(0, height()));
    if (at.y() + calendar->height() > screen.bottom()) {
        at.setY(mapToGlobal(QPoint(0, 0)).y() - calendar->height());
    }
    at.setX(qMin(at.x(), screen.right() - calendar->width()));
    calendar->move(at);
    // The keys go to the calendar while it is open, Esc included.
    calendar->setFocus();
    calendar->show();
}

}  // namespace ui
