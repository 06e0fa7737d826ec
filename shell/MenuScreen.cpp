#include "shell/MenuScreen.h"

#include "shell/Navigator.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

MenuScreen::MenuScreen(Navigator& navigator, const QString& code, const QString& titleText,
                       const QList<MenuEntry>& left, const QList<MenuEntry>& right, QString legend)
    : Screen(navigator, code, titleText), legend_(std::move(legend))
{
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(40);
    grid->setVerticalSpacing(14);
    int row = 0;
    for (const MenuEntry& entry : left)
        grid->addWidget(makeButton(entry), row++, 0);
    row = 0;
    for (const MenuEntry& entry : right)
        grid->addWidget(makeButton(entry), row++, 1);

    auto* end = makeButton({QStringLiteral("APCBTN99"), QStringLiteral("システム終了"), {}});
    connect(end, &QPushButton::clicked, this, [this] { endProgram(); });
    end->setEnabled(true);
    auto* back = makeButton({QStringLiteral("RTBTN"), QStringLiteral("戻る"), {}});
    connect(back, &QPushButton::clicked, this, [this] { leaveTo(QStringLiteral("MUK4SC01")); });
    back->setEnabled(true);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(end);
    bottom->addWidget(back);

    body()->addSpacing(30);
    body()->addLayout(grid);
    body()->addStretch(1);
    body()->addLayout(bottom);

    for (qsizetype i = 1; i < order_.size(); ++i)
        setTabOrder(order_[i - 1], order_[i]);
}

QPushButton* MenuScreen::makeButton(const MenuEntry& entry)
{
    auto* button = new QPushButton(entry.caption, this);
    button->setObjectName(entry.name);
    button->setMinimumSize(360, 48);
    button->setAutoDefault(false);
    button->setEnabled(!entry.target.isEmpty() && navigator().has(entry.target));
    if (!entry.target.isEmpty()) {
        const QString target = entry.target;
        connect(button, &QPushButton::clicked, this, [this, target] { leaveTo(target); });
    }
    order_ << button;
    return button;
}

QPushButton* MenuScreen::button(const QString& name) const
{
    for (QPushButton* b : order_) {
        if (b->objectName() == name)
            return b;
    }
    return nullptr;
}

void MenuScreen::areaAssign()
{
    labelPFK()->setText(legend_);
}

void MenuScreen::focusFirst()
{
    focusFirstButton(order_);
}

bool MenuScreen::functionKey(int key)
{
    if (key == Qt::Key_F12) {
        leaveTo(QStringLiteral("MUK4SC01"));
        return true;
    }
    return false;
}
