#include "ReceiptFixture.h"

#include "reports/BarGraph.h"
#include "utilities/ProductCsv.h"

using ProductGraph::Bar;
using ProductGraph::Series;

namespace {
// What the numbered controls show: "T%1" with width 2 names T01, T02, ...
QStringList texts(Screens& s, const QString& pattern, int first, int last, int width = 0)
{
    QStringList names;
    for (int i = first; i <= last; ++i)
        names << pattern.arg(i, width, 10, QChar(u'0'));
    return s.shown(names);
}

void retype(EntryField* field, const QString& value)
{
    field->selectAll();
    typeInto(field, value);
    enter(field);
}

// A bar's top, height, left, width and colour.
QList<int> barOf(Screens& s, const QString& name)
{
    const Bar b = s.find<BarShape>(name)->bar();
    return {b.top, b.height, b.left, b.width, b.colour};
}

// Opens a report ready for its start date: the middle category report
// first passes a major category and a range.
EntryField* openReport(Screens& s, const QString& code)
{
    s.show(code);
    if (code == QLatin1String("MUK4DP06")) {
        choose(s.find<QComboBox>("CB1"), 1);
        choose(s.find<QComboBox>("CB2"), 0);
    }
    return s.field("Text2");
}

// Sales of 1,234,567 of product 1 and a payment of 2,000,000 that leaves
// the cash below zero, on 15 December; the report files go under the shop.
void sell(Shop& s)
{
    qputenv("HOME", s.path().toUtf8());
    setParameter(s, "workday", "20261215", "RUN");
    addMajor(s, "0", "その他", "他");
    addMajor(s, "1", "食品", "食品");
    addProduct(s, {{"CB01", "1"}});
    addLine(s, {.date = "20261215", .product = "1", .amount = 1234567, .rate = 0.1});
    addHeader(s, {.table = "MOMSYK", .receipt = "61200002", .date = "20261215", .amount = 2000000});
}

// The records of a file written with a byte-order mark; none without.
QList<QStringList> records(const QString& path)
{
    QList<QStringList> all;
    QString error;
    const QByteArray b = fileBytes(path);
    ProductCsv::parse(b.startsWith("\xEF\xBB\xBF") ? QString::fromUtf8(b) : QString(), all, error);
    return all;
}
} // namespace

class ReportScreensTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { Clock::setFixed(QDateTime(QDate(2026, 12, 20), QTime(9, 0, 0))); }

    void everyReportRunsAndStartsAgain_data()
    {
        // The report, the preset date, the message for a wrong date, the
        // legend after a run, the focus then.
        QTest::addColumn<QStringList>("r");
        const QString retry = "F8.ReTry  F9.CSV出力  F10.Return", noDay = "日付が存在しません。";
        const auto add = [](const char* row, const QStringList& r) { QTest::newRow(row) << r; };
        add("register totals", {"MUK4DP01", "20261201", noDay, retry, "RTBTN"});
        add("major categories", {"MUK4DP05", "20261201", noDay, retry, "RTBTN"});
        add("middle categories", {"MUK4DP06", "20261201", noDay, retry.mid(10), "SJBTN"});
        add("receipt dump",
            {"MUK4XP02", "20261215", "日付が間違っています。", "F7.再発行  " + retry, "RTBTN"});
    }

    void everyReportRunsAndStartsAgain()
    {
        QFETCH(QStringList, r);
        const QString code = r[0], preset = r[1], invalid = r[2], legend = r[3], focus = r[4];
        Shop s;
        setParameter(s, "workday", "20261215", "RUN");
        setParameter(s, "store", "01", "駅前店");
        addMajor(s, "0", "その他", "他");
        addMajor(s, "1", "食品", "食品");
        addHeader(s, {.receipt = "61200001", .date = "20261231", .amount = 500});
        MessageBoxes boxes;
        auto* date = openReport(s, code);
        QCOMPARE(s.shown({"focus", "LabelM", "Text1"}) << date->selectedText(),
                 (QStringList{"Text2", "日付を入力してください。", "駅前店", preset}));
        QCOMPARE(s.usable({"Text2", "SJBTN", "RTBTN"}), (QStringList{"Text2", "RTBTN"}));

        // A date of seven characters or of day 32 is refused and stays.
        for (const QString wrong : {"2026121", "20261232"}) {
            retype(date, wrong);
            QCOMPARE(s.shown({"focus"}) << date->selectedText(), (QStringList{"Text2", wrong}));
        }
        QCOMPARE(boxes.texts(), (QStringList{invalid, invalid}));
        QCOMPARE(boxes.seen()[0].icon, QMessageBox::NoIcon);
        QVERIFY(s.gridRows("FG1").isEmpty());

        retype(date, "20261231");
        QCOMPARE(s.gridRows("FG1").isEmpty(), false);
        QCOMPARE(s.shown({"LabelPFK", "LabelM", "focus"}), (QStringList{legend, "", focus}));
        QCOMPARE(s.usable({"Text2", "SJBTN", "RTBTN"}), (QStringList{"SJBTN", "RTBTN"}));

        // F8 and SJBTN start again with the preset date and an empty result.
        functionKey(QApplication::focusWidget(), Qt::Key_F8);
        QVERIFY(s.gridRows("FG1").isEmpty());
        if (code == QLatin1String("MUK4DP06")) {
            // The chosen categories stay; they are passed again with Enter.
            QVERIFY(s.find<QComboBox>("CB1")->hasFocus());
            enter(s.find<QComboBox>("CB1"));
            enter(s.find<QComboBox>("CB2"));
        }
        QCOMPARE(s.shown({"focus", "Text2"}) + s.usable({"Text2", "SJBTN"}),
                 (QStringList{"Text2", preset, "Text2"}));
        retype(date, "20261231");
        s.click("SJBTN");
        QVERIFY(s.gridRows("FG1").isEmpty());
        QCOMPARE(s.label("LabelPFK"), QString("F10.Return"));
    }

    void registerTotalsListTheDaysAndThePeriod()
    {
        Shop s;
        setParameter(s, "workday", "20261215", "RUN");
        const QString d = "20261215";
        addHeader(s, {"MOMURA", "01", "01", "61200001", d, "11000", 5000, 5000});
        addLine(s, {.receipt = "61200001", .date = d, .quantity = 4});
        addHeader(s, {"MOMURA", "01", "01", "61200002", d, "11009", 1000, 1000});
        addLine(s, {.receipt = "61200002", .date = d, .kind = "9"});
        addHeader(s, {"MOMURA", "01", "01", "61200003", d, "20000", 3540, 1000, 2540});
        addHeader(s, {"MOMURA", "01", "01", "61200004", d, "30000", 2000, 0, 2000});
        addHeader(s, {"MOMNYK", "01", "01", "61200005", d, "70000", 30000});
        addHeader(s, {"MOMSYK", "01", "01", "61200006", d, "70000", 1234});
        // Another register's receipt under the same number and its lines.
        addHeader(s, {"MOMURA", "01", "02", "61200001", d, "11000", 700, 700});
        addLine(s, {.registerCode = "02",
                    .receipt = "61200001",
                    .date = d,
                    .quantity = 10,
                    .amount = 700});
        addHeader(s, {"MOMNYK", "01", "01", "61200007", "20261230", "70000", 3000});
        // Lines by rate, of a receipt of no header and of the day before the
        // start: 10% 11,000 + 2,200 without a rate = 13,200, tax 1,200;
        // 8% 5,400 - 1,080 returned = 4,320, tax 320.
        addLine(s, {.receipt = "7", .number = "001", .date = d, .amount = 11000, .rate = 0.1});
        addLine(s, {.receipt = "7", .number = "002", .date = d, .amount = 2200});
        addLine(s, {.receipt = "7", .number = "003", .date = d, .amount = 5400, .rate = 0.08});
        addLine(s, {.receipt = "8", .date = d, .kind = "9", .amount = 1080, .rate = 0.08});
        addLine(s, {.receipt = "9", .date = "20261214", .amount = 540, .rate = 0.08});
        retype(openReport(s, "MUK4DP01"), "20261215");
        const QList<QStringList> rows = s.gridRows("FG1");
        QCOMPARE(rows.size(), 17);
        // Customers and items count the return; credit and partial payments
        // are in the theoretical sales only.
        QCOMPARE(rows[0], (QStringList{"12/15", "5,000", "", "", "30,000", "1,234", "1,000",
                                       "33,766", "10,540", "4", "5"}));
        QCOMPARE(rows[15],
                 (QStringList{"12/30", "0", "", "", "3,000", "0", "0", "3,000", "0", "0", "0"}));
        QCOMPARE(texts(s, "Text%1", 3, 12), (QStringList{"5,000", "", "", "33,000", "1,234",
                                                         "1,000", "36,766", "10,540", "4", "5"}));
        QCOMPARE(s.usable({"Text3", "Text4", "Text5", "Text6"}), (QStringList{"Text3", "Text6"}));
        const QStringList rates{"TextRate1", "TextRateTax1", "TextRate2", "TextRateTax2"};
        QCOMPARE(s.shown(rates) << s.named("8%対象")->objectName(),
                 (QStringList{"13,200", "1,200", "4,320", "320", "TextRate2"}));
        // Starting again empties them and shows the standard rate's pair
        // alone. From the 16th: three 8% lines of 100 = 300, tax 22 (not 21
        // from 7 a line).
        functionKey(s.button("RTBTN"), Qt::Key_F8);
        QCOMPARE(s.shown(rates) << s.named("10%対象")->objectName(),
                 (QStringList{"", "", "", "", "TextRate1"}));
        QVERIFY(!s.find<QWidget>("TextRate2")->isVisible());
        for (const QString receipt : {"10", "11", "12"})
            addLine(s, {.receipt = receipt, .date = "20261216", .amount = 100, .rate = 0.08});
        retype(s.field("Text2"), "20261216");
        QCOMPARE(s.shown(rates), (QStringList{"0", "0", "300", "22"}));
    }

    void majorCategoriesHeadedByTheMaster()
    {
        Shop s;
        setParameter(s, "workday", "20241215", "RUN");
        addMajor(s, "1", "食品", "食品飲料");
        addMajor(s, "0", "その他", "他");
        addLine(s, {.receipt = "1", .date = "20240229", .major = "0", .amount = 1500});
        addLine(s, {.receipt = "2", .date = "20240229", .major = "1", .amount = 700});
        addLine(s, {.receipt = "3", .date = "20240229", .kind = "9", .major = "1", .amount = 99});
        auto* date = openReport(s, "MUK4DP05");
        QCOMPARE(texts(s, "LB1(%1)", 1, 10),
                 (QStringList{"1", "", "", "", "", "", "", "", "", "0"}));
        QCOMPARE(s.shown({"LB2(1)", "LB2(2)", "LB2(10)"}), (QStringList{"食品飲料", " ", "他"}));
        retype(date, "20240201");
        const QList<QStringList> rows = s.gridRows("FG1");
        QCOMPARE(rows.size(), 29);
        QCOMPARE(rows.back(),
                 (QStringList{"02/29", "700", "0", "0", "0", "0", "0", "0", "0", "0", "1,500"}));
        QCOMPARE(texts(s, "T%1", 1, 10, 2),
                 (QStringList{"700", "0", "0", "0", "0", "0", "0", "0", "0", "1,500"}));
    }

    void middleCategoriesByMajorAndRange()
    {
        Shop s;
        setParameter(s, "workday", "20261215", "RUN");
        addMajor(s, "0", "その他", "他");
        addMajor(s, "1", "食品", "食品");
        addMiddle(s, "100", "食品その他", "その他");
        addMiddle(s, "181", "冷凍食品", "冷凍");
        for (const char* middle : {"100", "110", "181"})
            addLine(s, {.receipt = middle,
                        .date = "20261215",
                        .middle = middle,
                        .amount = QString(middle).toDouble() * 10});
        MessageBoxes boxes;
        s.show("MUK4DP06");
        auto *cb1 = s.find<QComboBox>("CB1"), *cb2 = s.find<QComboBox>("CB2");
        QVERIFY(cb1->hasFocus());
        QCOMPARE(cb1->itemText(0), QString("他"));
        QCOMPARE(s.usable({"CB1", "CB2", "Text2"}), QStringList{"CB1"});
        enter(cb1);
        QCOMPARE(boxes.texts(), QStringList{"大分類コードがありません。"});
        QCOMPARE(boxes.seen()[0].icon, QMessageBox::Critical);
        QVERIFY(cb1->hasFocus());

        // Major 0 has the codes 001 to 020 in its first range.
        choose(cb1, 0);
        QVERIFY(cb2->hasFocus());
        QCOMPARE(s.shown({"TextA"}), QStringList{"0"});
        enter(cb2);
        QCOMPARE(boxes.texts().last(), QString("中分類コードがありません。"));
        choose(cb2, 0);
        QCOMPARE(s.shown({"LB3(1)", "LB3(2)", "LB3(20)"}), (QStringList{"001", "002", "020"}));
        QVERIFY(s.field("Text2")->hasFocus());

        // The fifth range of major 1 ends with 100, headed by the masters.
        choose(cb1, 1);
        QCOMPARE(s.shown({"TextB"}), QStringList{"1"});
        QCOMPARE(cb2->itemText(4), QString("181～199,100"));
        choose(cb2, 4);
        QCOMPARE(s.shown({"LB3(19)", "LB3(20)", "LB4(1)", "LB4(2)", "LB4(20)"}),
                 (QStringList{"199", "100", "冷凍", " ", "その他"}));
        retype(s.field("Text2"), "20261215");
        QCOMPARE(s.gridRows("FG1")[0],
                 (QStringList{"12/15", "1,810", "0", "0", "0", "0", "0", "0", "0", "0", "0"}));
        QCOMPARE(s.gridRows("FG2")[0],
                 (QStringList{"12/15", "0", "0", "0", "0", "0", "0", "0", "0", "0", "1,000"}));
        QCOMPARE(texts(s, "T%1", 1, 20, 2).mid(18), (QStringList{"0", "1,000"}));
    }

    void productGraphChecksProductAndMonth()
    {
        Shop s;
        setParameter(s, "workday", "20261215", "RUN");
        addMajor(s, "1", "食品", "食品");
        addMiddle(s, "101", "パン", "パン");
        addProduct(s, {{"CB02", "バターロール"}, {"CB12", "20261102"}}); // 4900000000001 of 101
        MessageBoxes boxes;
        s.show("MUK4AS01");
        auto *product = s.field("Text2"), *month = s.field("Text1");
        QCOMPARE(s.shown({"focus", "Text1"}), (QStringList{"Text2", "202612"}));
        QCOMPARE(s.usable({"Text1", "Text2", "SJBTN", "RTBTN", "Option1", "Check2"}),
                 (QStringList{"Text2", "RTBTN", "Option1", "Check2"}));
        QCOMPARE(
            s.shown({"LabelM", "LabelID(3)"}),
            (QStringList{"商品コードを入力してください。", "販売金額（税込み） / 単位 1万円"}));
        QCOMPARE(texts(s, "LabelW(%1)", 0, 6),
                 (QStringList{"1000 = K", " 10K", " 20K", " 30K", " 40K", " 50K", ""}));

        retype(product, "4900000000009");
        QCOMPARE(boxes.texts(), QStringList{"部門が間違っています。"});
        QCOMPARE(boxes.seen()[0].icon, QMessageBox::NoIcon);
        QCOMPARE(s.shown({"focus"}) + s.usable({"Text1"}), QStringList{"Text2"});

        // The options set the texts and hand the keyboard back to the product.
        for (const char* option : {"Option3", "Option6", "Check1"})
            QTest::mouseClick(s.find<QAbstractButton>(option), Qt::LeftButton);
        QCOMPARE(s.shown({"LabelID(3)", "LabelW(5)", "LabelW(6)"}),
                 (QStringList{"粗利 / 単位 30万円 / 中分類比較", "1.5G", "1000000 = G"}));
        QVERIFY(product->hasFocus());

        retype(product, "4900000000001");
        QCOMPARE(texts(s, "LabelID(%1)", 0, 2),
                 (QStringList{"バターロール (4900000000001)  / 大分類 = 1 / 中分類 = 101",
                              "バターロール / 大分類 = 食品 / 中分類 = パン",
                              "原単価 = 100 (20250101) / 売単価 = 150 (20261102) "}));
        QCOMPARE(s.shown({"focus", "LabelM"}), (QStringList{"Text1", "月度を入力してください。"}));

        for (const QString wrong : {"202613", "20261"})
            retype(month, wrong);
        QCOMPARE(boxes.texts().mid(1), QStringList(2, "月度が間違っています。"));
        QCOMPARE(s.shown({"focus", "LabelAP"}), (QStringList{"Text1", "●  正常稼動"}));

        // Month 00 passes and finds nothing: empty table, flat bars.
        retype(month, "202600");
        QCOMPARE(s.gridRows("FG1").size(), 31);
        QCOMPARE(barOf(s, "Shape1(1)")[1], 0);
        QCOMPARE(s.shown({"Text4", "LabelAP", "LabelPFK", "focus"}),
                 (QStringList{"0", "● 正常終了", "F8.ReTry  F9.CSV出力  F10.Return", "RTBTN"}));
        QCOMPARE(s.usable({"Text1", "Text2", "SJBTN", "RTBTN", "Option1", "Option8", "Check1"}),
                 (QStringList{"SJBTN", "RTBTN"}));
    }

    void productGraphDrawsTheDaysAndTheCategoryInProportion()
    {
        Shop s;
        setParameter(s, "workday", "20250215", "RUN");
        addProduct(s, {{"CB01", "4900000000001"}, {"CB05", "101"}});
        const QString p = "4900000000001", other = "4900000000002";
        addLine(s, {.receipt = "1", .date = "20250203", .product = p, .amount = 25000});
        addLine(s, {.receipt = "2", .date = "20250203", .kind = "9", .product = p, .amount = 5000});
        addLine(s, {.receipt = "3", .date = "20250203", .product = other, .amount = 60000});
        addLine(s, {.receipt = "4", .date = "20250205", .kind = "9", .product = p, .amount = 2000});
        s.show("MUK4AS01");
        auto draw = [&](const QStringList& boxes) {
            for (const QString& box : boxes)
                QTest::mouseClick(s.find<QCheckBox>(box), Qt::LeftButton);
            retype(s.field("Text2"), p);
            retype(s.field("Text1"), "202502");
        };
        // February has 31 bars and rows; the pale bar shows the category.
        draw({"Check1"});
        QCOMPARE(barOf(s, "Shape1(3)"), (QList<int>{4500, 2500, 3100, 270, 65280}));
        QCOMPARE(barOf(s, "Shape2(3)"), (QList<int>{1900, 5100, 3140, 270, 16777152}));
        QCOMPARE(barOf(s, "Shape1(5)")[1], 0);
        const QList<QStringList> rows = s.gridRows("FG1");
        QCOMPARE(rows.size(), 31);
        QCOMPARE(rows[2], (QStringList{"3", "25,000"}));
        QCOMPARE(rows[30], (QStringList{"31", ""}));
        QCOMPARE(s.shown({"Text4"}), QStringList{"25,000"});

        // Again with the returns netted: the fifth is a red stub below the line.
        functionKey(s.button("RTBTN"), Qt::Key_F8);
        QCOMPARE(barOf(s, "Shape1(3)")[1], 0);
        QCOMPARE(s.shown({"focus", "Text1"}), (QStringList{"Text2", "202502"}));
        draw({"Check2", "Check1"});
        QCOMPARE(barOf(s, "Shape1(3)"), (QList<int>{5000, 2000, 3100, 270, 65280}));
        QCOMPARE(barOf(s, "Shape1(5)"), (QList<int>{7050, 50, 3800, 270, 255}));
        QCOMPARE(barOf(s, "Shape2(3)")[1], 0);
        QCOMPARE(s.shown({"Text4"}), QStringList{"18,000"});
        QVERIFY(drawsIn(s.find<BarShape>("Shape1(5)"), QColor(255, 0, 0)));
        QVERIFY(drawsIn(s.find<BarShape>("Shape1(3)"), QColor(0, 255, 0)));

        // Twips are scaled to the window: a larger one keeps the proportions.
        auto* bar = s.find<BarShape>("Shape1(3)");
        const int small = bar->height();
        for (QSize size : {QSize(), QSize(1600, 1100)}) {
            if (size.isValid())
                s.current()->resize(size);
            QCoreApplication::processEvents();
            QVERIFY(qAbs(double(bar->height()) / bar->width() / (2000.0 / 270) - 1) < 0.05);
        }
        QVERIFY(bar->height() > small * 1.3);
        QVERIFY(s.find<BarGraph>("Graph")->geometry().right() <
                s.find<QWidget>("FG1")->geometry().left());
    }

    void reportFileHoldsWhatTheScreenShows_data()
    {
        // What is entered (the product, then the month on the graph); the
        // fields of the total row.
        table::columns<QString, QString, QString, int, int>();
        table::add("totals", QString("MUK4DP01"), QString("20261201"), QString("Text%1"), 3, 12);
        table::add("majors", QString("MUK4DP05"), QString("20261201"), QString("T%1"), 1, 10);
        table::add("middles", QString("MUK4DP06"), QString("20261201"), QString("T%1"), 1, 20);
        table::add("dump", QString("MUK4XP02"), QString("20261215"), QString("LabelID"), 0, 0);
        table::add("graph", QString("MUK4AS01"), QString("1 202612"), QString("Text%1"), 4, 4);
    }

    void reportFileHoldsWhatTheScreenShows()
    {
        const auto [code, keys, total, a, b] = table::fetch<QString, QString, QString, int, int>();
        Shop s;
        sell(s);
        openReport(s, code);
        for (const QString& typed : keys.split(' '))
            retype(static_cast<EntryField*>(QApplication::focusWidget()), typed);
        const bool day = code == "MUK4XP02";
        functionKey(QApplication::focusWidget(), Qt::Key_F9);
        const QString path = s.path() + "/MUK4-reports/" + code + "-" +
                             keys.section(" ", -1).left(day ? 8 : 6) + ".csv";
        QCOMPARE(s.shown({"LabelM"}), QStringList{"CSVファイルに出力しました：" + path});
        QList<QStringList> want = s.gridRows("FG1");
        for (qsizetype i = 0; code == "MUK4DP06" && i < want.size(); ++i)
            want[i] << s.gridRows("FG2")[i].mid(1);
        want << QStringList(day ? 0 : 1, "合計") + texts(s, total, a, b, total == "T%1" ? 2 : 0);
        if (code == "MUK4DP01")
            want << QStringList{"10%対象", "1234567", "内消費税", "112233"};
        // The graph writes a day without sales as 0; its table leaves it empty.
        for (QStringList& row : want)
            for (QString& cell : row)
                cell = cell.isEmpty() && code == "MUK4AS01" ? "0" : cell.remove(',');
        QCOMPARE(records(path).mid(day || code == "MUK4DP01" ? 1 : 2), want);
    }

    void allRegistersAddTheOtherRegisters_data()
    {
        // The report, its first total, the total of this register, of all.
        table::columns<QString, QString, QString, QString>();
        table::add("register totals", QString("MUK4DP01"), QString("Text3"), QString("1,000"),
                   QString("1,700"));
        table::add("majors", QString("MUK4DP05"), QString("T01"), QString("1,234,567"),
                   QString("1,235,267"));
        table::add("middles", QString("MUK4DP06"), QString("T01"), QString("1,234,567"),
                   QString("1,235,267"));
    }

    void allRegistersAddTheOtherRegisters()
    {
        const auto [code, total, own, all] = table::fetch<QString, QString, QString, QString>();
        Shop s;
        sell(s);
        addHeader(s, {"MOMURA", "01", "01", "61200001", "20261215", "11000", 1000});
        addHeader(s, {"MOMURA", "01", "02", "61200001", "20261215", "11000", 700});
        addLine(s,
                {.registerCode = "02", .receipt = "61200001", .date = "20261215", .amount = 700});
        addHeader(s, {"MOMURA", "02", "01", "61200001", "20261215", "11000", 9000});
        addLine(s, {.store = "02", .receipt = "61200001", .date = "20261215", .amount = 9000});
        auto* date = openReport(s, code);
        retype(date, "20261201");
        QCOMPARE(s.shown({total}), QStringList{own});
        // The choice comes just before the date; Enter on it goes on to the date.
        date = openReport(s, code);
        QTest::keyClick(date, Qt::Key_Backtab);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        enter(QApplication::focusWidget());
        QCOMPARE(s.shown({"focus"}), QStringList{"Text2"});
        retype(date, "20261201");
        QCOMPARE(s.shown({total}), QStringList{all});
        QCOMPARE(s.usable({"OptionThisRegister", "OptionAllRegisters"}), QStringList{});
        functionKey(QApplication::focusWidget(), Qt::Key_F9);
        QVERIFY(QFile::exists(s.path() + "/MUK4-reports/" + code + "-202612-ALL.csv"));
        functionKey(s.button("RTBTN"), Qt::Key_F8);
        QCOMPARE(s.usable({"OptionThisRegister", "OptionAllRegisters"}).size(), 2);
    }

    void reportFileReplacedWholeOrNotAtAll()
    {
        Shop s;
        sell(s);
        const QString path = s.path() + "/MUK4-reports/MUK4DP01-202612.csv";
        QVERIFY(QDir().mkpath(s.path() + "/MUK4-reports"));
        writeFile(path, QByteArray(100000, 'x'));
        retype(openReport(s, "MUK4DP01"), "20261201");
        // Started again, there is nothing to write until the next run.
        functionKey(s.button("RTBTN"), Qt::Key_F8);
        functionKey(s.field("Text2"), Qt::Key_F9);
        QCOMPARE(fileBytes(path), QByteArray(100000, 'x'));
        enter(s.field("Text2"));
        functionKey(QApplication::focusWidget(), Qt::Key_F9);
        QCOMPARE(records(path).size(), 34);

        // Where no folder can be made the old file stays and the operator is told.
        qputenv("HOME", path.toUtf8());
        MessageBoxes boxes;
        functionKey(QApplication::focusWidget(), Qt::Key_F9);
        QCOMPARE(boxes.texts(), QStringList{"CSVファイルを出力できませんでした。"});
        QVERIFY(boxes.seen()[0].details.contains(path + "/MUK4-reports"));
    }
};

QTEST_MAIN(ReportScreensTest)
#include "test_reportscreens.moc"
