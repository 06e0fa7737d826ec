#include "pos/CashLine.h"

#include "data/Conversions.h"
#include "data/RecordSet.h"

namespace {
// The first record of a master table under a code, by its field prefix
// ("CK" accounts, "CT" partners).
DbResult nameOf(Database& db, const QString& table, const QString& prefix, const QString& code,
                const QString& nameField, int length, std::optional<QString>& out)
{
    out.reset();
    const QString key = prefix + QStringLiteral("01");
    RecordSet rs(db);
    DbResult r = rs.open(Select(table)
                             .columns({key, nameField})
                             .where(key, QStringLiteral("="), code)
                             .orderBy({key}));
    if (!r.ok())
        return r;
    if (rs.found())
        out = Conversions::leftChars(rs.text(nameField), length);
    return {};
}

DbResult help(Database& db, const QString& table, const QString& prefix, const QString& nameField,
              int width, int trailingBlanks, QString& out)
{
    out.clear();
    const QString key = prefix + QStringLiteral("01");
    RecordSet rs(db);
    DbResult r = rs.open(Select(table)
                             .columns({key, nameField})
                             .where(key, QStringLiteral(">"), QStringLiteral("0000"))
                             .orderBy({key}));
    if (!r.ok())
        return r;
    for (rs.moveFirst(); !rs.eof(); rs.moveNext())
        out += helpEntry(rs.text(key), rs.text(nameField), width, trailingBlanks);
    return {};
}
} // namespace

CashLine CashLine::make(const QString& accountCode, const QString& accountName, const QString& memo,
                        const QString& partnerCode, const QString& partnerName, double unitAmount,
                        const QString& quantityText)
{
    CashLine line;
    line.accountCode = accountCode;
    line.accountName = accountName;
    line.memo = memo;
    line.partnerCode = partnerCode;
    line.partnerName = partnerName;
    line.unitAmount = unitAmount;
    line.quantityText = quantityText;
    line.quantity = Conversions::toNumber(quantityText);
    line.amount = unitAmount * line.quantity;
    return line;
}

CashTotals cashTotalsOf(const QList<CashLine>& lines, double taxRate)
{
    CashTotals totals;
    for (const CashLine& line : lines) {
        totals.total += line.amount;
        totals.tax += cashTax(line.amount, taxRate);
    }
    return totals;
}

DbResult findAccount(Database& db, const QString& typed, std::optional<QString>& name)
{
    return nameOf(db, QStringLiteral("MBMKJM"), QStringLiteral("CK"), typed, QStringLiteral("CK02"),
                  AccountNameLength, name);
}

DbResult findPartner(Database& db, const QString& code, std::optional<QString>& shortName)
{
    return nameOf(db, QStringLiteral("MBMKJT"), QStringLiteral("CT"), code, QStringLiteral("CT03"),
                  PartnerNameLength, shortName);
}

DbResult accountHelp(Database& db, QString& out)
{
    return help(db, QStringLiteral("MBMKJM"), QStringLiteral("CK"), QStringLiteral("CK02"), 7, 1,
                out);
}

DbResult partnerHelp(Database& db, QString& out)
{
    return help(db, QStringLiteral("MBMKJT"), QStringLiteral("CT"), QStringLiteral("CT03"), 8, 4,
                out);
}

QString helpEntry(const QString& code, const QString& name, int width, int trailingBlanks)
{
    QString held = Conversions::leftChars(name, width);
    held += QString(width - Conversions::charCount(held), u'\u3000');
    return code + u' ' + held + QString(trailingBlanks, u' ');
}
