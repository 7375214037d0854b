#pragma once

#include <QString>
#include <QByteArray>
#include <exception>

namespace clip {

// Base of every error the system raises itself. The class name is what the
// error log prints as the kind of error.
class Exception : public std::exception {
public:
    explicit Exception(QString message) : message_(std::move(message)), utf8_(message_.toUtf8()) {}
    const QString& message() const noexcept { return message_; }
    virtual QString className() const { return QStringLiteral("Exception"); }
    const char* what() const noexcept override { return utf8_.constData(); }

private:
    QString message_;
    QByteArray utf8_;
};

// Silent abort: cancels the running operation; never shown, never logged.
class EAbort : public Exception {
public:
    EAbort() : Exception(QStringLiteral("Operation aborted")) {}
    QString className() const override { return QStringLiteral("EAbort"); }
};

// Typed text that is not a valid number, date or time.
class EConvertError : public Exception {
public:
    using Exception::Exception;
    QString className() const override { return QStringLiteral("EConvertError"); }
};

// Errors of the dataset layer that are not the server's (required field,
// dataset not in edit mode, ...).
class EDatabaseError : public Exception {
public:
    using Exception::Exception;
    QString className() const override { return QStringLiteral("EDatabaseError"); }
};

[[noreturn]] inline void Abort() { throw EAbort(); }

} // namespace clip
