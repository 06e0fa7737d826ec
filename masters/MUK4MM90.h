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
    // A value passes on when it is there and its key can use it; otherwise
    // it stays selected under its message.
    bool valueTaken(EntryField* field, int valueNumber, const QString& missing);

    EntryField* Text1;
    EntryField* Text2;
    EntryField* Text3;
    QLabel* LabelW;
};
