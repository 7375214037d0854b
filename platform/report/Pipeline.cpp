#include "platform/report/Pipeline.h"

namespace report {

int Pipeline::fieldIndex(const QString& field) const
{
    const QStringList names = fieldNames();
    for (int i = 0; i < names.size(); ++i)
        if (names[i].compare(field, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

QVariant Pipeline::value(const QString& field) const
{
    const int i = fieldIndex(field);
    return i < 0 ? QVariant() : value(i);
}

MemoryPipeline::MemoryPipeline(QString name, QStringList fields)
    : Pipeline(std::move(name)), fields_(std::move(fields))
{
}

void MemoryPipeline::addRow(QVector<QVariant> values)
{
    values.resize(fields_.size());
    rows_.push_back(std::move(values));
}

void MemoryPipeline::clearRows()
{
    rows_.clear();
    current_ = 0;
}

void MemoryPipeline::setMasterLink(Pipeline* master, QList<QPair<QString, QString>> links)
{
    setMaster(master);
    linkNames_ = std::move(links);
    links_.clear();
}

bool MemoryPipeline::matches(int row) const
{
    if (!master() || linkNames_.isEmpty()) return true;
    if (links_.size() != linkNames_.size()) {
        auto* self = const_cast<MemoryPipeline*>(this);
        self->links_.clear();
        for (const auto& [detail, masterField] : linkNames_)
            self->links_.append({fieldIndex(detail), master()->fieldIndex(masterField)});
    }
    if (master()->atEnd()) return false;
    for (const auto& [d, m] : links_) {
        if (d < 0 || m < 0) return false;
        const QVariant a = rows_[row][d];
        const QVariant b = master()->value(m);
        if (a.isNull() || b.isNull() || a != b) return false;
    }
    return true;
}

void MemoryPipeline::skipToMatch()
{
    while (current_ < rows_.size() && !matches(current_)) ++current_;
}

void MemoryPipeline::first()
{
    current_ = 0;
    skipToMatch();
}

void MemoryPipeline::next()
{
    if (current_ < rows_.size()) ++current_;
    skipToMatch();
}

bool MemoryPipeline::atEnd() const { return current_ >= rows_.size(); }

QVariant MemoryPipeline::value(int field) const
{
    if (atEnd() || field < 0 || field >= fields_.size()) return QVariant();
    return rows_[current_][field];
}

} // namespace report
