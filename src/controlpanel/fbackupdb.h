#pragma once

#include "toolkit/form.h"

class QLineEdit;
class QPushButton;

namespace controlpanel {

// The dialog "Backup Database": copies the database to a file the user
// chooses.
class fBackupDB : public ui::Form {
    Q_OBJECT
public:
    explicit fBackupDB(QWidget* parent = nullptr);

private:
    void buildControls();
    void Command2_Click();  // "&Backup ke..."
    bool backUpTo(const QString& target);

    QLineEdit* Text1;  // the database path
    QLineEdit* Text2;  // the backup file
    QPushButton* Command2;
    QPushButton* Command1;
};

}  // namespace controlpanel
