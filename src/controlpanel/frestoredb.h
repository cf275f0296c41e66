#pragma once

#include "toolkit/form.h"

class QLineEdit;
class QPushButton;
class QToolButton;

namespace controlpanel {

// The dialog "Restore Database": replaces the database by a backup file the
// user chooses.
class fRestoreDB : public ui::Form {
    Q_OBJECT
public:
    explicit fRestoreDB(QWidget* parent = nullptr);

private:
    void buildControls();
    void Command3_Click();  // browse
    void Command1_Click();  // "Restore ke..."
    QString refusal(const QString& chosen) const;
    void inform(const QString& text, QWidget* focus = nullptr);

    QLineEdit* Text1;  // the database path
    QLineEdit* Text2;  // the file to restore from
    QToolButton* Command3;
    QPushButton* Command1;
    QPushButton* Command2;
};

}  // namespace controlpanel
