#include "ReceiptFixture.h"
#include "utilities/ProductCsv.h"

namespace {
// Runs a report on a sale of 1,234,567 on 15 December: a product graph has
// its product and month entered, a middle category report its categories
// chosen first. The files go under the shop's folder.
void run(Shop& s, const QString& code, const QStringList& entries)
{
    qputenv("HOME", s.path().toUtf8());
    setParameter(s, "workday", "20261215", "RUN");
    addMajor(s, "1", "食品", "食品");
    addMiddle(s, "101", "パン", "パン");
    addProduct(s, {});
    addHeader(s, {.receipt = "61200001", .date = "20261215", .amount = 1234567});
    addLine(s, {.receipt = "61200001", .date = "20261215", .amount = 1234567, .rate = 0.1});
    s.show(code);
    if (code == "MUK4DP06") {
        choose(s.find<QComboBox>("CB1"), 0);
        choose(s.find<QComboBox>("CB2"), 0);
    }
    for (qsizetype i = 0; i < entries.size(); i += 2) {
        s.field(entries[i])->selectAll();
        typeInto(s.field(entries[i]), entries[i + 1]);
        enter(s.field(entries[i]));
    }
}

// The records of a file written with a byte-order mark; none without.
QList<QStringList> records(const QString& path)
{
    const QByteArray bytes = fileBytes(path);
    QList<QStringList> all;
    QString error;
    if (bytes.startsWith(CsvWriter::ByteOrderMark))
        ProductCsv::parse(*ProductCsv::decode(bytes), all, error);
    return all;
}

QStringList names(const char* pattern, int first, int last)
{
    QStringList all;
    for (int i = first; i <= last; ++i)
        all << QString(pattern).arg(i, 2, 10, QChar(u'0'));
    return all;
}
} // namespace

class ReportFilesTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { Clock::setFixed(QDateTime(QDate(2026, 12, 20), QTime(9, 0, 0))); }

    void fileHoldsWhatTheScreenShows_data()
    {
        // The run's entries, the file, its heading rows, the total row's fields.
        table::columns<QString, QStringList, QString, int, QStringList>();
        const QStringList month{"Text2", "20261201"};
        table::add("totals", QString("MUK4DP01"), month, QString("202612"), 1,
                   names("Text%1", 3, 12));
        table::add("majors", QString("MUK4DP05"), month, QString("202612"), 2, names("T%1", 1, 10));
        table::add("middles", QString("MUK4DP06"), month, QString("202612"), 2,
                   names("T%1", 1, 20));
        table::add("receipts", QString("MUK4XP02"), QStringList{"Text2", "20261215"},
                   QString("20261215"), 1, QStringList{"LabelID"});
        table::add("graph", QString("MUK4AS01"),
                   QStringList{"Text2", "4900000000001", "Text1", "202612"}, QString("202612"), 2,
                   QStringList{"Text4"});
    }

    void fileHoldsWhatTheScreenShows()
    {
        const auto [code, entries, period, headings, totals] =
            table::fetch<QString, QStringList, QString, int, QStringList>();
        Shop s;
        run(s, code, entries);
        functionKey(QApplication::focusWidget(), Qt::Key_F9);
        const QString path = s.path() + "/MUK4-reports/" + code + "-" + period + ".csv";
        QCOMPARE(s.shown({"LabelM"}), QStringList{"CSVファイルに出力しました：" + path});
        QList<QStringList> want = s.gridRows("FG1");
        const QList<QStringList> second = s.gridRows("FG2");
        for (qsizetype i = 0; i < second.size(); ++i)
            want[i] << second[i].mid(1);
        want << (code == "MUK4XP02" ? QStringList() : QStringList{"合計"}) + s.shown(totals);
        if (code == "MUK4DP01")
            want << QStringList{"10%対象", "1234567", "内消費税", "112233"};
        // The graph writes a day without sales as 0; its table leaves it empty.
        for (QStringList& row : want)
            for (QString& cell : row)
                cell = cell.isEmpty() && code == "MUK4AS01" ? "0" : cell.remove(',');
        QCOMPARE(records(path).mid(headings), want);
    }

    void fileReplacedWholeOrNotAtAll()
    {
        Shop s;
        const QString path = s.path() + "/MUK4-reports/MUK4DP01-202612.csv";
        QVERIFY(QDir().mkpath(s.path() + "/MUK4-reports"));
        writeFile(path, QByteArray(100000, 'x'));
        run(s, "MUK4DP01", {});
        functionKey(s.field("Text2"), Qt::Key_F9);
        QCOMPARE(fileBytes(path), QByteArray(100000, 'x'));
        enter(s.field("Text2"));
        functionKey(QApplication::focusWidget(), Qt::Key_F9);
        QCOMPARE(records(path).size(), 34);
        QVERIFY(!fileBytes(path).contains('x'));

        // Where no folder can be made the old file stays and the operator is told.
        qputenv("HOME", path.toUtf8());
        MessageBoxes boxes;
        functionKey(QApplication::focusWidget(), Qt::Key_F9);
        QCOMPARE(boxes.texts(), QStringList{"CSVファイルを出力できませんでした。"});
        QVERIFY(boxes.seen()[0].details.contains(path + "/MUK4-reports"));
        QCOMPARE(records(path).size(), 34);
    }
};

QTEST_MAIN(ReportFilesTest)
#include "test_reportfiles.moc"
