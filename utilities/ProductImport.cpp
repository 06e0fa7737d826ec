#include "utilities/ProductImport.h"

#include "data/Clock.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSqlError>
#include <QSqlQuery>

namespace {

const QStringList StoredFields = [] {
    QStringList fields;
    for (int i = 1; i <= 25; ++i)
        fields << QStringLiteral("CB%1").arg(i, 2, 10, QChar(u'0'));
    return fields;
}();
// Without these columns no row is a product: a list missing one is refused
// whole, before any row is read. The others may be left out.
const char* const Required[] = {"CB01", "CB02", "CB04", "CB11"};

std::optional<SpecialKind> kindOf(const QString& text)
{
    const QStringList captions{QStringLiteral("期間＆時間"), QStringLiteral("期間"),
                               QStringLiteral("時間"), QStringLiteral("なし")};
    if (text.isEmpty())
        return SpecialKind::None;
    for (int k = 1; k <= 4; ++k) {
        if (text == QString::number(k) || text == captions[k - 1])
            return static_cast<SpecialKind>(k);
    }
    return std::nullopt;
}

// What a product row writes, in field order: what the product screen writes
// on every save, and the tax class.
QVariantMap written(const ProductDraft& draft)
{
    QVariantMap values = draft.entry.record();
    values.insert(QStringLiteral("CB25"), draft.taxClass);
    return values;
}

bool same(const QVariantMap& stored, const QVariantMap& values)
{
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        const QVariant was = stored.value(it.key());
        // A product saved before it had a tax class is at the standard rate.
        const QString before = it.key() == u"CB25" && was.toString().trimmed().isEmpty()
                                   ? QString::fromLatin1(StandardRate)
                                   : was.toString();
        const bool equal = it.key() == u"CB14" ? was.toDouble() == it.value().toDouble()
                                               : before == it.value().toString();
        if (!equal)
            return false;
    }
    return true;
}

QString insertStatement(const QStringList& fields)
{
    const QStringList all = fields + QStringList{"CB09", "CB21", "CB22", "CB23", "CB24"};
    return QStringLiteral("INSERT INTO MBMSHO (%1) VALUES (%2)")
        .arg(all.join(u','), QStringList(all.size(), QStringLiteral("?")).join(u','));
}

QString updateStatement(const QStringList& fields)
{
    QStringList sets;
    for (const QString& f : fields.mid(1) + QStringList{"CB23", "CB24"})
        sets << f + QStringLiteral(" = ?");
    return QStringLiteral("UPDATE MBMSHO SET %1 WHERE CB01 = ?").arg(sets.join(u", "));
}

ProductImport::Failure databaseFailure(const DbResult& result)
{
    return {ProductImport::Trouble::Database, result.error().describe(), result.error()};
}

} // namespace

std::optional<ProductImport::Failure> ProductImport::check(Database& db, const QString& path,
                                                           const ProductCsv::Progress& progress)
{
    *this = ProductImport();
    path_ = path;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Failure{Trouble::Unreadable, path + QStringLiteral(": ") + file.errorString(), {}};
    const std::optional<QString> text = ProductCsv::decode(file.readAll());
    if (!text)
        return Failure{Trouble::NotText, path, {}};
    QList<QStringList> records;
    QString error;
    if (!ProductCsv::parse(*text, records, error))
        return Failure{Trouble::Malformed, error, {}};
    if (records.isEmpty())
        return Failure{Trouble::NoHeadings, path, {}};

    headings_ = records.first();
    for (qsizetype i = 0; i < headings_.size(); ++i) {
        const QString field = ProductCsv::fieldOf(headings_[i]);
        if (!field.isEmpty() && columnAt_[field.mid(2).toInt()] < 0)
            columnAt_[field.mid(2).toInt()] = i;
    }
    for (const char* field : Required) {
        if (columnAt_[QLatin1String(field).mid(2).toInt()] < 0)
            return Failure{
                Trouble::MissingColumn, ProductCsv::headingOf(QString::fromLatin1(field)), {}};
    }
    if (auto failure = readStored(db))
        return failure;
    const qsizetype total = records.size() - 1;
    for (qsizetype i = 1; i < records.size(); ++i) {
        take(i + 1, records[i]);
        if (progress && i % 1000 == 0 && !progress(i, total)) {
            *this = ProductImport();
            return Failure{Trouble::Cancelled, {}, {}};
        }
    }
    if (progress)
        progress(total, total);
    return std::nullopt;
}

std::optional<ProductImport::Failure> ProductImport::readStored(Database& db)
{
    QList<QVariantList> rows;
    for (auto [table, into] : {std::pair{"MBMBRL", &known_.majors}, {"MBMBRM", &known_.middles}}) {
        if (DbResult r = db.select(QStringLiteral("SELECT CB01 FROM %1").arg(QLatin1String(table)),
                                   {}, rows);
            !r.ok())
            return databaseFailure(r);
        for (const QVariantList& row : std::as_const(rows))
            into->insert(row.value(0).toString().trimmed());
    }
    if (DbResult r = db.select(QStringLiteral("SELECT %1 FROM MBMSHO").arg(StoredFields.join(u',')),
                               {}, stored_);
        !r.ok())
        return databaseFailure(r);
    for (qsizetype i = 0; i < stored_.size(); ++i)
        storedAt_.insert(stored_[i].value(0).toString(), i);
    return std::nullopt;
}

QVariantMap ProductImport::storedRecord(const QVariantList& values)
{
    QVariantMap record;
    for (qsizetype i = 0; i < StoredFields.size(); ++i)
        record.insert(StoredFields[i], values.value(i));
    return record;
}

void ProductImport::take(qsizetype row, const QStringList& record)
{
    // Fields by their number (CB13 -> 13), looked up once per file.
    auto has = [this](int field) { return columnAt_[field] >= 0; };
    auto value = [&](int field) {
        const qsizetype at = columnAt_[field];
        return at >= 0 && at < record.size() ? record[at].trimmed() : QString();
    };
    auto refuse = [&](const QString& field, const QString& reason) {
        refused_ << RefusedRow{row, ProductCsv::headingOf(field), reason, record};
    };

    // A stored product keeps what the list has no column for.
    ProductDraft draft;
    const QString code = value(1);
    const auto at = storedAt_.constFind(code);
    const bool adding = at == storedAt_.cend();
    QVariantMap stored;
    if (!adding) {
        stored = storedRecord(stored_[*at]);
        draft.entry = ProductEntry::fromRecord(stored);
        if (const QString tax = stored.value(QStringLiteral("CB25")).toString().trimmed();
            !tax.isEmpty())
            draft.taxClass = tax;
    }
    ProductEntry& e = draft.entry;
    e.code = code;
    auto overlay = [&](QString& target, int field) {
        if (has(field))
            target = value(field);
    };
    overlay(e.name, 2);
    overlay(e.shortName, 3);
    overlay(e.major, 4);
    overlay(e.middle, 5);
    overlay(e.cost, 7);
    overlay(e.costDate, 8);
    overlay(e.price, 11);
    overlay(e.priceDate, 12);
    overlay(draft.taxClass, 25);
    if (has(13)) {
        const std::optional<SpecialKind> kind = kindOf(value(13));
        if (!kind)
            return refuse(QStringLiteral("CB13"),
                          QStringLiteral("特売区分は1から4で入力してください。"));
        e.kind = *kind;
        e.special = value(14);
        e.periodFrom = value(15);
        e.periodTo = value(16);
        e.timeFrom = value(17);
        e.timeTo = value(18);
    }
    if (seen_.contains(code))
        return refuse(QStringLiteral("CB01"),
                      QStringLiteral("商品コードが前の行と重複しています。"));
    if (const auto fault = ProductRules::settle(draft, known_))
        return refuse(fault->field, fault->reason);
    seen_.insert(code);

    const QVariantMap values = written(draft);
    if (!adding && same(stored, values)) {
        ++unchanged_;
        return;
    }
    ++(adding ? added_ : changed_);
    pending_ << Pending{adding, values.values()};
}

std::optional<ProductImport::Failure> ProductImport::write(Database& db,
                                                           const ProductCsv::Progress& progress)
{
    if (pending_.isEmpty())
        return std::nullopt;
    const QStringList fields = written(ProductDraft()).keys();
    const QString today = Clock::today();
    const QString now = Clock::time();
    Transaction transaction(db);
    if (!transaction.started().ok())
        return databaseFailure(transaction.started());
    const QString statements[] = {insertStatement(fields), updateStatement(fields)};
    DbResult r;
    QSqlQuery* insert = db.prepared(statements[0], r);
    if (!insert)
        return databaseFailure(r);
    QSqlQuery* update = db.prepared(statements[1], r);
    if (!update)
        return databaseFailure(r);
    for (qsizetype i = 0; i < pending_.size(); ++i) {
        const Pending& p = pending_[i];
        QSqlQuery* query = p.adding ? insert : update;
        int n = 0;
        for (qsizetype v = p.adding ? 0 : 1; v < p.values.size(); ++v)
            query->bindValue(n++, p.values[v]);
        if (p.adding) {
            query->bindValue(n++, QString::fromLatin1(ProductEntry::NotCalculated));
            query->bindValue(n++, today);
            query->bindValue(n++, now);
        }
        query->bindValue(n++, today);
        query->bindValue(n++, now);
        if (!p.adding)
            query->bindValue(n++, p.values.first());
        if (!query->exec())
            return databaseFailure(
                db.failed(statements[p.adding ? 0 : 1], query->lastError()));
        if (progress && (i + 1) % 1000 == 0 && !progress(i + 1, pending_.size()))
            return Failure{Trouble::Cancelled, {}, {}};
    }
    if (DbResult c = transaction.commit(); !c.ok())
        return databaseFailure(c);
    if (progress)
        progress(pending_.size(), pending_.size());
    pending_.clear();
    return std::nullopt;
}

QString ProductImport::refusedPath() const
{
    const QFileInfo source(path_);
    return source.path() + u'/' + source.completeBaseName() + QStringLiteral("-refused.csv");
}

std::optional<QString> ProductImport::writeRefused() const
{
    QSaveFile file(refusedPath());
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    file.write(ProductCsv::ByteOrderMark);
    file.write(ProductCsv::line(headings_ + QStringList{QStringLiteral("理由")}));
    for (const RefusedRow& r : refused_) {
        QStringList fields = r.original;
        while (fields.size() < headings_.size())
            fields << QString();
        file.write(ProductCsv::line(fields << r.reason));
    }
    if (!file.commit())
        return file.errorString();
    return std::nullopt;
}
