#include "platform/report/Report.h"

#include <QFile>

namespace report {

Group& Report::addGroup(QString pipeline, QString field, QString groupName)
{
    Group g;
    g.pipeline = std::move(pipeline);
    g.field = std::move(field);
    g.name = groupName.isEmpty() ? QStringLiteral("Group%1").arg(groups.size() + 1) : std::move(groupName);
    groups.push_back(std::move(g));
    return groups.back();
}

void Report::clearLayout()
{
    name.clear();
    page = PageSetup();
    title = pageHeader = detail = pageFooter = summary = Band();
    groups.clear();
    mainPipeline.clear();
}

QList<Element*> Report::elements() const
{
    QList<Element*> out;
    auto addBand = [&](const Band& b) {
        for (const auto& e : b.elements) out << e.get();
    };
    addBand(title);
    addBand(pageHeader);
    for (const Group& g : groups) addBand(g.header);
    addBand(detail);
    for (auto it = groups.rbegin(); it != groups.rend(); ++it) addBand(it->footer);
    addBand(summary);
    addBand(pageFooter);
    return out;
}

QList<Element*> Report::elements(ElementKind kind) const
{
    QList<Element*> out;
    for (Element* e : elements())
        if (e->kind() == kind) out << e;
    return out;
}

Element* Report::findElement(const QString& elementName) const
{
    for (Element* e : elements())
        if (e->name == elementName) return e;
    return nullptr;
}

void Report::recolour(const QColor& color)
{
    for (Label* e : elementsOf<Label>()) e->font.color = color;
    for (DBText* e : elementsOf<DBText>()) e->font.color = color;
    for (DBMemo* e : elementsOf<DBMemo>()) e->font.color = color;
    for (Line* e : elementsOf<Line>()) e->penColor = color;
}

void Report::addPipeline(Pipeline* p)
{
    removePipeline(p->name());
    pipelines_ << p;
}

void Report::removePipeline(const QString& pipelineName)
{
    pipelines_.removeIf([&](Pipeline* p) { return p->name().compare(pipelineName, Qt::CaseInsensitive) == 0; });
}

Pipeline* Report::pipeline(const QString& pipelineName) const
{
    for (Pipeline* p : pipelines_)
        if (p->name().compare(pipelineName, Qt::CaseInsensitive) == 0) return p;
    return nullptr;
}

void Report::saveTemplate(const QString& path) const
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw ETemplateError(QStringLiteral("Não foi possível gravar o modelo de relatório \"%1\": %2").arg(path, f.errorString()));
    const QByteArray xml = toXml();
    if (f.write(xml) != xml.size() || !f.flush())
        throw ETemplateError(QStringLiteral("Não foi possível gravar o modelo de relatório \"%1\": %2").arg(path, f.errorString()));
}

void Report::loadTemplate(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw ETemplateError(QStringLiteral("Não foi possível abrir o modelo de relatório \"%1\": %2").arg(path, f.errorString()));
    fromXml(f.readAll());
}

} // namespace report
