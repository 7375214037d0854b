#include "Sessao.h"
#include "base/SessaoTeste.h"

#include "app/U_Dm.h"
#include "common/Mensagens.h"
#include "platform/data/DataSource.h"
#include "platform/data/Query.h"
#include "platform/data/TableDataset.h"
#include "platform/data/widgets/DBControls.h"
#include "platform/data/widgets/DBGrid.h"
#include "platform/report/Page.h"
#include "platform/report/PainterOutput.h"
#include "platform/widgets/ColorEdit.h"
#include "screens/clipping/U_Informe.h"
#include "screens/clipping/U_PesquisaLancamento.h"
#include "screens/orders/U_Pedidos.h"

#include <QFile>
#include <QMdiSubWindow>
#include <QPainter>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

namespace {

const QString kEmissora30 = QStringLiteral("RADIO COM NOME DE TRINTA LETRA");

QList<int> codigosItens(Sessao& s, int pedido) {
    QList<int> r;
    for (int i = 1; i <= 20; ++i)
        if (s.db.count("TB_ITENSPEDIDO", QString("PED_CODIGO = %1 and LAN_CODIGO = %2").arg(pedido).arg(i)))
            r << i;
    return r;
}

QStringList coluna(dataset::DataSet* ds, const char* campo) {
    QStringList r;
    for (ds->First(); !ds->Eof(); ds->Next()) r << ds->FieldByName(campo)->AsString();
    return r;
}

// The pages the preview would have shown.
struct Visor {
    int vezes = 0;
    QVector<report::Page> paginas;
    Visor() {
        TFrmInforme::Visualizar = [this](const report::Report& r, QWidget*) {
            ++vezes;
            report::PageCollector c;
            r.run(c);
            paginas = c.pages;
        };
    }
    ~Visor() { TFrmInforme::Visualizar = nullptr; }
    QStringList linhas() const {
        QStringList l;
        for (const report::Page& p : paginas) l += p.textLines();
        return l;
    }
};

} // namespace

// Entries (code: date time, station/program, employee, subject), in the
// search's order by date and time:
//   4: 04/03/2008 08:00 TV Z / NOTICIAS Z, Bruno, "Zero"
//   1: 05/03/2008 09:00 RADIO X / JORNAL Y, Ana, "Primeiro"
//   2: 05/03/2008 10:00 (30-letter station) / LONGO, Bruno, "Segundo"
//   3: 06/03/2008 08:00 RADIO X / JORNAL Y, Ana, "Terceiro"
// The signed-in user is Ana (7); the company is "Clip".
class TstInforme : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void informeComMarcados();
    void informeAcrescentaEDuplica();
    void informeNadaMarcado();
    void excluirLinha();
    void imprimirInforme();
    void imprimirSemLinhas();
    void gerarArquivo();
    void pedido_data();
    void pedido();
    void pedidoFalhaNoItem();

private:
    TFrmPesquisaLancamento* abrirBusca();
    void marcar(TFrmPesquisaLancamento* t, const QList<int>& codigos);
    TFrmInforme* informeCom(const QList<int>& codigos);

    std::unique_ptr<Sessao> s_;
    std::unique_ptr<msg::Roteiro> roteiro_;
};

void TstInforme::init() {
    s_ = std::make_unique<Sessao>();
    roteiro_ = std::make_unique<msg::Roteiro>();
    InstalarTratadorErros([] { return DMBanco ? DMBanco->UsuarioAtual : 0; });
    s_->janela->resize(1300, 900);
    s_->janela->show();
    QVERIFY(QTest::qWaitForWindowExposed(s_->janela.get()));
    auto& db = s_->db;
    db.exec(QStringLiteral("insert into TB_EMISSORAS (EMI_CODIGO, EMI_NOME) values (3, '%1')").arg(kEmissora30));
    db.exec("insert into TB_PROGRAMAS (PRG_CODIGO, PRG_NOME, EMI_CODIGO) values (30, 'LONGO', 3)");
    db.exec("insert into TB_EMPRESA (EMP_CODIGO, EMP_NOME, EMP_NOMECOMPLETO, EMP_ENDERECOCOMPLETO, EMP_CIDADEUF, "
            "EMP_FONE, EMP_CNPJ, EMP_EMAILWEB) values (1, 'Clip', 'CLIPAGEM LTDA', 'Rua das Ondas, 10', "
            "'Recife - PE', '81 3333-0000', '11.222.333/0001-44', 'contato@clip')");
    DMBanco->TB_Empresa->Close();
    DMBanco->TB_Empresa->Open();
    s_->lancamento(1, "2008-03-05", "09:00:00", 1, 10, "7", "Primeiro");
    s_->lancamento(2, "2008-03-05", "10:00:00", 3, 30, "8", "Segundo");
    s_->lancamento(3, "2008-03-06", "08:00:00", 1, 10, "7", "Terceiro");
    s_->lancamento(4, "2008-03-04", "08:00:00", 2, 20, "8", "Zero");
    // Ana signed in: the login query stands on her row.
    db.exec("update TB_FUNCIONARIOS set FUN_LOGIN = 'ana', FUN_SENHA = 'x' where FUN_CODIGO = 7");
    DMBanco->Q_Usuarios->Close();
    DMBanco->Q_Usuarios->ParamByName("USUARIO")->SetAsString("ana");
    DMBanco->Q_Usuarios->ParamByName("SENHA")->SetAsString("x");
    DMBanco->Q_Usuarios->Open();
    QVERIFY(!DMBanco->Q_Usuarios->IsEmpty());
    TFrmInforme::Visualizar = [](const report::Report&, QWidget*) { QFAIL("preview not replaced"); };
}

void TstInforme::cleanup() {
    TFrmInforme::Visualizar = nullptr;
    DMBanco->Q_Usuarios->Close();
    delete FrmPesquisaLancamento;
    roteiro_.reset();
    s_.reset();
    QVERIFY(!FrmInforme);
}

// A search window as the main window opens it, showing every entry.
TFrmPesquisaLancamento* TstInforme::abrirBusca() {
    TFrmPesquisaLancamento* t = AbrirPesquisaLancamento();
    if (!QTest::qWaitForWindowExposed(t)) return nullptr;
    t->Pesquisar();
    return t;
}

void TstInforme::marcar(TFrmPesquisaLancamento* t, const QList<int>& codigos) {
    for (int c : codigos) {
        QVERIFY(t->Q_Busca->Locate("LAN_CODIGO", c));
        t->DBGrid1->OnCellClick(*t->DBGrid1, 0);
    }
}

TFrmInforme* TstInforme::informeCom(const QList<int>& codigos) {
    TFrmPesquisaLancamento* t = abrirBusca();
    if (!t) return nullptr;
    marcar(t, codigos);
    SessaoTeste::clicar(t, "BInforme");
    SessaoTeste::liberarFechadas();
    return FrmInforme;
}

// Only rows marked "1", in the search's order, with the subject as edited
// in the search (not written) and the station cut to 20; the search closes.
void TstInforme::informeComMarcados() {
    TFrmPesquisaLancamento* t = abrirBusca();
    QVERIFY(t);
    marcar(t, {3, 1, 2, 4});
    marcar(t, {4});  // marked twice: back to "0"
    QVERIFY(t->Q_Busca->Locate("LAN_CODIGO", 2));
    t->DBMemo1->setFocus();
    t->DBMemo1->moveCursor(QTextCursor::End);
    QTest::keyClicks(t->DBMemo1, " editado");
    SessaoTeste::clicar(t, "BInforme");
    SessaoTeste::liberarFechadas();
    QVERIFY2(roteiro_->mensagens().isEmpty(), qPrintable(roteiro_->textos().join("|")));
    QVERIFY(!FrmPesquisaLancamento);

    TFrmInforme* f = FrmInforme;
    QVERIFY(f);
    QCOMPARE(f->windowTitle(), QStringLiteral("Informe"));
    QCOMPARE(qobject_cast<TFrmInforme*>(s_->janela->findChild<QMdiArea*>()->activeSubWindow()->widget()), f);
    dataset::DataSet* d = f->DataSetInforme;
    QCOMPARE(coluna(d, "LAN_ASSUNTO"), (QStringList{"Primeiro", "Segundo editado", "Terceiro"}));
    QCOMPARE(coluna(d, "EMI_NOME"), (QStringList{"RADIO X", kEmissora30.left(20), "RADIO X"}));
    QCOMPARE(coluna(d, "PRG_NOME"), (QStringList{"JORNAL Y", "LONGO", "JORNAL Y"}));
    QCOMPARE(coluna(d, "FUN_NOME"), (QStringList{"Ana", "Bruno", "Ana"}));
    QCOMPARE(coluna(d, "LAN_HORA"), (QStringList{"09:00:00", "10:00:00", "08:00:00"}));
    QCOMPARE(coluna(d, "LAN_TEMPO"), (QStringList{"00:01:00", "00:01:00", "00:01:00"}));
    d->First();
    QCOMPARE(d->FieldByName("LAN_DATA")->AsDateTime().date(), QDate(2008, 3, 5));
    QCOMPARE(f->DBGrid1->model()->rowCount(), 3);
    QCOMPARE(f->DBGrid1->model()->data(f->DBGrid1->model()->index(0, 0)).toString(), QStringLiteral("05/03/2008"));
    QCOMPARE(s_->db.scalar("select LAN_ASSUNTO from TB_LANCAMENTO where LAN_CODIGO = 2").toString(),
             QStringLiteral("Segundo"));
    QCOMPARE(f->Q_Funcionario->FieldByName("FUN_NOME")->AsString(), QStringLiteral("Ana"));
}

// "&Adicionar Lançamento" runs a modal search whose marks go after the rows
// already there, the same entry again included; closing the screen
// discards it, and the next report starts empty.
void TstInforme::informeAcrescentaEDuplica() {
    TFrmInforme* f = informeCom({1, 2, 3});
    QVERIFY(f);
    bool vista = false;
    QTimer::singleShot(0, [&] {
        auto* t = qobject_cast<TFrmPesquisaLancamento*>(QApplication::activeModalWidget());
        vista = t != nullptr;
        if (!t) return;
        t->Pesquisar();
        marcar(t, {4, 3});
        SessaoTeste::clicar(t, "BInforme");
    });
    SessaoTeste::clicar(f, "SpeedButton1");
    QVERIFY(vista);
    QVERIFY2(roteiro_->mensagens().isEmpty(), qPrintable(roteiro_->textos().join("|")));
    QVERIFY(f->findChildren<TFrmPesquisaLancamento*>().isEmpty());
    QCOMPARE(FrmInforme, f);
    QCOMPARE(coluna(f->DataSetInforme, "LAN_ASSUNTO"),
             (QStringList{"Primeiro", "Segundo", "Terceiro", "Zero", "Terceiro"}));
    // Showing the screen again (restored from minimised) keeps the rows.
    f->parentWidget()->showMinimized();
    f->parentWidget()->showNormal();
    f->hide();
    f->show();
    QCOMPARE(f->DataSetInforme->RecordCount(), 5);

    SessaoTeste::clicar(f, "SpeedButton2");
    SessaoTeste::liberarFechadas();
    QVERIFY(!FrmInforme);
    f = informeCom({4});
    QVERIFY(f);
    QCOMPARE(coluna(f->DataSetInforme, "LAN_ASSUNTO"), QStringList{"Zero"});
}

void TstInforme::informeNadaMarcado() {
    TFrmInforme* f = informeCom({});
    QVERIFY(f);
    QVERIFY(f->DataSetInforme->IsEmpty());
    QVERIFY(!FrmPesquisaLancamento);
    QVERIFY(roteiro_->mensagens().isEmpty());
}

// Deletes the current row at once, asking nothing; an empty table stays so.
void TstInforme::excluirLinha() {
    TFrmInforme* f = informeCom({1, 2, 3});
    QVERIFY(f);
    QVERIFY(f->DataSetInforme->Locate("LAN_ASSUNTO", "Segundo"));
    SessaoTeste::clicar(f, "SpeedButton4");
    QCOMPARE(coluna(f->DataSetInforme, "LAN_ASSUNTO"), (QStringList{"Primeiro", "Terceiro"}));
    SessaoTeste::clicar(f, "SpeedButton4");
    SessaoTeste::clicar(f, "SpeedButton4");
    SessaoTeste::clicar(f, "SpeedButton4");
    QVERIFY(f->DataSetInforme->IsEmpty());
    QVERIFY(roteiro_->mensagens().isEmpty());
}

// The full layout: company header, groups by date, station and program in
// row order, the rows and the signed-in employee's closing block; every
// label, field, memo and line in the chosen ink, the print date in navy.
void TstInforme::imprimirInforme() {
    TFrmInforme* f = informeCom({1, 2, 3});
    QVERIFY(f);
    Visor visor;
    f->EdColor->setColor(Qt::red);
    SessaoTeste::clicar(f, "BInforme");
    QVERIFY2(roteiro_->mensagens().isEmpty(), qPrintable(roteiro_->textos().join("|")));
    QCOMPARE(visor.vezes, 1);
    // CLIP_CAPTURA=folder saves pictures of the screen and of the first page.
    if (qEnvironmentVariableIsSet("CLIP_CAPTURA") && !visor.paginas.isEmpty()) {
        const QString pasta = qEnvironmentVariable("CLIP_CAPTURA");
        f->grab().save(pasta + "/informe.png");
        const report::Page& p = visor.paginas.first();
        const double dpi = 120;
        QImage img(QSize(int(p.size.width() * dpi / 25.4), int(p.size.height() * dpi / 25.4)), QImage::Format_RGB32);
        img.setDotsPerMeterX(int(dpi / 0.0254));
        img.setDotsPerMeterY(int(dpi / 0.0254));
        img.fill(Qt::white);
        QPainter pintor(&img);
        report::paintPage(pintor, p);
        pintor.end();
        img.save(pasta + "/informe_pagina.png");
    }
    const QString texto = visor.linhas().join("\n");
    for (const QString& t : {"CLIPAGEM LTDA", "Rua das Ondas, 10", "Recife - PE", "81 3333-0000",
                             "11.222.333/0001-44", "contato@clip", "INFORME", "Atenciosamente,",
                             "Departamento de Pesquisas e Vendas"})
        QVERIFY2(texto.contains(t), qPrintable(t));
    auto pos = [&](const QString& t, int de = 0) { return texto.indexOf(t, de); };
    // Headers and rows in row order: one date header per change of date.
    QVERIFY(pos("05/03/2008") < pos("RADIO X"));
    QVERIFY(pos("RADIO X") < pos("JORNAL Y"));
    QVERIFY(pos("JORNAL Y") < pos("Primeiro"));
    QVERIFY(pos("Primeiro") < pos(kEmissora30.left(20)));
    QVERIFY(!texto.contains(kEmissora30));
    QVERIFY(pos("Segundo") < pos("06/03/2008"));
    QVERIFY(pos("06/03/2008") < pos("Terceiro"));
    QCOMPARE(texto.count("05/03/2008"), 1);
    QVERIFY(pos("Hora:") >= 0 && pos("Tempo:") >= 0 && pos("Assunto:") >= 0);
    QVERIFY(pos("Atenciosamente,") < pos("Ana", pos("Atenciosamente,")));
    QVERIFY(pos("Departamento de Pesquisas e Vendas") < pos("Clip", pos("Departamento de Pesquisas e Vendas")));

    int textos = 0, linhas = 0;
    for (const report::Page& p : visor.paginas)
        for (const report::PageItem& i : p.items) {
            if (i.type == report::PageItem::Text && i.source == report::ElementKind::SystemVariable) {
                QCOMPARE(i.font.color, QColor(0, 0, 0x80));
            } else if (i.type == report::PageItem::Text) {
                QCOMPARE(i.font.color, QColor(Qt::red));
                ++textos;
            } else if (i.type == report::PageItem::Line) {
                QCOMPARE(i.penColor, QColor(Qt::red));
                ++linhas;
            }
        }
    QVERIFY(textos > 20);
    QVERIFY(linhas >= 4);
}

// With the maintenance login (no user row) the closing block has no name;
// an empty report is not printed.
void TstInforme::imprimirSemLinhas() {
    TFrmInforme* f = informeCom({});
    QVERIFY(f);
    SessaoTeste::clicar(f, "BInforme");
    SessaoTeste::clicar(f, "BArquivo");
    QCOMPARE(roteiro_->textos(),
             (QStringList{"Não há nenhum item no relatório!", "Não há nenhum item no relatório!"}));
    QVERIFY(roteiro_->dialogos().isEmpty());

    DMBanco->Q_Usuarios->Close();
    DMBanco->Q_Usuarios->ParamByName("USUARIO")->SetAsString("ZBVLO");
    DMBanco->Q_Usuarios->Open();
    SessaoTeste::clicar(f, "SpeedButton2");
    SessaoTeste::liberarFechadas();
    f = informeCom({1});
    QVERIFY(f);
    Visor visor;
    SessaoTeste::clicar(f, "BInforme");
    const QStringList l = visor.linhas();
    const int i = l.indexOf("Atenciosamente,");
    QVERIFY(i >= 0);
    QCOMPARE(l.mid(i + 1, 2), (QStringList{"Departamento de Pesquisas e Vendas", "Clip"}));
}

// The short layout as RTF into the file the dialog names; cancelling writes
// nothing.
void TstInforme::gerarArquivo() {
    TFrmInforme* f = informeCom({1, 3});
    QVERIFY(f);
    SessaoTeste::clicar(f, "BArquivo");
    QCOMPARE(roteiro_->dialogos().size(), 1);
    QVERIFY(roteiro_->dialogos().first().filtro.contains("*.rtf"));

    const QString arquivo = s_->db.folder() + "/informe cliente.rtf";
    roteiro_->responderArquivo(arquivo);
    f->EdColor->setColor(Qt::blue);
    SessaoTeste::clicar(f, "BArquivo");
    QVERIFY2(roteiro_->mensagens().isEmpty(), qPrintable(roteiro_->textos().join("|")));
    QFile arq(arquivo);
    QVERIFY(arq.open(QIODevice::ReadOnly));
    const QByteArray rtf = arq.readAll();
    QVERIFY(rtf.startsWith("{\\rtf"));
    for (const char* t : {"INFORME", "Primeiro", "Terceiro", "RADIO X", "JORNAL Y", "Atenciosamente,", "Ana",
                          "Departamento de Pesquisas e Vendas", "Clip", "\\red0\\green0\\blue255"})
        QVERIFY2(rtf.contains(t), t);
    QVERIFY(!rtf.contains("CLIPAGEM LTDA"));  // no company header in the short layout
    QVERIFY(!rtf.contains("Zero"));
}

void TstInforme::pedido_data() {
    QTest::addColumn<int>("pedidoAtual");
    QTest::addColumn<QList<int>>("marcados");
    QTest::addColumn<int>("pedidoEsperado");
    QTest::addColumn<QList<int>>("itens");
    // Order 1 (number 8) holds entry 1; order 2 (number 12) none.
    QTest::newRow("pedido atual, repetido") << 1 << QList<int>{1, 3} << 1 << QList<int>{1, 1, 3};
    QTest::newRow("novo pedido") << 0 << QList<int>{2, 4} << 3 << QList<int>{2, 4};
    QTest::newRow("novo pedido vazio") << 0 << QList<int>{} << 3 << QList<int>{};
    QTest::newRow("pedido atual excluido") << 7 << QList<int>{3} << 3 << QList<int>{3};
}

// Items go to order PedidoAtual, or to a new order written at once; the
// order form shows the order in editing with its items; the search closes.
void TstInforme::pedido() {
    QFETCH(int, pedidoAtual);
    QFETCH(QList<int>, marcados);
    QFETCH(int, pedidoEsperado);
    QFETCH(QList<int>, itens);
    auto& db = s_->db;
    db.exec("insert into TB_PEDIDO (PED_CODIGO, PED_NUMERO, PED_STATUS) values (1, 8, 'Realizado')");
    db.exec("insert into TB_PEDIDO (PED_CODIGO, PED_NUMERO) values (2, 12)");
    db.exec("insert into TB_ITENSPEDIDO (IPD_CODIGO, PED_CODIGO, LAN_CODIGO) values (1, 1, 1)");
    db.exec("set generator GEN_PEDIDO to 2");
    db.exec("set generator GEN_ITENSPEDIDO to 1");

    // The order form already shows order 2.
    auto* form = AbrirFormulario<TFrmPedido>(false, 0);
    QVERIFY(form);
    QVERIFY(DM->Q_Pedido->Locate("PED_CODIGO", 2));

    TFrmPesquisaLancamento* t = abrirBusca();
    QVERIFY(t);
    QVERIFY(t->BGerar->isEnabled());
    DMBanco->PedidoAtual = pedidoAtual;
    marcar(t, marcados);
    SessaoTeste::clicar(t, "BGerar");
    SessaoTeste::liberarFechadas();
    QVERIFY2(roteiro_->mensagens().isEmpty(), qPrintable(roteiro_->textos().join("|")));
    QVERIFY(!FrmPesquisaLancamento);

    QCOMPARE(DMBanco->PedidoAtual, pedidoEsperado);
    QCOMPARE(DM->Q_Pedido->GetState(), dataset::State::Edit);
    QCOMPARE(DM->Q_Pedido->FieldByName("PED_CODIGO")->AsInteger(), pedidoEsperado);
    QList<int> gravados;
    for (int lan : {1, 2, 3, 4})
        for (int n = db.count("TB_ITENSPEDIDO", QString("PED_CODIGO = %1 and LAN_CODIGO = %2")
                                                    .arg(pedidoEsperado)
                                                    .arg(lan));
             n > 0; --n)
            gravados << lan;
    QCOMPARE(gravados, itens);
    QCOMPARE(DM->Q_ItensPedido->RecordCount(), itens.size());
    QCOMPARE(form->DBGrid1->model()->rowCount(), itens.size());
    if (pedidoEsperado == 3) {
        // Written before its items, with its number, unpaid and no status.
        QCOMPARE(db.count("TB_PEDIDO", "PED_CODIGO = 3 and PED_NUMERO = 13 and PED_PAGO = 0 and PED_STATUS is null"),
                 1);
        QCOMPARE(db.count("TB_PEDIDO"), 3);
    }
    QCOMPARE(db.count("TB_ITENSPEDIDO", "PED_CODIGO = 2"), 0);
}

// An item the database refuses (its entry deleted meanwhile): reported, the
// items before it stay, the search stays open.
void TstInforme::pedidoFalhaNoItem() {
    s_->db.exec("insert into TB_PEDIDO (PED_CODIGO, PED_NUMERO) values (1, 1)");
    TFrmPesquisaLancamento* t = abrirBusca();
    QVERIFY(t);
    DMBanco->PedidoAtual = 1;
    marcar(t, {1, 2, 3});
    s_->db.exec("delete from TB_LANCAMENTO where LAN_CODIGO = 2");
    SessaoTeste::clicar(t, "BGerar");
    SessaoTeste::liberarFechadas();
    QCOMPARE(roteiro_->mensagens().size(), 1);
    QCOMPARE(FrmPesquisaLancamento, t);
    QVERIFY(t->isVisible());
    QCOMPARE(codigosItens(*s_, 1), QList<int>{1});
    QCOMPARE(DM->TB_ItensPedido->GetState(), dataset::State::Browse);
}

QTEST_MAIN(TstInforme)
#include "tst_informe.moc"
