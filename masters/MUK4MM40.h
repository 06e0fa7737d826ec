#pragma once

#include "data/MasterTable.h"
#include "masters/MasterScreen.h"

// Staff master: four-digit staff codes and names, every member listed, each
// deleted member kept in the archive.
class MUK4MM40 : public MasterScreen {
    Q_OBJECT
public:
    explicit MUK4MM40(Navigator& navigator);

protected:
    void areaInit() override;
    void areaLock() override;
    void areaAssign() override;
    void rowChosen(int row) override;
    void registerClicked() override;
    void deleteClicked() override;

private:
    void codeEntered();
    void nameEntered();

    MasterTable staff_{QStringLiteral("MBMCHR")};
    EntryField* Text1;
    EntryField* Text2;
};
