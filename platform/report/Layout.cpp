#include "platform/report/Layout.h"

namespace report {

Band::Band(const Band& other) : height(other.height)
{
    for (const auto& e : other.elements) elements.push_back(e->clone());
}

Band& Band::operator=(const Band& other)
{
    if (this != &other) {
        height = other.height;
        elements.clear();
        for (const auto& e : other.elements) elements.push_back(e->clone());
    }
    return *this;
}

QString kindName(ElementKind kind)
{
    switch (kind) {
    case ElementKind::Label: return QStringLiteral("label");
    case ElementKind::DBText: return QStringLiteral("dbtext");
    case ElementKind::DBMemo: return QStringLiteral("dbmemo");
    case ElementKind::Line: return QStringLiteral("line");
    case ElementKind::Shape: return QStringLiteral("shape");
    case ElementKind::Image: return QStringLiteral("image");
    case ElementKind::SystemVariable: return QStringLiteral("sysvar");
    case ElementKind::Calc: return QStringLiteral("calc");
    }
    return {};
}

} // namespace report
