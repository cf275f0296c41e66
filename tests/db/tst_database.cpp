#include "db/database.h"
#include "db/schema.h"
#include "support/testsupport.h"

class DatabaseTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // The schema's version, and no unique index that could make a write fail
    // (the columns' order is held by every test that reads rows by position).
    void schemaVersionAndNoUniqueIndex() {
        testing::TestInstall install;
        auto c = install.connect();
        QCOMPARE(c->scalar("PRAGMA user_version").toInt(), db::kSchemaVersion);
        QCOMPARE(c->scalar("SELECT count(*) FROM sqlite_master WHERE type = 'index'"
                           " AND sql LIKE '%UNIQUE%'")
                     .toInt(),
                 0);
    }

    void fileIsUnreadableWithoutTheKey() {
        testing::TestInstall install;
        install.exec("INSERT INTO pengguna (nm_user, Password) VALUES ('budi', 'x')");
        const QByteArray bytes = testing::bytesOf(install.dbPath());
        QVERIFY(!bytes.contains("SQLite format 3") && !bytes.contains("pengguna"));
        QVERIFY(!bytes.contains("budi"));
    }
};

DAPRA_TEST_MAIN(DatabaseTest)
#include "tst_database.moc"
