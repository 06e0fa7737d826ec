#include "shell/Screen.h"

#include "data/Clock.h"
#include "shell/Navigator.h"

#include <QApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

BusyCursor::BusyCursor()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

BusyCursor::~BusyCursor()
{
    QApplication::restoreOverrideCursor();
}

Screen::Screen(Navigator& navigator, const QString& code, const QString& titleText)
    : navigator_(navigator), code_(code)
{
    setObjectName(code);
    setWindowTitle(code);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(16, 10, 16, 10);
    auto* header = new QHBoxLayout;
    title_ = new QLabel(titleText, this);
    title_->setObjectName(QStringLiteral("Label1"));
    QFont big = title_->font();
    big.setPointSizeF(big.pointSizeF() * 1.5);
    big.setBold(true);
    title_->setFont(big);
    labelD_ = new QLabel(this);
    labelD_->setObjectName(QStringLiteral("LabelD"));
    labelD_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    header->addWidget(title_, 1);
    header->addWidget(labelD_);
    outer->addLayout(header);

    body_ = new QVBoxLayout;
    outer->addLayout(body_, 1);

    labelM_ = new QLabel(this);
    labelM_->setObjectName(QStringLiteral("LabelM"));
    labelM_->setFrameShape(QFrame::Panel);
    labelM_->setFrameShadow(QFrame::Sunken);
    labelM_->setMinimumHeight(28);
    labelPFK_ = new QLabel(this);
    labelPFK_->setObjectName(QStringLiteral("LabelPFK"));
    labelPFK_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    outer->addWidget(labelM_);
    outer->addWidget(labelPFK_);

    // Function keys act on release wherever the focus is, so they are taken
    // before any control of the screen sees them.
    qApp->installEventFilter(this);
}

Screen::~Screen()
{
    qApp->removeEventFilter(this);
}

bool Screen::load()
{
    if (!check(db_.open(), QStringLiteral("データベースを開けませんでした。")))
        return false;
    labelD_->setText(Clock::dateText());
    std::optional<Parameter> caption;
    if (check(Parameters::read(db_, QStringLiteral("caption"), caption),
              QStringLiteral("パラメタを読み込めませんでした。")) &&
        caption)
        setWindowTitle(code_ + caption->first);
    loadData();
    return true;
}

void Screen::activate()
{
    areaInit();
    areaLock();
    areaAssign();
    focusFirst();
}

void Screen::areaInit()
{
    labelM_->clear();
}

bool Screen::functionKey(int)
{
    return false;
}

EntryField* Screen::addField(const QString& name, int maxLength, KeyFilter filter,
                             const QString& prompt)
{
    auto* field = new EntryField(name, maxLength, filter, prompt, this);
    connect(field, &EntryField::focused, this,
            [this, field] { labelM_->setText(field->prompt()); });
    return field;
}

QLabel* Screen::caption(const QString& text, QWidget* buddy)
{
    auto* label = new QLabel(text, this);
    label->setBuddy(buddy);
    return label;
}

QGroupBox* Screen::modeFrame(QLabel*& label)
{
    auto* frame = new QGroupBox(QStringLiteral("TRAN-AP"), this);
    auto* frameLayout = new QVBoxLayout(frame);
    label = new QLabel(frame);
    label->setObjectName(QStringLiteral("LabelAPF"));
    QFont bold = label->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.2);
    label->setFont(bold);
    label->setMinimumWidth(120);
    frameLayout->addWidget(label);
    return frame;
}

void Screen::showMode(QLabel* label, const QString& text, const char* colour)
{
    // Set only when it changes: a new style sheet costs a fresh polish and a
    // repaint, at every line on the counter screens.
    const QString look = QStringLiteral("color: %1;").arg(QLatin1String(colour));
    if (label->styleSheet() != look)
        label->setStyleSheet(look);
    label->setText(text);
}

QPushButton* Screen::makeActionButton(const QString& name, const QString& text)
{
    auto* button = new QPushButton(text, this);
    button->setObjectName(name);
    button->setAutoDefault(false);
    button->setMinimumSize(110, 40);
    return button;
}

void Screen::message(MessageForm form, const QString& text)
{
    if (form == MessageForm::Error)
        showBox(QMessageBox::Critical, QStringLiteral("MESSAGE"), text);
    else
        showBox(QMessageBox::NoIcon, QApplication::applicationDisplayName(), text);
}

QMessageBox::StandardButton Screen::showBox(QMessageBox::Icon icon, const QString& title,
                                            const QString& text, const QString& details,
                                            QMessageBox::StandardButtons buttons)
{
    QMessageBox box(this);
    box.setIcon(icon);
    box.setWindowTitle(title);
    box.setText(text);
    box.setDetailedText(details);
    box.setStandardButtons(buttons);
    const auto answer = static_cast<QMessageBox::StandardButton>(box.exec());
    // The field that failed gets the keyboard back at once.
    activateWindow();
    return answer;
}

bool Screen::check(const DbResult& result, const QString& whatFailed)
{
    if (result.ok())
        return true;
    const bool damaged = result.error().damaged();
    // What the operator can mend goes into the sentence itself; the engine's
    // text is in English and only in the details.
    QString text = whatFailed;
    if (result.error().trouble == DbError::Trouble::DiskFull)
        text += QStringLiteral("ディスクの空きがありません。");
    else if (result.error().trouble == DbError::Trouble::ReadOnly)
        text += QStringLiteral("データベースに書き込めません。");
    showBox(QMessageBox::Critical, QStringLiteral("MESSAGE"),
            damaged
                ? QStringLiteral("データベースが壊れています。バックアップから復元してください。")
                : text,
            result.error().describe());
    if (damaged)
        endProgram();
    return false;
}

bool Screen::focusFirstButton(const QList<QPushButton*>& buttons)
{
    for (QPushButton* button : buttons) {
        if (button->isEnabled() && button->objectName() != u"APCBTN99") {
            button->setFocus();
            return true;
        }
    }
    return false;
}

void Screen::leaveTo(const QString& target)
{
    // A way into a screen that is not built does nothing.
    if (!navigator_.has(target))
        return;
    db_.close();
    navigator_.show(target);
}

void Screen::endProgram()
{
    db_.close();
    navigator_.end();
}

bool Screen::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyRelease && type != QEvent::KeyPress)
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || (widget != this && !isAncestorOf(widget)) || QApplication::activeModalWidget())
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() >= Qt::Key_F1 && key->key() <= Qt::Key_F12) {
        if (type == QEvent::KeyRelease && !key->isAutoRepeat())
            functionKey(key->key());
        return true;
    }
    // Enter on a focused button presses it, as the operator expects at the
    // counter.
    if (type == QEvent::KeyPress && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
        if (auto* button = qobject_cast<QPushButton*>(widget); button && button->isEnabled()) {
            button->click();
            return true;
        }
    }
    return false;
}
