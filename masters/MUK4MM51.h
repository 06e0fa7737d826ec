#pragma once

#include "masters/CategoryScreen.h"

class QComboBox;
class QLabel;
class QLineEdit;

// Middle categories, kept one major category at a time: the major is chosen
// in CB1 and stands in TextA in front of the two typed digits of the code.
class MUK4MM51 : public CategoryScreen {
    Q_OBJECT
public:
    explicit MUK4MM51(Navigator& navigator);

protected:
    void loadData() override;
    void areaInit() override;
    void areaLock() override;
    void areaAssign() override;
    void focusFirst() override;
    QString keyPrefix() const override;
    void showKey(const QString& key) override;
    void codeCompleted(const QString& key) override;
    std::optional<Select> listQuery() const override;
    QVariantMap storedAlways() const override;
    QVariantMap storedOnAdd() const override;

private:
    void majorChosen(int index);

    QComboBox* CB1;
    QLabel* LabelN;
    QLineEdit* TextA;
    QLabel* LabelNN;
    QString major_; // empty until a major category is chosen
};
