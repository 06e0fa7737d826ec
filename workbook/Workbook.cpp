#include "workbook/Workbook.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

using namespace Qt::StringLiterals;

namespace {
WorkbookError failure(WorkbookError::Kind kind, const QString& path, const QString& text)
{
    return {kind, QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), text)};
}

// Appends an element at the end of a part's root element.
QByteArray appendedToRoot(const QByteArray& part, const QString& element)
{
    XmlTree tree;
    if (!tree.parse(partText(part)))
        return part;
    const XmlElement& root = tree.at(tree.root());
    XmlSplice splice;
    splice.insert(tree.xml().lastIndexOf(u'<', root.end - 1), element);
    return splice.apply(tree.xml()).toUtf8();
}

// A part with the elements that satisfy a test taken out.
template <class Test> QByteArray without(const QByteArray& part, Test test)
{
    XmlTree tree;
    if (!tree.parse(partText(part)))
        return part;
    XmlSplice splice;
    for (int c : tree.children(tree.root()))
        if (test(tree.at(c)))
            splice.replace(tree.at(c).begin, tree.at(c).end, QString());
    return splice.apply(tree.xml()).toUtf8();
}

const QString ContentTypes = QStringLiteral("[Content_Types].xml");
} // namespace

QString stringItemText(const XmlTree& tree, int item)
{
    QString text;
    for (int c : tree.children(item)) {
        const XmlElement& e = tree.at(c);
        if (e.name == u"t")
            text += e.text;
        else if (e.name == u"r")
            for (int t : tree.children(c, u"t"))
                text += tree.at(t).text;
    }
    static const QRegularExpression escaped(QStringLiteral("_x([0-9A-Fa-f]{4})_"));
    QRegularExpressionMatch m;
    qsizetype from = 0;
    while ((m = escaped.match(text, from)).hasMatch()) {
        text.replace(m.capturedStart(), m.capturedLength(),
                     QChar(m.captured(1).toUShort(nullptr, 16)));
        from = m.capturedStart() + 1;
    }
    return text;
}

Workbook::Workbook() = default;
Workbook::~Workbook() = default;

WorkbookResult Workbook::open(const QString& path)
{
    using Kind = WorkbookError::Kind;
    path_ = path;
    QFile file(path);
    if (!QFileInfo::exists(path))
        return failure(Kind::Missing, path, QStringLiteral("no such file"));
    if (!file.open(QIODevice::ReadOnly))
        return failure(Kind::Unreadable, path, file.errorString());
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return failure(Kind::Unreadable, path, file.errorString());
    QString error;
    if (!package_.open(bytes, error))
        return failure(Kind::NotWorkbook, path, error);
    return locateActiveSheet();
}

WorkbookResult Workbook::locateActiveSheet()
{
    using Kind = WorkbookError::Kind;
    for (const Package::Relationship& r : package_.relationships(QString()))
        if (r.type == u"officeDocument")
            workbookPart_ = r.target;
    XmlTree book;
    if (workbookPart_.isEmpty() || !book.parse(partText(package_.read(workbookPart_))) ||
        book.at(book.root()).name != u"workbook")
        return failure(Kind::NotWorkbook, path_,
                       QStringLiteral("no workbook part %1 %2").arg(workbookPart_, book.error()));
    const int root = book.root();
    const QList<int> sheets = book.children(book.child(root, u"sheets"), u"sheet");
    const int view = book.child(book.child(root, u"bookViews"), u"workbookView");
    const int active =
        view < 0 ? 0 : book.at(view).attribute(u"activeTab", QStringLiteral("0")).toInt();
    if (active < 0 || active >= sheets.size())
        return failure(Kind::NoActiveSheet, path_,
                       QStringLiteral("%1 sheets, active tab %2").arg(sheets.size()).arg(active));
    const QString id = book.at(sheets[active]).attribute(u"id");
    sheetName_ = book.at(sheets[active]).attribute(u"name");
    for (const Package::Relationship& r : package_.relationships(workbookPart_)) {
        if (r.id == id && r.type == u"worksheet")
            sheetPart_ = r.target;
        if (r.type == u"styles")
            stylesPart_ = r.target;
    }
    if (sheetPart_.isEmpty() || !package_.contains(sheetPart_))
        return failure(Kind::NoActiveSheet, path_,
                       QStringLiteral("the active sheet \"%1\" is no worksheet").arg(sheetName_));
    for (int d : book.children(book.child(root, u"definedNames"), u"definedName")) {
        const XmlElement& e = book.at(d);
        if (e.attribute(u"name") == u"_xlnm.Print_Area" && e.hasAttribute(u"localSheetId") &&
            e.attribute(u"localSheetId").toInt() == active) {
            const QString area = e.text.section(u',', 0, 0);
            printArea_ = CellRange::parse(area.mid(area.lastIndexOf(u'!') + 1));
        }
    }
    QString error;
    if (!sheet_.parse(partText(package_.read(sheetPart_)), error))
        return failure(Kind::NotWorkbook, path_, sheetPart_ + u": "_s + error);
    if (stylesPart_.isEmpty() || !package_.contains(stylesPart_)) {
        stylesAdded_ = true;
        // Where spreadsheets put it, which some readers take for granted.
        const QString folder = QFileInfo(workbookPart_).path();
        stylesPart_ = QDir::cleanPath(folder + u"/styles.xml"_s);
        if (package_.contains(stylesPart_))
            stylesPart_ = QDir::cleanPath(folder + u"/muk4styles.xml"_s);
        (void)styles_.parse(StyleSheet::minimal(), error);
    } else if (!styles_.parse(partText(package_.read(stylesPart_)), error)) {
        return failure(Kind::NotWorkbook, path_, stylesPart_ + u": "_s + error);
    }
    return {};
}

bool Workbook::select(QStringView range)
{
    const auto parsed = CellRange::parse(range);
    if (!parsed)
        return false;
    selection_ = *parsed;
    return true;
}

void Workbook::setFont(const CellFont& font)
{
    QHash<int, int> derived;
    for (int row = selection_.first.row; row <= selection_.last.row; ++row)
        for (int column = selection_.first.column; column <= selection_.last.column; ++column) {
            const int style = sheet_.styleOf(row, column);
            auto found = derived.find(style);
            if (found == derived.end())
                found = derived.insert(style, styles_.withFont(style, font));
            sheet_.setStyle(row, column, *found);
        }
}

void Workbook::clearContents()
{
    for (int row = selection_.first.row; row <= selection_.last.row; ++row)
        for (int column = selection_.first.column; column <= selection_.last.column; ++column)
            formulaCleared_ = sheet_.clearContents(row, column) || formulaCleared_;
}

void Workbook::write(int row, QStringView column, const CellValue& value)
{
    const int number = columnNumber(column);
    if (number == 0 || row < 1 || row > MaxRow)
        return;
    if (const double* amount = std::get_if<double>(&value))
        sheet_.setNumber(row, number, *amount);
    else if (const QString& text = std::get<QString>(value); text.isEmpty())
        (void)sheet_.clearContents(row, number);
    else
        sheet_.setText(row, number, text);
}

QStringList Workbook::sharedStrings() const
{
    QString part;
    for (const Package::Relationship& r : package_.relationships(workbookPart_))
        if (r.type == u"sharedStrings")
            part = r.target;
    XmlTree tree;
    if (part.isEmpty() || !tree.parse(partText(package_.read(part))))
        return {};
    QStringList strings;
    for (int item : tree.children(tree.root(), u"si"))
        strings.append(stringItemText(tree, item));
    return strings;
}

void Workbook::dropCalculationChain()
{
    // The chain lists formula cells; one that lists a cleared formula makes
    // the file damaged in a spreadsheet's eyes, and it is rebuilt when
    // missing.
    const QString rels = Package::relationshipsPart(workbookPart_);
    for (const Package::Relationship& r : package_.relationships(workbookPart_)) {
        if (r.type != u"calcChain")
            continue;
        package_.remove(r.target);
        package_.replace(rels, without(package_.read(rels), [&](const XmlElement& e) {
                             return e.attribute(u"Id") == r.id;
                         }));
        package_.replace(ContentTypes,
                         without(package_.read(ContentTypes), [&](const XmlElement& e) {
                             return e.attribute(u"PartName") == u'/' + r.target;
                         }));
    }
}

WorkbookResult Workbook::stageSave()
{
    if (sheet_.changed())
        package_.replace(sheetPart_, sheet_.text().toUtf8());
    if (styles_.changed() || stylesAdded_)
        package_.replace(stylesPart_, styles_.text().toUtf8());
    if (stylesAdded_) {
        stylesAdded_ = false;
        const QString rels = Package::relationshipsPart(workbookPart_);
        const std::pair<QString, QString> announcements[] = {
            {rels, QStringLiteral("<Relationship Id=\"rIdMuk4Styles\" Type=\"http://schemas."
                                  "openxmlformats.org/officeDocument/2006/relationships/styles\" "
                                  "Target=\"/%1\"/>")},
            {ContentTypes, QStringLiteral("<Override PartName=\"/%1\" ContentType=\"application/"
                                          "vnd.openxmlformats-officedocument.spreadsheetml."
                                          "styles+xml\"/>")}};
        for (const auto& [part, element] : announcements)
            package_.replace(part, appendedToRoot(package_.read(part), element.arg(stylesPart_)));
    }
    if (formulaCleared_)
        dropCalculationChain();
    discardSave();
    pending_ = std::make_unique<QSaveFile>(path_);
    if (!pending_->open(QIODevice::WriteOnly)) {
        const QString text = pending_->errorString();
        pending_.reset();
        return failure(WorkbookError::Kind::NotSaved, path_, text);
    }
    QString error;
    if (!package_.write(*pending_, error) || !pending_->flush() ||
        pending_->error() != QFileDevice::NoError) {
        if (error.isEmpty())
            error = pending_->errorString();
        discardSave();
        return failure(WorkbookError::Kind::NotSaved, path_, error);
    }
    return {};
}

WorkbookResult Workbook::commitSave()
{
    if (!pending_)
        return failure(WorkbookError::Kind::NotSaved, path_, QStringLiteral("nothing staged"));
    const bool committed = pending_->commit();
    const QString text = pending_->errorString();
    pending_.reset();
    if (!committed)
        return failure(WorkbookError::Kind::NotSaved, path_, text);
    return {};
}

void Workbook::discardSave()
{
    if (pending_)
        pending_->cancelWriting();
    pending_.reset();
}

WorkbookResult Workbook::save()
{
    if (WorkbookResult staged = stageSave(); !staged.ok())
        return staged;
    return commitSave();
}
