#include "masterdata/masterqueries.h"

#include "toolkit/format.h"

namespace masterdata {

const MasterTable kMeja{QStringLiteral("meja"),
                        QStringLiteral("id_meja"),
                        {QStringLiteral("nm_meja"), QStringLiteral("Keterangan")}};
const MasterTable kKategori{QStringLiteral("kategori"),
                            QStringLiteral("id_kategori"),
                            {QStringLiteral("nm_kategori"), QStringLiteral("Keterangan")}};
const MasterTable kSatuan{QStringLiteral("satuan"),
                          QStringLiteral("id_satuan"),
                          {QStringLiteral("nm_satuan"), QStringLiteral("Keterangan")}};
const MasterTable kPelayan{
    QStringLiteral("pelayan"),
    QStringLiteral("id_pelayan"),
    {QStringLiteral("nm_pelayan"), QStringLiteral("Alamat"), QStringLiteral("Kota"),
     QStringLiteral("Kode_Pos"), QStringLiteral("Telepon")}};

namespace {

QVariantList bound(const QStringList& values) {
    QVariantList params;
    for (const QString& v : values) {
        params.append(v);
    }
    return params;
}

bool rowExists(db::Connection& c, const MasterTable& t, qint64 id) {
    return c.scalar(QStringLiteral("SELECT count(*) FROM %1 WHERE %2 = ?").arg(t.table, t.idColumn),
                    {id})
               .toLongLong() != 0;
}

// The join of the menu list: code, name, description, category, unit, price, id.
const QString kMenuJoin = QStringLiteral(
    "SELECT m.kode_menu, m.nama_menu, m.keterangan, k.nm_kategori, s.nm_satuan, m.harga_jual,"
    " m.id_menu FROM menu m, kategori k, satuan s"
    " WHERE m.id_kategori = k.id_kategori AND m.id_satuan = s.id_satuan");

QString searchedColumn(MenuColumn column) {
    return column == MenuColumn::Code ? QStringLiteral("kode_menu") : QStringLiteral("nama_menu");
}

QString likePattern(const QString& text) {
    return QChar('%') + text + QChar('%');
}

// The engine refuses a LIKE pattern of more bytes than this.
constexpr qsizetype kMaxLikePatternBytes = 50000;

// A longer text could be held only by a code or name longer still, which no
// one types; it finds nothing rather than the engine's refusal. The engine
// sees the pattern folded, which may be longer.
bool searchable(const QString& text) {
    return db::foldCase(likePattern(text)).toUtf8().size() <= kMaxLikePatternBytes;
}

std::vector<QStringList> menuListRows(const std::vector<db::Row>& rows) {
    std::vector<QStringList> list;
    for (const db::Row& r : rows) {
        list.push_back({r[0].toString(), r[1].toString(), r[2].toString(), r[3].toString(),
                        r[4].toString(), fmt::mask(r[5].toLongLong(), fmt::kMask9),
                        r[6].toString()});
    }
    return list;
}

std::optional<qint64> idByName(db::Connection& c, const MasterTable& t, const QString& name) {
    const std::vector<db::Row> rows = c.rows(
        QStringLiteral("SELECT %1 FROM %2 WHERE casefold(%3) = casefold(?) ORDER BY %1 LIMIT 1")
            .arg(t.idColumn, t.table, t.fields.first()),
        {name});
    if (rows.empty()) {
        return std::nullopt;
    }
    return rows.front()[0].toLongLong();
}

QVariantList menuParams(const MenuValues& item) {
    return {item.code, item.name, item.description, item.categoryId, item.unitId, item.price};
}

}  // namespace

std::vector<QStringList> listRows(db::Connection& c, const MasterTable& t) {
    const std::vector<db::Row> rows =
        c.rows(QStringLiteral("SELECT %1, %2 FROM %3 ORDER BY %1")
                   .arg(t.idColumn, t.fields.join(QStringLiteral(", ")), t.table));
    std::vector<QStringList> list;
    for (const db::Row& r : rows) {
        QStringList texts;
        for (int i = 1; i < r.size(); ++i) {
            texts.append(r[i].toString());
        }
        texts.append(r[0].toString());
        list.push_back(texts);
    }
    return list;
}

bool nameTaken(db::Connection& c, const MasterTable& t, const QString& name) {
    const QString& nameColumn = t.fields.first();
    return c.scalar(QStringLiteral("SELECT count(%1) FROM %2 WHERE casefold(%1) = casefold(?)")
                        .arg(nameColumn, t.table),
                    {name})
               .toLongLong() != 0;
}

bool insertRow(db::Connection& c, const MasterTable& t, const QStringList& values) {
    db::Transaction tx(c);
    if (nameTaken(c, t, values.first())) {
        return false;
    }
    const QString marks = QStringLiteral("?, ").repeated(int(t.fields.size()) - 1) + QChar('?');
    c.exec(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
               .arg(t.table, t.fields.join(QStringLiteral(", ")), marks),
           bound(values));
    tx.commit();
    return true;
}

bool updateRow(db::Connection& c, const MasterTable& t, qint64 id, const QStringList& values) {
    db::Transaction tx(c);
    if (!rowExists(c, t, id)) {
        return false;
    }
    QVariantList params = bound(values);
    params.append(id);
    c.exec(QStringLiteral("UPDATE %1 SET %2 = ? WHERE %3 = ?")
               .arg(t.table, t.fields.join(QStringLiteral(" = ?, ")), t.idColumn),
           params);
    tx.commit();
    return true;
}

qint64 menuCount(db::Connection& c) {
    return c.scalar(QStringLiteral("SELECT count(*) FROM menu")).toLongLong();
}

std::vector<QStringList> menuRows(db::Connection& c) {
    return menuListRows(c.rows(kMenuJoin + QStringLiteral(" ORDER BY m.id_menu")));
}

qint64 menuSearchCount(db::Connection& c, MenuColumn column, const QString& text) {
    if (!searchable(text)) {
        return 0;
    }
    return c
        .scalar(QStringLiteral("SELECT count(*) FROM menu WHERE casefold(%1) LIKE casefold(?)")
                    .arg(searchedColumn(column)),
                {likePattern(text)})
        .toLongLong();
}

std::vector<QStringList> menuSearchRows(db::Connection& c, MenuColumn column, const QString& text) {
    if (!searchable(text)) {
        return {};
    }
    return menuListRows(
        c.rows(kMenuJoin + QStringLiteral(" AND casefold(m.%1) LIKE casefold(?) ORDER BY m.id_menu")
                               .arg(searchedColumn(column)),
               {likePattern(text)}));
}

std::optional<qint64> categoryIdByName(db::Connection& c, const QString& name) {
    return idByName(c, kKategori, name);
}

std::optional<qint64> unitIdByName(db::Connection& c, const QString& name) {
    return idByName(c, kSatuan, name);
}

void insertMenu(db::Connection& c, const MenuValues& item) {
    c.exec(QStringLiteral("INSERT INTO menu (kode_menu, nama_menu, keterangan, id_kategori,"
                          " id_satuan, harga_jual) VALUES (?, ?, ?, ?, ?, ?)"),
           menuParams(item));
}

bool updateMenu(db::Connection& c, qint64 id, const MenuValues& item) {
    db::Transaction tx(c);
    if (c.scalar(QStringLiteral("SELECT count(*) FROM menu WHERE id_menu = ?"), {id})
            .toLongLong() == 0) {
        return false;
    }
    QVariantList params = menuParams(item);
    params.append(id);
    c.exec(QStringLiteral("UPDATE menu SET kode_menu = ?, nama_menu = ?, keterangan = ?,"
                          " id_kategori = ?, id_satuan = ?, harga_jual = ? WHERE id_menu = ?"),
           params);
    tx.commit();
    return true;
}

}  // namespace masterdata
