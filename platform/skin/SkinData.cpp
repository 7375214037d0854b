#include "SkinData.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QStyle>
#include <QWidget>

namespace skin {

SkinData::SkinData(QObject* parent) : QObject(parent) {}

SkinData::~SkinData() {
    if (active_ && qApp)
        qApp->setStyleSheet(QString());
}

void SkinData::setSkinFile(const QString& path) {
    file_ = path;
    if (active_)
        activate();
}

QString SkinData::resolve(const QString& path) {
    if (path.isEmpty())
        return QString();
    const QFileInfo info(path);
    if (info.isFile())
        return info.absoluteFilePath();
    const QDir dir = info.absoluteDir();
    if (!dir.exists())
        return QString();
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden))
        if (name.compare(info.fileName(), Qt::CaseInsensitive) == 0)
            return dir.absoluteFilePath(name);
    return QString();
}

void SkinData::activate() {
    QString sheet;
    const QString found = resolve(file_);
    QFile f(found);
    if (!found.isEmpty() && f.open(QIODevice::ReadOnly)) {
        const QByteArray bytes = f.readAll();
        QStringDecoder utf8(QStringDecoder::Utf8);
        sheet = utf8.decode(bytes);
        if (utf8.hasError())
            sheet = QString::fromLatin1(bytes);
    }
    active_ = true;
    apply(sheet);
}

void SkinData::deactivate() {
    active_ = false;
    apply(QString());
}

void SkinData::apply(const QString& sheet) {
    sheet_ = sheet;
    if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance()))
        app->setStyleSheet(sheet);
    emit changed();
}

} // namespace skin
