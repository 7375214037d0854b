#pragma once

#include <QString>
#include <QStringList>

namespace db {

// The credentials every workstation connects with.
inline const QString kUsuarioBanco = QStringLiteral("SYSDBA");
inline const QString kSenhaBanco = QStringLiteral("plumvoxer");

// The statements of the schema script, in order, without terminators.
QStringList schemaStatements();

// Splits a script into statements, honouring comments, string literals and
// SET TERM. Exposed for tests.
QStringList splitScript(const QString& script);

// Creates the database file at path (a local path or host:path) and builds
// the whole schema in it. Throws fb::Error on failure; a half-built file is
// dropped.
void criarBanco(const QString& path, const QString& user = kUsuarioBanco, const QString& password = kSenhaBanco);

} // namespace db
