#pragma once

#include "shell/Screen.h"
#include "utilities/ProductImport.h"

#include <QFileDialog>

class QProgressBar;
class QTableWidget;

// The product list in and out: every product written to a CSV file for the
// owner's spreadsheet, and a list from the spreadsheet checked row by row,
// shown, and only then written, whole or not at all.
class MUK4XP10 : public Screen {
    Q_OBJECT
public:
    explicit MUK4XP10(Navigator& navigator);

protected:
    void areaInit() override;
    void areaLock() override;
    void areaAssign() override;
    void focusFirst() override;
    bool functionKey(int key) override;

private:
    QString chooseFile(QFileDialog::AcceptMode mode);
    void exportClicked();
    void checkClicked();
    void importClicked();
    void showChecked();
    void refuse(const ProductImport::Failure& failure, const QString& whatFailed);
    bool progress(const QString& doing, qint64 done, qint64 total);
    // Holds the buttons while a file is read or written.
    void working(bool busy);

    QPushButton* OUTBTN;
    QPushButton* INBTN;
    QPushButton* RCBTN;
    QPushButton* RTBTN;
    QLabel* LabelAPF;
    QLabel* LabelN;
    QProgressBar* ProgressBar1;
    QTableWidget* FG1;

    ProductImport import_;
    bool busy_ = false;
};
