#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

namespace report {

// A named, forward-readable source of rows for a report. A pipeline over a
// dataset maps fieldNames() to the dataset's fields, first()/next()/atEnd()
// to First/Next/Eof and value() to the field's value (NULL as a null
// QVariant, dates as QDateTime, binary blobs as QByteArray); a detail
// dataset that follows its master through a data source needs nothing more
// than setMaster() here. The engine calls
// first() before reading and may call it again to run the report once more.
// A pipeline with a master is read once per row of the master: after the
// master moves, the engine calls first() on the detail, which must then
// yield the rows that belong to the master's current row.
class Pipeline {
public:
    explicit Pipeline(QString name) : name_(std::move(name)) {}
    virtual ~Pipeline() = default;
    Pipeline(const Pipeline&) = delete;
    Pipeline& operator=(const Pipeline&) = delete;

    const QString& name() const { return name_; }

    virtual QStringList fieldNames() const = 0;
    virtual void first() = 0;
    virtual void next() = 0;
    virtual bool atEnd() const = 0;
    // Value of the current row; an invalid QVariant when there is none.
    virtual QVariant value(int field) const = 0;

    // Index of a field by name, ignoring case; -1 when there is none.
    int fieldIndex(const QString& field) const;
    QVariant value(const QString& field) const;

    Pipeline* master() const { return master_; }
    void setMaster(Pipeline* master) { master_ = master; }

private:
    QString name_;
    Pipeline* master_ = nullptr;
};

// Rows held in memory, in the order they were added. With a master and link
// fields it yields only the rows whose link fields equal the master's
// current values.
class MemoryPipeline : public Pipeline {
public:
    MemoryPipeline(QString name, QStringList fields);

    void addRow(QVector<QVariant> values);
    void clearRows();
    int rowCount() const { return int(rows_.size()); }
    // Detail field -> master field pairs that tie a row to the master's row.
    void setMasterLink(Pipeline* master, QList<QPair<QString, QString>> links);

    QStringList fieldNames() const override { return fields_; }
    void first() override;
    void next() override;
    bool atEnd() const override;
    QVariant value(int field) const override;
    using Pipeline::value;

private:
    bool matches(int row) const;
    void skipToMatch();

    QStringList fields_;
    QVector<QVector<QVariant>> rows_;
    QList<QPair<int, int>> links_;
    QList<QPair<QString, QString>> linkNames_;
    int current_ = 0;
};

} // namespace report
