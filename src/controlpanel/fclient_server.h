#pragma once

#include "toolkit/form.h"

class QLineEdit;
class QPushButton;
class QToolButton;

namespace controlpanel {

// The dialog "Setting Database": where this workstation's database file
// lies, the install folder's own or one shared by another computer. Saving
// rewrites db.txt; the next database action of any window uses it.
class fClient_Server : public ui::Form {
    Q_OBJECT
public:
    explicit fClient_Server(QWidget* parent = nullptr);

    // Shows the path that db.txt names now.
    void ShowDbLocation();
    // Checks the path in the box and writes it to db.txt.
    void SaveDbLocation();

private:
    void buildControls();
    void Command1_Click();  // browse
    void Command4_Click();  // "&Default"

    QLineEdit* Text1;
    QToolButton* Command1;
    QPushButton* Command4;
    QPushButton* Command3;
    QPushButton* Command2;
};

}  // namespace controlpanel
