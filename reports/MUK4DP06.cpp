#include "reports/MUK4DP06.h"

#include "data/RecordSet.h"

#include <QComboBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {
QLineEdit* codeBox(const QString& name, QWidget* parent)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setReadOnly(true);
    box->setFocusPolicy(Qt::NoFocus);
    box->setFixedWidth(30);
    return box;
}
} // namespace

MUK4DP06::MUK4DP06(Navigator& navigator)
    : CategoryReport(
          navigator, QStringLiteral("MUK4DP06"), QStringLiteral("中分類売上管理表（日別/月）"),
          {QStringLiteral("MBMBRM"), QStringLiteral("LB3"), QStringLiteral("LB4"), false}, 2)
{
    addStoreName(0, 0);
    CB1 = new QComboBox(this);
    CB1->setObjectName(QStringLiteral("CB1"));
    CB1->setPlaceholderText(QStringLiteral("名前を選択"));
    CB1->setMinimumWidth(150);
    CB2 = new QComboBox(this);
    CB2->setObjectName(QStringLiteral("CB2"));
    CB2->setPlaceholderText(QStringLiteral("範囲を選択"));
    CB2->setMinimumWidth(120);
    TextA = codeBox(QStringLiteral("TextA"), this);
    TextB = codeBox(QStringLiteral("TextB"), this);
    fields()->addWidget(caption(QStringLiteral("大分類"), CB1), 0, 2);
    fields()->addWidget(CB1, 0, 3);
    fields()->addWidget(TextA, 0, 4);
    fields()->addWidget(caption(QStringLiteral("中分類範囲"), CB2), 0, 5);
    fields()->addWidget(CB2, 0, 6);
    fields()->addWidget(TextB, 0, 7);
    addDateField(QStringLiteral("日付       （From）"), QStringLiteral("日付が存在しません。"), 0,
                 8);
    fields()->setColumnStretch(10, 1);
    setTabOrder(CB1, CB2);
    setTabOrder(CB2, dateField());
    addRegisterChoice();
    connect(CB1, &QComboBox::activated, this, &MUK4DP06::majorChosen);
    connect(CB2, &QComboBox::activated, this, &MUK4DP06::rangeChosen);
}

void MUK4DP06::loadData()
{
    CategoryReport::loadData();
    RecordSet rs(db());
    if (!check(rs.open(Select(QStringLiteral("MBMBRL"))
                           .where(QStringLiteral("CB01"), QStringLiteral(">="), QStringLiteral("0"))
                           .orderBy({QStringLiteral("CB01")})),
               QStringLiteral("大分類を読み込めませんでした。")))
        return;
    for (rs.moveFirst(); !rs.eof(); rs.moveNext())
        CB1->addItem(rs.text(QStringLiteral("CB03")),
                     static_cast<int>(rs.number(QStringLiteral("CB01"))));
    CB1->setCurrentIndex(-1);
}

void MUK4DP06::areaAssign()
{
    CategoryReport::areaAssign();
    // The categories are passed again with Enter before the next date.
    CB2->setEnabled(false);
    dateField()->setEnabled(false);
}

void MUK4DP06::focusFirst()
{
    CB1->setFocus();
    labelPFK()->setText(QStringLiteral("F10.Return"));
}

void MUK4DP06::majorChosen(int index)
{
    major_ = QString::number(CB1->itemData(index).toInt() + 10).right(1);
    TextA->setText(major_);
    TextB->setText(major_);
    CB2->clear();
    const QStringList texts = CategorySales::rangeTexts(major_.front());
    const QList<int> starts = CategorySales::rangeStarts();
    for (qsizetype i = 0; i < texts.size(); ++i)
        CB2->addItem(texts[i], starts[i]);
    CB2->setCurrentIndex(-1);
    CB2->setEnabled(true);
    CB2->setFocus();
}

void MUK4DP06::rangeChosen(int index)
{
    setColumns(CategorySales::middles(major_.front(), CB2->itemData(index).toInt()));
    dateField()->setEnabled(true);
    dateField()->setFocus();
}

void MUK4DP06::majorEntered()
{
    // Any chosen major goes on, major 0 included.
    if (TextA->text().isEmpty()) {
        message(MessageForm::Error, QStringLiteral("大分類コードがありません。"));
        CB1->setFocus();
        return;
    }
    CB2->setEnabled(true);
    CB2->setFocus();
}

void MUK4DP06::rangeEntered()
{
    if (CB2->currentIndex() < 0 || !hasColumns()) {
        message(MessageForm::Error, QStringLiteral("中分類コードがありません。"));
        CB2->setFocus();
        return;
    }
    dateField()->setEnabled(true);
    dateField()->setFocus();
}

void MUK4DP06::finishRun()
{
    showResult(SJBTN, false);
}

bool MUK4DP06::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && (watched == CB1 || watched == CB2)) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (watched == CB1)
                majorEntered();
            else
                rangeEntered();
            return true;
        }
    }
    return CategoryReport::eventFilter(watched, event);
}
