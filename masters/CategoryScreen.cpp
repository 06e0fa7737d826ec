#include "masters/CategoryScreen.h"

#include "data/Conversions.h"

#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

CategoryScreen::CategoryScreen(Navigator& navigator, const QString& code, const QString& level,
                               int digits, int listPadding, const QString& table)
    : MasterScreen(navigator, code, level + QStringLiteral("コード　登録・修正・削除"),
                   MessageForm::Plain),
      level_(level), digits_(digits), listPadding_(listPadding)
{
    Text1 = addField(QStringLiteral("Text1"), digits, KeyFilter::Digits,
                     text("コードを入力してください。"));
    Text2 = addField(QStringLiteral("Text2"), 20, KeyFilter::Any, text("名称を入力してください。"));
    Text3 = addField(QStringLiteral("Text3"), 10, KeyFilter::Any, text("略称を入力してください。"));
    Text1->setFixedWidth(16 + 12 * digits);
    Text2->setFixedWidth(340);
    Text3->setFixedWidth(190);
    keepTable(table, Text1, text("コードがありません。"));

    connect(Text1, &EntryField::focused, this, [this] {
        enable({Text2, Text3, RCBTN, DLBTN}, false);
    });
    connect(Text2, &EntryField::entered, this,
            [this] { passOn(Text2, "名称がありません。", Text3); });
    connect(Text3, &EntryField::entered, this,
            [this] { passOn(Text3, "略称がありません。", RCBTN); });
}

void CategoryScreen::passOn(EntryField* field, const char* missing, QWidget* next)
{
    if (field->text().isEmpty()) {
        say(text(missing));
        field->giveBack();
        return;
    }
    open(next);
}

QString CategoryScreen::text(const char* suffix) const
{
    return level_ + QString::fromUtf8(suffix);
}

void CategoryScreen::placeFields(QWidget* codeArea, QWidget* beside)
{
    const int row = fields()->rowCount();
    fields()->addWidget(caption(text("CD"), Text1), row, 0);
    fields()->addWidget(codeArea, row, 1, Qt::AlignLeft);
    if (beside)
        fields()->addWidget(beside, row, 2);
    addRow(text("名称"), Text2);
    addRow(text("略称"), Text3);

    QTableWidget* list = makeGrid({900, 5000, 2500});
    list->setHorizontalHeaderLabels({text("CD"), text("名称"), text("略称")});
    list->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    list->horizontalHeader()->show();

    setEntryOrder({Text1, Text2, Text3});
}

void CategoryScreen::areaInit()
{
    MasterScreen::areaInit();
    fillGrid({});
    Text1->clear();
    Text2->clear();
    Text3->clear();
}

void CategoryScreen::areaLock()
{
    enable({Text1, Text2, Text3, RCBTN, DLBTN, RTBTN}, false);
    enable({Text1, RTBTN}, true);
}

void CategoryScreen::areaAssign()
{
    BusyCursor busy;
    MasterScreen::areaAssign();
    const std::optional<Select> query = listQuery();
    if (!query)
        return;
    // Every category is listed, however many the table holds.
    showList(*query, {QStringLiteral("CB01"), QStringLiteral("CB02"), QStringLiteral("CB03")},
             listPadding_);
}

qint64 CategoryScreen::codeLimit() const
{
    qint64 limit = 1;
    for (int i = 0; i < digits_; ++i)
        limit *= 10;
    return limit;
}

std::optional<QString> CategoryScreen::keyOf(const QString& typed)
{
    const qint64 limit = codeLimit();
    const double value = Conversions::toNumber(typed);
    if (value < 0 || value > limit - 1)
        return std::nullopt;
    Text1->setText(QString::number(static_cast<qint64>(value) + limit).right(digits_));
    const QString key = keyPrefix() + Text1->text();
    codeCompleted(key);
    return key;
}

void CategoryScreen::showFound(const QVariantMap& record)
{
    enable({Text2, Text3, DLBTN}, true);
    showKey(record.value(QStringLiteral("CB01")).toString());
    Text2->setText(record.value(QStringLiteral("CB02")).toString());
    Text3->setText(record.value(QStringLiteral("CB03")).toString());
    Text2->setFocus();
}

void CategoryScreen::showNew(const QString&)
{
    Text2->setEnabled(true);
    Text2->clear();
    Text3->clear();
    Text2->setFocus();
}

void CategoryScreen::rowChosen(int row)
{
    const QStringList chosen = listed(row);
    if (chosen.isEmpty())
        return;
    setMode(Mode::Change);
    enable({Text2, Text3, DLBTN}, true);
    showKey(chosen[0].trimmed());
    Text2->setText(chosen[1]);
    Text3->setText(chosen[2]);
    Text2->setFocus();
}

void CategoryScreen::failed(EntryField* field, const char* message)
{
    say(text(message));
    field->setEnabled(true);
    field->giveBack();
}

bool CategoryScreen::entryChecked()
{
    areaLock();
    int result = 0;
    if (Text1->text().isEmpty() || Conversions::toNumber(Text1->text()) >= codeLimit()) {
        failed(Text1, "コードがありません。");
        result = 1;
    }
    if (Text2->text().isEmpty()) {
        failed(Text2, "名称がありません。");
        result = 2;
    }
    if (Text3->text().isEmpty()) {
        failed(Text3, "略称がありません。");
        result = 3;
    }
    return result == 0;
}

QString CategoryScreen::entryKey() const
{
    return keyPrefix() + Text1->text();
}

QVariantMap CategoryScreen::storedAlways() const
{
    return {{QStringLiteral("CB02"), Text2->text()}, {QStringLiteral("CB03"), Text3->text()}};
}
