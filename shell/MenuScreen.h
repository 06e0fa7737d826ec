#pragma once

#include "shell/Screen.h"

#include <QList>

class QPushButton;

// One button of a menu and the screen it opens.
struct MenuEntry {
    QString name;
    QString caption;
    QString target; // empty: the button has no screen and stays disabled
};

// The master and utility menus: buttons in two columns that open screens,
// "システム終了" that ends the program leaving the business day open, and
// "戻る" back to the main menu.
class MenuScreen : public Screen {
    Q_OBJECT
protected:
    MenuScreen(Navigator& navigator, const QString& code, const QString& titleText,
               const QList<MenuEntry>& left, const QList<MenuEntry>& right, QString legend);

    void areaAssign() override;
    void focusFirst() override;
    bool functionKey(int key) override;

    QPushButton* button(const QString& name) const;

private:
    QPushButton* makeButton(const MenuEntry& entry);

    QString legend_;
    QList<QPushButton*> order_;
};
