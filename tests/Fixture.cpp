#include "Fixture.h"

#include "ScreenRegistry.h"
#include "data/Schema.h"
#include "pos/ReceiptPrinter.h"

#include <QAbstractButton>
#include <QApplication>
#include <QImage>
#include <QInputMethodEvent>
#include <QLabel>
#include <QPointer>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTableWidget>

namespace {
// Tests never reach a real printer: their receipts become PDFs in the test's
// program folder, as on a machine without one.
class NoPrinter : public ReceiptPrinter {
public:
    QString name() const override { return QString(); }
    bool print(const SheetPage&, const QString&, QString& error) override
    {
        error = QStringLiteral("no printer in tests");
        return false;
    }
};
} // namespace

ProgramFolder::ProgramFolder()
{
    static NoPrinter none;
    ReceiptPrinter::use(&none);
    Database::setFolder(dir_.path());
    const auto failure = Schema::prepareFile();
    if (failure)
        qFatal("cannot make the test database: %s", qPrintable(*failure));
}

ProgramFolder::~ProgramFolder()
{
    ReceiptPrinter::use(nullptr);
    Database::setFolder(QString());
}

QString ProgramFolder::file() const
{
    return Database::filePath();
}

TestDb::TestDb()
{
    if (!db_.open().ok())
        qFatal("cannot open the test database");
}

QList<QVariantMap> rows(Database& db, const QString& sql, const QVariantList& values)
{
    QSqlQuery query(db.handle());
    if (!query.prepare(sql))
        qFatal("%s: %s", qPrintable(sql), qPrintable(query.lastError().text()));
    for (const QVariant& value : values)
        query.addBindValue(value);
    if (!query.exec())
        qFatal("%s: %s", qPrintable(sql), qPrintable(query.lastError().text()));
    QList<QVariantMap> result;
    while (query.next()) {
        QVariantMap fields;
        const QSqlRecord record = query.record();
        for (int i = 0; i < record.count(); ++i)
            fields.insert(record.fieldName(i), record.value(i));
        result << fields;
    }
    return result;
}

QVariantMap row(Database& db, const QString& sql, const QVariantList& values)
{
    const QList<QVariantMap> all = rows(db, sql, values);
    return all.isEmpty() ? QVariantMap() : all.first();
}

QVariantMap stored(const QString& table, const QVariantList& values)
{
    const QStringList fields = Schema::fieldsOf(table);
    QVariantMap record;
    for (qsizetype i = 0; i < values.size() && i < fields.size(); ++i)
        record.insert(fields[i], values[i]);
    return record;
}

qint64 count(Database& db, const QString& table)
{
    return row(db, QStringLiteral("SELECT count(*) AS n FROM ") + table).value("n").toLongLong();
}

namespace {
void run(Database& db, const QString& sql, const QVariantList& values)
{
    if (DbResult r = db.execute(sql, values); !r.ok())
        qFatal("%s", qPrintable(r.error().describe()));
}
} // namespace

void setParameter(Database& db, const QString& key, const QString& first, const QString& second)
{
    run(db, "DELETE FROM MBMSYS WHERE CB01 = ?", {key});
    run(db,
        "INSERT INTO MBMSYS (CB01, CB02, CB03, CB04, CB07, CB08) VALUES (?, ?, ?, ' ', "
        "'20260101', '09:00:00')",
        {key, first, second});
}

void removeParameter(Database& db, const QString& key)
{
    run(db, "DELETE FROM MBMSYS WHERE CB01 = ?", {key});
}

void addStaff(Database& db, const QString& code, const QString& name, const QString& addedDate,
              const QString& addedTime)
{
    run(db, "INSERT INTO MBMCHR VALUES (?, ?, ' ', ' ', ?, ?, ?, ?)",
        {code, name, addedDate, addedTime, addedDate, addedTime});
}

void addMajor(Database& db, const QString& code, const QString& name, const QString& shortName,
              const QString& addedDate, const QString& addedTime)
{
    run(db, "INSERT INTO MBMBRL VALUES (?, ?, ?, ' ', ?, ?, ?, ?)",
        {code, name, shortName, addedDate, addedTime, addedDate, addedTime});
}

void addMiddle(Database& db, const QString& code, const QString& name, const QString& shortName,
               const QString& addedDate, const QString& addedTime)
{
    run(db, "INSERT INTO MBMBRM VALUES (?, ?, ?, ?, ' ', ' ', ' ', ?, ?, ?, ?)",
        {code, name, shortName, code.left(1), addedDate, addedTime, addedDate, addedTime});
}

void addCashCode(Database& db, const QString& table, const QString& code, const QString& name,
                 const QString& shortName, const QString& addedDate, const QString& addedTime)
{
    run(db, "INSERT INTO " + table + " VALUES (?, ?, ?, ' ', ?, ?, ?, ?)",
        {code, name, shortName, addedDate, addedTime, addedDate, addedTime});
}

QVariantMap productRecord(const QVariantMap& fields)
{
    QVariantMap record = stored("MBMSHO", {"4900000000001",
                                           "商品",
                                           "商品",
                                           "1",
                                           "101",
                                           " ",
                                           "100",
                                           "20250101",
                                           "20250301",
                                           " ",
                                           "150",
                                           "20250101",
                                           "4",
                                           0,
                                           " ",
                                           " ",
                                           " ",
                                           " ",
                                           " ",
                                           " ",
                                           "20250101",
                                           "08:00:00",
                                           "20250101",
                                           "08:00:00"});
    for (auto it = fields.cbegin(); it != fields.cend(); ++it)
        record.insert(it.key(), it.value());
    return record;
}

void addProduct(Database& db, const QVariantMap& fields)
{
    const QVariantMap record = productRecord(fields);
    QStringList marks;
    for (qsizetype i = 0; i < record.size(); ++i)
        marks << QStringLiteral("?");
    run(db,
        "INSERT INTO MBMSHO (" + record.keys().join(u',') + ") VALUES (" + marks.join(u',') + ")",
        record.values());
}

void addSale(Database& db, const QString& store, const QString& registerCode,
             const QString& receipt, const QString& businessDate, const QString& transaction,
             double amount, double paidNow)
{
    run(db,
        "INSERT INTO MOMURA (CF01, CF02, CF03, CF04, CF05, CF06, CF07, CF08, CF09, CF10, CF11, "
        "CF12, CF13, CF14, CF15, CF16, CF17, CF18, CF19, CF20, CF21, CF22, CF23) VALUES (?, ?, "
        "?, '001', '0001', ' ', ?, ' ', ?, ?, 0, ' ', ?, ?, ' ', ?, 0, 0, ?, ?, '10:00:00', ?, "
        "'10:00:00')",
        {store, registerCode, receipt, transaction, amount, paidNow, paidNow, amount - paidNow,
         amount, businessDate, businessDate, businessDate});
}

void addCashMovement(Database& db, const QString& table, const QString& store,
                     const QString& registerCode, const QString& receipt,
                     const QString& businessDate, double amount)
{
    run(db,
        "INSERT INTO " + table +
            " (CF01, CF02, CF03, CF04, CF05, CF06, CF07, CF08, CF09, CF10, CF11, CF12, CF13, "
            "CF14, CF15, CF16, CF17, CF18, CF19, CF20, CF21, CF22, CF23) VALUES (?, ?, ?, '001', "
            "'0001', ' ', '70000', ' ', ?, ?, 0, ' ', ?, 0, ' ', ?, 0, ' ', ?, ?, '10:00:00', ?, "
            "'10:00:00')",
        {store, registerCode, receipt, amount, amount, amount, amount, businessDate, businessDate,
         businessDate});
}

MessageBoxes::MessageBoxes()
{
    connect(&timer_, &QTimer::timeout, this, &MessageBoxes::answer);
    timer_.start(10);
}

QStringList MessageBoxes::texts() const
{
    QStringList all;
    for (const Seen& s : seen_)
        all << s.text;
    return all;
}

void MessageBoxes::answer()
{
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box)
        return;
    seen_ << Seen{box->windowTitle(), box->text(), box->icon()};
    box->button(QMessageBox::Ok)->click();
}

Screens::Screens()
{
    registerScreens(navigator_);
    QObject::connect(&navigator_, &Navigator::finished, [this] { ended_ = true; });
}

Screens::~Screens()
{
    if (navigator_.current())
        delete navigator_.current();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

Screen* Screens::show(const QString& code)
{
    navigator_.show(code);
    return settle();
}

QString Screens::label(const QString& name)
{
    QLabel* found = find<QLabel>(name);
    return found ? found->text() : QString();
}

QList<QStringList> Screens::gridRows()
{
    QList<QStringList> all;
    auto* grid = find<QTableWidget>(QStringLiteral("FG1"));
    for (int r = 0; grid && r < grid->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < grid->columnCount(); ++c)
            cells << (grid->item(r, c) ? grid->item(r, c)->text() : QString());
        all << cells;
    }
    return all;
}

void Screens::click(const QString& name)
{
    QTest::mouseClick(button(name), Qt::LeftButton);
    settle();
}

QStringList Screens::usable(const QStringList& names)
{
    QStringList open;
    for (const QString& name : names) {
        if (auto* widget = find<QWidget>(name); widget && widget->isEnabled())
            open << name;
    }
    return open;
}

Screen* Screens::current()
{
    return navigator_.current();
}

Screen* Screens::settle()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    Screen* screen = navigator_.current();
    if (screen && !QTest::qWaitForWindowActive(screen))
        qWarning("screen %s did not become active", qPrintable(screen->code()));
    return screen;
}

void typeInto(QWidget* field, const QString& text)
{
    // Latin characters come from the keys; anything else is committed the
    // way an input method does it for Japanese text.
    for (const QChar c : text) {
        if (c.unicode() < 128) {
            QTest::keyClick(field, c.toLatin1());
        } else {
            QInputMethodEvent commit;
            commit.setCommitString(QString(c));
            QApplication::sendEvent(field, &commit);
        }
    }
}

void enter(QWidget* widget)
{
    QPointer<QWidget> window = widget->window();
    QTest::keyClick(widget, Qt::Key_Return);
    // A message box took the keyboard for a moment; wait until the screen
    // has it back, as the operator would.
    if (window && window->isVisible() && !window->isActiveWindow())
        (void)QTest::qWaitForWindowActive(window);
}

void functionKey(QWidget* widget, Qt::Key key)
{
    QTest::keyClick(widget, key);
}

void clickRow(QTableWidget* grid, int row)
{
    const QRect cell = grid->visualItemRect(grid->item(row, 0));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
}

bool drawsIn(QWidget* widget, const QColor& colour)
{
    const QImage image = widget->grab().toImage();
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y).rgb() == colour.rgb())
                return true;
        }
    }
    return false;
}
