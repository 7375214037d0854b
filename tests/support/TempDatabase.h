#pragma once

#include "platform/firebird/Attachment.h"
#include "platform/firebird/Transaction.h"

#include <QString>
#include <QTemporaryDir>
#include <memory>

namespace testsupport {

// A fresh embedded database built from the schema in a temporary folder,
// with an "executable folder" beside it (BaseClipping.ini pointing at the
// database, Skin.ini, skins/, Relatorios/). Everything goes when it is
// destroyed.
class TempDatabase {
public:
    TempDatabase();
    ~TempDatabase();

    const QString& path() const { return path_; }          // the .fdb file
    QString folder() const { return dir_.path(); }          // the executable folder
    fb::Attachment& attachment() { return *att_; }
    fb::Transaction& transaction() { return *tra_; }

    // Plain SQL helpers for arranging and reading back data (own statements,
    // in the fixture's transaction, committed with retaining).
    void exec(const QString& sql);
    QVariant scalar(const QString& sql);
    int count(const QString& table, const QString& where = QString());

    // A second connection to the same database (another workstation).
    fb::Attachment connectAgain() const;

private:
    QTemporaryDir dir_;
    QString path_;
    std::unique_ptr<fb::Attachment> att_;
    std::unique_ptr<fb::Transaction> tra_;
};

} // namespace testsupport
