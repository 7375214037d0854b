#pragma once

#include <QString>
#include <functional>
#include <memory>

namespace Firebird { class IAttachment; class IMaster; class IStatus; class IUtil; }

namespace fb {

class Error;

// Process-wide access to the client library's master interface.
Firebird::IMaster* master();

// On SIGINT or SIGTERM the embedded engine shuts itself down and leaves the
// process running on dead connections. The handler is called first, on the
// engine's own thread, so that the program can end too; empty: none.
void setTerminationHandler(std::function<void()> handler);

// One connection to a database. A plain path opens the file with the embedded
// engine; "host:path" goes to a Firebird server over TCP. SQL dialect 1, no
// character set named (text travels as the database's own bytes).
class Attachment {
public:
    Attachment() = default;
    ~Attachment();
    Attachment(Attachment&&) noexcept;
    Attachment& operator=(Attachment&&) noexcept;
    Attachment(const Attachment&) = delete;
    Attachment& operator=(const Attachment&) = delete;

    static Attachment connect(const QString& database, const QString& user, const QString& password);
    // Creates the database file, dialect 1, default character set charset.
    static Attachment create(const QString& database, const QString& user, const QString& password,
                             const QString& charset = QStringLiteral("WIN1252"), int pageSize = 8192);

    bool isConnected() const { return att_ != nullptr; }
    const QString& database() const { return database_; }
    void detach();
    void dropDatabase();
    // Runs one statement without parameters in its own transaction (DDL).
    void executeImmediate(const QString& sql);

    Firebird::IAttachment* raw() const { return att_; }

private:
    Firebird::IAttachment* att_ = nullptr;
    QString database_;
};

} // namespace fb
