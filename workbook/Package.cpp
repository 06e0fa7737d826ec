#include "workbook/Package.h"

#include "workbook/XmlTree.h"

#include <QDir>

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {
bool writePart(QuaZip& zip, const QString& name, const QByteArray& data, QString& error)
{
    QuaZipFile file(&zip);
    QuaZipNewInfo info(name);
    if (!file.open(QIODevice::WriteOnly, info) || file.write(data) != data.size()) {
        error = QStringLiteral("cannot write %1 (zip error %2)").arg(name).arg(file.getZipError());
        return false;
    }
    file.close();
    if (file.getZipError() != ZIP_OK) {
        error = QStringLiteral("cannot finish %1 (zip error %2)").arg(name).arg(file.getZipError());
        return false;
    }
    return true;
}

bool finish(QuaZip& zip, QIODevice& device, QString& error)
{
    zip.close();
    if (zip.getZipError() != ZIP_OK) {
        error = QStringLiteral("cannot finish the file (zip error %1): %2")
                    .arg(zip.getZipError())
                    .arg(device.errorString());
        return false;
    }
    return true;
}
} // namespace

QString partText(const QByteArray& bytes)
{
    QString text = QString::fromUtf8(bytes);
    if (text.startsWith(QChar(0xfeff)))
        text.remove(0, 1);
    return text;
}

Package::Package() = default;
Package::~Package() = default;

bool Package::open(const QByteArray& bytes, QString& error)
{
    bytes_ = bytes;
    buffer_.setBuffer(&bytes_);
    zip_ = std::make_unique<QuaZip>(&buffer_);
    if (!zip_->open(QuaZip::mdUnzip)) {
        error = QStringLiteral("not a zip file (zip error %1)").arg(zip_->getZipError());
        return false;
    }
    entries_ = zip_->getFileInfoList64();
    return true;
}

bool Package::contains(const QString& part) const
{
    if (removed_.contains(part))
        return false;
    if (replaced_.contains(part))
        return true;
    return std::any_of(entries_.begin(), entries_.end(),
                       [&](const QuaZipFileInfo64& e) { return e.name == part; });
}

QByteArray Package::read(const QString& part) const
{
    if (removed_.contains(part))
        return {};
    if (const auto r = replaced_.find(part); r != replaced_.end())
        return *r;
    if (!zip_ || !zip_->setCurrentFile(part))
        return {};
    QuaZipFile file(zip_.get());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

void Package::replace(const QString& part, const QByteArray& data)
{
    removed_.remove(part);
    if (!contains(part) && !added_.contains(part))
        added_.append(part);
    replaced_.insert(part, data);
}

void Package::remove(const QString& part)
{
    replaced_.remove(part);
    added_.removeAll(part);
    removed_.insert(part);
}

bool Package::write(QIODevice& device, QString& error) const
{
    QuaZip out(&device);
    // The caller decides when the file is complete (a QSaveFile would be
    // put in place by QuaZip's own close otherwise).
    out.setAutoClose(false);
    out.setUtf8Enabled(true);
    if (!out.open(QuaZip::mdCreate)) {
        error = QStringLiteral("cannot start the file (zip error %1): %2")
                    .arg(out.getZipError())
                    .arg(device.errorString());
        return false;
    }
    for (const QuaZipFileInfo64& entry : entries_) {
        if (removed_.contains(entry.name))
            continue;
        if (const auto r = replaced_.find(entry.name); r != replaced_.end()) {
            if (!writePart(out, entry.name, *r, error))
                return false;
            continue;
        }
        // Copied still compressed: the part stays exactly as it was.
        zip_->setCurrentFile(entry.name);
        QuaZipFile source(zip_.get());
        int method = 0, level = 0;
        if (!source.open(QIODevice::ReadOnly, &method, &level, true)) {
            error = QStringLiteral("cannot read %1").arg(entry.name);
            return false;
        }
        const QByteArray raw = source.readAll();
        QuaZipFile target(&out);
        QuaZipNewInfo info(entry);
        if (!target.open(QIODevice::WriteOnly, info, nullptr, entry.crc, method, level, true) ||
            target.write(raw) != raw.size()) {
            error = QStringLiteral("cannot write %1: %2").arg(entry.name, device.errorString());
            return false;
        }
        target.close();
        if (target.getZipError() != ZIP_OK) {
            error = QStringLiteral("cannot finish %1: %2").arg(entry.name, device.errorString());
            return false;
        }
    }
    for (const QString& part : added_)
        if (!writePart(out, part, replaced_.value(part), error))
            return false;
    return finish(out, device, error);
}

bool Package::writeNew(QIODevice& device, const QList<std::pair<QString, QByteArray>>& parts,
                       QString& error)
{
    QuaZip out(&device);
    out.setAutoClose(false);
    out.setUtf8Enabled(true);
    if (!out.open(QuaZip::mdCreate)) {
        error = QStringLiteral("cannot start the file (zip error %1)").arg(out.getZipError());
        return false;
    }
    for (const auto& [name, data] : parts)
        if (!writePart(out, name, data, error))
            return false;
    return finish(out, device, error);
}

QString Package::relationshipsPart(const QString& part)
{
    const qsizetype slash = part.lastIndexOf(u'/');
    return part.left(slash + 1) + u"_rels/"_s + part.mid(slash + 1) + u".rels"_s;
}

QList<Package::Relationship> Package::relationships(const QString& part) const
{
    XmlTree tree;
    if (!tree.parse(partText(read(relationshipsPart(part)))))
        return {};
    const QString folder = part.left(std::max<qsizetype>(0, part.lastIndexOf(u'/')));
    QList<Relationship> found;
    for (int r : tree.children(tree.root(), u"Relationship")) {
        const XmlElement& e = tree.at(r);
        Relationship relationship;
        relationship.id = e.attribute(u"Id");
        relationship.type = e.attribute(u"Type").section(u'/', -1);
        relationship.external = e.attribute(u"TargetMode") == u"External";
        const QString target = e.attribute(u"Target");
        if (relationship.external)
            relationship.target = target;
        else if (target.startsWith(u'/'))
            relationship.target = QDir::cleanPath(target.mid(1));
        else
            relationship.target =
                QDir::cleanPath(folder.isEmpty() ? target : folder + u'/' + target);
        found.append(relationship);
    }
    return found;
}
