#pragma once

// Layouts of the system's reports built in code, and pipelines with sample
// rows for them, shared by the report tests and the benchmark.

#include "platform/report/Report.h"

#include <QBuffer>
#include <QImage>
#include <memory>

namespace layouts {

using namespace report;

inline Label& label(Band& b, double x, double y, double w, const QString& text, double size = 10, bool bold = false,
                    HAlign align = HAlign::Left)
{
    auto& e = b.add<Label>(QRectF(x, y, w, size * 0.5), QStringLiteral("lbl_") + text);
    e.text = text;
    e.font.size = size;
    e.font.bold = bold;
    e.align = align;
    return e;
}

inline DBText& field(Band& b, double x, double y, double w, const QString& pipeline, const QString& name, double size = 10,
                     bool bold = false, HAlign align = HAlign::Left, const QString& format = {})
{
    auto& e = b.add<DBText>(QRectF(x, y, w, size * 0.5), name);
    e.pipeline = pipeline;
    e.field = name;
    e.font.size = size;
    e.font.bold = bold;
    e.align = align;
    e.displayFormat = format;
    return e;
}

inline Line& rule(Band& b, double x, double y, double w, LineStyle style = LineStyle::Solid, double pen = 0.5)
{
    auto& l = b.add<Line>(QRectF(x, y, w, 0), QStringLiteral("rule"));
    l.style = style;
    l.penWidth = pen;
    return l;
}

inline const QString kMoney = QStringLiteral("$#,0.00;($#,0.00)");

inline QByteArray logoPng()
{
    QImage img(60, 40, QImage::Format_RGB32);
    img.fill(QColor(30, 90, 160));
    QByteArray png;
    QBuffer buf(&png);
    buf.open(QIODevice::WriteOnly);
    img.save(&buf, "PNG");
    return png;
}

// --- company record -----------------------------------------------------

inline std::unique_ptr<MemoryPipeline> empresa()
{
    auto p = std::make_unique<MemoryPipeline>(
        QStringLiteral("DBEmpresa"),
        QStringList{"EMP_CODIGO", "EMP_NOME", "EMP_NOMECOMPLETO", "EMP_ENDERECOCOMPLETO", "EMP_CIDADEUF", "EMP_FONE", "EMP_CNPJ",
                    "EMP_EMAILWEB", "EMP_PATHLOGO"});
    p->addRow({1, "Zbvlo", "Zbvlo Monitoramento de Mídia Ltda.", "Rua das Antenas, 100 - Centro", "Curitiba - PR",
               "(41) 3333-4444", "12.345.678/0001-90", "contato@zbvlo.com.br", logoPng()});
    return p;
}

inline void companyHeader(Band& t, double nameSize, bool darkBand)
{
    auto& logo = t.add<Image>(QRectF(1, 1, 34, 30), QStringLiteral("logo"));
    logo.pipeline = QStringLiteral("DBEmpresa");
    logo.field = QStringLiteral("EMP_PATHLOGO");
    const double x = 37, w = 159;
    if (darkBand) {
        auto& box = t.add<Shape>(QRectF(0, 0, 197.3, 32), QStringLiteral("box"));
        box.penWidth = 0.75;
        auto& grey = t.add<Shape>(QRectF(x, 1, w, 7), QStringLiteral("greyBand"));
        grey.filled = true;
        grey.fillColor = QColor(64, 64, 64);
        grey.penWidth = 0;
    }
    auto& name = field(t, x, 1.5, w, "DBEmpresa", "EMP_NOMECOMPLETO", nameSize, true, HAlign::Center);
    if (darkBand) name.font.color = Qt::white;
    const double sep = darkBand ? 1 : 0;
    double y = 9;
    field(t, x, y, w, "DBEmpresa", "EMP_ENDERECOCOMPLETO", 10, darkBand, HAlign::Center);
    if (darkBand) rule(t, x, y + 5.5, w);
    y += 5.5 + sep;
    field(t, x, y, w, "DBEmpresa", "EMP_CIDADEUF", 10, darkBand, HAlign::Center);
    if (darkBand) rule(t, x, y + 5.5, w);
    y += 5.5 + sep;
    label(t, x + 20, y, 12, "Fone:", 10, darkBand);
    field(t, x + 32, y, 40, "DBEmpresa", "EMP_FONE", 10, darkBand);
    label(t, x + 78, y, 12, "CNPJ:", 10, darkBand);
    field(t, x + 90, y, 50, "DBEmpresa", "EMP_CNPJ", 10, darkBand);
    if (darkBand) rule(t, x, y + 5.5, w);
    y += 5.5 + sep;
    field(t, x, y, w, "DBEmpresa", "EMP_EMAILWEB", 10, darkBand, HAlign::Center);
}

// --- client report (full layout) ----------------------------------------

inline QStringList informeFields()
{
    return {"LAN_DATA", "LAN_HORA", "LAN_TEMPO", "LAN_ASSUNTO", "EMI_NOME", "PRG_NOME", "FUN_NOME"};
}

inline void groupHeader(Group& g, const QString& fieldName, double indent, const QString& format = {})
{
    g.header.height = 9;
    auto& box = g.header.add<Shape>(QRectF(indent, 1, 197.3 - indent, 7), QStringLiteral("box_") + fieldName);
    box.penWidth = 0.5;
    auto& f = field(g.header, indent + 2, 2, 120, {}, fieldName, 10, true, HAlign::Left, format);
    f.font.italic = true;
    f.name = QStringLiteral("hdr_") + fieldName;
    g.keepTogether = true;
}

inline Report informe()
{
    Report r;
    r.name = QStringLiteral("RPInforme");
    r.mainPipeline = QStringLiteral("DBInforme");
    Band& t = r.title;
    t.height = 46;
    companyHeader(t, 10, true);
    auto& inf = label(t, 0, 36, 197.3, "INFORME", 12, true, HAlign::Center);
    inf.font.italic = true;
    auto& dl = label(t, 140, 37, 12, "Data:", 9);
    dl.font.family = QStringLiteral("Times New Roman");
    dl.font.color = QColor(0, 0, 128);
    auto& dv = t.add<SystemVariable>(QRectF(152, 37, 45, 4.5), QStringLiteral("printDate"));
    dv.value = SystemValue::PrintDateTime;
    dv.font.family = QStringLiteral("Times New Roman");
    dv.font.size = 9;
    dv.font.color = QColor(0, 0, 128);

    groupHeader(r.addGroup({}, "LAN_DATA", "GrupoData"), "LAN_DATA", 0, "dd/mm/yyyy");
    groupHeader(r.addGroup({}, "EMI_NOME", "GrupoEmissora"), "EMI_NOME", 4);
    groupHeader(r.addGroup({}, "PRG_NOME", "GrupoPrograma"), "PRG_NOME", 8);

    Band& d = r.detail;
    d.height = 17;
    label(d, 2, 1, 12, "Hora:", 10, true);
    field(d, 14, 1, 25, {}, "LAN_HORA");
    label(d, 45, 1, 14, "Tempo:", 10, true);
    field(d, 59, 1, 25, {}, "LAN_TEMPO");
    label(d, 2, 6.5, 20, "Assunto:", 10, true);
    auto& memo = d.add<DBMemo>(QRectF(2, 12, 193, 4.5), QStringLiteral("LAN_ASSUNTO"));
    memo.field = QStringLiteral("LAN_ASSUNTO");

    Band& s = r.summary;
    s.height = 40;
    label(s, 0, 8, 60, "Atenciosamente,");
    field(s, 0, 20, 100, "DBFuncionario", "FUN_NOME");
    label(s, 0, 26, 100, "Departamento de Pesquisas e Vendas", 11, true);
    field(s, 0, 32, 100, "DBEmpresa", "EMP_NOME", 11, true);
    return r;
}

// --- sales order --------------------------------------------------------

inline QStringList pedidoFields()
{
    return {"PED_CODIGO", "PED_VALOR", "PED_DATAENTREGA", "PED_HORARIO", "PED_NUMERO", "PED_STATUS", "PED_QUANTIDADE",
            "PED_NOMESOLICITANTE", "PED_FONESOLICITANTE", "PED_EMAILSOLICITANTE", "CLI_NOME", "CLI_ENDERECO", "CLI_BAIRRO",
            "CLI_CIDADE", "CLI_ESTADO", "CLI_CGCCPF", "CLI_INSCRICAO", "CLI_FONE", "CLI_CELULAR", "CLI_CONTATO",
            "CLI_FONECONTATO", "CLI_CEP", "CLI_ENDERECOENTREGA", "CLI_COMPLEMENTOENTREGA", "CLI_BAIRROENTREGA",
            "CLI_CIDADEENTREGA", "CLI_ESTADOENTREGA", "CLI_CEPENTREGA", "MID_DESCRICAO", "FPG_DESCRICAO", "PRA_DESCRICAO",
            "FUN_NOME", QString::fromUtf8("ENDEREÇOENTREGACOMPLETO")};
}

inline QStringList itensFields()
{
    return {"IPD_CODIGO", "PED_CODIGO", "LAN_CODIGO", "LAN_CODLANCAMENTO", "LAN_DATA", "LAN_HORA", "LAN_TEMPO",
            "LAN_VELOCIDADE", "LAN_ASSUNTO", "PRG_NOME", "EMI_NOME", "FUN_NOME"};
}

inline Report pedidoVenda()
{
    Report r;
    r.name = QStringLiteral("RPPedido");
    r.mainPipeline = QStringLiteral("DBItensPedido");
    const QString B = QStringLiteral("Base1");
    Band& t = r.title;
    companyHeader(t, 14, false);
    label(t, 40, 33, 80, QString::fromUtf8("Pedido de Venda   Nº"), 18);
    field(t, 122, 33, 40, B, "PED_NUMERO", 18);
    double y = 44;
    auto line = [&](std::initializer_list<std::tuple<double, const char*, double, const char*, double>> cells) {
        for (const auto& [lx, text, fx, name, fw] : cells) {
            label(t, lx, y, fx - lx, QString::fromUtf8(text));
            field(t, fx, y, fw, B, QString::fromUtf8(name), 10, false, HAlign::Left,
                  QString::fromUtf8(name) == QLatin1String("PED_VALOR") ? kMoney : QString());
        }
        y += 5.5;
    };
    line({{0, "Solicitante:", 22, "PED_NOMESOLICITANTE", 60}, {85, "Fone:", 96, "PED_FONESOLICITANTE", 35}, {133, "Email:", 145, "PED_EMAILSOLICITANTE", 52}});
    line({{0, "Empresa:", 22, "CLI_NOME", 175}});
    line({{0, "Endereço:", 22, "CLI_ENDERECO", 175}});
    line({{0, "Bairro:", 22, "CLI_BAIRRO", 80}, {110, "CEP:", 122, "CLI_CEP", 40}});
    line({{0, "Cidade:", 22, "CLI_CIDADE", 80}, {110, "UF:", 122, "CLI_ESTADO", 20}});
    line({{0, "CNPJ:", 22, "CLI_CGCCPF", 60}, {90, "Inscrição Estadual:", 125, "CLI_INSCRICAO", 60}});
    line({{0, "A/C de:", 22, "CLI_CONTATO", 55}, {80, "Fone:", 92, "CLI_FONE", 40}, {135, "Celular:", 151, "CLI_CELULAR", 46}});
    line({{0, "Mídia:", 22, "MID_DESCRICAO", 55}, {80, "Quantidade: ", 102, "PED_QUANTIDADE", 20}, {135, "Valor:", 151, "PED_VALOR", 46}});
    line({{0, "Forma de Pagamento:", 38, "FPG_DESCRICAO", 60}, {110, "Prazo:", 124, "PRA_DESCRICAO", 60}});
    line({{0, "Vendedor (a):", 25, "FUN_NOME", 60}, {95, "Data:", 107, "PED_DATAENTREGA", 30}, {140, "Horário:", 157, "PED_HORARIO", 30}});
    label(t, 0, y + 1, 197.3, QString::fromUtf8("Lançamentos"), 12, true, HAlign::Center);
    t.height = y + 8;

    Band& h = r.pageHeader;
    h.height = 7;
    const double cx[] = {0, 22, 40, 75, 115, 127, 147, 165};
    const double cw[] = {22, 18, 35, 40, 12, 20, 18, 32};
    const char* titles[] = {"Data", "Horário", "Emissora", "Programa", "Vel.", "Cod.", "Tempo", "Funcionário"};
    const char* names[] = {"LAN_DATA", "LAN_HORA", "EMI_NOME", "PRG_NOME", "LAN_VELOCIDADE", "LAN_CODLANCAMENTO", "LAN_TEMPO", "FUN_NOME"};
    for (int i = 0; i < 8; ++i) label(h, cx[i], 1, cw[i], QString::fromUtf8(titles[i]), 10, true);
    rule(h, 0, 6.2, 197.3);

    Band& d = r.detail;
    d.height = 11;
    for (int i = 0; i < 8; ++i)
        field(d, cx[i], 0.5, cw[i] - 1, {}, QString::fromUtf8(names[i]), 10, false, HAlign::Left,
              i == 0 ? QStringLiteral("dd/mm/yyyy") : QString());
    label(d, 0, 5.5, 18, "Assunto: ", 10, true);
    auto& memo = d.add<DBMemo>(QRectF(18, 5.5, 179, 4.5), QStringLiteral("LAN_ASSUNTO"));
    memo.field = QStringLiteral("LAN_ASSUNTO");

    Band& f = r.pageFooter;
    f.height = 8;
    rule(f, 0, 1, 197.3);
    label(f, 0, 2, 60, "Zbvlo Clipping");
    label(f, 160, 2, 20, "Página:", 10, false, HAlign::Right);
    auto& pn = f.add<SystemVariable>(QRectF(181, 2, 16, 5), QStringLiteral("pageNo"));
    pn.value = SystemValue::PageNumber;

    Band& s = r.summary;
    s.height = 52;
    label(s, 0, 4, 25, "PRODUÇÃO:", 10, true);
    label(s, 70, 4, 15, "DATA:", 10, true);
    label(s, 130, 4, 20, "HORÁRIO:", 10, true);
    label(s, 0, 13, 20, "Destacar:");
    rule(s, 21, 15.5, 176, LineStyle::Dash);
    y = 21;
    auto stub = [&](std::initializer_list<std::tuple<double, const char*, double, const char*, double>> cells) {
        for (const auto& [lx, text, fx, name, fw] : cells) {
            label(s, lx, y, fx - lx, QString::fromUtf8(text), 10, true);
            field(s, fx, y, fw, B, QString::fromUtf8(name));
        }
        y += 5.5;
    };
    stub({{0, "Nº PEDIDO:", 24, "PED_NUMERO", 25}, {55, "ENTREGA:", 75, "CLI_CONTATO", 55}, {135, "FONE:", 148, "CLI_FONECONTATO", 49}});
    stub({{0, "DATA:", 24, "PED_DATAENTREGA", 30}, {55, "HORÁRIO:", 75, "PED_HORARIO", 30}});
    stub({{0, "EMPRESA:", 24, "CLI_NOME", 90}, {120, "FORMA PAGTO:", 148, "FPG_DESCRICAO", 49}});
    stub({{0, "ENDEREÇO:", 24, "ENDEREÇOENTREGACOMPLETO", 173}});
    stub({{0, "BAIRRO:", 18, "CLI_BAIRROENTREGA", 45}, {65, "CIDADE:", 82, "CLI_CIDADEENTREGA", 45}, {130, "UF:", 138, "CLI_ESTADOENTREGA", 10},
          {150, "CEP:", 160, "CLI_CEPENTREGA", 37}});
    return r;
}

// --- orders list (landscape, with totals) -------------------------------

inline QStringList pedidosListaFields()
{
    return {"PED_NUMERO", "PED_STATUS", "PED_VALOR", "PED_DATAENTREGA", "PED_HORARIO", "PED_PAGO", "CLI_NOME", "FUN_NOME",
            "MID_DESCRICAO", "FPG_DESCRICAO", "PRA_DESCRICAO", "DATAINICIO", "DATAFIM"};
}

inline Report pedidosLista()
{
    Report r;
    r.name = QStringLiteral("RPPedidos");
    r.mainPipeline = QStringLiteral("Base");
    r.page.orientation = Orientation::Landscape;
    Band& t = r.title;
    t.height = 22;
    auto& h1 = label(t, 0, 0, 150, "Relação de Pedidos", 18, true);
    h1.font.italic = true;
    label(t, 0, 11, 22, "Período de:");
    field(t, 22, 11, 22, {}, "DATAINICIO");
    label(t, 45, 11, 5, "a");
    field(t, 50, 11, 22, {}, "DATAFIM");
    label(t, 220, 11, 12, "Data:");
    auto& dt = t.add<SystemVariable>(QRectF(232, 11, 52, 5), QStringLiteral("printDate"));
    dt.value = SystemValue::PrintDateTime;

    const double cx[] = {0, 14, 36, 54, 114, 140, 180, 210, 235, 260};
    const double cw[] = {14, 22, 18, 60, 26, 40, 30, 25, 25, 24};
    const char* titles[] = {"Nº", "Data", "Horario", "Cliente", "Valor", "Vendedor", "Forma de Pagto.", "Prazo", "Mídia", "Status"};
    const char* names[] = {"PED_NUMERO", "PED_DATAENTREGA", "PED_HORARIO", "CLI_NOME", "PED_VALOR", "FUN_NOME", "FPG_DESCRICAO",
                           "PRA_DESCRICAO", "MID_DESCRICAO", "PED_STATUS"};
    Band& h = r.pageHeader;
    h.height = 7;
    for (int i = 0; i < 10; ++i)
        label(h, cx[i], 1, cw[i], QString::fromUtf8(titles[i]), 10, true, i == 4 ? HAlign::Right : HAlign::Left);
    rule(h, 0, 6.3, 284.3);
    Band& d = r.detail;
    d.height = 5.5;
    for (int i = 0; i < 10; ++i)
        field(d, cx[i], 0.5, cw[i] - 1, {}, QString::fromUtf8(names[i]), 10, false, i == 4 ? HAlign::Right : HAlign::Left,
              i == 4 ? kMoney : i == 1 ? QStringLiteral("dd/mm/yyyy") : QString());
    Band& f = r.pageFooter;
    f.height = 7;
    label(f, 0, 1, 60, "Zbvlo Clipping");
    label(f, 240, 1, 20, "Página:", 10, false, HAlign::Right);
    auto& pn = f.add<SystemVariable>(QRectF(262, 1, 22, 5), QStringLiteral("pageNo"));
    pn.value = SystemValue::PageNumber;
    Band& s = r.summary;
    s.height = 14;
    rule(s, 0, 1, 284.3);
    label(s, 60, 3, 25, "Total Geral:", 10, true);
    auto& cnt = s.add<Calc>(QRectF(86, 3, 20, 5), QStringLiteral("totalGeral"));
    cnt.function = CalcFunction::Count;
    cnt.field = QStringLiteral("CLI_NOME");
    label(s, 60, 8.5, 25, "Soma Geral:", 10, true);
    auto& sum = s.add<Calc>(QRectF(86, 8.5, 40, 5), QStringLiteral("somaGeral"));
    sum.function = CalcFunction::Sum;
    sum.field = QStringLiteral("PED_VALOR");
    sum.displayFormat = kMoney;
    return r;
}

// --- sample data ------------------------------------------------------

inline QString words(int from, int count)
{
    QStringList w;
    for (int i = from; i < from + count; ++i) w << QStringLiteral("palavra%1").arg(i);
    return w.join(QLatin1Char(' '));
}

// The pipelines of the order report: one order with `items` items.
struct OrderData {
    std::unique_ptr<MemoryPipeline> empresa = layouts::empresa();
    MemoryPipeline base{QStringLiteral("Base1"), pedidoFields()};
    MemoryPipeline items{QStringLiteral("DBItensPedido"), itensFields()};

    explicit OrderData(int count)
    {
        const QStringList f = pedidoFields();
        QVector<QVariant> o(f.size());
        auto set = [&](const char* name, QVariant v) { o[f.indexOf(QString::fromUtf8(name))] = std::move(v); };
        set("PED_CODIGO", 12);
        set("PED_VALOR", 1234.5);
        set("PED_DATAENTREGA", QDateTime(QDate(2026, 4, 10), QTime(0, 0)));
        set("PED_HORARIO", "15:30:00");
        set("PED_NUMERO", 345);
        set("PED_QUANTIDADE", 2);
        set("PED_NOMESOLICITANTE", "Carlos Souza");
        set("CLI_NOME", QString::fromUtf8("Prefeitura de Araucária"));
        set("CLI_CONTATO", QString::fromUtf8("Márcia"));
        set("CLI_FONECONTATO", "(41) 9999-0000");
        set("CLI_BAIRROENTREGA", "Centro");
        set("CLI_CEPENTREGA", "83700-000");
        set("FPG_DESCRICAO", "Boleto");
        set("FUN_NOME", "Vendedor Silva");
        set("ENDEREÇOENTREGACOMPLETO", "Rua XV, 10 - sala 2");
        base.addRow(o);
        for (int i = 0; i < count; ++i)
            items.addRow({100 + i, 12, 500 + i, code(i), QDateTime(QDate(2026, 4, 1 + i % 9), QTime(0, 0)),
                          QStringLiteral("%1:00:00").arg(8 + i % 10, 2, 10, QLatin1Char('0')), "00:02:30", "1",
                          QStringLiteral("Item %1: ").arg(i) + words(i * 10, 8 + (i % 4) * 25), QString::fromUtf8("Jornal da Manhã"),
                          QString::fromUtf8("Rádio Clube"), "Ana"});
        items.setMasterLink(&base, {{"PED_CODIGO", "PED_CODIGO"}});
    }
    static QString code(int i) { return QStringLiteral("K%1").arg(i, 3, 10, QLatin1Char('0')); }
    void bind(Report& r)
    {
        r.addPipeline(empresa.get());
        r.addPipeline(&base);
        r.addPipeline(&items);
    }
};

// The pipelines of the client report: `rows` entries over a few dates,
// stations and programs, in the order they were added.
struct InformeData {
    std::unique_ptr<MemoryPipeline> empresa = layouts::empresa();
    MemoryPipeline funcionario{QStringLiteral("DBFuncionario"), {"FUN_NOME"}};
    MemoryPipeline informe{QStringLiteral("DBInforme"), informeFields()};

    explicit InformeData(int rows)
    {
        funcionario.addRow({QString::fromUtf8("Ana Operadora")});
        for (int i = 0; i < rows; ++i)
            informe.addRow({QDateTime(QDate(2026, 3, 1).addDays(i / 40), QTime(0, 0)),
                            QStringLiteral("%1:%2:00").arg(6 + (i % 40) / 4, 2, 10, QLatin1Char('0')).arg((i % 4) * 15, 2, 10, QLatin1Char('0')),
                            "00:01:30", QStringLiteral("Notícia %1: ").arg(i) + words(i, 6 + i % 30),
                            QStringLiteral("Emissora %1").arg((i / 10) % 4), QStringLiteral("Programa %1").arg((i / 5) % 2),
                            QString::fromUtf8("Ana")});
    }
    void bind(Report& r)
    {
        r.addPipeline(&informe);
        r.addPipeline(empresa.get());
        r.addPipeline(&funcionario);
    }
};

} // namespace layouts
