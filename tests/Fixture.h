#pragma once

#include "data/Clock.h"
#include "data/Database.h"
#include "data/Schema.h"
#include "shell/Navigator.h"
#include "shell/Screen.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QVariantMap>

#include <tuple>

// The Unix-socket folder of the test server when this run is on the server
// engine (MUK4_TEST_PGHOST), empty for the file.
QString testServerHost();
// Writes the MUK4.ini that points a program folder at this test program's
// database on the test server, as the given register.
void pointAtTestServer(const QString& folder, const QString& registerCode = QStringLiteral("01"));

// A fresh, empty program folder with a newly made database (on the test
// server, an emptied one); the program folder goes back to the executable's
// when it ends.
class ProgramFolder {
public:
    // Whether the tests run on the server engine.
    static bool onServer() { return !testServerHost().isEmpty(); }
    // Without `made`, the folder (and the test server's database) is left
    // empty for the test to start from.
    explicit ProgramFolder(bool made = true);
    ~ProgramFolder();
    // What the program folder holds of the database: the file, or the
    // settings pointing at the server.
    static QString databaseEntry() { return onServer() ? "MUK4.ini" : "MUK4.db"; }
    QString path() const { return dir_.path(); }
    QString file() const { return Database::filePath(); }

private:
    QTemporaryDir dir_;
};

// The test's own connection, for arranging records and reading them back.
// A small tmpfs folder of its own, mounted while it lives (mounting needs
// the right to), to be filled up or made read-only.
class SmallDisk {
public:
    explicit SmallDisk(int kilobytes = 2048);
    ~SmallDisk();
    bool mounted() const { return mounted_; }
    QString path() const { return dir_.path(); }
    // A file that takes every free byte, and its removal.
    void fill();
    void empty();
    bool setReadOnly(bool readOnly);

private:
    QTemporaryDir dir_;
    bool mounted_ = false;
};

class TestDb {
public:
    TestDb();
    Database& db() { return db_; }
    operator Database&() { return db_; }

private:
    Database db_;
};

// Rows of a query, each as field name -> value, for comparing with the rows
// a test expects.
QList<QVariantMap> rows(Database& db, const QString& sql, const QVariantList& values = {});
QVariantMap row(Database& db, const QString& sql, const QVariantList& values = {});
// A record of a table as expected in a test: its values in field order.
QVariantMap stored(const QString& table, const QVariantList& values);
qint64 count(Database& db, const QString& table);
// Makes the engine refuse to insert the rows of a table that meet the
// condition (an SQL expression on its fields), as a disk or a damaged
// file would.
void refuseInserts(Database& db, const QString& table, const QString& condition);
// The tables of the database in name order, and its layout version.
QStringList tableNames(Database& db);
int layoutVersion(Database& db);

// Builders, one per table.
void setParameter(Database& db, const QString& key, const QString& first,
                  const QString& second = QStringLiteral(" "));
void removeParameter(Database& db, const QString& key);
// Staff, a major (MBMBRL) and a middle category (MBMBRM, code = major digit
// and two-digit number), added 20260101 09:00:00.
void addStaff(Database& db, const QString& code, const QString& name);
void addMajor(Database& db, const QString& code, const QString& name,
              const QString& shortName = QStringLiteral(" "));
void addMiddle(Database& db, const QString& code, const QString& name,
               const QString& shortName = QStringLiteral(" "));
// An account (MBMKJM, CK..) or partner (MBMKJT, CT..).
void addCashCode(Database& db, const QString& table, const QString& code, const QString& name,
                 const QString& shortName, const QString& addedDate = QStringLiteral("20260101"),
                 const QString& addedTime = QStringLiteral("09:00:00"));
// A product of MBMSHO: a complete record of plain values (no special price,
// added 20250101 08:00:00) with the given fields in place of those values.
QVariantMap productRecord(const QVariantMap& fields);
void addProduct(Database& db, const QVariantMap& fields);
// A receipt header of MOMURA, MOMNYK or MOMSYK: CF09 amount, CF13 paid now,
// CF14 on credit, CF17 tax; `date` is the business date, `written` the
// posting date (the business date when empty).
struct Header {
    QString table = QStringLiteral("MOMURA"), store = QStringLiteral("01"),
            registerCode = QStringLiteral("01"), receipt = {}, date = {},
            code = QStringLiteral("11000");
    double amount = 0, paidNow = 0, onCredit = 0, tax = 0;
    QString staff = QStringLiteral("0001"), time = QStringLiteral("10:00:00"), written = {};
};
void addHeader(Database& db, const Header& h);

// A line of MOVURA, MOVNYK or MOVSYK: kind "9" for a returned line, CF13
// base, CF14 unit base, CF15 quantity, CF17 amount, CF19 unit price, CF21
// cost.
struct Line {
    QString table = QStringLiteral("MOVURA"), store = QStringLiteral("01"),
            registerCode = QStringLiteral("01"), receipt = {}, number = QStringLiteral("001"),
            date = {}, kind = QStringLiteral(" "), product = QStringLiteral("4900000000001"),
            name = QStringLiteral("商品"), major = QStringLiteral("1"),
            middle = QStringLiteral("101");
    double base = 0, unitBase = 0, quantity = 1, amount = 0, unitPrice = 0, cost = 0;
    QString time = QStringLiteral("10:00:00");
    QVariant rate = {}; // MOVURA CF28; none reads as the standard rate
};
void addLine(Database& db, const Line& l);

// A message box nobody expects fails the test at once, with its text and
// details, and is closed so that nothing waits for an answer (a watcher runs
// from the start of every test program using this fixture). A test expecting
// boxes keeps a MessageBoxes alive around the steps that show them: each box
// is answered and kept, and one never looked at through seen() or texts()
// by the time the object goes fails the test too.
class MessageBoxes {
public:
    struct Seen {
        QString title, text;
        QMessageBox::Icon icon;
        QString details;
    };
    MessageBoxes();
    ~MessageBoxes();
    MessageBoxes(const MessageBoxes&) = delete;
    MessageBoxes& operator=(const MessageBoxes&) = delete;

    // The button that answers the boxes from now on: OK unless told, and OK
    // where a box has no such button.
    void answerWith(QMessageBox::StandardButton button) { answer_ = button; }
    const QList<Seen>& seen();
    QStringList texts();
    void clear() { seen_.clear(), looked_ = 0; }

private:
    friend class BoxWatcher;
    QList<Seen> seen_;
    qsizetype looked_ = 0;
    MessageBoxes* outer_;
    QMessageBox::StandardButton answer_ = QMessageBox::Ok;
};

// The operator's view: the real screens, shown by the navigator.
class Screens {
public:
    Screens();
    ~Screens();
    Navigator& navigator() { return navigator_; }
    // Shows a screen as its menu would, and waits until it has the focus.
    Screen* show(const QString& code);
    Screen* current() { return navigator_.current(); }
    // Lets a screen change settle (the old screen goes, the new one is
    // active); a screen that never becomes active fails the test at once.
    Screen* settle();
    bool ended() const { return ended_; }

    template <class T> T* find(const QString& name)
    {
        Screen* screen = current();
        return screen ? screen->findChild<T*>(name) : nullptr;
    }
    EntryField* field(const QString& name) { return find<EntryField>(name); }
    QPushButton* button(const QString& name) { return find<QPushButton>(name); }
    // The text a label of the current screen shows.
    QString label(const QString& name)
    {
        return find<QLabel>(name) ? find<QLabel>(name)->text() : QString();
    }
    // What the named labels, fields and buttons of the current screen show;
    // "focus" names the control that has the keyboard.
    QStringList shown(const QStringList& names);
    // The control the operator knows by this caption: the buddy of the
    // caption label, or the control named so for screen readers.
    QWidget* named(const QString& caption);
    // The texts of a grid as shown, row by row.
    QList<QStringList> gridRows(const QString& name = QStringLiteral("FG1"));
    // A mouse click on a button; then the screen has the keyboard back from
    // any message box or screen change, as the operator would.
    void click(const QString& name);
    // Answers each control in turn as the operator does, given as a name and
    // an entry: text typed over a field (its text is selected) and Enter, a
    // list entry picked by its number from the open list ("" only confirms),
    // a kind clicked, a button pressed with Enter. Names the first control
    // that did not have the focus; empty when all had it.
    QString fill(const QStringList& entries);
    // Which of the named controls can be used right now.
    QStringList usable(const QStringList& names);

private:
    Navigator navigator_;
    bool ended_ = false;
};

// A fresh program folder, the test's own connection to it and the
// operator's screens, made and ended in this order.
struct Shop : ProgramFolder, TestDb, Screens {};

// Key helpers as the operator uses them; text that is not ASCII arrives
// through the input method, as Japanese does at the counter.
void typeInto(QWidget* field, const QString& text);
void enter(QWidget* widget);
inline void functionKey(QWidget* widget, Qt::Key key)
{
    QTest::keyClick(widget, key);
}
void clickRow(class QTableWidget* grid, int row);
// Picks an entry of a combo box with the arrow keys, as the operator does.
void choose(class QComboBox* combo, int index);
// Whether the widget, as drawn, shows any pixel of exactly this colour.
bool drawsIn(QWidget* widget, const QColor& colour);

// Data-driven tests with their columns by position: declared in one line,
// a row given in one call, and the current row's values fetched at once
// into named bindings.
namespace table {
inline const char* const Column[] = {"c0", "c1", "c2", "c3", "c4", "c5", "c6", "c7", "c8", "c9"};
template <class... T> void columns()
{
    int i = 0;
    (QTest::addColumn<T>(Column[i++]), ...);
}
template <class... V> void add(const char* name, const V&... values)
{
    (QTest::newRow(name) << ... << values);
}
template <class... T, std::size_t... I> std::tuple<T...> fetch(std::index_sequence<I...>)
{
    return {*static_cast<T*>(QTest::qData(Column[I], qMetaTypeId<T>()))...};
}
template <class... T> std::tuple<T...> fetch()
{
    return fetch<T...>(std::index_sequence_for<T...>());
}
} // namespace table
