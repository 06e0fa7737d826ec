#include "utilities/MUK4XP10.h"

#include <QApplication>
#include <QDir>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

const QString ready = QStringLiteral("●  更新");
const char* const readyColour = "#00C0C0";
const QString done = QStringLiteral("●  正常");
const char* const doneColour = "#00C000";
// The refused rows shown on screen; the file beside the source has them all.
constexpr int shownRefusals = 100;

} // namespace

MUK4XP10::MUK4XP10(Navigator& navigator)
    : Screen(navigator, QStringLiteral("MUK4XP10"), QStringLiteral("商品データ　入出力"))
{
    OUTBTN = makeActionButton(QStringLiteral("OUTBTN"), QStringLiteral("書出し"));
    INBTN = makeActionButton(QStringLiteral("INBTN"), QStringLiteral("読込"));
    RCBTN = makeActionButton(QStringLiteral("RCBTN"), QStringLiteral("取込"));
    RTBTN = makeActionButton(QStringLiteral("RTBTN"), QStringLiteral("戻る"));
    connect(OUTBTN, &QPushButton::clicked, this, &MUK4XP10::exportClicked);
    connect(INBTN, &QPushButton::clicked, this, &MUK4XP10::checkClicked);
    connect(RCBTN, &QPushButton::clicked, this, &MUK4XP10::importClicked);
    connect(RTBTN, &QPushButton::clicked, this, [this] { leaveTo(QStringLiteral("MUK4SC09")); });

    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    LabelN = new QLabel(this);
    LabelN->setObjectName(QStringLiteral("LabelN"));
    LabelN->setWordWrap(true);
    LabelN->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // The counts and, below them, where the refused rows went.
    LabelN->setMinimumHeight(LabelN->fontMetrics().lineSpacing() * 2 + 4);
    FG1 = new QTableWidget(0, 3, this);
    FG1->setObjectName(QStringLiteral("FG1"));
    FG1->setHorizontalHeaderLabels(
        {QStringLiteral("行"), QStringLiteral("列"), QStringLiteral("理由")});
    FG1->horizontalHeader()->setStretchLastSection(true);
    FG1->verticalHeader()->hide();
    FG1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    FG1->setColumnWidth(0, 80);
    FG1->setColumnWidth(1, 160);
    FG1->setAccessibleName(QStringLiteral("取込不可の行"));

    auto* steps = new QHBoxLayout;
    for (QPushButton* button : {OUTBTN, INBTN, RCBTN})
        steps->addWidget(button);
    steps->addStretch(1);
    QGroupBox* frame = modeFrame(LabelAPF);
    auto* actions = new QHBoxLayout;
    actions->addWidget(frame);
    actions->addStretch(1);
    actions->addWidget(RTBTN);

    body()->addSpacing(20);
    body()->addLayout(steps);
    body()->addWidget(ProgressBar1);
    body()->addWidget(LabelN);
    body()->addWidget(FG1, 1);
    body()->addLayout(actions);
    setTabOrder(OUTBTN, INBTN);
    setTabOrder(INBTN, RCBTN);
    setTabOrder(RCBTN, RTBTN);
}

void MUK4XP10::areaInit()
{
    Screen::areaInit();
    LabelN->clear();
    FG1->setRowCount(0);
    ProgressBar1->setValue(0);
    ProgressBar1->hide();
    import_ = ProductImport();
}

void MUK4XP10::areaLock()
{
    RCBTN->setEnabled(false);
}

void MUK4XP10::areaAssign()
{
    labelPFK()->setText(QStringLiteral("F10.Return"));
    labelM()->setText(QStringLiteral("書出しか読込を選択してください。"));
    showMode(LabelAPF, ready, readyColour);
}

void MUK4XP10::focusFirst()
{
    OUTBTN->setFocus();
}

bool MUK4XP10::functionKey(int key)
{
    if (key != Qt::Key_F10)
        return false;
    if (!busy_)
        leaveTo(QStringLiteral("MUK4SC09"));
    return true;
}

QString MUK4XP10::chooseFile(QFileDialog::AcceptMode mode)
{
    const bool saving = mode == QFileDialog::AcceptSave;
    QFileDialog dialog(this, saving ? QStringLiteral("書出し") : QStringLiteral("読込"));
    // Qt's own dialog: its name field takes a typed path and Enter.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(saving ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setNameFilters({QStringLiteral("CSV (*.csv)"), QStringLiteral("すべて (*)")});
    dialog.setDirectory(QDir::homePath());
    if (saving) {
        dialog.setDefaultSuffix(QStringLiteral("csv"));
        dialog.selectFile(ProductCsv::proposedName());
    }
    const bool chosen = dialog.exec() == QDialog::Accepted;
    // The screen has the keyboard back at once, as after a message box.
    activateWindow();
    return chosen ? dialog.selectedFiles().value(0) : QString();
}

bool MUK4XP10::progress(const QString& doing, qint64 count, qint64 total)
{
    ProgressBar1->setRange(0, int(qMax<qint64>(total, 1)));
    ProgressBar1->setValue(int(count));
    LabelN->setText(QStringLiteral("%1 %2 / %3 件").arg(doing).arg(count).arg(total));
    // The bar has to be drawn while the work goes on; the operator's keys
    // wait for its end.
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    return true;
}

void MUK4XP10::working(bool busy)
{
    busy_ = busy;
    for (QPushButton* button : {OUTBTN, INBTN, RTBTN})
        button->setEnabled(!busy);
    RCBTN->setEnabled(!busy && import_.writable());
    ProgressBar1->setVisible(busy || ProgressBar1->value() > 0);
}

void MUK4XP10::exportClicked()
{
    const QString path = chooseFile(QFileDialog::AcceptSave);
    if (path.isEmpty())
        return;
    areaInit();
    areaAssign();
    working(true);
    qint64 written = 0;
    std::optional<ProductCsv::ExportFailure> failure;
    {
        BusyCursor busy;
        failure = ProductCsv::exportTo(db(), path, written, [this](qint64 n, qint64 total) {
            return progress(QStringLiteral("書出し中"), n, total);
        });
    }
    working(false);
    const QString whatFailed = QStringLiteral("商品データを書き出せませんでした。");
    if (failure) {
        LabelN->clear();
        if (failure->db)
            check(DbResult(*failure->db), whatFailed);
        else
            showBox(QMessageBox::Critical, QStringLiteral("MESSAGE"), whatFailed,
                    path + QStringLiteral(": ") + failure->file);
        OUTBTN->setFocus();
        return;
    }
    LabelN->setText(QStringLiteral("%1 件を書き出しました: %2").arg(written).arg(path));
    showMode(LabelAPF, done, doneColour);
    RTBTN->setFocus();
}

void MUK4XP10::checkClicked()
{
    const QString path = chooseFile(QFileDialog::AcceptOpen);
    if (path.isEmpty())
        return;
    areaInit();
    areaAssign();
    working(true);
    std::optional<ProductImport::Failure> failure;
    {
        BusyCursor busy;
        failure = import_.check(db(), path, [this](qint64 n, qint64 total) {
            return progress(QStringLiteral("確認中"), n, total);
        });
    }
    working(false);
    if (failure) {
        import_ = ProductImport();
        RCBTN->setEnabled(false);
        refuse(*failure, QStringLiteral("商品データを読み込めませんでした。"));
        INBTN->setFocus();
        return;
    }
    showChecked();
}

void MUK4XP10::showChecked()
{
    const QList<RefusedRow>& refused = import_.refused();
    QString summary = QStringLiteral("新規 %1 件　変更 %2 件　変更なし %3 件　取込不可 %4 件")
                          .arg(import_.added())
                          .arg(import_.changed())
                          .arg(import_.unchanged())
                          .arg(refused.size());
    FG1->setRowCount(int(qMin<qsizetype>(refused.size(), shownRefusals)));
    for (int i = 0; i < FG1->rowCount(); ++i) {
        const RefusedRow& r = refused[i];
        FG1->setItem(i, 0, new QTableWidgetItem(QString::number(r.row)));
        FG1->setItem(i, 1, new QTableWidgetItem(r.column));
        FG1->setItem(i, 2, new QTableWidgetItem(r.reason));
    }
    if (!refused.isEmpty()) {
        if (const auto error = import_.writeRefused())
            showBox(QMessageBox::Critical, QStringLiteral("MESSAGE"),
                    QStringLiteral("取込不可の行をファイルに書き出せませんでした。"),
                    import_.refusedPath() + QStringLiteral(": ") + *error);
        else
            summary += QStringLiteral("\n取込不可の行: ") + import_.refusedPath();
    }
    LabelN->setText(summary);
    RCBTN->setEnabled(import_.writable());
    if (import_.writable()) {
        labelM()->setText(QStringLiteral("取込で新規と変更の行を書き込みます。"));
        RCBTN->setFocus();
    } else {
        INBTN->setFocus();
    }
}

void MUK4XP10::importClicked()
{
    if (!import_.writable())
        return;
    working(true);
    std::optional<ProductImport::Failure> failure;
    {
        BusyCursor busy;
        failure = import_.write(db(), [this](qint64 n, qint64 total) {
            return progress(QStringLiteral("取込中"), n, total);
        });
    }
    if (failure) {
        working(false);
        LabelN->clear();
        refuse(*failure, QStringLiteral("商品データを取り込めませんでした。"));
        RCBTN->setFocus();
        return;
    }
    working(false);
    LabelN->setText(QStringLiteral("取り込みました: 新規 %1 件、変更 %2 件")
                        .arg(import_.added())
                        .arg(import_.changed()));
    labelM()->clear();
    showMode(LabelAPF, done, doneColour);
    RTBTN->setFocus();
}

void MUK4XP10::refuse(const ProductImport::Failure& failure, const QString& whatFailed)
{
    using Trouble = ProductImport::Trouble;
    QString text = whatFailed;
    switch (failure.trouble) {
    case Trouble::Database:
        check(DbResult(*failure.db), whatFailed);
        return;
    case Trouble::Cancelled:
        return;
    case Trouble::NotText:
        text = QStringLiteral("UTF-8でもShift_JISでもないファイルは読み込めません。");
        break;
    case Trouble::NoHeadings:
        text = QStringLiteral("見出しの行がないファイルは読み込めません。");
        break;
    case Trouble::MissingColumn:
        text = QStringLiteral("「%1」の列がないため、読み込めませんでした。").arg(failure.detail);
        break;
    case Trouble::Unreadable:
    case Trouble::Malformed:
        break;
    }
    showBox(QMessageBox::Critical, QStringLiteral("MESSAGE"), text, failure.detail);
}
