#include "reports/ReceiptDump.h"

#include "data/Conversions.h"

using Conversions::format;

namespace {

const QString sales = QStringLiteral("MOMURA");

struct Source {
    QString header;
    QString lines;
    QString caption; // summary part of a deposit or payment day
};
const Source sources[] = {
    {QStringLiteral("MOMURA"), QStringLiteral("MOVURA"), {}},
    {QStringLiteral("MOMNYK"), QStringLiteral("MOVNYK"), QStringLiteral("　　入金.")},
    {QStringLiteral("MOMSYK"), QStringLiteral("MOVSYK"), QStringLiteral("　　支払.")},
};

// Adds one work record per header of the day and the day's part of the
// summary; a table without records for the day adds nothing to it.
DbResult gather(Database& db, const Source& source, const StoreRegister& where,
                const QString& running, const QString& date, QString& summary)
{
    double salesSum = 0;
    double returnsSum = 0;
    bool found = false;
    DbResult failed;
    DbResult r = forEachRow(
        db,
        QStringLiteral("SELECT CF03, CF19, CF20, CF21, CF09, CF16, CF17, CF07, CF05, CF02 FROM ") +
            source.header + QStringLiteral(" WHERE ") + where.condition() +
            QStringLiteral(" AND CF19 = ? ORDER BY CF01, CF02, CF19, CF20, CF21, CF03"),
        where.values() + QVariantList{date}, [&](const QSqlQuery& q) {
            found = true;
            if (!failed.ok())
                return;
            const bool isSale = source.header == sales;
            const QString code = q.value(7).toString();
            const double amount = q.value(4).toDouble();
            if (isSale && code.startsWith(u'1') && code.endsWith(u'9'))
                returnsSum += amount;
            else if (!isSale || code.startsWith(u'1') || code.startsWith(u'2') ||
                     code.startsWith(u'3'))
                salesSum += amount;
            const QVariantList values{q.value(0),
                                      q.value(1),
                                      q.value(2),
                                      q.value(3),
                                      source.header,
                                      amount,
                                      isSale ? q.value(5).toDouble() - q.value(6).toDouble() : 0.0,
                                      isSale ? q.value(6).toDouble() : 0.0,
                                      ReceiptDump::kindText(source.header, code),
                                      q.value(8),
                                      where.store,
                                      running,
                                      q.value(9)};
            failed = db.execute(
                QStringLiteral("INSERT INTO MWMXPP (CW01, CW02, CW03, CW04, CW05, CW06, CW07,"
                               " CW08, CW09, CW10, CW11, CW12, CW13)"
                               " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                values);
        });
    if (!r.ok())
        return r;
    if (!failed.ok())
        return failed;
    if (!found)
        return {};
    if (source.caption.isEmpty()) {
        summary += QStringLiteral("売上.") + Conversions::numberText(salesSum);
        if (returnsSum != 0) {
            summary += QStringLiteral("　　返品.") + Conversions::numberText(returnsSum) +
                       QStringLiteral(" <") + Conversions::numberText(salesSum - returnsSum) + u'>';
        }
    } else {
        summary += source.caption + Conversions::numberText(salesSum);
    }
    return {};
}

QString receiptKey(const QString& registerCode, const QString& receipt)
{
    return registerCode + u'/' + receipt;
}

// The line rows of every receipt of the day in one line table, by register
// and receipt number. Lines belong to a receipt by store, register, receipt
// number and business date: the receipt numbers of another register may be
// the same.
// Ordering by receipt number as well would lead the engine to walk every
// line of the register in key order; each receipt's lines keep their order
// as they are gathered.
DbResult linesOfDay(Database& db, const Source& source, const StoreRegister& where,
                    const QString& date, QHash<QString, QList<QStringList>>& out)
{
    const bool isSale = source.header == sales;
    const QString blank = QStringLiteral(" ");
    return forEachRow(
        db,
        QStringLiteral("SELECT CF03, CF07, CF08, CF14, CF15, CF17, CF19, CF02 FROM ") +
            source.lines + QStringLiteral(" WHERE ") + where.condition() +
            QStringLiteral(" AND CF23 = ? ORDER BY CF24, CF25, CF04"),
        where.values() + QVariantList{date}, [&](const QSqlQuery& q) {
            using Conversions::Amount10;
            QStringList row{blank, blank, QStringLiteral("・") + q.value(2).toString(),
                            q.value(1).toString(), blank};
            if (isSale) {
                row << format(q.value(6).toDouble(), Amount10)
                    << format(q.value(4).toDouble(), Amount10)
                    << format(q.value(5).toDouble(), Amount10) << blank;
            } else {
                row << format(q.value(3).toDouble(), Amount10)
                    << format(q.value(4).toDouble(), Amount10) << QStringLiteral("   ") << blank;
            }
            out[receiptKey(q.value(7).toString(), q.value(0).toString())] << row;
        });
}

// The staff name of a code, or the code itself when nobody has it.
DbResult staffText(Database& db, const QString& code, QHash<QString, QString>& known)
{
    if (known.contains(code))
        return {};
    QString text = code;
    DbResult r = forEachRow(db, QStringLiteral("SELECT CB02 FROM MBMCHR WHERE CB01 = ?"), {code},
                            [&](const QSqlQuery& q) { text = q.value(0).toString(); });
    known.insert(code, text);
    return r;
}

} // namespace

namespace ReceiptDump {

QString kindText(const QString& table, const QString& code)
{
    if (table == QLatin1String("MOMNYK"))
        return QStringLiteral("入金");
    if (table == QLatin1String("MOMSYK"))
        return QStringLiteral("支払");
    if (code.startsWith(u'1'))
        return code.endsWith(u'9') ? QStringLiteral("売上返品") : QStringLiteral("売上");
    if (code.startsWith(u'2'))
        return QStringLiteral("内金・売掛");
    if (code.startsWith(u'3'))
        return QStringLiteral("売掛");
    return {};
}

// The running register's work rows are exactly this run's headers or, when
// the run fails, its last run's; those of the other registers stay.
static DbResult gatherDay(Database& db, const StoreRegister& where, const QString& running,
                          const QString& date, Listing& out)
{
    out.summary.clear();
    Transaction transaction(db);
    if (!transaction.started().ok())
        return transaction.started();
    if (DbResult r = db.execute(QStringLiteral("DELETE FROM MWMXPP WHERE CW11 = ? AND CW12 = ?"),
                                {where.store, running});
        !r.ok())
        return r;
    for (const Source& source : sources) {
        if (DbResult r = gather(db, source, where, running, date, out.summary); !r.ok())
            return r;
    }
    return transaction.commit();
}

DbResult run(Database& db, const StoreRegister& where, const QString& running, const QString& date,
             bool blankRows, Listing& out)
{
    out = Listing{};
    if (DbResult r =
            Transaction::retried(db, [&] { return gatherDay(db, where, running, date, out); });
        !r.ok())
        return r;

    QHash<QString, QHash<QString, QList<QStringList>>> lines;
    for (const Source& source : sources) {
        if (DbResult r = linesOfDay(db, source, where, date, lines[source.header]); !r.ok())
            return r;
    }
    QHash<QString, QString> staff;
    const QString blank = QStringLiteral(" ");
    const QString four = QStringLiteral("    ");
    DbResult failed;
    DbResult r = forEachRow(
        db,
        QStringLiteral("SELECT CW01, CW04, CW05, CW06, CW07, CW08, CW09, CW10, CW13 FROM MWMXPP"
                       " WHERE CW11 = ? AND CW12 = ? ORDER BY CW13, CW02, CW03, CW04, CW01"),
        {where.store, running}, [&](const QSqlQuery& q) {
            const QString receipt = q.value(0).toString();
            const QString table = q.value(2).toString();
            const QString code = q.value(7).toString();
            const QString registerCode = q.value(8).toString();
            if (DbResult s = staffText(db, code, staff); !s.ok())
                failed = s;
            // Receipts of several registers may share a number.
            const QString number = where.registerCode ? receipt : registerCode + blank + receipt;
            QStringList header{number + blank,
                               q.value(1).toString() + QStringLiteral("  "),
                               q.value(6).toString() + blank,
                               staff.value(code) + QStringLiteral("  ") + code,
                               format(q.value(3).toDouble(), Conversions::Amount10),
                               blank,
                               blank};
            if (table == sales) {
                header << format(q.value(4).toDouble(), Conversions::Amount10)
                       << format(q.value(5).toDouble(), Conversions::Amount7);
            } else {
                header << four << four;
            }
            ++out.receipts;
            const QList<QStringList> itsLines =
                lines[table].value(receiptKey(registerCode, receipt));
            out.rows << header << itsLines;
            out.owners.insert(out.owners.size(), itsLines.size() + 1,
                              {table, registerCode, receipt});
            if (blankRows) {
                out.rows << QStringList(9, QString());
                out.owners << ReceiptDump::Owner{};
            }
        });
    return r.ok() ? failed : r;
}

} // namespace ReceiptDump
