#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>
#include <vector>

namespace Firebird { class IStatement; class IResultSet; class IMessageMetadata; }

namespace fb {

class Transaction;

enum class ColumnType { Integer, SmallInt, BigInt, Double, Float, Char, VarChar, Timestamp, Date, Time,
                        TextBlob, BinaryBlob, Boolean, Other };

struct Column {
    QString name;      // field name, or the alias when it differs
    QString field;     // the underlying column name (empty for expressions)
    QString relation;  // table of the column (empty for expressions)
    ColumnType type = ColumnType::Other;
    int size = 0;      // characters for text, bytes for others
    int scale = 0;
    bool nullable = true;
};

// Values cross this layer as QVariant: a null QVariant is SQL NULL; integers
// are qint32/qint64, floating point double, text QString, DATE/TIMESTAMP
// QDateTime (dialect 1 DATE carries a time of day), text blobs QString,
// binary blobs QByteArray.
using Row = std::vector<QVariant>;

// A prepared statement. ":NAME" parameters (outside strings and comments)
// are mapped to positions; a name may appear several times and setting it
// fills every position. Names compare case-insensitively.
class Statement {
public:
    Statement(Transaction& transaction, const QString& sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    const QString& sql() const { return sql_; }
    const QStringList& paramNames() const { return paramNames_; }
    bool hasParam(const QString& name) const;
    void setParam(const QString& name, const QVariant& value);
    void setParamAt(int position, const QVariant& value);
    void clearParams();
    int paramCount() const { return int(params_.size()); }

    bool hasResultSet() const { return !columns_.empty(); }
    int columnCount() const { return int(columns_.size()); }
    const Column& column(int index) const { return columns_[size_t(index)]; }
    const std::vector<Column>& columns() const { return columns_; }
    int columnIndex(const QString& name) const;

    // Executes with the current parameters and opens the cursor.
    void open();
    // Moves to the next row; false at the end (the cursor is then closed).
    bool fetch();
    bool isOpen() const { return cursor_ != nullptr; }
    void close();
    const Row& row() const { return row_; }
    Row takeRow() { return std::move(row_); }
    const QVariant& value(int column) const { return row_[size_t(column)]; }

    // Executes a statement without a cursor. When it returns one row
    // (EXECUTE PROCEDURE, RETURNING) that row is in row().
    void execute();
    // Rows touched by the last execute() of an insert, update or delete.
    qint64 affectedRows() const;

private:
    void fillInput(std::vector<unsigned char>& buffer, Firebird::IMessageMetadata*& meta);
    void readRow();

    Transaction* tra_;
    QString sql_;
    QStringList paramNames_;
    std::vector<QString> positionNames_;   // name of each "?" position
    std::vector<QVariant> params_;
    std::vector<Column> columns_;
    Firebird::IStatement* stmt_ = nullptr;
    Firebird::IMessageMetadata* inMeta_ = nullptr;
    Firebird::IMessageMetadata* outMeta_ = nullptr;
    Firebird::IResultSet* cursor_ = nullptr;
    std::vector<unsigned char> outBuffer_;
    struct OutSlot { unsigned type; unsigned subType; unsigned length; int scale; unsigned offset; unsigned nullOffset; };
    std::vector<OutSlot> outSlots_;
    Row row_;
};

// Turns ":NAME" parameters into "?" and lists the name of each position.
// Exposed for tests.
QString translateParams(const QString& sql, std::vector<QString>& positionNames);

} // namespace fb
