#pragma once

#include "masters/MasterScreen.h"

// Staff master: four-digit staff codes and names, every member listed, each
// deleted member kept in the archive. The register and delete buttons check
// nothing: Enter in a filled name is the only way to them.
class MUK4MM40 : public MasterScreen {
    Q_OBJECT
public:
    explicit MUK4MM40(Navigator& navigator);

protected:
    void areaInit() override;
    void areaLock() override;
    void areaAssign() override;
    void rowChosen(int row) override;
    std::optional<QString> keyOf(const QString& typed) override;
    void showFound(const QVariantMap& record) override;
    void showNew(const QString& key) override;
    QVariantMap storedAlways() const override;

private:
    EntryField* Text1;
    EntryField* Text2;
};
