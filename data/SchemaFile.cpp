#include "data/Schema.h"

#include "data/DatabaseSettings.h"
#include "utilities/SafeFile.h"

#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QtEndian>

// The database file at start-up: made when missing, checked against the
// definitions, brought forward when it is of an earlier version.

namespace {

// One table as the engine describes it, in texts that compare equal when the
// layouts agree: the column definitions by name, the keys (primary key,
// UNIQUE constraints and unique indexes) and the other indexes.
struct Shape {
    QMap<QString, QString> columns;
    QStringList keys;
    QStringList indexes;
};

// A server table in the file's words: its types as the file names them,
// its names in capitals, its keys and indexes by their columns.
DbResult serverShapeOf(Database& db, const QString& table, Shape& shape)
{
    QList<QVariantList> rows;
    if (DbResult r = db.select(
            QStringLiteral("SELECT upper(column_name), CASE data_type "
                           "WHEN 'double precision' THEN 'REAL' WHEN 'text' THEN 'TEXT' "
                           "ELSE upper(data_type) END, is_nullable = 'NO', column_default "
                           "FROM information_schema.columns WHERE table_schema = "
                           "current_schema() AND table_name = lower(?)"),
            {table}, rows);
        !r.ok())
        return r;
    for (const QVariantList& column : rows) {
        QString definition = column[1].toString();
        if (column[2].toBool())
            definition += QStringLiteral(" NOT NULL");
        if (!column[3].isNull())
            definition += QStringLiteral(" DEFAULT ") + column[3].toString();
        shape.columns.insert(column[0].toString(), definition);
    }
    if (DbResult r = db.select(
            QStringLiteral("SELECT i.indisprimary, i.indisunique, (SELECT "
                           "string_agg(upper(a.attname), ',' ORDER BY k.n) FROM "
                           "unnest(i.indkey) WITH ORDINALITY k(attnum, n) JOIN pg_attribute a "
                           "ON a.attrelid = i.indrelid AND a.attnum = k.attnum) "
                           "FROM pg_index i WHERE i.indrelid = to_regclass(lower(?))"),
            {table}, rows);
        !r.ok())
        return r;
    for (const QVariantList& index : rows) {
        const QString columns = QStringLiteral(" (") + index[2].toString() + u')';
        if (index[0].toBool()) {
            shape.keys << QStringLiteral("PRIMARY KEY") + columns;
            // The server makes a key's columns NOT NULL by itself; the file,
            // the layout's reference, leaves them as declared.
            for (const QString& column : index[2].toString().split(u','))
                shape.columns[column].remove(QStringLiteral(" NOT NULL"));
        } else if (index[1].toBool())
            shape.keys << QStringLiteral("UNIQUE") + columns;
        else
            shape.indexes << QStringLiteral("INDEX") + columns;
    }
    shape.keys.sort();
    return {};
}

DbResult shapeOf(Database& db, const QString& table, Shape& shape)
{
    if (db.onServer())
        return serverShapeOf(db, table, shape);
    QList<QVariantList> rows;
    if (DbResult r = db.select(QStringLiteral("SELECT name, upper(type), \"notnull\", dflt_value "
                                              "FROM pragma_table_info(?)"),
                               {table}, rows);
        !r.ok())
        return r;
    for (const QVariantList& column : rows) {
        QString definition = column[1].toString();
        if (column[2].toBool())
            definition += QStringLiteral(" NOT NULL");
        if (!column[3].isNull())
            definition += QStringLiteral(" DEFAULT ") + column[3].toString();
        shape.columns.insert(column[0].toString(), definition);
    }
    QList<QVariantList> indexes;
    if (DbResult r = db.select(QStringLiteral("SELECT name, \"unique\", origin FROM "
                                              "pragma_index_list(?) ORDER BY name"),
                               {table}, indexes);
        !r.ok())
        return r;
    for (const QVariantList& index : indexes) {
        QList<QVariantList> columns;
        if (DbResult r = db.select(QStringLiteral("SELECT name FROM pragma_index_info(?) "
                                                  "ORDER BY seqno"),
                                   {index[0]}, columns);
            !r.ok())
            return r;
        QStringList names;
        for (const QVariantList& column : columns)
            names << column[0].toString();
        const QString origin = index[2].toString();
        const QString text = (origin == u"pk"                       ? QStringLiteral("PRIMARY KEY")
                              : index[1].toBool() || origin == u"u" ? QStringLiteral("UNIQUE")
                                                                    : QStringLiteral("INDEX")) +
                             QStringLiteral(" (") + names.join(u',') + u')';
        (text.startsWith(u'I') ? shape.indexes : shape.keys) << text;
    }
    shape.keys.sort();
    return {};
}

// What differs in one table, or nothing.
std::optional<QString> tableDifference(const QString& table, const Shape& file,
                                       const Shape& reference)
{
    for (auto it = reference.columns.cbegin(); it != reference.columns.cend(); ++it) {
        if (!file.columns.contains(it.key()))
            return QStringLiteral("表 %1 に列 %2 がありません").arg(table, it.key());
    }
    for (const QString& key : reference.keys) {
        if (!file.keys.contains(key))
            return QStringLiteral("表 %1 にキー %2 がありません").arg(table, key);
    }
    for (const QString& key : file.keys) {
        if (!reference.keys.contains(key))
            return QStringLiteral("表 %1 に定義にないキー %2 があります").arg(table, key);
    }
    for (auto it = reference.columns.cbegin(); it != reference.columns.cend(); ++it) {
        if (file.columns.value(it.key()) != it.value())
            return QStringLiteral("表 %1 の列 %2 の型が定義と違います").arg(table, it.key());
    }
    for (const QString& index : reference.indexes) {
        if (!file.indexes.contains(index))
            return QStringLiteral("表 %1 に索引 %2 がありません").arg(table, index);
    }
    for (auto it = file.columns.cbegin(); it != file.columns.cend(); ++it) {
        if (!reference.columns.contains(it.key()))
            return QStringLiteral("表 %1 に定義にない列 %2 があります").arg(table, it.key());
    }
    return std::nullopt;
}

// Puts the engine's reason in the operator's words; the engine's own text
// stays beside it for whoever has to mend the file.
QString reasonFor(const QString& driverText)
{
    if (driverText.contains(QLatin1String("locked")) || driverText.contains(QLatin1String("busy")))
        return QStringLiteral("他のプログラムが使用中です（%1）").arg(driverText);
    if (driverText.contains(QLatin1String("malformed")) ||
        driverText.contains(QLatin1String("not a database")) ||
        driverText.contains(QLatin1String("corrupt")))
        return QStringLiteral("データベースが壊れています（%1）").arg(driverText);
    return QStringLiteral("ファイルを開けません（%1）").arg(driverText);
}

const QString foreign = QStringLiteral("このシステムのデータベースではありません");

// The file's tables against those a new file of the given version has.
std::optional<QString> differsFromVersion(Database& db, int version,
                                          const std::vector<Schema::Migration>& steps)
{
    Database reference;
    const std::vector<Schema::Migration> taken(steps.begin(), steps.begin() + (version - 1));
    if (DbResult r = reference.openFile(QStringLiteral(":memory:")); !r.ok())
        return reasonFor(r.error().driverText);
    if (DbResult r = Schema::create(reference, taken); !r.ok())
        return reasonFor(r.error().driverText);
    std::optional<QString> difference;
    if (DbResult r = Schema::layoutDifference(db, reference, difference); !r.ok())
        return reasonFor(r.error().driverText);
    if (difference)
        return QStringLiteral("データベースの形式が定義と違います（%1）").arg(*difference);
    return std::nullopt;
}

std::optional<QString> createFile(const QString& path, const std::vector<Schema::Migration>& steps)
{
    // Built under a temporary name and renamed when complete, so that an
    // interrupted first start never leaves a half-made database behind.
    const QString partial = path + QStringLiteral(".new");
    QFile::remove(partial);
    QString failure;
    {
        // Made empty beforehand, for its owner only: the engine would make
        // it readable by everyone, and its journals take the file's mode.
        Database db;
        if (SafeFile::Result empty = SafeFile::createEmpty(partial))
            failure = empty->describe();
        else if (DbResult r = db.openFile(partial); !r.ok())
            failure = r.error().driverText;
        else if (DbResult made = Schema::create(db, steps); !made.ok())
            failure = made.error().driverText;
    }
    if (failure.isEmpty() && !QFile::rename(partial, path))
        failure = QStringLiteral("名前を変更できません");
    if (!failure.isEmpty()) {
        QFile::remove(partial);
        QFile::remove(partial + QStringLiteral("-journal"));
        return QStringLiteral("データベースファイルを作成できません（%1）").arg(failure);
    }
    return std::nullopt;
}

// Takes the steps after `from` in one transaction and commits only a layout
// equal to a new database's; on any failure the database stays as it was.
std::optional<QString> migrateChecked(Database& db, int from,
                                      const std::vector<Schema::Migration>& steps)
{
    std::optional<QString> failure;
    Transaction transaction(db);
    DbResult r = transaction.started();
    if (r.ok())
        r = Schema::migrate(db, from, steps);
    if (r.ok() && !(failure = differsFromVersion(db, 1 + static_cast<int>(steps.size()), steps)))
        r = transaction.commit();
    if (!r.ok())
        failure = r.error().driverText;
    if (failure)
        return QStringLiteral("データベースを新しい版に更新できません（%1）").arg(*failure);
    return std::nullopt;
}

// Brings an open file of an earlier version forward, with a copy of the
// file beside it until the new version is committed.
std::optional<QString> upgrade(Database& db, const QString& path, int from,
                               const std::vector<Schema::Migration>& steps)
{
    const QString copy = path + QLatin1String(Schema::BeforeUpgradeSuffix);
    QFile::remove(copy);
    if (SafeFile::copy(path, copy)) {
        QFile::remove(copy);
        return QStringLiteral("新しい版に更新する前の控えを作れません（%1）").arg(copy);
    }
    const std::optional<QString> failure = migrateChecked(db, from, steps);
    QFile::remove(copy);
    return failure;
}

std::optional<QString> checkFile(const QString& path, const std::vector<Schema::Migration>& steps)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("ファイルを読み込めません（%1）").arg(file.errorString());
    const QByteArray header = file.read(100);
    file.close();
    // The header is read directly so that a file of another program is
    // never opened, let alone changed, by the database engine.
    if (header.size() < 100 || !header.startsWith(QByteArrayLiteral("SQLite format 3\0")) ||
        qFromBigEndian<quint32>(header.constData() + 68) != Schema::ApplicationId)
        return foreign;
    const int current = 1 + static_cast<int>(steps.size());
    if (qFromBigEndian<quint32>(header.constData() + 60) > quint32(current))
        return QStringLiteral("新しい版のプログラムで作られたデータベースです");
    if (!QFileInfo(path).isWritable() || !QFileInfo(QFileInfo(path).absolutePath()).isWritable())
        return QStringLiteral("ファイルまたはフォルダに書き込めません");

    Database db;
    if (DbResult r = db.openFile(path); !r.ok())
        return reasonFor(r.error().driverText);
    int stored = 0;
    if (DbResult r = db.layoutVersion(stored); !r.ok())
        return reasonFor(r.error().driverText);
    if (stored < 1)
        return foreign;
    if (stored > current)
        return QStringLiteral("新しい版のプログラムで作られたデータベースです");
    if (auto difference = differsFromVersion(db, stored, steps))
        return difference;
    {
        // Taking the write lock once tells whether another process holds the file.
        Transaction probe(db);
        if (!probe.started().ok())
            return reasonFor(probe.started().error().driverText);
    }
    if (stored < current)
        return upgrade(db, path, stored, steps);
    return std::nullopt;
}

// Registers that start together take turns at the layout; those already at
// work go on meanwhile.
constexpr qint64 LayoutLockKey = 0x4D554B344C41594FLL; // "MUK4LAYO"

std::optional<QString> prepareServer(const std::vector<Schema::Migration>& steps)
{
    const DatabaseSettings& settings = DatabaseSettings::current();
    const auto refused = [&settings](const QString& reason) {
        return QStringLiteral("データベースを使用できません。\n%1/%2\n%3")
            .arg(settings.place(), settings.dbname, reason);
    };
    Database db;
    if (DbResult r = db.open(); !r.ok())
        return QStringLiteral("データベース サーバーに接続できません（%1）。")
            .arg(settings.place());
    if (DbResult r = db.execute(QStringLiteral("SELECT pg_advisory_lock(?)"), {LayoutLockKey});
        !r.ok())
        return refused(reasonFor(r.error().driverText));
    int stored = 0;
    if (DbResult r = db.layoutVersion(stored); !r.ok())
        return refused(reasonFor(r.error().driverText));
    if (stored == 0) {
        // Only an empty database is made into the shop's.
        QList<QVariantList> tables;
        if (DbResult r = db.select(QStringLiteral("SELECT count(*) FROM information_schema.tables "
                                                  "WHERE table_schema = current_schema()"),
                                   {}, tables);
            !r.ok())
            return refused(reasonFor(r.error().driverText));
        if (tables.value(0).value(0).toLongLong() > 0)
            return refused(foreign);
        if (DbResult made = Schema::create(db, steps); !made.ok())
            return refused(
                QStringLiteral("データベースを作成できません（%1）").arg(made.error().driverText));
        return std::nullopt;
    }
    const int current = 1 + static_cast<int>(steps.size());
    if (stored > current)
        return refused(QStringLiteral("新しい版のプログラムで作られたデータベースです"));
    if (auto difference = differsFromVersion(db, stored, steps))
        return refused(*difference);
    if (stored < current) {
        if (auto failure = migrateChecked(db, stored, steps))
            return refused(*failure);
    }
    return std::nullopt;
}

} // namespace

namespace Schema {

std::optional<QString> prepareDatabase(const std::vector<Migration>& steps)
{
    if (DatabaseSettings::current().onServer())
        return prepareServer(steps);
    if (const auto reason = prepareFile(steps))
        return QStringLiteral("データベースファイルを使用できません。\n%1\n%2")
            .arg(Database::filePath(), *reason);
    return std::nullopt;
}

DbResult layoutDifference(Database& file, Database& reference, std::optional<QString>& difference)
{
    difference.reset();
    QList<QVariantList> tables;
    if (DbResult r = reference.select(QStringLiteral("SELECT name FROM sqlite_master WHERE type = "
                                                     "'table' ORDER BY name"),
                                      {}, tables);
        !r.ok())
        return r;
    for (const QVariantList& table : tables) {
        const QString name = table[0].toString();
        Shape expected;
        Shape found;
        if (DbResult r = shapeOf(reference, name, expected); !r.ok())
            return r;
        if (DbResult r = shapeOf(file, name, found); !r.ok())
            return r;
        // A server column without the file's type keeps text.
        if (file.onServer()) {
            for (QString& definition : expected.columns) {
                if (definition.isEmpty() || definition.startsWith(u' '))
                    definition.prepend(QStringLiteral("TEXT"));
            }
        }
        difference = found.columns.isEmpty() ? QStringLiteral("表 %1 がありません").arg(name)
                                             : tableDifference(name, found, expected);
        if (difference)
            return {};
    }
    return {};
}

std::optional<QString> prepareFile(const std::vector<Migration>& steps)
{
    const QString path = Database::filePath();
    if (!QFileInfo::exists(path))
        return createFile(path, steps);
    return checkFile(path, steps);
}

} // namespace Schema
