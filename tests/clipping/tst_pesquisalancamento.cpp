#include "Sessao.h"

#include "app/U_Dm.h"
#include "common/Aplicacao.h"
#include "common/Mensagens.h"
#include "platform/data/Query.h"
#include "platform/data/widgets/DBControls.h"
#include "platform/data/widgets/DBGrid.h"
#include "platform/media/FakePlayer.h"
#include "screens/clipping/U_Lancamentos.h"
#include "screens/clipping/U_PesquisaLancamento.h"
#include "screens/clipping/U_Play.h"

#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

namespace {

const QString kSelect = "Select Lan.*, Emi.Emi_Nome, Emi.Emi_Path, Prg.Prg_Nome, Fun.Fun_Nome";
const QString kFrom = "from TB_Lancamento Lan, TB_Emissoras Emi, TB_Programas Prg, TB_Funcionarios Fun";
const QString kWhere = "Where Lan.Emi_Codigo = Emi.Emi_Codigo and Lan.Prg_Codigo = Prg.Prg_Codigo and "
                       "Lan.Fun_Codigo = Fun.Fun_Codigo";
const QString kOrdem = "Order by LAN.LAN_DATA, LAN.LAN_HORA, LAN.LAN_TEMPO";

} // namespace

class TstPesquisaLancamento : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void abertura();
    void instrucoes_data();
    void instrucoes();
    void buscas_data();
    void buscas();
    void dataCompartilhada();
    void dataInvalida();
    void marcas();
    void ordenarPorTitulo();
    void editar();
    void reproduzir();
    void reproduzirSemArquivo();

private:
    TFrmPesquisaLancamento* abrir();
    QList<int> codigos();
    void buscar(int localizar, const QString& texto, int filtrar = 0, const QString& filtro = QString());

    std::unique_ptr<Sessao> s_;
    std::unique_ptr<msg::Roteiro> roteiro_;
    std::unique_ptr<TFrmPesquisaLancamento> tela_;
};

void TstPesquisaLancamento::init() {
    s_ = std::make_unique<Sessao>();
    roteiro_ = std::make_unique<msg::Roteiro>();
    s_->lancamento(1, "2008-03-05", "14:37:20", 1, 10, "7", "REUNIÃO do conselho");
    s_->lancamento(2, "2008-03-05", "15:20:00", 1, 11, "8", "reuniao de pais");
    s_->lancamento(3, "2008-03-06", "09:00:00", 2, 20, "7", "a reunIão");
    s_->lancamento(4, "2008-03-06", "10:00:00", 2, 20, "8", "Chuva d'água 50%_x");
    s_->lancamento(5, "2008-03-07", "11:00:00", 1, 10, "null", "REUNIÃO sem funcionário");
}

void TstPesquisaLancamento::cleanup() {
    tela_.reset();
    roteiro_.reset();
    s_.reset();
}

TFrmPesquisaLancamento* TstPesquisaLancamento::abrir() {
    tela_ = std::make_unique<TFrmPesquisaLancamento>();
    tela_->show();
    tela_->activateWindow();
    if (!QTest::qWaitForWindowActive(tela_.get()))
        qWarning("window not active");
    return tela_.get();
}

QList<int> TstPesquisaLancamento::codigos() {
    QList<int> r;
    dataset::Query* q = tela_->Q_Busca;
    if (!q->Active())
        return r;
    q->FetchAll();
    for (int i = 0; i < q->BufferedCount(); ++i)
        r << q->ValueAt(i, q->FieldByName("LAN_CODIGO")).toInt();
    return r;
}

void TstPesquisaLancamento::buscar(int localizar, const QString& texto, int filtrar, const QString& filtro) {
    tela_->RGLocalizar->SetItemIndex(localizar);
    tela_->RGFiltrar->SetItemIndex(filtrar);
    tela_->EdPesquisa->setText(texto);
    tela_->edFiltro->setText(filtro);
    tela_->BBusca->click();
}

void TstPesquisaLancamento::abertura() {
    for (int i = 0; i < 60; ++i)
        s_->lancamento(100 + i, "2007-01-01", QString("10:%1:00").arg(i % 60, 2, 10, QChar('0')), 1, 10, "7", "x");
    TFrmPesquisaLancamento* t = abrir();
    QCOMPARE(t->windowTitle(), QString("Localizar Lançamentos"));
    QCOMPARE(t->Q_Busca->SQL.Lines(),
             (QStringList{"SELECT FIRST(50) Lan.*, EMI.EMI_NOME, EMI.EMI_PATH, PRG.PRG_NOME, FUN.FUN_NOME ", "",
                          "FROM TB_LANCAMENTO LAN, TB_EMISSORAS EMI, TB_PROGRAMAS PRG, TB_FUNCIONARIOS FUN", "",
                          "WHERE LAN.EMI_CODIGO = EMI.EMI_CODIGO AND LAN.PRG_CODIGO = PRG.PRG_CODIGO AND "
                          "LAN.FUN_CODIGO = FUN.FUN_CODIGO",
                          "", "ORDER BY LAN.LAN_DATA DESC, LAN.LAN_HORA DESC, LAN.LAN_TEMPO DESC"}));
    const QList<int> c = codigos();
    QCOMPARE(c.size(), 50);
    QCOMPARE(c.mid(0, 5), (QList<int>{4, 3, 2, 1, 159}));  // newest first, never entry 5 (no employee)
    QCOMPARE(t->Ordem, QString("LAN.LAN_DATA, LAN.LAN_HORA, LAN.LAN_TEMPO"));
    QCOMPARE(QApplication::focusWidget(), t->EdPesquisa);
    QCOMPARE(t->RGLocalizar->ItemTexto(), QString("Assunto"));
    QCOMPARE(t->RGFiltrar->ItemTexto(), QString("Emissora"));
    QCOMPARE(t->DBGrid1->model()->headerData(0, Qt::Horizontal).toString(), QString(" "));
    QCOMPARE(t->DBGrid1->model()->headerData(7, Qt::Horizontal).toString(), QString("Funcionário"));
    QVERIFY(t->BInforme->isEnabled());
    QCOMPARE(FrmPesquisaLancamento, t);
    t->close();
    QVERIFY(!FrmPesquisaLancamento);
}

void TstPesquisaLancamento::instrucoes_data() {
    QTest::addColumn<int>("localizar");
    QTest::addColumn<QString>("texto");
    QTest::addColumn<int>("filtrar");
    QTest::addColumn<QString>("filtro");
    QTest::addColumn<QStringList>("linhas");  // between the where and the order lines

    QTest::newRow("Assunto") << 0 << "reunião" << 0 << ""
                             << QStringList{"and Upper(Lan.Lan_Assunto) LIKE '%REUNI_O%'"};
    QTest::newRow("Emissora") << 1 << "rádio" << 1 << ""
                              << QStringList{"and Upper(Emi.Emi_Nome) LIKE '%R_DIO%'"};
    QTest::newRow("Programa") << 2 << "jornal" << 2 << ""
                              << QStringList{"and Upper(Prg.Prg_Nome) LIKE '%JORNAL%'"};
    QTest::newRow("Funcionário") << 3 << "ana" << 3 << ""
                                 << QStringList{"and Upper(Fun.Fun_Nome) LIKE '%ANA%'"};
    QTest::newRow("Data") << 4 << "05/03/2008" << 0 << "" << QStringList{"and Lan.Lan_Data = :Data"};
    QTest::newRow("Cod. Fita") << 5 << "f1" << 0 << ""
                               << QStringList{"and Upper(Lan.Lan_CodLancamento) LIKE '%F1%'"};
    QTest::newRow("empty text") << 1 << "" << 0 << "" << QStringList{"and Upper(Emi.Emi_Nome) LIKE '%%'"};
    QTest::newRow("filter Emissora") << 0 << "" << 0 << "tv"
                                     << QStringList{"and Upper(Lan.Lan_Assunto) LIKE '%%'",
                                                    "and Upper(Emi.Emi_Nome) LIKE '%TV%'"};
    QTest::newRow("filter Programa") << 0 << "" << 1 << "notícias"
                                     << QStringList{"and Upper(Lan.Lan_Assunto) LIKE '%%'",
                                                    "and Upper(Prg.Prg_Nome) LIKE '%NOT_CIAS%'"};
    QTest::newRow("filter Funcionário") << 0 << "" << 2 << "bruno"
                                        << QStringList{"and Upper(Lan.Lan_Assunto) LIKE '%%'",
                                                       "and Upper(Fun.Fun_Nome) LIKE '%BRUNO%'"};
    QTest::newRow("filter Data") << 0 << "" << 3 << "06/03/2008"
                                 << QStringList{"and Upper(Lan.Lan_Assunto) LIKE '%%'", "and Lan.Lan_Data = :Data"};
    QTest::newRow("filter Data, empty") << 0 << "" << 3 << ""
                                        << QStringList{"and Upper(Lan.Lan_Assunto) LIKE '%%'"};
    QTest::newRow("quote") << 0 << "d'água" << 1 << "o'neil"
                           << QStringList{"and Upper(Lan.Lan_Assunto) LIKE '%D''_GUA%'",
                                          "and Upper(Prg.Prg_Nome) LIKE '%O''NEIL%'"};
    QTest::newRow("quote ending the text") << 1 << "x' or 1=1 --" << 0 << "'"
                                           << QStringList{"and Upper(Emi.Emi_Nome) LIKE '%X'' OR 1=1 --%'",
                                                          "and Upper(Emi.Emi_Nome) LIKE '%''%'"};
    QTest::newRow("wildcards") << 5 << "50%_x" << 0 << ""
                               << QStringList{"and Upper(Lan.Lan_CodLancamento) LIKE '%50%_X%'"};
}

void TstPesquisaLancamento::instrucoes() {
    QFETCH(int, localizar);
    QFETCH(QString, texto);
    QFETCH(int, filtrar);
    QFETCH(QString, filtro);
    QFETCH(QStringList, linhas);
    abrir();
    buscar(localizar, texto, filtrar, filtro);
    QCOMPARE(tela_->Q_Busca->SQL.Lines(), (QStringList{kSelect, kFrom, kWhere} + linhas + QStringList{kOrdem}));
    QVERIFY2(roteiro_->mensagens().isEmpty(), qPrintable(roteiro_->textos().join("|")));
    QVERIFY(tela_->Q_Busca->Active());
}

void TstPesquisaLancamento::buscas_data() {
    QTest::addColumn<int>("localizar");
    QTest::addColumn<QString>("texto");
    QTest::addColumn<int>("filtrar");
    QTest::addColumn<QString>("filtro");
    QTest::addColumn<QList<int>>("esperados");

    QTest::newRow("accent-tolerant") << 0 << "reunião" << 0 << "" << QList<int>{1, 2, 3};
    QTest::newRow("unaccented text") << 0 << "REUNIAO" << 0 << "" << QList<int>{2};
    QTest::newRow("every station") << 1 << "" << 0 << "" << QList<int>{1, 2, 3, 4};
    QTest::newRow("station and program filter") << 1 << "x" << 1 << "esporte" << QList<int>{2};
    QTest::newRow("employee") << 3 << "BRU" << 0 << "" << QList<int>{2, 4};
    QTest::newRow("date") << 4 << "05/03/2008" << 0 << "" << QList<int>{1, 2};
    QTest::newRow("date, empty text") << 4 << "" << 0 << "" << QList<int>{};
    QTest::newRow("tape code") << 5 << "f3" << 0 << "" << QList<int>{3};
    QTest::newRow("quote in the text") << 0 << "d'água" << 0 << "" << QList<int>{4};
    QTest::newRow("wildcards keep their meaning") << 0 << "50%_X" << 0 << "" << QList<int>{4};
    QTest::newRow("nothing") << 0 << "'; drop table TB_LANCAMENTO --" << 0 << "" << QList<int>{};
}

void TstPesquisaLancamento::buscas() {
    QFETCH(int, localizar);
    QFETCH(QString, texto);
    QFETCH(int, filtrar);
    QFETCH(QString, filtro);
    QFETCH(QList<int>, esperados);
    abrir();
    buscar(localizar, texto, filtrar, filtro);
    QVERIFY2(roteiro_->mensagens().isEmpty(), qPrintable(roteiro_->textos().join("|")));
    QCOMPARE(codigos(), esperados);
    QCOMPARE(s_->db.count("TB_LANCAMENTO"), 5);
}

void TstPesquisaLancamento::dataCompartilhada() {
    TFrmPesquisaLancamento* t = abrir();
    buscar(4, "05/03/2008", 3, "06/03/2008");
    QCOMPARE(t->Q_Busca->ParamByName("Data")->Value().toDateTime(), QDateTime(QDate(2008, 3, 6), QTime(0, 0)));
    QCOMPARE(codigos(), (QList<int>{3, 4}));

    // Enter in either box runs the search.
    t->RGLocalizar->SetItemIndex(0);
    t->EdPesquisa->setText("conselho");
    t->edFiltro->clear();
    t->EdPesquisa->setFocus();
    QVERIFY(!t->KeyPreview);
    QTest::keyClick(t->EdPesquisa, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), t->EdPesquisa);
    QCOMPARE(codigos(), QList<int>{1});
    t->edFiltro->setFocus();
    t->edFiltro->setText("tv");
    QTest::keyClick(t->edFiltro, Qt::Key_Enter);
    QCOMPARE(codigos(), QList<int>{});
    t->DBGrid1->setFocus();
    QVERIFY(t->KeyPreview);
}

void TstPesquisaLancamento::dataInvalida() {
    TFrmPesquisaLancamento* t = abrir();
    buscar(4, "32/03/2008");
    QCOMPARE(roteiro_->textos(), QStringList{"Informe uma data válida"});
    QVERIFY(!t->Q_Busca->Active());
    roteiro_->limpar();
    buscar(0, "", 3, "aa/bb");
    QCOMPARE(roteiro_->textos(), QStringList{"Informe uma data válida"});
    QVERIFY(!t->Q_Busca->Active());
}

void TstPesquisaLancamento::marcas() {
    TFrmPesquisaLancamento* t = abrir();
    buscar(1, "");
    dataset::DBGrid* g = t->DBGrid1;
    auto marca = [&](int linha) {
        return t->Q_Busca->ValueAt(linha, t->Q_Busca->FieldByName("LAN_CHECKED")).toString();
    };
    auto clicar = [&](int linha, int coluna) {
        QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, g->visualRect(g->model()->index(linha, coluna)).center());
    };
    clicar(1, 0);
    QCOMPARE(marca(1), QString("1"));
    QCOMPARE(t->Q_Busca->CurrentRow(), 1);
    clicar(2, 0);
    clicar(2, 0);
    QCOMPARE(marca(2), QString("0"));
    clicar(3, 4);  // another column only moves
    QCOMPARE(marca(3), QString("0"));
    QCOMPARE(t->Q_Busca->CurrentRow(), 3);

    // Drawing: the checked image over the empty one on marked rows only.
    const QImage imagem = g->viewport()->grab().toImage();
    const QRect marcada = g->visualRect(g->model()->index(1, 0));
    const QRect vazia = g->visualRect(g->model()->index(0, 0));
    auto centroDaCaixa = [&](const QRect& r) { return imagem.pixelColor(r.left() + 10 + 7, r.top() + 1 + 8); };
    QCOMPARE(centroDaCaixa(vazia), QColor(Qt::white));
    QVERIFY(centroDaCaixa(marcada) != QColor(Qt::white));

    // The subject edited below the grid stays in memory too.
    t->Q_Busca->MoveToRow(0);
    t->DBMemo1->setFocus();
    QTest::keyClicks(t->DBMemo1, "nota ");
    t->DBGrid1->setFocus();
    t->Q_Busca->MoveToRow(2);
    QCOMPARE(s_->db.count("TB_LANCAMENTO", "LAN_CHECKED <> '0' or LAN_ASSUNTO starting with 'nota'"), 0);

    // A new search discards every mark.
    t->RGLocalizar->Botao(1)->click();
    QCOMPARE(t->Q_Busca->SQL.Lines().at(3), QString("and Upper(Emi.Emi_Nome) LIKE '%%'"));
    for (int i = 0; i < 4; ++i)
        QCOMPARE(marca(i), QString("0"));
}

void TstPesquisaLancamento::ordenarPorTitulo() {
    TFrmPesquisaLancamento* t = abrir();
    buscar(1, "");
    QCOMPARE(codigos(), (QList<int>{1, 2, 3, 4}));
    t->DBGrid1->horizontalHeader()->sectionClicked(7);  // "Funcionário"
    QCOMPARE(t->Ordem, QString("FUN_NOME"));
    QCOMPARE(t->Q_Busca->SQL.Lines().last(), QString("Order by FUN_NOME"));
    const QList<int> c = codigos();
    QCOMPARE(QSet<int>(c.begin(), c.begin() + 2), (QSet<int>{1, 3}));
    QCOMPARE(QSet<int>(c.begin() + 2, c.end()), (QSet<int>{2, 4}));
    t->DBGrid1->horizontalHeader()->sectionClicked(3);  // "Emissora"
    QCOMPARE(t->Q_Busca->SQL.Lines().last(), QString("Order by EMI_NOME"));
}

void TstPesquisaLancamento::editar() {
    TFrmPesquisaLancamento* t = abrir();
    buscar(0, "conselho");
    int codigo = -1;
    dataset::State estado = dataset::State::Inactive;
    auto verRegistro = [&] {
        auto* r = qobject_cast<TFrmLancamentos*>(QApplication::activeModalWidget());
        if (!r)
            return;
        codigo = DM->Q_Lancamento->FieldByName("LAN_CODIGO")->AsInteger();
        estado = DM->Q_Lancamento->GetState();
        r->close();
    };
    QTimer::singleShot(0, verRegistro);
    t->BEditar->click();
    QCOMPARE(codigo, 1);
    QCOMPARE(estado, dataset::State::Browse);

    // Empty result: the register opens for a new entry.
    buscar(0, "nada disso");
    roteiro_->responder(QMessageBox::No);  // "Deseja salvar as alterações?"
    QTimer::singleShot(0, verRegistro);
    t->BEditar->click();
    QCOMPARE(estado, dataset::State::Insert);
    QVERIFY(codigo > 0);
    QCOMPARE(roteiro_->textos(), QStringList{"Deseja salvar as alterações?"});
    QCOMPARE(s_->db.count("TB_LANCAMENTO"), 5);
}

void TstPesquisaLancamento::reproduzir() {
    const QString pasta = QDir(s_->db.folder()).filePath("gravacoes");
    QDir().mkpath(pasta);
    for (const char* n : {"0503081400a0503081600.mp3", "0503081600a0503081700.mp3"}) {
        QFile f(QDir(pasta).filePath(n));
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    s_->db.exec(QString("update TB_EMISSORAS set EMI_PATH = '%1' where EMI_CODIGO = 1").arg(pasta));
    TFrmPesquisaLancamento* t = abrir();
    buscar(0, "pais");
    media::FakePlayerFactory fakes;
    QStringList chamadas;
    QList<double> posicoes;
    QTimer::singleShot(0, [&] {
        auto* play = qobject_cast<TFrmPlay*>(QApplication::activeModalWidget());
        QVERIFY(play);
        media::FakePlayer* p = fakes.last();
        p->reportOpenState(media::Open);
        p->reportOpenState(media::Open);
        chamadas = p->calls();
        posicoes = p->positionsSet();
        play->BFechar->click();
    });
    t->BPlay->click();
    QVERIFY2(roteiro_->mensagens().isEmpty(), qPrintable(roteiro_->textos().join("|")));
    QCOMPARE(fakes.created(), 1);
    // 15:20 in the 14:00-16:00 recording: 1 h 20 min in.
    QCOMPARE(chamadas.first(), "url " + QDir(pasta).filePath("0503081400a0503081600.mp3"));
    QCOMPARE(posicoes, (QList<double>{4800, 4800}));
    QVERIFY(!t->Reproducao.BuscaPendente);
}

void TstPesquisaLancamento::reproduzirSemArquivo() {
    const QString pasta = QDir(s_->db.folder()).filePath("gravacoes");
    QDir().mkpath(pasta);
    s_->db.exec(QString("update TB_EMISSORAS set EMI_PATH = '%1' where EMI_CODIGO = 1").arg(pasta));
    s_->db.exec(QString("update TB_EMISSORAS set EMI_PATH = '%1' where EMI_CODIGO = 2").arg(pasta + "/nao"));
    TFrmPesquisaLancamento* t = abrir();
    media::FakePlayerFactory fakes;
    buscar(0, "pais");
    t->BPlay->click();
    buscar(0, "chuva");
    t->BPlay->click();
    buscar(0, "nada disso");
    t->BPlay->click();
    QCOMPARE(roteiro_->textos(), (QStringList{"Arquivo de áudio não encontrado...",
                                              "Local dos arquivos de áudio inexistente!",
                                              "Local dos arquivos de áudio inexistente!"}));
    QCOMPARE(fakes.created(), 0);
}

int main(int argc, char** argv) {
    Aplicacao app(argc, argv);
    TstPesquisaLancamento t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_pesquisalancamento.moc"
