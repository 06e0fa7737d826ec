#include "pos/ReceiptPosting.h"

#include "data/Parameters.h"
#include "data/Schema.h"

#include <QSqlError>
#include <QSqlQuery>

namespace {
// The engine's refusal, as the connection records it (a damaged file is
// written no more).
PostingResult failed(Database& db, const QSqlQuery& query, const QString& statement)
{
    return {PostingResult::Outcome::Failed, db.failed(statement, query.lastError())};
}

PostingResult failed(const DbResult& result)
{
    return {PostingResult::Outcome::Failed, result.error()};
}

// Whether the engine refused a record because its key is taken.
bool keyTaken(const QSqlQuery& query)
{
    return query.lastError().nativeErrorCode() == QLatin1String("2067") ||
           query.lastError().text().contains(QLatin1String("UNIQUE constraint failed"));
}

// Statements are prepared once per connection: a counter posts all day.
std::optional<PostingResult> checkFree(Database& db, const QString& table, const ReceiptKey& key)
{
    const QString sql = QStringLiteral("SELECT 1 FROM %1 WHERE CF01 = ? AND CF02 = ? AND CF03 = ? "
                                       "LIMIT 1")
                            .arg(table);
    DbResult prepared;
    QSqlQuery* query = db.prepared(sql, prepared);
    if (!query)
        return failed(prepared);
    query->bindValue(0, key.store);
    query->bindValue(1, key.registerCode);
    query->bindValue(2, key.receipt);
    if (!query->exec())
        return failed(db, *query, sql);
    const bool taken = query->next();
    if (!taken && query->lastError().isValid())
        return failed(db, *query, sql);
    query->finish();
    if (taken)
        return PostingResult{PostingResult::Outcome::Duplicate, std::nullopt};
    return std::nullopt;
}

std::optional<PostingResult> insert(Database& db, const TableWrite& write)
{
    // Every field bound by position.
    const QStringList fields = Schema::fieldsOf(write.table);
    if (fields.isEmpty())
        return PostingResult{PostingResult::Outcome::Failed,
                             DbError{write.table, QStringLiteral("unknown table")}};
    const QString sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                            .arg(write.table, fields.join(u','),
                                 QStringList(fields.size(), QStringLiteral("?")).join(u','));
    DbResult prepared;
    QSqlQuery* query = db.prepared(sql, prepared);
    if (!query)
        return failed(prepared);
    for (const QVariantMap& record : write.records) {
        for (int i = 0; i < fields.size(); ++i)
            query->bindValue(i, record.value(fields[i]));
        if (!query->exec()) {
            if (keyTaken(*query))
                return PostingResult{PostingResult::Outcome::Duplicate, std::nullopt};
            return failed(db, *query, sql);
        }
    }
    return std::nullopt;
}

// A count or line number as the records write it: three digits ("003").
QString threeDigits(int n)
{
    return QString::number(n + 1000).right(3);
}

QVariantMap stamped(const ReceiptStamp& stamp, int number, int firstDateField,
                    const QVariantMap& own)
{
    auto field = [](int n) { return QStringLiteral("CF%1").arg(n, 2, 10, QChar(u'0')); };
    const QString date = stamp.moment.toString(QStringLiteral("yyyyMMdd"));
    const QString time = stamp.moment.toString(QStringLiteral("HH:mm:ss"));
    QVariantMap record = own;
    record.insert({{field(1), stamp.store},
                   {field(2), stamp.registerCode},
                   {field(3), stamp.receipt},
                   {field(4), threeDigits(number)},
                   {field(5), stamp.staffCode},
                   {field(firstDateField), stamp.businessDate},
                   {field(firstDateField + 1), date},
                   {field(firstDateField + 2), time},
                   {field(firstDateField + 3), date},
                   {field(firstDateField + 4), time}});
    return record;
}
} // namespace

QVariantMap ReceiptStamp::header(qsizetype lineCount, const QVariantMap& own) const
{
    return stamped(*this, static_cast<int>(lineCount), 19, own);
}

QVariantMap ReceiptStamp::line(int number, const QVariantMap& own) const
{
    return stamped(*this, number, 23, own);
}

namespace {
PostingResult postOnce(Database& db, const ReceiptKey& key, const QList<TableWrite>& writes)
{
    Transaction transaction(db);
    if (!transaction.started().ok())
        return failed(transaction.started());
    for (const TableWrite& write : writes) {
        if (auto stop = checkFree(db, write.table, key))
            return *stop;
    }
    for (const TableWrite& write : writes) {
        if (auto stop = insert(db, write))
            return *stop;
    }
    // A missing counter record stays missing; the receipt is posted anyway.
    if (DbResult r = Parameters::change(db, QStringLiteral("receipt"),
                                        {{QStringLiteral("CB03"), key.receipt.right(5)}});
        !r.ok())
        return failed(r);
    if (DbResult r = transaction.commit(); !r.ok())
        return failed(r);
    return {PostingResult::Outcome::Posted, std::nullopt};
}
} // namespace

PostingResult postReceipt(Database& db, const ReceiptKey& key, const QList<TableWrite>& writes)
{
    return Transaction::retried(db, [&] { return postOnce(db, key, writes); });
}
