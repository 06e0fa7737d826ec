#include "data/Schema.h"

#include "data/Clock.h"

namespace {

QStringList numbered(const QString& prefix, int first, int last)
{
    QStringList names;
    for (int i = first; i <= last; ++i)
        names << prefix + QString::number(i).rightJustified(2, u'0');
    return names;
}

struct Definition {
    QString name;
    QStringList fields;
    QStringList numbers; // stored as REAL
    QStringList untyped; // no column type: stores text or number as written
    QStringList key;     // primary or unique key
    QList<QStringList> indexes;
    // Columns a later layout step appended, in their order; the first
    // version's creation never makes them.
    QStringList appended;
};

const QStringList headerNumbers{"CF09", "CF10", "CF11", "CF13", "CF14", "CF16", "CF17"};

std::vector<Definition> definitions()
{
    const QStringList header = numbered("CF", 1, 23);
    const QStringList lines = numbered("CF", 1, 27);
    const QStringList headerKey{"CF01", "CF02", "CF03"};
    const QStringList lineKey{"CF01", "CF02", "CF03", "CF04"};
    // Totals and reports select headers by store, register and business
    // date in receipt order (the key order alone would make the engine walk
    // every receipt of the register), and lines by receipt number or by
    // business date.
    const QList<QStringList> headerIndexes{{"CF01", "CF02", "CF19", "CF03"}};
    const QList<QStringList> lineIndexes{{"CF03", "CF23"}, {"CF23"}};

    std::vector<Definition> tables{
        {"MBMSYS",
         {"CB01", "CB02", "CB03", "CB04", "CB07", "CB08"},
         {},
         {},
         {"CB01"},
         {},
         {"CB09"}},
        {"MBMSHO", numbered("CB", 1, 24), {}, {"CB14"}, {"CB01"}, {}, {"CB25"}},
        {"MBMBRL", numbered("CB", 1, 8), {}, {}, {"CB01"}, {}, {}},
        {"MBMBRM", numbered("CB", 1, 11), {}, {}, {"CB01"}, {{"CB04", "CB01"}}, {}},
        {"MBMCHR", numbered("CB", 1, 8), {}, {}, {"CB01"}, {}, {}},
        {"MBMKJM", numbered("CK", 1, 8), {}, {}, {"CK01"}, {}, {}},
        {"MBMKJT", numbered("CT", 1, 8), {}, {}, {"CT01"}, {}, {}},
        {"MOMURA", header, headerNumbers + QStringList{"CF18"}, {}, headerKey, headerIndexes, {}},
        {"MOVURA",
         lines,
         {"CF13", "CF14", "CF15", "CF17", "CF18", "CF19", "CF20", "CF21"},
         {},
         lineKey,
         lineIndexes + QList<QStringList>{{"CF07", "CF23"}},
         {"CF28"}},
        {"MDMURK", header, headerNumbers + QStringList{"CF18"}, {}, headerKey, headerIndexes, {}},
        {"MOMNYK", header, headerNumbers, {}, headerKey, headerIndexes, {}},
        {"MOVNYK",
         lines,
         {"CF13", "CF14", "CF15", "CF17", "CF18", "CF19", "CF20"},
         {},
         lineKey,
         lineIndexes,
         {}},
        {"MOMSYK", header, headerNumbers, {}, headerKey, headerIndexes, {}},
        {"MOVSYK",
         lines,
         {"CF13", "CF14", "CF15", "CF17", "CF18", "CF19", "CF20"},
         {},
         lineKey,
         lineIndexes,
         {}},
        // The index of the first version; a layout step replaced it.
        {"MWMXPP",
         numbered("CW", 1, 10),
         {"CW06", "CW07", "CW08"},
         {},
         {},
         {{"CW02", "CW03", "CW04"}},
         {"CW11", "CW12", "CW13"}},
    };
    // Archives of deleted master records: the master's layout, no key, since
    // a code may be archived more than once.
    const size_t defined = tables.size();
    for (size_t i = 0; i < defined; ++i) {
        if (!tables[i].name.startsWith(QLatin1String("MBM")) || tables[i].name == u"MBMSYS")
            continue;
        Definition archive = tables[i];
        archive.name[0] = u'X';
        archive.key.clear();
        archive.indexes.clear();
        tables.push_back(std::move(archive));
    }
    return tables;
}

const std::vector<Definition>& allDefinitions()
{
    static const std::vector<Definition> list = definitions();
    return list;
}

QStringList createStatements(const Database& db)
{
    QStringList statements;
    for (const Definition& d : allDefinitions()) {
        QStringList columns;
        for (const QString& field : d.fields) {
            // A server column must have a type: text keeps what is written.
            if (d.untyped.contains(field))
                columns << field + (db.onServer() ? QStringLiteral(" TEXT") : QString());
            else
                columns << field + (d.numbers.contains(field) ? QStringLiteral(" REAL")
                                                              : QStringLiteral(" TEXT"));
        }
        if (d.key.size() == 1 && d.name.startsWith(u'M') && d.name.mid(1, 2) == QLatin1String("BM"))
            columns << QStringLiteral("PRIMARY KEY (") + d.key.first() + u')';
        else if (!d.key.isEmpty())
            columns << QStringLiteral("UNIQUE (") + d.key.join(u',') + u')';
        statements << QStringLiteral("CREATE TABLE ") + d.name + QStringLiteral(" (") +
                          columns.join(QStringLiteral(", ")) + u')';
        int n = 0;
        for (const QStringList& index : d.indexes) {
            statements << QStringLiteral("CREATE INDEX %1_I%2 ON %1 (%3)")
                              .arg(d.name)
                              .arg(++n)
                              .arg(index.join(u','));
        }
    }
    return statements;
}

struct Seed {
    const char* key;
    QString first;
    QString second;
};

} // namespace

namespace Schema {

std::vector<Migration> migrations()
{
    // Built at each call: a step may stamp a record with the moment of the
    // upgrade.
    const std::vector<Migration> steps{
        // The monthly reports read a month of one register's lines at a
        // time: by business date with category, kind and amount in the
        // index itself, by receipt with the quantity for the items of the
        // day's receipts, and by middle category for the product graph.
        {QStringLiteral("indexes for the monthly reports"),
         {QStringLiteral("CREATE INDEX MOVURA_DAY_CATEGORY ON MOVURA "
                         "(CF01, CF02, CF23, CF09, CF10, CF06, CF17)"),
          QStringLiteral("CREATE INDEX MOVURA_RECEIPT_QUANTITY ON MOVURA (CF01, CF02, CF03, CF15)"),
          QStringLiteral("CREATE INDEX MOVURA_MIDDLE_DAY ON MOVURA (CF10, CF23)")}},
        // A product is taxed at the standard or the reduced rate (CB25 "0"
        // or "1"), and a sales line keeps the rate it was priced at (CF28;
        // lines of before stay NULL and read as the standard rate). The
        // reduced rate is the "tax" record's second value; "invoice" holds
        // the shop's registration number, blank until the owner enters it.
        {QStringLiteral("two tax rates and the registration number"),
         {QStringLiteral("ALTER TABLE MBMSHO ADD COLUMN CB25 TEXT"),
          QStringLiteral("UPDATE MBMSHO SET CB25 = '0'"),
          QStringLiteral("ALTER TABLE XBMSHO ADD COLUMN CB25 TEXT"),
          QStringLiteral("UPDATE XBMSHO SET CB25 = '0'"),
          QStringLiteral("ALTER TABLE MOVURA ADD COLUMN CF28 REAL"),
          // The month's net sales by rate read from the index alone.
          QStringLiteral(
              "CREATE INDEX MOVURA_DAY_RATE ON MOVURA (CF01, CF02, CF23, CF28, CF06, CF17)"),
          QStringLiteral("UPDATE MBMSYS SET CB03 = '0.08' "
                         "WHERE CB01 = 'tax' AND (CB03 IS NULL OR TRIM(CB03) = '')"),
          QStringLiteral("INSERT INTO MBMSYS (CB01, CB02, CB03, CB04, CB07, CB08) "
                         "SELECT 'invoice', ' ', ' ', ' ', '%1', '%2' WHERE NOT EXISTS "
                         "(SELECT 1 FROM MBMSYS WHERE CB01 = 'invoice')")
              .arg(Clock::today(), Clock::time())}},
        // Registers sharing one database each keep their own business day,
        // cashier, receipt sequence and printer switch: those records carry
        // the register's code in CB09 (part of the key), the shop's records
        // a blank. An existing database's records become those of the
        // register its "register" record names. The key changes, so the
        // table is made anew.
        {QStringLiteral("records of each register"),
         {QStringLiteral("CREATE TABLE MBMSYSNEW (CB01 TEXT, CB02 TEXT, CB03 TEXT, CB04 TEXT, "
                         "CB07 TEXT, CB08 TEXT, CB09 TEXT, PRIMARY KEY (CB01, CB09))"),
          QStringLiteral(
              "INSERT INTO MBMSYSNEW (CB01, CB02, CB03, CB04, CB07, CB08, CB09) "
              "SELECT CB01, CB02, CB03, CB04, CB07, CB08, CASE WHEN CB01 IN "
              "('register', 'charge', 'workday', 'receipt', 'printer') THEN coalesce(("
              "SELECT nullif(trim(r.CB02), '') FROM MBMSYS r WHERE r.CB01 = 'register'), '01') "
              "ELSE ' ' END FROM MBMSYS"),
          QStringLiteral("DROP TABLE MBMSYS"),
          QStringLiteral("ALTER TABLE MBMSYSNEW RENAME TO MBMSYS")}},
        // Registers sharing one database each run the receipt dump in work
        // rows of their own: CW11 the store and CW12 the register that ran
        // it; CW13 is the receipt's register, since a dump may list every
        // register of the store. Work rows of before belong to nobody.
        {QStringLiteral("work rows of each register"),
         {QStringLiteral("DELETE FROM MWMXPP"),
          QStringLiteral("ALTER TABLE MWMXPP ADD COLUMN CW11 TEXT"),
          QStringLiteral("ALTER TABLE MWMXPP ADD COLUMN CW12 TEXT"),
          QStringLiteral("ALTER TABLE MWMXPP ADD COLUMN CW13 TEXT"),
          QStringLiteral("DROP INDEX MWMXPP_I1"),
          QStringLiteral("CREATE INDEX MWMXPP_I1 ON MWMXPP (CW11, CW12, CW13, CW02, CW03, CW04)")}},
    };
    return steps;
}

int version()
{
    return 1 + static_cast<int>(migrations().size());
}

DbResult migrate(Database& db, int from, const std::vector<Migration>& steps)
{
    for (size_t i = static_cast<size_t>(from - 1); i < steps.size(); ++i) {
        for (const QString& statement : steps[i].statements) {
            if (DbResult r = db.execute(statement); !r.ok())
                return r;
        }
    }
    return db.setLayoutVersion(static_cast<int>(steps.size()) + 1);
}

const std::vector<Table>& tables()
{
    static const std::vector<Table> list = [] {
        std::vector<Table> result;
        for (const Definition& d : allDefinitions())
            result.push_back({d.name, d.fields + d.appended, d.fields.size()});
        return result;
    }();
    return list;
}

const Table* table(const QString& name)
{
    for (const Table& t : tables()) {
        if (t.name == name)
            return &t;
    }
    return nullptr;
}

QStringList fieldsOf(const QString& name)
{
    const Table* t = table(name);
    return t ? t->fields : QStringList{};
}

DbResult create(Database& db, const std::vector<Migration>& steps)
{
    Transaction transaction(db);
    if (!transaction.started().ok())
        return transaction.started();
    for (const QString& statement : createStatements(db)) {
        if (DbResult r = db.execute(statement); !r.ok())
            return r;
    }
    const QString today = Clock::today();
    const QString now = Clock::time();
    // The workday starts as closed so that the first start opens today's
    // business day; the blank period code starts a new receipt period.
    const std::vector<Seed> seeds{
        {"caption", " ", " "},
        {"company", " ", " "},
        {"store", "01", "本店"},
        {"register", "01", " "},
        {"charge", "0000", " "},
        {"tax", "0.10", " "},
        {"workday", "00000000", "NLEND"},
        {"receipt", " ", "00000"},
        {"printer", "01", " "},
    };
    for (const Seed& seed : seeds) {
        DbResult r =
            db.execute(QStringLiteral("INSERT INTO MBMSYS (CB01, CB02, CB03, CB04, CB07, CB08) "
                                      "VALUES (?, ?, ?, ?, ?, ?)"),
                       {QString::fromLatin1(seed.key), seed.first, seed.second, QStringLiteral(" "),
                        today, now});
        if (!r.ok())
            return r;
    }
    if (!db.onServer()) {
        if (DbResult r =
                db.execute(QStringLiteral("PRAGMA application_id = %1").arg(ApplicationId));
            !r.ok())
            return r;
    }
    if (DbResult r = migrate(db, 1, steps); !r.ok())
        return r;
    return transaction.commit();
}

} // namespace Schema
