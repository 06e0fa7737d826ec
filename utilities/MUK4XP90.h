#pragma once

#include "shell/Screen.h"
#include "utilities/BackupCopy.h"

#include <QElapsedTimer>
#include <QTimer>

#include <memory>
#include <optional>

class QComboBox;
class QProgressBar;
class QRadioButton;
class QThread;

// Backup: a copy of the shop's database into the BKUP folder of the home
// folder or onto a removable drive. The screen lets go of its own
// connection for the copy and keeps it closed until it is left. The copy
// runs beside the screen, which shows how far it has got.
class MUK4XP90 : public Screen {
    Q_OBJECT
public:
    explicit MUK4XP90(Navigator& navigator);
    ~MUK4XP90() override;

protected:
    void loadData() override;
    void areaInit() override;
    void areaLock() override;
    void areaAssign() override;
    void focusFirst() override;
    bool functionKey(int key) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void fillTargets();
    void targetChosen(int index);
    void backupClicked();
    bool overwriteAgreed(const Backup& copy);
    void startCopy();
    void showProgress();
    void copyFinished();
    void report(const BackupFailure& failure);
    void leave();
    bool copying() const { return worker_ != nullptr; }

    QComboBox* CB1;
    QRadioButton* Option1;
    QRadioButton* Option2;
    QRadioButton* Option3;
    QLabel* LabelN;
    QProgressBar* ProgressBar1;
    QLabel* LabelAPF;
    QPushButton* RCBTN;
    QPushButton* RTBTN;

    QString target_;
    std::unique_ptr<Backup> copy_;
    QThread* worker_ = nullptr;
    std::optional<BackupFailure> failure_;
    std::optional<BusyCursor> busy_;
    QTimer ticker_;
    QElapsedTimer elapsed_;
};
