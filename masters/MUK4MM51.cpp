#include "masters/MUK4MM51.h"

#include "data/Conversions.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

MUK4MM51::MUK4MM51(Navigator& navigator)
    : CategoryScreen(navigator, QStringLiteral("MUK4MM51"), QStringLiteral("中分類"), 2, 2,
                     QStringLiteral("MBMBRM"))
{
    CB1 = new QComboBox(this);
    CB1->setObjectName(QStringLiteral("CB1"));
    CB1->setMinimumWidth(340);
    CB1->setPlaceholderText(QStringLiteral("名前を選択してください"));
    LabelN = new QLabel(this);
    LabelN->setObjectName(QStringLiteral("LabelN"));
    LabelN->setMinimumWidth(40);
    const int row = fields()->rowCount();
    fields()->addWidget(caption(QStringLiteral("大分類CD"), CB1), row, 0);
    fields()->addWidget(CB1, row, 1, Qt::AlignLeft);
    fields()->addWidget(LabelN, row, 2);

    // TextA and Text1 side by side read as the three-character code.
    TextA = new QLineEdit(this);
    TextA->setObjectName(QStringLiteral("TextA"));
    TextA->setMaxLength(1);
    TextA->setFixedWidth(28);
    TextA->setEnabled(false);
    // The caption of the row names the field typed into; the major code in
    // front of it is named for screen readers.
    TextA->setAccessibleName(QStringLiteral("中分類CD（大分類）"));
    auto* code = new QWidget(this);
    auto* codeLayout = new QHBoxLayout(code);
    codeLayout->setContentsMargins(0, 0, 0, 0);
    codeLayout->setSpacing(2);
    codeLayout->addWidget(TextA);
    codeLayout->addWidget(Text1);
    LabelNN = new QLabel(this);
    LabelNN->setObjectName(QStringLiteral("LabelNN"));
    LabelNN->setMinimumWidth(40);
    placeFields(code, LabelNN);
    setTabOrder(CB1, Text1);

    connect(CB1, &QComboBox::activated, this, &MUK4MM51::majorChosen);
}

void MUK4MM51::loadData()
{
    CB1->clear();
    RecordSet rs(db());
    // Unlike the major list, the choice offers major 0 as well.
    if (check(rs.open(Select(QStringLiteral("MBMBRL"))
                          .where(QStringLiteral("CB01"), QStringLiteral(">="), QStringLiteral("0"))
                          .orderBy({QStringLiteral("CB01")})),
              QStringLiteral("大分類を読み込めませんでした。"))) {
        for (rs.moveFirst(); !rs.eof(); rs.moveNext())
            CB1->addItem(rs.text(QStringLiteral("CB02")),
                         static_cast<int>(rs.number(QStringLiteral("CB01"))));
    }
    CB1->setCurrentIndex(-1);
}

void MUK4MM51::majorChosen(int index)
{
    if (index < 0)
        return;
    major_ = QString::number(CB1->itemData(index).toInt() + 10).right(1);
    activate();
}

void MUK4MM51::areaInit()
{
    CategoryScreen::areaInit();
    TextA->clear();
    LabelN->clear();
    LabelNN->clear();
}

void MUK4MM51::areaLock()
{
    CategoryScreen::areaLock();
    enable({Text1, TextA}, false);
}

void MUK4MM51::areaAssign()
{
    CategoryScreen::areaAssign();
    if (major_.isEmpty())
        return;
    TextA->setText(major_);
    LabelN->setText(major_);
    LabelNN->setText(major_);
}

void MUK4MM51::focusFirst()
{
    if (major_.isEmpty()) {
        CB1->setFocus();
        return;
    }
    open(Text1);
}

QString MUK4MM51::keyPrefix() const
{
    return TextA->text();
}

void MUK4MM51::showKey(const QString& key)
{
    TextA->setText(key.left(1));
    Text1->setText(key.mid(1, 2));
    // The full code beside the field always matches the record shown.
    LabelNN->setText(key);
}

void MUK4MM51::codeCompleted(const QString& key)
{
    LabelNN->setText(key);
}

std::optional<Select> MUK4MM51::listQuery() const
{
    if (major_.isEmpty())
        return std::nullopt;
    return Select(QStringLiteral("MBMBRM"))
        .where(QStringLiteral("CB04"), QStringLiteral("="), major_)
        .orderBy({QStringLiteral("CB04"), QStringLiteral("CB01")});
}

QVariantMap MUK4MM51::storedAlways() const
{
    QVariantMap always = CategoryScreen::storedAlways();
    always.insert(QStringLiteral("CB04"), TextA->text());
    return always;
}

QVariantMap MUK4MM51::storedOnAdd() const
{
    const QString blank = QStringLiteral(" ");
    return {{QStringLiteral("CB05"), blank},
            {QStringLiteral("CB06"), blank},
            {QStringLiteral("CB07"), blank}};
}
