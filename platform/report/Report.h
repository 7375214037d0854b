#pragma once

#include "platform/core/Exception.h"
#include "platform/report/Layout.h"
#include "platform/report/Page.h"
#include "platform/report/Pipeline.h"

#include <QDateTime>
#include <QList>
#include <QMap>

namespace report {

// A layout that cannot be read, or a layout that names a pipeline or field
// that the bound pipelines do not have.
class ETemplateError : public clip::Exception {
public:
    using clip::Exception::Exception;
    QString className() const override { return QStringLiteral("ETemplateError"); }
};

// A banded report: the layout (page, bands, groups), built in code or loaded
// from a template file, and the pipelines that feed it. Pipelines are not
// owned and are kept when a template replaces the layout.
class Report {
public:
    Report() = default;
    Report(const Report&) = default;
    Report& operator=(const Report&) = default;

    // Layout
    QString name;
    PageSetup page;
    Band title, pageHeader, detail, pageFooter, summary;
    std::vector<Group> groups;  // outermost first
    QString mainPipeline;       // name of the pipeline the detail runs over

    Group& addGroup(QString pipeline, QString field, QString groupName = {});
    void clearLayout();

    // Every element of the layout, in band order, or those of one exact kind.
    QList<Element*> elements() const;
    QList<Element*> elements(ElementKind kind) const;
    template <class T> QList<T*> elementsOf() const
    {
        QList<T*> out;
        for (Element* e : elements(T::Kind)) out << static_cast<T*>(e);
        return out;
    }
    Element* findElement(const QString& name) const;

    // Sets the font colour of every text label, data text and data memo and
    // the pen colour of every line; nothing else changes.
    void recolour(const QColor& color);

    // Pipelines
    void addPipeline(Pipeline* pipeline);
    void removePipeline(const QString& name);
    Pipeline* pipeline(const QString& name) const;
    QList<Pipeline*> pipelines() const { return pipelines_; }

    // Templates (XML, see TemplateFormat.md). Loading replaces the layout
    // and leaves it untouched when the file cannot be read.
    QByteArray toXml() const;
    void fromXml(const QByteArray& xml);
    void saveTemplate(const QString& path) const;
    void loadTemplate(const QString& path);

    // Running: lays out the pages and hands them to the sink one by one.
    // The print date is taken when the run starts unless one is set.
    void run(PageSink& sink) const;
    int pageCount() const;
    void setPrintDateTime(const QDateTime& when) { printDateTime_ = when; }
    QDateTime printDateTime() const { return printDateTime_; }

private:
    QList<Pipeline*> pipelines_;
    QDateTime printDateTime_;
};

} // namespace report
