#pragma once

#include "workbook/CellAddress.h"
#include "workbook/Package.h"
#include "workbook/SheetPart.h"
#include "workbook/StyleSheet.h"

#include <QString>

#include <memory>
#include <optional>
#include <variant>

class QSaveFile;

// Why a workbook could not be opened or saved; the technical text is for the
// details of the operator's message.
struct WorkbookError {
    enum class Kind {
        Missing,       // no file at the path
        Unreadable,    // the file cannot be read
        NotWorkbook,   // not a spreadsheet file, or a damaged one
        NoActiveSheet, // no worksheet to write on
        NotSaved,      // the new file could not be written or put in place
    };
    Kind kind;
    QString detail;
};

class [[nodiscard]] WorkbookResult {
public:
    WorkbookResult() = default;
    WorkbookResult(WorkbookError error) : error_(std::move(error)) {}
    bool ok() const { return !error_.has_value(); }
    const WorkbookError& error() const { return *error_; }

private:
    std::optional<WorkbookError> error_;
};

// The text of a shared or inline string item: its plain text or its runs,
// without the reading aids above the kanji.
QString stringItemText(const XmlTree& tree, int item);

// A text stays text; a number is stored as a number cell.
using CellValue = std::variant<QString, double>;

// An Office Open XML workbook opened for writing on its active sheet: select
// a range, set the selection's font, clear its contents, write cells, save
// over the file. Everything the writing does not reach stays as it was.
class Workbook {
public:
    Workbook();
    ~Workbook();
    Workbook(const Workbook&) = delete;
    Workbook& operator=(const Workbook&) = delete;

    WorkbookResult open(const QString& path);
    const QString& path() const { return path_; }

    // False when the text is no cell or range address.
    bool select(QStringView range);
    void setFont(const CellFont& font);
    void clearContents();
    // An empty text leaves the cell empty, as a spreadsheet does.
    void write(int row, QStringView column, const CellValue& value);

    // Saving is two steps, so that a caller can still give up between them:
    // the new file is written beside the original, then put in its place.
    WorkbookResult stageSave();
    WorkbookResult commitSave();
    void discardSave();
    WorkbookResult save();

    // The active sheet as it stands now, for drawing it.
    QString sheetName() const { return sheetName_; }
    QString sheetPartName() const { return sheetPart_; }
    QString sheetText() const { return sheet_.text(); }
    int lastRow() const { return sheet_.lastRow(); }
    const StyleSheet& styles() const { return styles_; }
    const Package& package() const { return package_; }
    // The print area the workbook defines for the active sheet, if any.
    std::optional<CellRange> printArea() const { return printArea_; }
    // The texts of the shared-string table, in order.
    QStringList sharedStrings() const;

private:
    WorkbookResult locateActiveSheet();
    void dropCalculationChain();

    QString path_;
    Package package_;
    QString workbookPart_;
    QString sheetPart_;
    QString sheetName_;
    QString stylesPart_;
    bool stylesAdded_ = false;
    std::optional<CellRange> printArea_;
    SheetPart sheet_;
    StyleSheet styles_;
    CellRange selection_{{1, 1}, {1, 1}};
    bool formulaCleared_ = false;
    std::unique_ptr<QSaveFile> pending_;
};
