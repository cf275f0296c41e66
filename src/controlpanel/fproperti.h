#pragma once

#include "toolkit/form.h"

class QCheckBox;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace controlpanel {

// The access rights window "Data Akses Pengguna" for one user: the rights as
// a list of check boxes, those the user holds ticked (a click on an entry or
// Space ticks or clears it); "&Simpan" replaces his rights by the ticked ones.
class fProperti : public ui::Form {
    Q_OBJECT
public:
    explicit fProperti(const QString& userName, QWidget* parent = nullptr);

private:
    void buildControls();
    void InitForm(const QString& userName);
    void LoadUserRights();
    void MarkUserRights(const QStringList& held);
    void Check1_Click(bool ticked);
    // A click on an entry, or Space on the current one, ticks or clears it.
    void toggle(QListWidgetItem* item);
    void setAllTicks(bool ticked);
    void Command2_Click();
    QStringList tickedRights() const;
    void userNotFound();

    QLineEdit* Text1;
    QListWidget* List1;
    QCheckBox* Check1;
    QPushButton* Command2;
    QPushButton* Command1;
};

}  // namespace controlpanel
