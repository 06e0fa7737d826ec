#pragma once

#include "shell/BusinessDay.h"
#include "shell/Screen.h"

class QLineEdit;
class QPushButton;

// Main menu: opens or continues the business day, keeps the receipt period,
// shows the header and today's takings, and opens the counter and report
// screens.
class MUK4SC01 : public Screen {
    Q_OBJECT
public:
    explicit MUK4SC01(Navigator& navigator);

protected:
    void loadData() override;
    void areaInit() override;
    void areaLock() override;
    void areaAssign() override;
    void focusFirst() override;
    bool functionKey(int key) override;

private:
    QLineEdit* display(int number);
    void showTotals();
    void systemEnd();

    Parameters parameters_;
    BusinessDay::Header header_;
    QList<QLineEdit*> texts_; // Text1 .. Text15
    QList<QPushButton*> buttons_;
    QLabel* labelPFX_;
};
