#include "utilities/MUK4XP90.h"

#include "utilities/BackupTargets.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QThread>
#include <QVBoxLayout>

namespace {

const QString ready = QStringLiteral("●  更新");
const char* const readyColour = "#00C0C0";
const QString done = QStringLiteral("●  正常");
const char* const doneColour = "#00C000";

QString megabytes(qint64 bytes)
{
    return QString::number(bytes / 1048576.0, 'f', 1);
}

} // namespace

MUK4XP90::MUK4XP90(Navigator& navigator)
    : Screen(navigator, QStringLiteral("MUK4XP90"), QStringLiteral("バックアップ"))
{
    CB1 = new QComboBox(this);
    CB1->setObjectName(QStringLiteral("CB1"));
    CB1->setMinimumWidth(420);
    connect(CB1, &QComboBox::activated, this, &MUK4XP90::targetChosen);

    auto* kinds = new QGroupBox(this);
    auto* kindLayout = new QVBoxLayout(kinds);
    auto option = [&](const char* name, const QString& text) {
        auto* button = new QRadioButton(text, kinds);
        button->setObjectName(QLatin1String(name));
        kindLayout->addWidget(button);
        return button;
    };
    Option1 = option("Option1", QStringLiteral("データ"));
    Option2 = option("Option2", QStringLiteral("プログラム＆データ"));
    Option3 = option("Option3", QStringLiteral("システム"));
    Option2->setEnabled(false);
    Option3->setEnabled(false);

    LabelN = new QLabel(this);
    LabelN->setObjectName(QStringLiteral("LabelN"));
    LabelN->setWordWrap(true);
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setTextVisible(false);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(16);
    grid->addWidget(caption(QStringLiteral("ドライブ"), CB1), 0, 0);
    grid->addWidget(CB1, 0, 1, Qt::AlignLeft);
    grid->addWidget(kinds, 1, 1, Qt::AlignLeft);
    grid->addWidget(ProgressBar1, 2, 1);
    grid->addWidget(LabelN, 3, 1);
    grid->setColumnStretch(1, 1);

    QGroupBox* frame = modeFrame(LabelAPF);
    RCBTN = makeActionButton(QStringLiteral("RCBTN"), QStringLiteral("実行"));
    RTBTN = makeActionButton(QStringLiteral("RTBTN"), QStringLiteral("戻る"));
    connect(RCBTN, &QPushButton::clicked, this, &MUK4XP90::backupClicked);
    connect(RTBTN, &QPushButton::clicked, this, &MUK4XP90::leave);
    auto* actions = new QHBoxLayout;
    actions->addWidget(frame);
    actions->addStretch(1);
    actions->addWidget(RCBTN);
    actions->addWidget(RTBTN);

    body()->addSpacing(20);
    body()->addLayout(grid);
    body()->addStretch(1);
    body()->addLayout(actions);
    setTabOrder(CB1, RCBTN);
    setTabOrder(RCBTN, RTBTN);

    ticker_.setInterval(200);
    connect(&ticker_, &QTimer::timeout, this, &MUK4XP90::showProgress);
}

MUK4XP90::~MUK4XP90()
{
    // The program may end while a copy runs: it stops, and its partial file
    // goes with it, before the screen is gone.
    if (worker_) {
        copy_->cancel();
        worker_->wait();
        delete worker_;
    }
}

void MUK4XP90::loadData()
{
    fillTargets();
    Option1->setChecked(true);
}

void MUK4XP90::fillTargets()
{
    const QStringList targets = BackupTargets::all();
    CB1->clear();
    CB1->addItems(targets);
    target_ = targets.first();
    // A copy killed half-way (power cut, program killed) left its partial
    // file; it is of no use to anyone.
    for (const QString& folder : targets)
        Backup::removeAllLeftovers(folder);
}

void MUK4XP90::targetChosen(int index)
{
    target_ = CB1->itemText(index);
    activate();
}

void MUK4XP90::areaInit()
{
    Screen::areaInit();
    LabelN->clear();
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->hide();
}

void MUK4XP90::areaLock()
{
    RCBTN->setEnabled(false);
    RTBTN->setEnabled(false);
    RTBTN->setEnabled(true);
}

void MUK4XP90::areaAssign()
{
    labelPFK()->setText(QStringLiteral("F10.Return"));
    showMode(LabelAPF, ready, readyColour);
    RCBTN->setText(QStringLiteral("更新"));
}

void MUK4XP90::focusFirst()
{
    RCBTN->setEnabled(true);
    RCBTN->setFocus();
}

bool MUK4XP90::functionKey(int key)
{
    if (key != Qt::Key_F10)
        return false;
    if (!copying())
        leave();
    return true;
}

void MUK4XP90::closeEvent(QCloseEvent* event)
{
    // Closing the window does not leave a copy half-made: it waits for the
    // copy's end like the return key.
    if (copying()) {
        event->ignore();
        return;
    }
    Screen::closeEvent(event);
}

void MUK4XP90::leave()
{
    leaveTo(QStringLiteral("MUK4SC09"));
}

void MUK4XP90::backupClicked()
{
    if (copying())
        return;
    // The copy reads the file whole; this screen's connection must not hold
    // it meanwhile.
    db().close();
    copy_ = Backup::forProgram(target_, target_ == BackupTargets::home());
    if (copy_->destinationExists() && !overwriteAgreed(*copy_)) {
        copy_.reset();
        return;
    }
    startCopy();
}

bool MUK4XP90::overwriteAgreed(const Backup& copy)
{
    return showBox(QMessageBox::NoIcon, QStringLiteral("処理の判断"),
                   QStringLiteral("%1 は既に存在します。\nデータベースに上書きしますか？")
                       .arg(copy.destination()),
                   {}, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

void MUK4XP90::startCopy()
{
    failure_.reset();
    CB1->setEnabled(false);
    RCBTN->setEnabled(false);
    RTBTN->setEnabled(false);
    busy_.emplace();
    ProgressBar1->show();
    elapsed_.start();
    showProgress();
    ticker_.start();
    worker_ = QThread::create([this, copy = copy_.get()] { failure_ = copy->run(); });
    connect(worker_, &QThread::finished, this, &MUK4XP90::copyFinished);
    worker_->start();
}

void MUK4XP90::showProgress()
{
    const QString seconds = QString::number(elapsed_.elapsed() / 1000);
    const qint64 expected = copy_->expectedBytes();
    switch (copy_->phase()) {
    case Backup::Phase::Copying: {
        const qint64 written = copy_->writtenBytes();
        if (expected <= 0) {
            // A dump's size is not known before it ends.
            ProgressBar1->setRange(0, 0);
            LabelN->setText(QStringLiteral("バックアップ中です。 %1 MB　経過 %2 秒")
                                .arg(megabytes(written), seconds));
            break;
        }
        // The compacted copy is about as large as the used part of the file;
        // the bar waits at its end for the last pages rather than run over.
        ProgressBar1->setRange(0, 100);
        ProgressBar1->setValue(expected > 0 ? int(qMin<qint64>(99, written * 100 / expected)) : 0);
        LabelN->setText(QStringLiteral("バックアップ中です。 %1 / %2 MB　経過 %3 秒")
                            .arg(megabytes(written), megabytes(expected), seconds));
        break;
    }
    case Backup::Phase::Checking:
    case Backup::Phase::Done:
        ProgressBar1->setRange(0, 0);
        LabelN->setText(QStringLiteral("バックアップを確認しています。　経過 %1 秒").arg(seconds));
        break;
    case Backup::Phase::Starting:
        ProgressBar1->setRange(0, 0);
        LabelN->setText(QStringLiteral("バックアップを準備しています。　経過 %1 秒").arg(seconds));
        break;
    }
}

void MUK4XP90::copyFinished()
{
    ticker_.stop();
    worker_->deleteLater();
    worker_ = nullptr;
    busy_.reset();
    CB1->setEnabled(true);
    RCBTN->setEnabled(true);
    RTBTN->setEnabled(true);
    if (failure_) {
        ProgressBar1->hide();
        LabelN->clear();
        report(*failure_);
        RCBTN->setFocus();
        return;
    }
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(100);
    LabelN->setText(QStringLiteral("バックアップしました: %1（%2 MB、%3 秒）")
                        .arg(copy_->destination(),
                             megabytes(QFileInfo(copy_->destination()).size()),
                             QString::number(elapsed_.elapsed() / 1000)));
    showMode(LabelAPF, done, doneColour);
    RTBTN->setFocus();
}

void MUK4XP90::report(const BackupFailure& failure)
{
    if (failure.kind == BackupFailure::Kind::Cancelled)
        return;
    if (failure.kind == BackupFailure::Kind::Other)
        showBox(QMessageBox::NoIcon, QApplication::applicationDisplayName(),
                failure.number != 0 ? QString::number(failure.number) + u' ' + failure.text
                                    : failure.text,
                failure.details);
    else // denied, or the file is held by another program
        showBox(QMessageBox::Critical, QStringLiteral("処理の中止"),
                copy_->name() + QStringLiteral("ファイルを終了して、再度処理してください。"),
                failure.details);
}
