#include "Sessao.h"

#include "app/U_Dm.h"
#include "common/Aplicacao.h"
#include "common/Mensagens.h"
#include "platform/data/Query.h"
#include "platform/data/widgets/DBControls.h"
#include "screens/base/U_BaseChild.h"
#include "screens/clipping/U_Lancamentos.h"
#include "screens/clipping/U_PesquisaLancamento.h"

#include <QMdiSubWindow>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

using dataset::State;

class TstLancamentos : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void aberturaNormal();
    void aberturaEmUmLancamento_data();
    void aberturaEmUmLancamento();
    void transporteAposGravar();
    void transporteAposAlterar();
    void trocaDeEmissora();
    void programaDeOutraEmissora();
    void semDireitoDeInclusao();
    void saidaDoAssunto();
    void dataOuHoraInvalida_data();
    void dataOuHoraInvalida();
    void pesquisarLancamentos();

private:
    TFrmLancamentos* abrir(int lancamento = 0, int chamada = 0);
    void escolher(dataset::DBLookupComboBox* c, const QString& nome);
    void digitar(QWidget* w, const QString& texto);
    void preencher();
    QVariant campo(const char* nome) { return DM->Q_Lancamento->FieldByName(nome)->Value(); }

    std::unique_ptr<Sessao> s_;
    std::unique_ptr<msg::Roteiro> roteiro_;
    std::unique_ptr<TFrmLancamentos> tela_;
};

void TstLancamentos::init() {
    s_ = std::make_unique<Sessao>();
    roteiro_ = std::make_unique<msg::Roteiro>();
}

void TstLancamentos::cleanup() {
    if (tela_) {
        DM->Q_Lancamento->Cancel();
        tela_.reset();
    }
    DefinirVerificadorAcesso(nullptr);
    roteiro_.reset();
    s_.reset();
}

TFrmLancamentos* TstLancamentos::abrir(int lancamento, int chamada) {
    tela_ = std::make_unique<TFrmLancamentos>();
    ChamadaExterna = quint8(chamada);
    tela_->LancamentoAbrir = lancamento;
    tela_->show();
    tela_->activateWindow();
    if (!QTest::qWaitForWindowActive(tela_.get()))
        qWarning("window not active");
    return tela_.get();
}

void TstLancamentos::escolher(dataset::DBLookupComboBox* c, const QString& nome) {
    const int i = c->findText(nome);
    QVERIFY2(i >= 0, qPrintable(nome));
    c->setCurrentIndex(i);
    emit c->activated(i);
}

void TstLancamentos::digitar(QWidget* w, const QString& texto) {
    w->setFocus();
    if (auto* e = qobject_cast<QLineEdit*>(w)) {
        if (e->inputMask().isEmpty())
            e->selectAll();
        else
            e->home(false);
    }
    QTest::keyClicks(w, texto);
}

void TstLancamentos::preencher() {
    TFrmLancamentos* t = tela_.get();
    digitar(t->DBEdit1, "05032008");
    digitar(t->DBEdit5, "143000");
    digitar(t->DBEdit2, "000130");
    t->DBRadioGroup1->Button(0)->click();
    escolher(t->DBLookupComboBox1, "RADIO X");
    digitar(t->DBEdit4, "12");
    escolher(t->DBLookupComboBox2, "JORNAL Y");
    digitar(t->DBEdit3, "F123");
    // The focus stays in the subject: leaving it asks "Gravar?".
    digitar(t->DBMemo1, "Entrevista do prefeito");
}

void TstLancamentos::aberturaNormal() {
    TFrmLancamentos* t = abrir();
    QCOMPARE(t->windowTitle(), QString("Lançamentos "));
    QCOMPARE(t->Tag(), 1101);
    QCOMPARE(DM->Q_Lancamento->SQL.Lines(), QStringList{"Select first(1) * from Tb_lancamento"});
    QCOMPARE(DM->Q_Lancamento->GetState(), State::Insert);
    QVERIFY(campo("LAN_CODIGO").toInt() > 0);
    QCOMPARE(campo("FUN_CODIGO").toInt(), 7);
    for (const char* f : {"LAN_DATA", "LAN_HORA", "LAN_TEMPO", "LAN_TIPO", "EMI_CODIGO", "PRG_CODIGO",
                          "LAN_VELOCIDADE", "LAN_CODLANCAMENTO", "LAN_ASSUNTO"})
        QVERIFY2(campo(f).isNull(), f);
    QVERIFY(!t->DBLookupComboBox2->isEnabled());
    QCOMPARE(QApplication::focusWidget(), t->DBEdit1);
    for (QAbstractButton* b : std::initializer_list<QAbstractButton*>{t->SBPrimeiro, t->SBAnterior, t->SBProximo,
                                                                       t->SBUltimo, t->SBImprimir})
        QVERIFY(b->isHidden());
    QCOMPARE(t->DBLookupComboBox1->count(), 2);

    // Empty table: cancelling leaves nothing on screen.
    t->SBCancelar->click();
    QVERIFY(DM->Q_Lancamento->IsEmpty());
    QVERIFY(!t->PFundo->isEnabled());
    QVERIFY(roteiro_->mensagens().isEmpty());
    tela_.reset();

    // With an entry, cancelling the first new one shows the entry read.
    s_->lancamento(500, "2008-03-04", "09:00:00", 2, 20, "8", "Chuva");
    t = abrir();
    t->SBCancelar->click();
    QCOMPARE(DM->Q_Lancamento->GetState(), State::Browse);
    QCOMPARE(campo("LAN_CODIGO").toInt(), 500);
    QCOMPARE(t->DBLookupComboBox1->currentText(), QString("TV Z"));
    QCOMPARE(t->DBLookupComboBox2->currentText(), QString("NOTICIAS Z"));
    QVERIFY(t->SBAlterar->isEnabled());
}

void TstLancamentos::aberturaEmUmLancamento_data() {
    QTest::addColumn<int>("codigo");
    QTest::addColumn<int>("chamada");
    QTest::addColumn<bool>("noLancamento");
    QTest::newRow("from the search") << 501 << 1 << true;
    QTest::newRow("code 0") << 0 << 1 << false;
    QTest::newRow("negative code") << -3 << 1 << false;
    QTest::newRow("not called by another screen") << 501 << 0 << false;
}

void TstLancamentos::aberturaEmUmLancamento() {
    QFETCH(int, codigo);
    QFETCH(int, chamada);
    QFETCH(bool, noLancamento);
    s_->lancamento(500, "2008-03-04", "09:00:00", 2, 20, "8", "Chuva");
    s_->lancamento(501, "2008-03-05", "10:00:00", 1, 11, "7", "Gol");
    TFrmLancamentos* t = abrir(codigo, chamada);
    if (!noLancamento) {
        QCOMPARE(DM->Q_Lancamento->GetState(), State::Insert);
        QVERIFY(campo("LAN_CODIGO").toInt() > 0);
        return;
    }
    QCOMPARE(DM->Q_Lancamento->GetState(), State::Browse);
    QCOMPARE(campo("LAN_CODIGO").toInt(), 501);
    QCOMPARE(t->DBEdit1->text(), QString("05/03/2008"));
    QCOMPARE(t->DBLookupComboBox2->currentText(), QString("ESPORTE"));
    QVERIFY(t->DBLookupComboBox2->isEnabledTo(t->PFundo));
    QVERIFY(!t->PFundo->isEnabled());
}

void TstLancamentos::transporteAposGravar() {
    TFrmLancamentos* t = abrir();
    const int primeiro = campo("LAN_CODIGO").toInt();
    preencher();
    t->SBSalvar->click();
    QVERIFY2(roteiro_->mensagens().isEmpty(), qPrintable(roteiro_->textos().join("|")));

    QCOMPARE(s_->db.count("TB_LANCAMENTO"), 1);
    QCOMPARE(s_->db.scalar(QString("select LAN_HORA || '|' || LAN_TEMPO || '|' || LAN_TIPO || '|' || EMI_CODIGO || "
                                   "'|' || PRG_CODIGO || '|' || LAN_VELOCIDADE || '|' || LAN_CODLANCAMENTO || '|' || "
                                   "FUN_CODIGO || '|' || LAN_ASSUNTO || '|' || LAN_CHECKED from TB_LANCAMENTO "
                                   "where LAN_CODIGO = %1 and LAN_DATA = '2008-03-05'")
                               .arg(primeiro))
                 .toString(),
             QString("14:30:00|00:01:30|A|1|10|12|F123|7|Entrevista do prefeito|0"));

    // The next entry carries the values over.
    QCOMPARE(DM->Q_Lancamento->GetState(), State::Insert);
    QVERIFY(campo("LAN_CODIGO").toInt() > primeiro);
    QCOMPARE(campo("FUN_CODIGO").toInt(), 7);
    QCOMPARE(t->DBEdit1->text(), QString("05/03/2008"));
    QCOMPARE(campo("LAN_DATA").toDateTime(), QDateTime(QDate(2008, 3, 5), QTime(0, 0)));
    QCOMPARE(campo("LAN_HORA").toString(), QString("14:30:00"));
    QCOMPARE(campo("LAN_VELOCIDADE").toString(), QString("12"));
    QCOMPARE(campo("LAN_CODLANCAMENTO").toString(), QString("F123"));
    QCOMPARE(campo("LAN_TIPO").toString(), QString("A"));
    QCOMPARE(campo("EMI_CODIGO").toInt(), 1);
    QCOMPARE(campo("PRG_CODIGO").toInt(), 10);
    QVERIFY(campo("LAN_TEMPO").isNull());
    QVERIFY(campo("LAN_ASSUNTO").isNull());
    QCOMPARE(t->DBLookupComboBox2->currentText(), QString("JORNAL Y"));
    QVERIFY(t->DBMemo1->toPlainText().isEmpty());
    QCOMPARE(QApplication::focusWidget(), t->DBEdit1);

    // Only the subject typed, F3 saves again.
    digitar(t->DBMemo1, "Segundo");
    roteiro_->limpar();
    t->SBSalvar->click();
    QCOMPARE(s_->db.count("TB_LANCAMENTO", "LAN_HORA = '14:30:00' and PRG_CODIGO = 10 and LAN_TEMPO is null"), 1);
    QCOMPARE(s_->db.count("TB_LANCAMENTO"), 2);
}

void TstLancamentos::transporteAposAlterar() {
    s_->lancamento(501, "2008-03-05", "10:00:00", 1, 11, "8", "Gol");
    TFrmLancamentos* t = abrir(501, 1);
    t->SBAlterar->click();
    QCOMPARE(DM->Q_Lancamento->GetState(), State::Edit);
    digitar(t->DBEdit5, "101500");
    t->SBSalvar->click();
    QCOMPARE(s_->db.scalar("select LAN_HORA from TB_LANCAMENTO where LAN_CODIGO = 501").toString(),
             QString("10:15:00"));
    QCOMPARE(DM->Q_Lancamento->GetState(), State::Insert);
    QCOMPARE(campo("LAN_HORA").toString(), QString("10:15:00"));
    QCOMPARE(campo("PRG_CODIGO").toInt(), 11);
    QCOMPARE(campo("FUN_CODIGO").toInt(), 7);
}

void TstLancamentos::trocaDeEmissora() {
    TFrmLancamentos* t = abrir();
    preencher();
    QVERIFY(t->DBLookupComboBox2->isEnabled());
    escolher(t->DBLookupComboBox1, "TV Z");
    QVERIFY(t->DBLookupComboBox2->Text().isEmpty());
    QCOMPARE(t->DBLookupComboBox2->count(), 1);
    t->SBSalvar->click();
    QCOMPARE(roteiro_->textos(), QStringList{"É necessário informar um programa!"});
    QCOMPARE(DM->Q_Lancamento->GetState(), State::Insert);
    QCOMPARE(s_->db.count("TB_LANCAMENTO"), 0);

    // No station at all: the program box is off and the save is refused.
    t->SBCancelar->click();
    t->SBNovo->click();  // empty screen: the blank date does not convert
    roteiro_->limpar();
    QVERIFY(!t->DBLookupComboBox2->isEnabled());
    digitar(t->DBEdit1, "05032008");
    t->SBSalvar->click();
    QCOMPARE(roteiro_->textos(), QStringList{"É necessário informar um programa!"});
}

void TstLancamentos::programaDeOutraEmissora() {
    TFrmLancamentos* t = abrir();
    preencher();
    // Another workstation moves the program to the other station meanwhile.
    s_->db.exec("update TB_PROGRAMAS set EMI_CODIGO = 2 where PRG_CODIGO = 10");
    t->SBSalvar->click();
    QCOMPARE(roteiro_->textos(), QStringList{"É necessário informar o nome do programa!"});
    QCOMPARE(DM->Q_Lancamento->GetState(), State::Insert);
    QCOMPARE(s_->db.count("TB_LANCAMENTO"), 0);
    QVERIFY(!DM->Q_Lancamento->UpdatesPending());
}

void TstLancamentos::semDireitoDeInclusao() {
    s_->lancamento(501, "2008-03-05", "10:00:00", 1, 11, "8", "Gol");
    QStringList pedidos;
    DefinirVerificadorAcesso([&](int tela, const QString& campo) {
        pedidos << QString("%1 %2").arg(tela).arg(campo);
        if (campo == "DIR_INCLUIR") {
            msg::Informar("Sem permissão");
            return false;
        }
        return true;
    });
    TFrmLancamentos* t = abrir(501, 1);
    QTest::keyClick(t, Qt::Key_F2);
    QCOMPARE(roteiro_->textos(), QStringList{"Sem permissão"});
    QCOMPARE(pedidos, QStringList{"1101 DIR_INCLUIR"});
    QCOMPARE(DM->Q_Lancamento->GetState(), State::Browse);
    QCOMPARE(campo("LAN_CODIGO").toInt(), 501);

    // Altering is allowed; after the save no new entry is started.
    roteiro_->limpar();
    t->SBAlterar->click();
    digitar(t->DBEdit3, "X9");
    t->SBSalvar->click();
    QCOMPARE(roteiro_->textos(), QStringList{"Sem permissão"});
    QCOMPARE(s_->db.scalar("select LAN_CODLANCAMENTO from TB_LANCAMENTO where LAN_CODIGO = 501").toString(),
             QString("X9"));
    QCOMPARE(DM->Q_Lancamento->GetState(), State::Browse);
}

void TstLancamentos::saidaDoAssunto() {
    TFrmLancamentos* t = abrir();
    preencher();
    QCOMPARE(QApplication::focusWidget(), t->DBMemo1);
    QVERIFY(!t->KeyPreview);
    // Enter makes a new line, F3 does not save.
    QTest::keyClick(t->DBMemo1, Qt::Key_Return);
    QTest::keyClicks(t->DBMemo1, "na praca");
    QTest::keyClick(t->DBMemo1, Qt::Key_F3);
    QCOMPARE(QApplication::focusWidget(), t->DBMemo1);
    QCOMPARE(t->DBMemo1->toPlainText(), QString("Entrevista do prefeito\nna praca"));
    QVERIFY(roteiro_->mensagens().isEmpty());

    // Leaving it: "Gravar?" answered No keeps the entry in editing.
    roteiro_->responder(QMessageBox::No);
    QTest::keyClick(t->DBMemo1, Qt::Key_Tab);
    QCOMPARE(roteiro_->textos(), QStringList{"Gravar?"});
    QCOMPARE(roteiro_->ultima().titulo, QString("Confirmação"));
    QVERIFY(t->KeyPreview);
    QCOMPARE(DM->Q_Lancamento->GetState(), State::Insert);
    QCOMPARE(campo("LAN_ASSUNTO").toString(), QString("Entrevista do prefeito\r\nna praca"));
    QCOMPARE(s_->db.count("TB_LANCAMENTO"), 0);

    // Yes saves and starts the next entry.
    roteiro_->limpar();
    t->DBMemo1->setFocus();
    roteiro_->responder(QMessageBox::Yes);
    QTest::keyClick(t->DBMemo1, Qt::Key_Tab);
    QCOMPARE(roteiro_->textos(), QStringList{"Gravar?"});
    QCOMPARE(s_->db.count("TB_LANCAMENTO", "LAN_ASSUNTO = 'Entrevista do prefeito' || ascii_char(13) || ascii_char(10) || 'na praca'"),
             1);
    QCOMPARE(DM->Q_Lancamento->GetState(), State::Insert);
    QCOMPARE(QApplication::focusWidget(), t->DBEdit1);
}

void TstLancamentos::dataOuHoraInvalida_data() {
    QTest::addColumn<QString>("data");
    QTest::addColumn<QString>("hora");
    QTest::addColumn<QString>("mensagem");
    QTest::newRow("31/02") << "31022008" << "143000" << "Informe uma data válida";
    QTest::newRow("month 13") << "05132008" << "143000" << "Informe uma data válida";
    QTest::newRow("hour 25") << "05032008" << "250000" << "Informe uma hora válida";
    QTest::newRow("minute 61") << "05032008" << "146100" << "Informe uma hora válida";
}

void TstLancamentos::dataOuHoraInvalida() {
    QFETCH(QString, data);
    QFETCH(QString, hora);
    QFETCH(QString, mensagem);
    TFrmLancamentos* t = abrir();
    preencher();
    roteiro_->responder(QMessageBox::No);  // "Gravar?" on leaving the subject
    digitar(t->DBEdit5, hora);
    digitar(t->DBEdit1, data);
    roteiro_->limpar();
    t->SBSalvar->click();
    QCOMPARE(roteiro_->textos(), QStringList{mensagem});
    QCOMPARE(DM->Q_Lancamento->GetState(), State::Insert);
    QCOMPARE(s_->db.count("TB_LANCAMENTO"), 0);
    QVERIFY(QFile::exists(CaminhoNaPasta("Erros.log")));
}

void TstLancamentos::pesquisarLancamentos() {
    TFrmLancamentos* t = abrir();
    DMBanco->PedidoAtual = 33;
    t->SpeedButton1->click();
    QCOMPARE(DMBanco->PedidoAtual, 0);
    auto* mdi = qobject_cast<QMdiArea*>(s_->janela->centralWidget());
    QCOMPARE(mdi->subWindowList().size(), 1);
    auto* busca = qobject_cast<TFrmPesquisaLancamento*>(mdi->subWindowList().first()->widget());
    QVERIFY(busca);
    QCOMPARE(FrmPesquisaLancamento, busca);
    busca->close();
    QTRY_VERIFY(!FrmPesquisaLancamento);
}

// Errors that leave an event handler reach the application-wide handler, as
// in the program.
int main(int argc, char** argv) {
    Aplicacao app(argc, argv);
    TstLancamentos t;
    return QTest::qExec(&t, argc, argv);
}
#include "tst_lancamentos.moc"
