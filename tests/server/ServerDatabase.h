#pragma once

#include "db/Schema.h"
#include "platform/firebird/Attachment.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace testsupport {

// A database created through the server on 127.0.0.1, in a folder the
// server's own user can write.
class ServerDatabase {
public:
    ServerDatabase() : dir_(QDir::tempPath() + "/clipping-srv-XXXXXX") {
        QFile::setPermissions(dir_.path(), QFileDevice::Permissions(0x7777));
        path_ = dir_.filePath("Clippingdb.fdb");
        db::criarBanco(location());
    }
    ~ServerDatabase() {
        try {
            fb::Attachment::connect(location(), db::kUsuarioBanco, db::kSenhaBanco).dropDatabase();
        } catch (...) {
        }
    }
    QString location() const { return "localhost:" + path_; }
    const QString& path() const { return path_; }
    QString folder() const { return dir_.path(); }
    fb::Attachment connect() const { return fb::Attachment::connect(location(), db::kUsuarioBanco, db::kSenhaBanco); }

private:
    QTemporaryDir dir_;
    QString path_;
};

} // namespace testsupport
