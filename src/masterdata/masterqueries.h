#pragma once

#include "db/database.h"

#include <QStringList>

#include <optional>
#include <vector>

// The statements of the master data windows and their pickers. Values are
// always bound; only the fixed table and column names below are spliced in.
namespace masterdata {

// A small master table: its id column and the fields after it, name first.
struct MasterTable {
    QString table;
    QString idColumn;
    QStringList fields;
};

extern const MasterTable kMeja;
extern const MasterTable kKategori;
extern const MasterTable kSatuan;
extern const MasterTable kPelayan;

// Every row of the table as the lists show it: the fields after the id in
// table order, then the id (the hidden column). Rows in the order of their id.
std::vector<QStringList> listRows(db::Connection& c, const MasterTable& t);

// Whether a row already holds this name (letter case ignored).
bool nameTaken(db::Connection& c, const MasterTable& t, const QString& name);

// Adds a row of these field values unless its name is taken; false when taken.
bool insertRow(db::Connection& c, const MasterTable& t, const QStringList& values);

// Rewrites the row's fields when the row still exists; false when it has
// been removed meanwhile. The name is not tested for duplicates.
bool updateRow(db::Connection& c, const MasterTable& t, qint64 id, const QStringList& values);

// ---- Menu items ---------------------------------------------------------------

// A menu item as the menu item window stores it.
struct MenuValues {
    QString code;
    QString name;
    QString description;
    qint64 categoryId = 0;
    qint64 unitId = 0;
    qint64 price = 0;
};

enum class MenuColumn { Code, Name };

// Number of all menu rows, whether their category and unit exist or not.
qint64 menuCount(db::Connection& c);

// The menu items whose category and unit exist, by id, as the list shows
// them: code, name, description, category, unit, price "###,###,###", id.
std::vector<QStringList> menuRows(db::Connection& c);

// The same for the items whose code or name contains the text. "%" and "_"
// in the text act as wildcards; letter case is ignored. A text beyond the
// engine's pattern length (50,000 bytes with the two "%", once folded) finds
// nothing.
qint64 menuSearchCount(db::Connection& c, MenuColumn column, const QString& text);
std::vector<QStringList> menuSearchRows(db::Connection& c, MenuColumn column, const QString& text);

// The id of the first category or unit of this name, if there is one.
std::optional<qint64> categoryIdByName(db::Connection& c, const QString& name);
std::optional<qint64> unitIdByName(db::Connection& c, const QString& name);

void insertMenu(db::Connection& c, const MenuValues& item);

// Rewrites the item when it still exists; false when it has been removed.
bool updateMenu(db::Connection& c, qint64 id, const MenuValues& item);

}  // namespace masterdata
