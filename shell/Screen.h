#pragma once

#include "data/Database.h"
#include "data/Parameters.h"
#include "shell/EntryField.h"

#include <QMessageBox>
#include <QWidget>

class Navigator;
class QGroupBox;
class QLabel;
class QPushButton;
class QVBoxLayout;

// The two forms of message box: the error form (critical icon, title
// "MESSAGE") and the plain form (no icon, the application's title).
enum class MessageForm { Error, Plain };

// Shows the hourglass for as long as it lives.
class BusyCursor {
public:
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

// The pattern every screen follows: its own database connection from
// loading to leaving, the date label, message line and key legend, the
// activation sequence AREA_INIT -> AREA_LOCK -> AREA_ASSIGN, function keys on
// key release wherever the focus is, and leaving for another screen.
class Screen : public QWidget {
    Q_OBJECT
public:
    Screen(Navigator& navigator, const QString& code, const QString& title);
    ~Screen() override;

    const QString& code() const { return code_; }

    // Loading: opens the database, shows the date, appends the "caption"
    // parameter to the title bar, then the screen's own reads.
    bool load();
    // Activation: AREA_INIT, AREA_LOCK, AREA_ASSIGN, then the first field.
    void activate();

protected:
    virtual void loadData() {}
    virtual void areaInit();
    virtual void areaLock() {}
    virtual void areaAssign() {}
    virtual void focusFirst() {}
    // Form_KeyUp for F1-F12; true when the key did something.
    virtual bool functionKey(int key);

    Database& db() { return db_; }
    Navigator& navigator() { return navigator_; }
    QVBoxLayout* body() const { return body_; }
    QLabel* labelM() const { return labelM_; }
    QLabel* labelPFK() const { return labelPFK_; }
    QLabel* title() const { return title_; }

    EntryField* addField(const QString& name, int maxLength, KeyFilter filter,
                         const QString& prompt);
    // A caption label announced as the field's own name.
    QLabel* caption(const QString& text, QWidget* buddy);
    // The frame "TRAN-AP" holding the mode label LabelAPF, which shows what
    // the entry on screen will do in the mode's colour ("#00C000").
    QGroupBox* modeFrame(QLabel*& label);
    static void showMode(QLabel* label, const QString& text, const char* colour);
    // A button of the row of actions at the foot of a data screen.
    QPushButton* makeActionButton(const QString& name, const QString& text);

    void message(MessageForm form, const QString& text);
    // A message box of this screen, answered before the screen goes on;
    // the screen then has the keyboard back at once.
    QMessageBox::StandardButton showBox(QMessageBox::Icon icon, const QString& title,
                                        const QString& text, const QString& details = {},
                                        QMessageBox::StandardButtons buttons = QMessageBox::Ok);
    // Tells the operator of an engine failure in one sentence of what did not
    // happen ("担当者を登録できませんでした。"), with the engine's text and the
    // statement in the box's details; true when there was none. A damaged
    // file ends the program, so that nothing more is written into it.
    bool check(const DbResult& result, const QString& whatFailed);

    // A menu's first focus: the first button when it can be used, else the
    // first one that can, but never "システム終了" (APCBTN99), where one
    // Enter would end the program. False when no button took it.
    static bool focusFirstButton(const QList<QPushButton*>& buttons);

    // Closes the database and shows the target screen in place of this one.
    void leaveTo(const QString& target);
    void endProgram();

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Navigator& navigator_;
    QString code_;
    Database db_;
    QLabel* title_;
    QLabel* labelD_;
    QLabel* labelM_;
    QLabel* labelPFK_;
    QVBoxLayout* body_;
};
