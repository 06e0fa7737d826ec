#include "Fixture.h"

#include "ScreenRegistry.h"
#include "pos/ReceiptPrinter.h"

#include "data/DatabaseSettings.h"
#include "data/Parameters.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QDir>
#include <QInputMethodEvent>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTimer>

#include <sys/mount.h>

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

namespace {
// The database of this test program on the test server, made on first use;
// each test starts it empty. It goes with the throw-away cluster.
class ServerDatabase {
public:
    static ServerDatabase& instance()
    {
        static ServerDatabase db;
        return db;
    }
    QString name() const { return name_; }
    void empty()
    {
        if (!made_) {
            admin(QStringLiteral("postgres"), QStringLiteral("CREATE DATABASE ") + name_);
            made_ = true;
        }
        admin(name_, QStringLiteral("SET client_min_messages = warning; "
                                    "DROP SCHEMA public CASCADE; CREATE SCHEMA public"));
    }

private:
    ServerDatabase() : name_(QStringLiteral("muk4_test_%1").arg(QCoreApplication::applicationPid()))
    {
    }
    static void admin(const QString& dbname, const QString& statement)
    {
        const QString connection = QStringLiteral("muk4-test-admin");
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), connection);
            db.setHostName(testServerHost());
            db.setDatabaseName(dbname);
            db.setUserName(QStringLiteral("muk4"));
            if (!db.open())
                qFatal("test server: %s", qPrintable(db.lastError().text()));
            QSqlQuery query(db);
            if (!query.exec(statement))
                qFatal("test server: %s: %s", qPrintable(statement),
                       qPrintable(query.lastError().text()));
        }
        QSqlDatabase::removeDatabase(connection);
    }
    QString name_;
    bool made_ = false;
};
} // namespace

QString testServerHost()
{
    return qEnvironmentVariable("MUK4_TEST_PGHOST");
}

void pointAtTestServer(const QString& folder, const QString& registerCode)
{
    QFile ini(QDir(folder).filePath(QStringLiteral("MUK4.ini")));
    if (!ini.open(QIODevice::WriteOnly))
        qFatal("cannot write MUK4.ini");
    ini.write(QStringLiteral("[database]\nengine=postgresql\nhost=%1\nport=5432\ndbname=%2\n"
                             "user=muk4\n[register]\ncode=%3\n")
                  .arg(testServerHost(), ServerDatabase::instance().name(), registerCode)
                  .toUtf8());
    DatabaseSettings::forget();
}

ProgramFolder::ProgramFolder(bool made)
{
    static NoPrinter none;
    ReceiptPrinter::use(&none);
    Database::setFolder(dir_.path());
    if (onServer()) {
        ServerDatabase::instance().empty();
        pointAtTestServer(dir_.path());
    }
    if (const auto failure = made ? Schema::prepareDatabase() : std::nullopt)
        qFatal("cannot make the test database: %s", qPrintable(*failure));
}

ProgramFolder::~ProgramFolder()
{
    ReceiptPrinter::use(nullptr);
    Database::setFolder(QString());
    DatabaseSettings::forget();
}

TestDb::TestDb()
{
    if (!db_.open().ok())
        qFatal("cannot open the test database");
}

namespace {
// The server names columns in small letters: a name reads as the statement
// spells it, a table's field as the file names it (CF01).
QString fieldName(const QString& name, const QString& sql)
{
    const QRegularExpression spelt(QStringLiteral("\\b") + name + QStringLiteral("\\b"),
                                   QRegularExpression::CaseInsensitiveOption);
    if (const auto match = spelt.match(sql); match.hasMatch())
        return match.captured();
    static const QRegularExpression field(QStringLiteral("^[a-z]{2}[0-9]{2}$"));
    return field.match(name).hasMatch() ? name.toUpper() : name;
}
} // namespace

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
            fields.insert(fieldName(record.fieldName(i), sql), record.value(i));
        result << fields;
    }
    return result;
}

QVariantMap row(Database& db, const QString& sql, const QVariantList& values)
{
    return rows(db, sql, values).value(0);
}

QVariantMap stored(const QString& table, const QVariantList& values)
{
    const QStringList fields = Schema::fieldsOf(table);
    QVariantMap record;
    for (qsizetype i = 0; i < values.size() && i < fields.size(); ++i)
        record.insert(fields[i], values[i]);
    return record;
}

void refuseInserts(Database& db, const QString& table, const QString& condition)
{
    const QString when =
        QString(condition).replace(QRegularExpression("\\b(C[A-Z]\\d\\d)\\b"), "NEW.\\1");
    const QString sql =
        db.onServer()
            ? QStringLiteral("CREATE FUNCTION refuse() RETURNS trigger AS $$ BEGIN IF %2 THEN "
                             "RAISE EXCEPTION 'refused'; END IF; RETURN NEW; END $$ LANGUAGE "
                             "plpgsql; CREATE TRIGGER refuse BEFORE INSERT ON %1 FOR EACH ROW "
                             "EXECUTE FUNCTION refuse()")
            : QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON %1 WHEN %2 BEGIN SELECT "
                             "RAISE(ABORT, 'refused'); END");
    if (!db.execute(sql.arg(table, when)).ok())
        qFatal("cannot refuse inserts into %s", qPrintable(table));
}

QStringList tableNames(Database& db)
{
    QStringList names;
    const QString sql =
        db.onServer() ? "SELECT upper(table_name) AS name FROM information_schema.tables WHERE "
                        "table_schema = current_schema() AND table_name <> 'muk4_layout' ORDER BY 1"
                      : "SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name";
    for (const QVariantMap& table : rows(db, sql))
        names << table.value("name").toString();
    return names;
}

int layoutVersion(Database& db)
{
    int version = -1;
    if (!db.layoutVersion(version).ok())
        qFatal("cannot read the layout version");
    return version;
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

// A whole record, its values in the table's field order.
void insert(Database& db, const QString& table, const QVariantList& values)
{
    run(db,
        "INSERT INTO " + table + " (" + Schema::fieldsOf(table).first(values.size()).join(u',') +
            ") VALUES (" + QStringList(values.size(), "?").join(u',') + ")",
        values);
}
} // namespace

namespace {
// The register code a parameter record is kept under: the file keeps its one
// register's records under "01", a server each register's under its own.
QString registerOf(const QString& key)
{
    const QString code = DatabaseSettings::current().registerCode;
    return !Parameters::ofRegister(key) ? " " : code.isEmpty() ? "01" : code;
}
} // namespace

void setParameter(Database& db, const QString& key, const QString& first, const QString& second)
{
    removeParameter(db, key);
    insert(db, "MBMSYS", {key, first, second, " ", "20260101", "09:00:00", registerOf(key)});
}

void removeParameter(Database& db, const QString& key)
{
    if (DatabaseSettings::current().onServer())
        run(db, "DELETE FROM MBMSYS WHERE CB01 = ? AND CB09 = ?", {key, registerOf(key)});
    else
        run(db, "DELETE FROM MBMSYS WHERE CB01 = ?", {key});
}

namespace {
const QVariantList Added{"20260101", "09:00:00", "20260101", "09:00:00"};
}

void addStaff(Database& db, const QString& code, const QString& name)
{
    insert(db, "MBMCHR", QVariantList{code, name, " ", " "} + Added);
}

void addMajor(Database& db, const QString& code, const QString& name, const QString& shortName)
{
    insert(db, "MBMBRL", QVariantList{code, name, shortName, " "} + Added);
}

void addMiddle(Database& db, const QString& code, const QString& name, const QString& shortName)
{
    insert(db, "MBMBRM", QVariantList{code, name, shortName, code.left(1), " ", " ", " "} + Added);
}

void addCashCode(Database& db, const QString& table, const QString& code, const QString& name,
                 const QString& shortName, const QString& addedDate, const QString& addedTime)
{
    insert(db, table, {code, name, shortName, " ", addedDate, addedTime, addedDate, addedTime});
}

QVariantMap productRecord(const QVariantMap& fields)
{
    const QStringList texts =
        QStringLiteral("4900000000001|商品|商品|1|101| |100|20250101|20250301| "
                       "|150|20250101|4|0| | | | | | |20250101|08:00:00|"
                       "20250101|08:00:00")
            .split(u'|');
    QVariantList values(texts.begin(), texts.end());
    values[13] = 0; // the one numeric field
    QVariantMap record = stored("MBMSHO", values);
    record.insert(fields);
    return record;
}

void addProduct(Database& db, const QVariantMap& fields)
{
    insert(db, "MBMSHO", productRecord(fields).values());
}

void addHeader(Database& db, const Header& h)
{
    const QString written = h.written.isEmpty() ? h.date : h.written;
    run(db,
        QStringLiteral("INSERT INTO %1 VALUES (?, ?, ?, '001', ?, ' ', ?, ' ', "
                       "?, ?, ?, ' ', ?, ?, "
                       "' ', ?, ?, 0, ?, ?, ?, ?, ?)")
            .arg(h.table),
        {h.store, h.registerCode, h.receipt, h.staff, h.code, h.amount, h.paidNow,
         h.paidNow - h.amount, h.paidNow, h.onCredit, h.amount, h.tax, h.date, written, h.time,
         written, h.time});
}

void addLine(Database& db, const Line& l)
{
    const QStringList fields = Schema::fieldsOf(l.table);
    const bool rated = fields.size() > 27;
    run(db,
        QStringLiteral("INSERT INTO %1 (%2) VALUES (?, ?, ?, ?, '0001', ?, ?, ?, ?, "
                       "?, '', ' ', ?, ?, ?, "
                       "' ', ?, ?, ?, ?, ?, ' ', ?, ?, ?, ?, ?%3)")
            .arg(l.table, fields.first(rated ? 28 : 27).join(u','), rated ? ", ?" : ""),
        QVariantList() << l.store << l.registerCode << l.receipt << l.number << l.kind << l.product
                       << l.name << l.major << l.middle << l.base << l.unitBase << l.quantity
                       << l.amount << l.amount - l.base << l.unitPrice << l.unitPrice - l.unitBase
                       << l.cost << l.date << l.date << l.time << l.date << l.time
                       << (rated ? QVariantList{l.rate} : QVariantList{}));
}

namespace {
MessageBoxes* expecting = nullptr;

QString describe(const MessageBoxes::Seen& box)
{
    return QStringLiteral("%1 [%2]%3")
        .arg(box.text, box.title, box.details.isEmpty() ? QString() : " / " + box.details);
}
} // namespace

// Looks for an open message box every few milliseconds, also while a box's
// own event loop runs, and answers it.
class BoxWatcher : public QObject {
public:
    explicit BoxWatcher(QObject* parent) : QObject(parent)
    {
        connect(&timer_, &QTimer::timeout, this, &BoxWatcher::look);
        timer_.start(10);
    }

private:
    void look()
    {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        const MessageBoxes::Seen seen{box->windowTitle(), box->text(), box->icon(),
                                      box->detailedText()};
        QAbstractButton* answer = box->button(expecting ? expecting->answer_ : QMessageBox::Ok);
        if (!answer)
            answer = box->button(QMessageBox::Ok);
        if (!answer)
            answer = box->buttons().value(0);
        answer->click();
        if (expecting)
            expecting->seen_ << seen;
        else
            QTest::qFail(qPrintable("unexpected message box: " + describe(seen)), __FILE__,
                         __LINE__);
    }
    QTimer timer_;
};

static void installBoxWatcher()
{
    static QPointer<BoxWatcher> watcher;
    if (!watcher && qobject_cast<QApplication*>(QCoreApplication::instance()))
        watcher = new BoxWatcher(QCoreApplication::instance());
}
Q_COREAPP_STARTUP_FUNCTION(installBoxWatcher)

MessageBoxes::MessageBoxes() : outer_(expecting)
{
    installBoxWatcher();
    expecting = this;
}

MessageBoxes::~MessageBoxes()
{
    expecting = outer_;
    if (looked_ < seen_.size())
        QTest::qFail(
            qPrintable("message box shown but never asserted: " + describe(seen_[looked_])),
            __FILE__, __LINE__);
}

const QList<MessageBoxes::Seen>& MessageBoxes::seen()
{
    looked_ = seen_.size();
    return seen_;
}

QStringList MessageBoxes::texts()
{
    QStringList all;
    for (const Seen& s : seen())
        all << s.text;
    return all;
}

Screens::Screens()
{
    installBoxWatcher();
    registerScreens(navigator_);
    QObject::connect(&navigator_, &Navigator::finished, [this] { ended_ = true; });
}

Screens::~Screens()
{
    delete navigator_.current();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

Screen* Screens::show(const QString& code)
{
    navigator_.show(code);
    return settle();
}

QStringList Screens::shown(const QStringList& names)
{
    QStringList all;
    for (const QString& name : names) {
        const QWidget* focus = QApplication::focusWidget();
        if (name == u"focus")
            all << (focus ? focus->objectName() : QStringLiteral("(no focus)"));
        else if (auto* label = find<QLabel>(name))
            all << label->text();
        else if (auto* field = find<QLineEdit>(name))
            all << field->text();
        else if (auto* button = find<QAbstractButton>(name))
            all << button->text();
        else
            all << "(no " + name + ")";
    }
    return all;
}

QWidget* Screens::named(const QString& caption)
{
    Screen* screen = current();
    if (!screen)
        return nullptr;
    for (QLabel* label : screen->findChildren<QLabel*>()) {
        if (label->buddy() && label->text() == caption)
            return label->buddy();
    }
    for (QWidget* widget : screen->findChildren<QWidget*>()) {
        if (widget->accessibleName() == caption)
            return widget;
    }
    return nullptr;
}

QList<QStringList> Screens::gridRows(const QString& name)
{
    QList<QStringList> all;
    const auto* view = find<QAbstractItemView>(name);
    const QAbstractItemModel* model = view ? view->model() : nullptr;
    for (int r = 0; model && r < model->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < model->columnCount(); ++c)
            cells << model->index(r, c).data().toString();
        all << cells;
    }
    return all;
}

void Screens::click(const QString& name)
{
    QTest::mouseClick(button(name), Qt::LeftButton);
    settle();
}

QString Screens::fill(const QStringList& entries)
{
    for (qsizetype i = 0; i + 1 < entries.size(); i += 2) {
        const QString& name = entries[i];
        const QString& text = entries[i + 1];
        QWidget* widget = find<QWidget>(name);
        if (auto* kind = qobject_cast<QRadioButton*>(widget)) {
            QTest::mouseClick(kind, Qt::LeftButton);
            continue;
        }
        if (!widget || !widget->hasFocus())
            return name;
        auto* box = qobject_cast<QComboBox*>(widget);
        if (box && !text.isEmpty()) {
            box->showPopup();
            box->view()->setCurrentIndex(box->model()->index(text.toInt(), 0));
            QTest::keyClick(box->view(), Qt::Key_Return);
            continue;
        }
        if (!box)
            typeInto(widget, text);
        enter(widget);
    }
    return QString();
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

Screen* Screens::settle()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    Screen* screen = navigator_.current();
    if (screen && !QTest::qWaitForWindowActive(screen))
        QTest::qFail(qPrintable("screen " + screen->code() + " did not become active"), __FILE__,
                     __LINE__);
    return screen;
}

void typeInto(QWidget* field, const QString& text)
{
    // Latin characters come from the keys; anything else is committed the
    // way an input method does it for Japanese text.
    // A character outside the basic plane arrives whole, as one commit.
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.unicode() < 128) {
            QTest::keyClick(field, c.toLatin1());
            continue;
        }
        const qsizetype length = c.isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        QInputMethodEvent commit;
        commit.setCommitString(text.mid(i, length));
        QApplication::sendEvent(field, &commit);
        i += length - 1;
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

void choose(QComboBox* combo, int index)
{
    combo->setFocus();
    while (combo->currentIndex() < index)
        QTest::keyClick(combo, Qt::Key_Down);
    while (combo->currentIndex() > index)
        QTest::keyClick(combo, Qt::Key_Up);
}

void clickRow(QTableWidget* grid, int row)
{
    const QRect cell = grid->visualItemRect(grid->item(row, 0));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
}

bool drawsIn(QWidget* widget, const QColor& colour)
{
    const QImage image = widget->grab().toImage();
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y).rgb() == colour.rgb())
                return true;
    return false;
}

SmallDisk::SmallDisk(int kilobytes)
{
    const QByteArray size = "size=" + QByteArray::number(kilobytes) + "k";
    mounted_ = ::mount("tmpfs", qPrintable(path()), "tmpfs", 0, size.constData()) == 0;
}

SmallDisk::~SmallDisk()
{
    if (mounted_)
        ::umount2(qPrintable(path()), MNT_DETACH);
}

void SmallDisk::fill()
{
    QFile filler(path() + QStringLiteral("/filler"));
    const QByteArray block(4096, 'x');
    if (filler.open(QIODevice::WriteOnly)) {
        while (filler.write(block) == block.size() && filler.flush()) {
        }
    }
}

void SmallDisk::empty()
{
    QFile::remove(path() + QStringLiteral("/filler"));
}

bool SmallDisk::setReadOnly(bool readOnly)
{
    const unsigned long flags = MS_REMOUNT | (readOnly ? MS_RDONLY : 0);
    return ::mount("tmpfs", qPrintable(path()), "tmpfs", flags, nullptr) == 0;
}
