#include "pos/CashLine.h"

#include "data/Conversions.h"
#include "data/RecordSet.h"

namespace {
// What the deposit and payment screens take from a code master: the name
// shown beside the code, and how it stands in the help line.
struct CodeMaster {
    QString table;
    QString key;
    QString name;
    int shown;          // characters of the name field on the screen
    int helpWidth;      // characters the name takes in the help line
    int trailingBlanks; // after each help entry
};

const CodeMaster Accounts{QStringLiteral("MBMKJM"),
                          QStringLiteral("CK01"),
                          QStringLiteral("CK02"),
                          AccountNameLength,
                          7,
                          1};
const CodeMaster Partners{QStringLiteral("MBMKJT"),
                          QStringLiteral("CT01"),
                          QStringLiteral("CT03"),
                          PartnerNameLength,
                          8,
                          4};

DbResult select(RecordSet& rs, const CodeMaster& m, const QString& op, const QString& code)
{
    return rs.open(
        Select(m.table).columns({m.key, m.name}).where(m.key, op, code).orderBy({m.key}));
}

DbResult nameOf(Database& db, const CodeMaster& m, const QString& code, std::optional<QString>& out)
{
    out.reset();
    RecordSet rs(db);
    if (DbResult r = select(rs, m, QStringLiteral("="), code); !r.ok())
        return r;
    if (rs.found())
        out = Conversions::leftChars(rs.text(m.name), m.shown);
    return {};
}

// One entry of a help line: the name held to its width with ideographic
// spaces, so that the entries line up.
QString helpEntry(const QString& code, const QString& name, int width, int trailingBlanks)
{
    QString held = Conversions::leftChars(name, width);
    held += QString(width - Conversions::charCount(held), u'\u3000');
    return code + u' ' + held + QString(trailingBlanks, u' ');
}

// Code 0000 is never listed.
DbResult help(Database& db, const CodeMaster& m, QString& out)
{
    out.clear();
    RecordSet rs(db);
    if (DbResult r = select(rs, m, QStringLiteral(">"), QStringLiteral("0000")); !r.ok())
        return r;
    for (rs.moveFirst(); !rs.eof(); rs.moveNext())
        out += helpEntry(rs.text(m.key), rs.text(m.name), m.helpWidth, m.trailingBlanks);
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
    return nameOf(db, Accounts, typed, name);
}

DbResult findPartner(Database& db, const QString& code, std::optional<QString>& shortName)
{
    return nameOf(db, Partners, code, shortName);
}

DbResult accountHelp(Database& db, QString& out)
{
    return help(db, Accounts, out);
}

DbResult partnerHelp(Database& db, QString& out)
{
    return help(db, Partners, out);
}
