#include "TempDatabase.h"

#include "db/Schema.h"
#include "platform/firebird/Statement.h"

#include <QDir>
#include <QFile>
#include <stdexcept>

namespace testsupport {

namespace {
// One schema-built template per test process; each fixture copies it, which
// is much faster than running the DDL again.
QString templateDatabase() {
    static QTemporaryDir dir;
    static QString path;
    if (path.isEmpty()) {
        if (!dir.isValid())
            throw std::runtime_error("cannot create temporary folder");
        path = dir.filePath(QStringLiteral("template.fdb"));
        db::criarBanco(path);
    }
    return path;
}
} // namespace

TempDatabase::TempDatabase() {
    if (!dir_.isValid())
        throw std::runtime_error("cannot create temporary folder");
    QDir d(dir_.path());
    d.mkpath(QStringLiteral("Vexildb"));
    d.mkpath(QStringLiteral("skins"));
    d.mkpath(QStringLiteral("Relatorios"));
    path_ = d.filePath(QStringLiteral("Vexildb/Clippingdb.fdb"));
    if (!QFile::copy(templateDatabase(), path_))
        throw std::runtime_error("cannot copy template database");
    QFile::setPermissions(path_, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    QFile ini(d.filePath(QStringLiteral("BaseClipping.ini")));
    if (ini.open(QIODevice::WriteOnly))
        ini.write(QFile::encodeName(path_) + "\r\n");
    QFile skin(d.filePath(QStringLiteral("Skin.ini")));
    if (skin.open(QIODevice::WriteOnly))
        skin.write("[Skin]\r\nSkin=Nenhum\r\n");
    att_ = std::make_unique<fb::Attachment>(fb::Attachment::connect(path_, db::kUsuarioBanco, db::kSenhaBanco));
    tra_ = std::make_unique<fb::Transaction>(*att_);
    tra_->start();
}

TempDatabase::~TempDatabase() {
    try {
        tra_.reset();
        att_.reset();
    } catch (...) {
    }
}

void TempDatabase::exec(const QString& sql) {
    fb::Statement st(*tra_, sql);
    st.execute();
    tra_->commitRetaining();
}

QVariant TempDatabase::scalar(const QString& sql) {
    fb::Statement st(*tra_, sql);
    st.open();
    QVariant v = st.fetch() ? st.value(0) : QVariant();
    st.close();
    return v;
}

int TempDatabase::count(const QString& table, const QString& where) {
    return scalar(QStringLiteral("SELECT COUNT(*) FROM %1%2").arg(table, where.isEmpty() ? QString() : " WHERE " + where))
        .toInt();
}

fb::Attachment TempDatabase::connectAgain() const {
    return fb::Attachment::connect(path_, db::kUsuarioBanco, db::kSenhaBanco);
}

} // namespace testsupport
