#pragma once

#include "data/Parameters.h"
#include "masters/MasterScreen.h"

// System settings: the values of the parameters that exist in MBMSYS can be
// changed here; no parameter is ever added or removed.
class MUK4MM90 : public MasterScreen {
    Q_OBJECT
public:
    explicit MUK4MM90(Navigator& navigator);

protected:
    void areaInit() override;
    void areaLock() override;
    void areaAssign() override;
    void rowChosen(int row) override;
    void registerClicked() override;

private:
    void keyEntered();
    void showParameter(const Parameter& parameter);
    void firstEntered();
    void secondEntered();

    EntryField* Text1;
    EntryField* Text2;
    EntryField* Text3;
    QLabel* LabelW;
};
