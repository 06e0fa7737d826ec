#include "masters/MasterScreen.h"

#include "shell/ListGrid.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHash>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

MasterScreen::MasterScreen(Navigator& navigator, const QString& code, const QString& titleText,
                           MessageForm form)
    : Screen(navigator, code, titleText), form_(form)
{
    fields_ = new QGridLayout;
    fields_->setHorizontalSpacing(12);
    fields_->setVerticalSpacing(8);
    fields_->setColumnStretch(3, 1);

    QGroupBox* frame = modeFrame(LabelAPF);
    RCBTN = makeActionButton(QStringLiteral("RCBTN"), QStringLiteral("登録"));
    DLBTN = makeActionButton(QStringLiteral("DLBTN"), QStringLiteral("削除"));
    RTBTN = makeActionButton(QStringLiteral("RTBTN"), QStringLiteral("戻る"));
    connect(RCBTN, &QPushButton::clicked, this, [this] { registerClicked(); });
    connect(DLBTN, &QPushButton::clicked, this, [this] { deleteClicked(); });
    connect(RTBTN, &QPushButton::clicked, this, [this] { leaveTo(QStringLiteral("MUK4SC05")); });

    auto* actions = new QHBoxLayout;
    actions->addWidget(frame);
    actions->addStretch(1);
    actions->addWidget(RCBTN);
    actions->addWidget(DLBTN);
    actions->addWidget(RTBTN);

    gridArea_ = new QVBoxLayout;
    body()->addSpacing(10);
    body()->addLayout(fields_);
    body()->addSpacing(10);
    body()->addLayout(gridArea_, 1);
    body()->addLayout(actions);
}

void MasterScreen::addRow(const QString& captionText, QWidget* field, QWidget* beside)
{
    const int row = fields_->rowCount();
    fields_->addWidget(caption(captionText, field), row, 0);
    fields_->addWidget(field, row, 1);
    if (beside)
        fields_->addWidget(beside, row, 2);
}

QTableWidget* MasterScreen::makeGrid(const QList<int>& widthsInTwips)
{
    auto* grid = new ListGrid(widthsInTwips, this);
    grid_ = grid;
    connect(grid, &ListGrid::rowChosen, this, [this](int row) { rowChosen(row); });
    gridArea_->addWidget(grid_, 1);
    return grid_;
}

void MasterScreen::fillGrid(const QList<QStringList>& rows)
{
    grid_->clearContents();
    grid_->setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < rows.size(); ++r) {
        for (int c = 0; c < rows[r].size() && c < grid_->columnCount(); ++c)
            grid_->setItem(r, c, new QTableWidgetItem(rows[r][c]));
    }
}

void MasterScreen::setEntryOrder(const QList<QWidget*>& fieldsInOrder)
{
    first_ = fieldsInOrder.value(0);
    QList<QWidget*> chain = fieldsInOrder;
    chain << RCBTN << DLBTN << RTBTN;
    for (qsizetype i = 1; i < chain.size(); ++i)
        setTabOrder(chain[i - 1], chain[i]);
}

void MasterScreen::showList(const Select& select, const QStringList& fields, int padding)
{
    BusyCursor busy;
    listed_.clear();
    RecordSet rs(db());
    if (check(rs.open(select), QStringLiteral("一覧を読み込めませんでした。"))) {
        for (rs.moveFirst(); !rs.eof(); rs.moveNext()) {
            QStringList texts;
            for (const QString& field : fields)
                texts << rs.text(field);
            texts.first() += QString(padding, u' ');
            listed_ << texts;
        }
    }
    fillGrid(listed_);
}

QString MasterScreen::notDone(const QString& table, const QString& tail)
{
    static const QHash<QString, QString> subjects{
        {QStringLiteral("MBMBRL"), QStringLiteral("大分類")},
        {QStringLiteral("MBMBRM"), QStringLiteral("中分類")},
        {QStringLiteral("MBMSHO"), QStringLiteral("商品")},
        {QStringLiteral("MBMCHR"), QStringLiteral("担当者")},
        {QStringLiteral("MBMKJM"), QStringLiteral("科目")},
        {QStringLiteral("MBMKJT"), QStringLiteral("取引先")},
    };
    return subjects.value(table, QStringLiteral("データ")) + tail;
}

void MasterScreen::setMode(Mode mode)
{
    mode_ = mode;
    struct Look {
        const char* label;
        const char* button;
        const char* colour;
    };
    static const Look looks[] = {
        {"●  登録", "登録", "#00C000"},
        {"●  修正", "修正", "#FF0000"},
        {"●  設定", "設定", "#8080FF"},
    };
    const Look& look = looks[static_cast<int>(mode)];
    showMode(LabelAPF, QString::fromUtf8(look.label), look.colour);
    RCBTN->setText(QString::fromUtf8(look.button));
}

void MasterScreen::open(QWidget* widget)
{
    widget->setEnabled(true);
    widget->setFocus();
}

void MasterScreen::enable(std::initializer_list<QWidget*> widgets, bool on)
{
    for (QWidget* widget : widgets)
        widget->setEnabled(on);
}

void MasterScreen::keepTable(const QString& table, EntryField* codeField,
                             const QString& codeMissing)
{
    table_.emplace(table);
    codeField_ = codeField;
    codeMissing_ = codeMissing;
    connect(codeField, &EntryField::entered, this, &MasterScreen::codeEntered);
}

QString MasterScreen::entryKey() const
{
    return codeField_->text();
}

void MasterScreen::codeEntered()
{
    const std::optional<QString> key = keyOf(codeField_->text());
    if (!key) {
        say(codeMissing_);
        codeField_->giveBack();
        return;
    }
    std::optional<QVariantMap> found;
    {
        BusyCursor busy;
        if (!check(table_->find(db(), *key, found),
                   notDone(table_->table(), QStringLiteral("を読み込めませんでした。"))))
            return;
    }
    setMode(found ? Mode::Change : Mode::Add);
    if (found)
        showFound(*found);
    else
        showNew(*key);
}

void MasterScreen::registerClicked()
{
    if (!table_ || !entryChecked())
        return;
    {
        BusyCursor busy;
        if (!check(table_->store(db(), entryKey(), storedAlways(), storedOnAdd()),
                   notDone(table_->table(), QStringLiteral("を登録できませんでした。"))))
            return writeFailed();
    }
    activate();
}

void MasterScreen::deleteClicked()
{
    if (!table_ || !deleteChecked())
        return;
    {
        BusyCursor busy;
        if (!check(table_->archiveAndDelete(db(), entryKey()),
                   notDone(table_->table(), QStringLiteral("を削除できませんでした。"))))
            return writeFailed();
    }
    afterDelete();
    activate();
}

void MasterScreen::writeFailed()
{
    if (!RCBTN->isEnabled() && codeField_->isEnabled())
        codeField_->setFocus();
}

void MasterScreen::areaAssign()
{
    labelPFK()->setText(QStringLiteral("F10.Return"));
    setMode(Mode::Add);
}

void MasterScreen::focusFirst()
{
    if (first_)
        open(first_);
}

bool MasterScreen::functionKey(int key)
{
    if (key == Qt::Key_F10) {
        leaveTo(QStringLiteral("MUK4SC05"));
        return true;
    }
    return false;
}
