#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>

#include <memory>

class QuaZip;
struct QuaZipFileInfo64;

// The zip container of an Office Open XML file, held in memory. Parts that
// are not replaced are written back with their compressed bytes as read.
class Package {
public:
    Package();
    ~Package();
    Package(const Package&) = delete;
    Package& operator=(const Package&) = delete;

    bool open(const QByteArray& bytes, QString& error);
    bool contains(const QString& part) const;
    // The part as it stands now; empty when it does not exist.
    QByteArray read(const QString& part) const;
    void replace(const QString& part, const QByteArray& data);
    void remove(const QString& part);
    bool write(QIODevice& device, QString& error) const;

    struct Relationship {
        QString id;
        QString type;   // the last word of the type, e.g. "worksheet"
        QString target; // the part it names, or the address when external
        bool external = false;
    };
    // The relationships of a part (of the package itself when part is empty).
    QList<Relationship> relationships(const QString& part) const;
    static QString relationshipsPart(const QString& part);

    // New parts written together as a fresh package.
    static bool writeNew(QIODevice& device, const QList<std::pair<QString, QByteArray>>& parts,
                         QString& error);

private:
    QByteArray bytes_;
    mutable QBuffer buffer_;
    std::unique_ptr<QuaZip> zip_;
    QList<QuaZipFileInfo64> entries_;
    QHash<QString, QByteArray> replaced_;
    QStringList added_;
    QSet<QString> removed_;
};

// A part's text: Office parts are UTF-8; a byte-order mark is dropped.
QString partText(const QByteArray& bytes);
