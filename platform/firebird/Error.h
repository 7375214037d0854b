#pragma once

#include "platform/core/Exception.h"

#include <QList>

namespace fb {

// An error reported by the Firebird client or server: the full status text
// (every line of the status vector) and the error codes, in order.
class Error : public clip::Exception {
public:
    Error(QString message, QList<qint64> codes = {}, int sqlCode = 0)
        : clip::Exception(std::move(message)), codes_(std::move(codes)), sqlCode_(sqlCode) {}
    QString className() const override { return QStringLiteral("EIBError"); }
    const QList<qint64>& codes() const { return codes_; }
    int sqlCode() const { return sqlCode_; }
    bool hasCode(qint64 code) const { return codes_.contains(code); }

private:
    QList<qint64> codes_;
    int sqlCode_;
};

} // namespace fb
