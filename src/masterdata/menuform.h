#pragma once

#include "masterdata/masterqueries.h"
#include "toolkit/form.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QToolButton;
class QTreeWidget;

namespace masterdata {

// The menu item window: lists every item with its category and unit, adds
// items and changes an item loaded by double-click. Category and unit come
// from the pickers; Enter in the code or name box searches. Every activation
// clears the window and reloads the list.
class fMenu : public ui::Form {
    Q_OBJECT
public:
    fMenu();

    // The category and unit to store, written by the pickers.
    qint64 CategoryId = 0;
    qint64 UnitId = 0;

    void activated() override;

protected:
    void relayout(ui::TwLayout& l) override;

private:
    void buildInputArea(QWidget* frame1);
    void buildList(QWidget* frame1);
    void connectKeys();

    void SetColumnHeaders();
    void ClearInput();
    void FillList();
    void showRows(const std::vector<QStringList>& rows);
    void setRecordLabel(const QString& text);
    void ListView1_DblClick();
    void LookUpCategoryAndUnitIds(db::Connection& c);
    void save();
    void refuse(const QString& message, QWidget* focus);
    MenuValues values() const;
    void InsertData();
    void UpdateData();
    void refresh();
    void pickCategory();
    void pickUnit();
    void search(MenuColumn column, const QString& text);
    void SearchByCode();
    void SearchByName();

    // The id of the item loaded for change; 0 when the next save inserts.
    qint64 MenuId = 0;
    // The code of the item loaded for change, for the change question.
    QString OldCode;
    // The number the record label shows.
    qint64 FoundCount = 0;

    QWidget* Frame1 = nullptr;
    QWidget* Frame2 = nullptr;
    QLineEdit* Text1 = nullptr;
    QLineEdit* Text2 = nullptr;
    QLineEdit* Text3 = nullptr;
    QLineEdit* Text4 = nullptr;
    QLineEdit* Text5 = nullptr;
    QPlainTextEdit* Text6 = nullptr;
    QToolButton* Command4 = nullptr;
    QToolButton* Command5 = nullptr;
    QToolButton* Command6 = nullptr;
    QToolButton* Command7 = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command3 = nullptr;
    QPushButton* Command2 = nullptr;
    QTreeWidget* ListView1 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label6 = nullptr;
};

}  // namespace masterdata
