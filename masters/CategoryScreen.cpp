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
      level_(level), digits_(digits), listPadding_(listPadding), table_(table)
{
    Text1 = addField(QStringLiteral("Text1"), digits, KeyFilter::Digits,
                     text("コードを入力してください。"));
    Text2 = addField(QStringLiteral("Text2"), 20, KeyFilter::Any, text("名称を入力してください。"));
    Text3 = addField(QStringLiteral("Text3"), 10, KeyFilter::Any, text("略称を入力してください。"));
    Text1->setFixedWidth(16 + 12 * digits);
    Text2->setFixedWidth(340);
    Text3->setFixedWidth(190);

    connect(Text1, &EntryField::focused, this, [this] {
        enable({Text2, Text3, RCBTN, DLBTN}, false);
    });
    connect(Text1, &EntryField::entered, this, &CategoryScreen::codeEntered);
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

void CategoryScreen::codeEntered()
{
    const qint64 limit = codeLimit();
    const double value = Conversions::toNumber(Text1->text());
    if (value < 0 || value > limit - 1) {
        say(text("コードがありません。"));
        Text1->giveBack();
        return;
    }
    const QString typed = QString::number(static_cast<qint64>(value) + limit).right(digits_);
    Text1->setText(typed);
    const QString key = keyPrefix() + typed;
    codeCompleted(key);
    std::optional<QVariantMap> found;
    if (!check(table_.find(db(), key, found),
               MasterScreen::notDone(table_.table(), QStringLiteral("を読み込めませんでした。"))))
        return;
    if (found) {
        setMode(Mode::Change);
        enable({Text2, Text3, DLBTN}, true);
        showKey(found->value(QStringLiteral("CB01")).toString());
        Text2->setText(found->value(QStringLiteral("CB02")).toString());
        Text3->setText(found->value(QStringLiteral("CB03")).toString());
    } else {
        setMode(Mode::Add);
        Text2->setEnabled(true);
        Text2->clear();
        Text3->clear();
    }
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

int CategoryScreen::answerCheck()
{
    int result = 0;
    const qint64 limit = codeLimit();
    if (Text1->text().isEmpty() || Conversions::toNumber(Text1->text()) >= limit) {
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
    return result;
}

void CategoryScreen::registerClicked()
{
    areaLock();
    if (answerCheck() != 0)
        return;
    {
        BusyCursor busy;
        QVariantMap always = storedAlways();
        always.insert(QStringLiteral("CB02"), Text2->text());
        always.insert(QStringLiteral("CB03"), Text3->text());
        if (!check(
                table_.store(db(), keyPrefix() + Text1->text(), always, storedOnAdd()),
                MasterScreen::notDone(table_.table(), QStringLiteral("を登録できませんでした。"))))
            return;
    }
    activate();
}

void CategoryScreen::deleteClicked()
{
    areaLock();
    if (answerCheck() != 0)
        return;
    {
        BusyCursor busy;
        if (!check(
                table_.archiveAndDelete(db(), keyPrefix() + Text1->text()),
                MasterScreen::notDone(table_.table(), QStringLiteral("を削除できませんでした。"))))
            return;
    }
    activate();
}
