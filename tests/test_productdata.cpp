#include "Fixture.h"

#include "utilities/ProductImport.h"

#include <QFileDialog>
#include <QStringEncoder>
#include <QTimer>

namespace {
const QString Headings = QStringLiteral(
    "商品コード,商品名称,商品略称,大分類コード,中分類コード,原単価,原単価確定日,売単価,"
    "売単価確定日,特売区分,特売単価,特売期間 from,特売期間   to,特売時間 from,特売時間   "
    "to,税区分");

// A file's text, a byte-order mark shown as "BOM ".
QString readFile(const QString& path)
{
    QFile file(path);
    const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : "(missing)";
    return (bytes.startsWith("\xEF\xBB\xBF") ? "BOM " : "") + QString::fromUtf8(bytes);
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
}

// Answers the next file dialog as the operator does: a path in its name
// field, or the name it proposes, and Enter.
void chooseFile(const QString& path = {})
{
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, timer, [timer, path] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible())
            return;
        timer->deleteLater();
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        name->setText(path.isEmpty() ? name->text() : path);
        QTest::keyClick(name, Qt::Key_Return);
    });
    timer->start(10);
}

// Every product, each as its fields CB01 to CB25 joined by "|".
QStringList products(Database& db)
{
    QStringList all;
    for (const QVariantMap& r : rows(db, QStringLiteral("SELECT * FROM MBMSHO ORDER BY CB01"))) {
        QStringList fields;
        for (const QVariant& v : r)
            fields << v.toString();
        all << fields.join(u'|');
    }
    return all;
}
} // namespace

class ProductDataTest : public QObject {
    Q_OBJECT

private slots:
    void init() { Clock::setFixed(QDateTime(QDate(2026, 12, 7), QTime(10, 0, 0))); }

    // The owner exports, edits the list in a spreadsheet (a price, a new
    // product with quotes and a comma in its name, a bad row), saves it in
    // either encoding and imports it: the table then holds exactly the
    // edits, and the bad row waits beside the list with its reason.
    void roundTrip_data()
    {
        table::columns<QString>();
        table::add("UTF-8 with a byte-order mark", QString("UTF-8"));
        table::add("Shift_JIS", QString("Shift_JIS"));
    }

    void roundTrip()
    {
        const auto [encoding] = table::fetch<QString>();
        Shop s;
        addMajor(s, "1", "食品");
        addMiddle(s, "101", "パン");
        addProduct(s, {{"CB11", "150"}});
        const QVariantMap bread{
            {"CB01", "4900000000002"}, {"CB02", "パン"}, {"CB03", "パン"}, {"CB07", "80"},
            {"CB11", "120"},           {"CB13", "2"},    {"CB14", 100},    {"CB15", "20261201"},
            {"CB16", "20261231"},      {"CB25", "1"}};
        addProduct(s, bread);
        qputenv("HOME", s.path().toUtf8());
        s.show("MUK4SC09");
        s.click("APCBTN10");
        QCOMPARE(s.settle()->code(), QString("MUK4XP10"));
        chooseFile();
        s.click("OUTBTN");
        const QString exported = readFile(s.path() + "/MUK4-products-20261207.csv");
        QCOMPARE(exported,
                 "BOM " + Headings +
                     "\r\n4900000000001,商品,商品,1,101,100,20250101,150,20250101,4,0,,,,,0\r\n"
                     "4900000000002,パン,パン,1,101,80,20250101,120,20250101,2,100,20261201,"
                     "20261231,,,1\r\n");

        const QString bad = "4900000000004,\"だ\"\"め\",\"略,称\",1,101,,,100,20260231,4,,,,,,0";
        const QString edited =
            exported.mid(4).replace(",120,", ",130,") +
            "4900000000003,\"あま\"\"おう\"\",2L\",,1,101,12345678,,398,20261207,3,"
            "350,,,16:00:00,18:00:00,1\r\n" +
            bad + "\r\n";
        const QString path = s.path() + "/edited.csv";
        writeFile(path, encoding == "UTF-8" ? "\xEF\xBB\xBF" + edited.toUtf8()
                                            : QByteArray(QStringEncoder("Shift_JIS")(edited)));
        chooseFile(path);
        s.click("INBTN");
        QCOMPARE(s.label("LabelN"),
                 "新規 1 件　変更 1 件　変更なし 1 件　取込不可 1 件\n取込不可の行: " + s.path() +
                     "/edited-refused.csv");
        s.click("RCBTN");
        QCOMPARE(products(s),
                 QStringList(
                     {"4900000000001|商品|商品|1|101| |100|20250101|20250301| |150|20250101|"
                      "4|0| | | | | | |20250101|08:00:00|20250101|08:00:00|",
                      "4900000000002|パン|パン|1|101| |80|20250101|20250301| |130|20250101|"
                      "2|100|20261201|20261231| | | | |20250101|08:00:00|20261207|10:00:00|1",
                      "4900000000003|あま\"おう\",2L|あま\"おう\",2L|1|101| |12345678| |99999999| "
                      "|398|20261207|3|350| | |16:00:00|18:00:00| | |20261207|10:00:00|"
                      "20261207|10:00:00|1"}));
        QCOMPARE(readFile(s.path() + "/edited-refused.csv"),
                 "BOM " + Headings + ",理由\r\n" + bad +
                     ",売単価確定日の日付が間違っています。\r\n");
        functionKey(QApplication::focusWidget(), Qt::Key_F10);
        QCOMPARE(s.settle()->code(), QString("MUK4SC09"));
    }

    // What the import refuses: a row (row, column, reason in the grid) or
    // the whole file (the message).
    void refusals_data()
    {
        table::columns<QByteArray, QString>();
        auto row = [](const char* name, const char* line, const char* expected) {
            table::add(name, Headings.toUtf8() + "\r\n" + line + "\r\n", QString(expected));
        };
        row("short code", "490000000001,品,,1,101,,,100,,,,,,,,",
            "2|商品コード|商品コードは13桁の数字で入力してください。");
        row("unknown category", "4900000000001,品,,2,201,,,100,,,,,,,,",
            "2|大分類コード|大分類コードが登録されていません。");
        row("31 February", "4900000000001,品,,1,101,,,100,20260231,,,,,,,",
            "2|売単価確定日|売単価確定日の日付が間違っています。");
        row("end time before start", "4900000000001,品,,1,101,,,100,,3,80,,,12:00:00,09:00:00,",
            "2|特売時間   to|特売時間(to)が特売時間(from)より前です。");
        row("price over its field", "4900000000001,品,,1,101,,,123456789,,,,,,,,",
            "2|売単価|売単価は8桁以内です。");
        row("middle of another major", "4900000000001,品,,1,201,,,100,,,,,,,,",
            "2|中分類コード|中分類コードが大分類コードと合っていません。");
        row("code twice",
            "4900000000001,品,,1,101,,,100,,,,,,,,\r\n4900000000001,品,,1,101,,,1,,,,,,,,",
            "3|商品コード|商品コードが前の行と重複しています。");
        table::add("missing required column",
                   QByteArray("商品コード,商品名称,大分類コード\r\n4900000000001,品,1\r\n"),
                   QString("「売単価」の列がないため、読み込めませんでした。"));
        table::add("neither UTF-8 nor Shift_JIS", QByteArray("\x82\xa0\xff\xfe,\x80\r\n"),
                   QString("UTF-8でもShift_JISでもないファイルは読み込めません。"));
    }

    void refusals()
    {
        const auto [file, expected] = table::fetch<QByteArray, QString>();
        Shop s;
        addMajor(s, "1", "食品");
        addMiddle(s, "101", "パン");
        writeFile(s.path() + "/list.csv", file);
        s.show("MUK4XP10");
        MessageBoxes boxes;
        chooseFile(s.path() + "/list.csv");
        s.click("INBTN");
        QCOMPARE(expected.contains(u'|') ? s.gridRows().value(0).join(u'|')
                                         : boxes.texts().value(0),
                 expected);
        // Only the first of two rows of one code is left to write.
        QCOMPARE(s.button("RCBTN")->isEnabled(), QTest::currentDataTag() == QString("code twice"));
    }

    // Checked rows are written all or none: nothing when the write is
    // stopped half-way or the disk fills.
    void nothingWrittenWhenStoppedOrFailed_data()
    {
        table::columns<QString>();
        table::add("stopped", QString("stopped"));
        table::add("full disk", QString("full disk"));
    }

    void nothingWrittenWhenStoppedOrFailed()
    {
        const auto [how] = table::fetch<QString>();
        ProgramFolder folder;
        std::optional<SmallDisk> disk;
        if (how == "full disk") {
            if (!disk.emplace().mounted())
                QSKIP("a small disk needs a tmpfs mount");
            Database::setFolder(disk->path());
            QCOMPARE(Schema::prepareFile(), std::nullopt);
        }
        addMajor(TestDb(), "1", "食品");
        addMiddle(TestDb(), "101", "パン");
        QString list = Headings + "\r\n";
        for (int i = 0; i < 1500; ++i)
            list += QString("49%1,品%2,,1,101,,,100,,,,,,,,\r\n").arg(i, 11, 10, QChar('0')).arg(i);
        const QString path = folder.path() + "/list.csv";
        writeFile(path, list.toUtf8());
        if (how == "stopped") {
            TestDb t;
            ProductImport import;
            QVERIFY(!import.check(t, path) && import.added() == 1500);
            const auto failure = import.write(t, [](qint64 n, qint64) { return n < 1000; });
            QVERIFY(failure && failure->trouble == ProductImport::Trouble::Cancelled);
        } else {
            Screens s;
            s.show("MUK4XP10");
            chooseFile(path);
            s.click("INBTN");
            disk->fill();
            MessageBoxes boxes;
            s.click("RCBTN");
            QCOMPARE(boxes.texts(),
                     QStringList{"商品データを取り込めませんでした。ディスクの空きがありません。"});
        }
        QCOMPARE(count(TestDb(), "MBMSHO"), 0);
    }
};

QTEST_MAIN(ProductDataTest)
#include "test_productdata.moc"
