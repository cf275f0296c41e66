#pragma once

#include <QDate>
#include <QLineEdit>

namespace ui {

// The program's date picker: dd/MM/yyyy, with a calendar that drops down
// from its button, F4 or Alt+Down. The day, month and year typed make one
// date: a day is checked against its month only once the month is typed, and
// a text that is no date of the calendar (31/11/2026) stays as typed, shown
// in red, until the user corrects it. Tab moves to the day, Shift+Tab to the
// year, a click to the part clicked, Left and Right from part to part; the
// part reached is selected, so digits typed replace it, and a part typed
// whole moves on to the next. Up and Down step the part; Tab leaves at once.
class DatePicker : public QLineEdit {
    Q_OBJECT
public:
    DatePicker(QWidget* parent, const QString& name);

    // The date shown; an invalid date while the text is none.
    QDate date() const;
    // Shows the date; the part that was selected stays selected.
    void setDate(QDate date);
    // Puts the focus on the picker with its day selected.
    void focusDay();
    // True when the text is a date; otherwise says so in a message box, puts
    // the focus back on the day and returns false.
    bool checkDate();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    enum Part { Day, Month, Year };

    bool editKey(const QKeyEvent* event);
    void type(QChar c);
    void typeDigit(QChar digit);
    void nextPart();
    void eraseDigit();
    void finishPart();
    void step(int by);
    void select(int part);
    void showParts();
    void openCalendar();

    QString parts_[3];  // day, month and year as shown
    int part_ = Day;    // the part selected or being typed
    // Digits went into part_ since it was selected, and more may follow.
    bool typing_ = false;
    // The day was just typed whole: the month typed next decides whether it
    // fits, so the text is not yet shown as wrong.
    bool dayTyped_ = false;
};

}  // namespace ui
