#include "security/SessaoTeste.h"

#include "platform/data/Query.h"
#include "platform/data/widgets/DBControls.h"
#include "platform/data/widgets/DBGrid.h"
#include "screens/agenda/U_CadLembretes.h"
#include "screens/agenda/U_Lembretes.h"
#include "screens/base/U_Principal.h"
#include "screens/maintenance/U_Backup.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QWindow>

namespace {

const QString kEstacao = QStringLiteral("192.168.10.21");
const QString kOutra = QStringLiteral("192.168.10.99");

QDateTime momento(const QString& texto) {
    return QDateTime::fromString(texto, QStringLiteral("dd/MM/yyyy HH:mm:ss"));
}

// One workstation: a session on a fresh database, its main window, its
// address, its clock and a sound output that records what it was asked to
// play ("alarme.wav" or "padrao").
struct Estacao {
    SessaoTeste s;
    msg::Roteiro roteiro;
    QString ip = kEstacao;
    QDateTime agora = momento("05/03/2008 14:30:00");
    QStringList sons;
    std::unique_ptr<TFrmPrincipal> w;

    Estacao() {
        DefinirIPLocal([this] { return ip; });
        DefinirRelogioLembretes([this] { return agora; });
        DefinirTocadorAlarme([this](const QString& arquivo) {
            sons << (arquivo.isEmpty() ? QStringLiteral("padrao") : QFileInfo(arquivo).fileName());
        });
        alarme(true);
        TFrmPrincipal::Encerrar = [] {};
        TFrmBackup::Encerrar = [] {};
        w = std::make_unique<TFrmPrincipal>();
    }
    ~Estacao() {
        delete FrmLembretes;
        w.reset();
        liberar();
        DefinirIPLocal({});
        DefinirRelogioLembretes({});
        DefinirTocadorAlarme({});
        ChamadaExterna = 0;
    }

    void alarme(bool existe) {
        QFile f(s.db.folder() + "/alarme.wav");
        if (existe) {
            f.open(QIODevice::WriteOnly);
            f.write("RIFF");
        } else {
            f.remove();
        }
    }

    int lembrete(const QString& mensagem, const QString& data = "2008-03-05", const QString& hora = "14:30",
                 const QString& dono = kEstacao) {
        const int codigo = s.db.scalar("select gen_id(GEN_LEMBRETES, 1) from RDB$DATABASE").toInt();
        s.db.exec(QStringLiteral("insert into TB_LEMBRETES (LEM_CODIGO, LEM_MENSAGEM, LEM_DATA, LEM_HORA, LEM_IP) "
                                 "values (%1, '%2', '%3', '%4', '%5')")
                      .arg(codigo)
                      .arg(mensagem, data, hora, dono));
        return codigo;
    }

    // What the main window's timer does every minute.
    void verificar(const QString& quando = QString()) {
        if (!quando.isEmpty())
            agora = momento(quando);
        w->TLembretesTimer();
    }

    static void liberar() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }

    static QString mensagem() { return FrmLembretes ? FrmLembretes->DBMemo1->toPlainText() : QString(); }

    TFrmCadLembretes* cadastro() const {
        for (QMdiSubWindow* sub : w->MDIArea->subWindowList())
            if (auto* c = qobject_cast<TFrmCadLembretes*>(sub->widget()))
                return c;
        return nullptr;
    }
    int cadastrosAbertos() const {
        int n = 0;
        for (QMdiSubWindow* sub : w->MDIArea->subWindowList())
            n += qobject_cast<TFrmCadLembretes*>(sub->widget()) != nullptr;
        return n;
    }
};

QStringList mensagens(dataset::DataSet* ds) {
    QStringList r;
    for (ds->First(); !ds->Eof(); ds->Next())
        r << ds->FieldByName("LEM_MENSAGEM")->AsString();
    r.sort();
    return r;
}

// Shows w as the active window.
bool mostrar(QWidget* w) {
    w->show();
    w->activateWindow();
    return QTest::qWaitForWindowExposed(w) && QTest::qWaitForWindowActive(w);
}

void digitarEm(QWidget* campo, const QString& texto) {
    campo->setFocus();
    if (auto* e = qobject_cast<QLineEdit*>(campo)) {
        e->selectAll();
        if (texto.isEmpty())
            QTest::keyClick(e, Qt::Key_Delete);
    }
    QTest::keyClicks(campo, texto);
}

} // namespace

class TstLembretes : public QObject {
    Q_OBJECT
private slots:
    void vencimento_data();
    void vencimento();
    void alarme_data();
    void alarme();
    void popupAbertoAtualizaSemTocar();
    void excluirApagaOMostradoEOOutroVemDepois();
    void fecharVoltaNaProximaVerificacao();
    void alterarAbreOCadastroNoLembrete();
    void popupDuranteTelaModalRespondeCliques();
    void consultaComFalhaAvisaACadaVerificacao();
    void cadastroListaSoOsDaEstacao();
    void gravarCarimbaOEndereco();
    void dataOuHoraInvalida_data();
    void dataOuHoraInvalida();
};

void TstLembretes::vencimento_data() {
    QTest::addColumn<QString>("relogio");
    QTest::addColumn<QString>("dono");
    QTest::addColumn<bool>("aparece");
    QTest::newRow("um segundo antes") << "05/03/2008 14:29:59" << kEstacao << false;
    QTest::newRow("na hora") << "05/03/2008 14:30:00" << kEstacao << true;
    QTest::newRow("depois") << "05/03/2008 14:31:10" << kEstacao << true;
    QTest::newRow("dia seguinte") << "06/03/2008 00:00:00" << kEstacao << true;
    QTest::newRow("dia anterior mais tarde") << "04/03/2008 23:59:59" << kEstacao << false;
    QTest::newRow("outra estacao") << "05/03/2008 14:30:00" << kOutra << false;
}

// A reminder for 05/03/2008 14:30 on the clock of the row.
void TstLembretes::vencimento() {
    QFETCH(QString, relogio);
    QFETCH(QString, dono);
    QFETCH(bool, aparece);
    Estacao e;
    QVERIFY(e.s.ok);
    e.lembrete("Ligar para a emissora", "2008-03-05", "14:30", dono);
    e.verificar(relogio);
    QCOMPARE(FrmLembretes != nullptr, aparece);
    QCOMPARE(e.sons, aparece ? QStringList{"alarme.wav"} : QStringList{});
    QVERIFY(e.roteiro.mensagens().isEmpty());
    if (!aparece)
        return;
    QVERIFY(FrmLembretes->isVisible());
    QVERIFY(e.w->isVisible());
    QCOMPARE(FrmLembretes->windowTitle(), QStringLiteral("Lembretes"));
    QVERIFY(FrmLembretes->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(!FrmLembretes->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    QCOMPARE(FrmLembretes->Label1->text(), QStringLiteral("Mensagem:"));
    QCOMPARE(e.mensagem(), QStringLiteral("Ligar para a emissora"));
    QCOMPARE(FrmLembretes->BitBtn2->text(), QStringLiteral("Excluir"));
    QCOMPARE(FrmLembretes->BitBtn1->text(), QStringLiteral("Alterar"));
    QCOMPARE(FrmLembretes->BitBtn3->text(), QStringLiteral("Fechar"));
}

void TstLembretes::alarme_data() {
    QTest::addColumn<bool>("arquivo");
    QTest::addColumn<QString>("som");
    QTest::newRow("alarme.wav") << true << "alarme.wav";
    QTest::newRow("sem o arquivo: som padrao") << false << "padrao";
}

void TstLembretes::alarme() {
    QFETCH(bool, arquivo);
    QFETCH(QString, som);
    Estacao e;
    e.alarme(arquivo);
    e.lembrete("Reuniao");
    e.verificar();
    QCOMPARE(e.sons, QStringList{som});
    QVERIFY(FrmLembretes && FrmLembretes->isVisible());
    QCOMPARE(e.mensagem(), QStringLiteral("Reuniao"));
}

// The pop-up that stays open shows the first due reminder of each check
// and sounds only when it first appears.
void TstLembretes::popupAbertoAtualizaSemTocar() {
    Estacao e;
    const int codigo = e.lembrete("Primeiro texto");
    e.verificar();
    QPointer<TFrmLembretes> popup = FrmLembretes;
    QVERIFY(popup);
    e.s.db.exec(QStringLiteral("update TB_LEMBRETES set LEM_MENSAGEM = 'Texto novo' where LEM_CODIGO = %1").arg(codigo));
    e.verificar("05/03/2008 14:31:00");
    QCOMPARE(FrmLembretes, popup.data());
    QCOMPARE(e.mensagem(), QStringLiteral("Texto novo"));
    QCOMPARE(e.sons.size(), 1);
}

void TstLembretes::excluirApagaOMostradoEOOutroVemDepois() {
    Estacao e;
    e.lembrete("Primeiro", "2008-03-05", "10:00");
    e.lembrete("Segundo", "2008-03-05", "11:00");
    e.verificar();
    const QString mostrado = e.mensagem();
    QVERIFY(mostrado == "Primeiro" || mostrado == "Segundo");
    QPointer<TFrmLembretes> popup = FrmLembretes;
    popup->BitBtn2->click();
    QVERIFY(!FrmLembretes);
    Estacao::liberar();
    QVERIFY(!popup);
    QCOMPARE(e.s.db.count("TB_LEMBRETES"), 1);
    QCOMPARE(e.s.db.count("TB_LEMBRETES", QStringLiteral("LEM_MENSAGEM = '%1'").arg(mostrado)), 0);
    QVERIFY(e.roteiro.mensagens().isEmpty());

    e.verificar("05/03/2008 14:31:00");
    QVERIFY(FrmLembretes && FrmLembretes->isVisible());
    QCOMPARE(e.mensagem(), mostrado == "Primeiro" ? QStringLiteral("Segundo") : QStringLiteral("Primeiro"));
    QCOMPARE(e.sons, (QStringList{"alarme.wav", "alarme.wav"}));
}

void TstLembretes::fecharVoltaNaProximaVerificacao() {
    Estacao e;
    e.lembrete("Pagar a conta");
    e.verificar();
    QPointer<TFrmLembretes> popup = FrmLembretes;
    popup->BitBtn3->click();
    QVERIFY(!FrmLembretes);
    Estacao::liberar();
    QVERIFY(!popup);
    QCOMPARE(e.s.db.count("TB_LEMBRETES"), 1);

    e.w->hide();
    e.verificar("05/03/2008 14:31:00");
    QVERIFY(e.w->isVisible());
    QVERIFY(FrmLembretes && FrmLembretes->isVisible());
    QCOMPARE(e.mensagem(), QStringLiteral("Pagar a conta"));
    QCOMPARE(e.sons.size(), 2);
}

void TstLembretes::alterarAbreOCadastroNoLembrete() {
    Estacao e;
    e.lembrete("Futuro 1", "2008-03-06", "09:00");
    const int devido = e.lembrete("Devido", "2008-03-05", "08:00");
    e.lembrete("Futuro 2", "2008-03-07", "09:00");
    e.w->show();
    QVERIFY(QTest::qWaitForWindowExposed(e.w.get()));
    e.verificar();
    e.w->showMinimized();
    FrmLembretes->BitBtn1->click();
    QVERIFY(!FrmLembretes);
    QVERIFY(!e.w->isMinimized());
    TFrmCadLembretes* cad = e.cadastro();
    QVERIFY(cad);
    QCOMPARE(ChamadaExterna, quint8(1));
    QCOMPARE(cad->windowTitle(), QStringLiteral("Cadastro de Lembretes"));
    QCOMPARE(DM->Q_CadLembretes->FieldByName("LEM_CODIGO")->AsInteger(), devido);
    QCOMPARE(DM->Q_CadLembretes->RecordCount(), 3);

    // With the register open it only comes to the front, still on its row.
    DM->Q_CadLembretes->First();
    e.verificar("05/03/2008 14:31:00");
    FrmLembretes->BitBtn1->click();
    QCOMPARE(e.cadastrosAbertos(), 1);
    QVERIFY(e.roteiro.mensagens().isEmpty());
}

// The register opened from the menu is modal; a reminder that comes due
// meanwhile must still be answerable.
void TstLembretes::popupDuranteTelaModalRespondeCliques() {
    Estacao e;
    e.lembrete("Durante o cadastro");
    e.w->show();
    QVERIFY(QTest::qWaitForWindowExposed(e.w.get()));
    bool rodou = false, fechou = false;
    QTimer t;
    t.setInterval(20);
    connect(&t, &QTimer::timeout, [&] {
        auto* cad = qobject_cast<TFrmCadLembretes*>(QApplication::activeModalWidget());
        if (!cad)
            return;
        t.stop();
        rodou = true;
        e.verificar();
        if (FrmLembretes) {
            QVERIFY(QTest::qWaitForWindowExposed(FrmLembretes));
            QPointer<TFrmLembretes> popup = FrmLembretes;
            // Through the window system, where a blocked window loses the click.
            const QPoint centro = popup->BitBtn3->mapTo(popup.data(), popup->BitBtn3->rect().center());
            QTest::mouseClick(popup->windowHandle(), Qt::LeftButton, {}, centro);
            fechou = !FrmLembretes;
        }
        cad->close();
    });
    t.start();
    e.w->Lembretes1Click();
    QVERIFY(rodou);
    QVERIFY(fechou);
    QCOMPARE(e.sons.size(), 1);
}

// A reminder whose time the server cannot read: every check reports it,
// none pops up, and a check never runs inside another one's message.
void TstLembretes::consultaComFalhaAvisaACadaVerificacao() {
    Estacao e;
    e.lembrete("Hora impossivel", "2008-03-05", "25:61");
    int dentro = 0;
    e.roteiro.aoMostrar([&](const msg::Mensagem&) {
        if (dentro++ == 0)
            e.verificar();
    });
    e.verificar();
    QCOMPARE(e.roteiro.mensagens().size(), 1);
    QCOMPARE(e.roteiro.ultima().icone, msg::Icone::Erro);
    QVERIFY2(e.roteiro.ultima().texto.contains("25:61"), qPrintable(e.roteiro.ultima().texto));
    e.verificar("05/03/2008 14:31:00");
    QCOMPARE(e.roteiro.mensagens().size(), 2);
    QVERIFY(!FrmLembretes);
    QVERIFY(e.sons.isEmpty());
    QVERIFY(e.w->TLembretes->isActive());
    QFile log(e.s.db.folder() + "/Erros.log");
    QVERIFY(log.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromLatin1(log.readAll()).count("Tela...........: TLembretes"), 2);
}

// Each workstation lists its own reminders; after its address changes the
// earlier ones are no longer listed.
void TstLembretes::cadastroListaSoOsDaEstacao() {
    Estacao e;
    e.lembrete("Meu 1");
    e.lembrete("De outra", "2008-03-05", "14:30", kOutra);
    e.lembrete("Meu 2", "2008-03-08", "07:15");
    e.w->show();
    TFrmCadLembretes* cad = AbrirFormulario<TFrmCadLembretes>(false, 0);
    QVERIFY(cad);
    QCOMPARE(mensagens(DM->Q_CadLembretes), (QStringList{"Meu 1", "Meu 2"}));
    QVERIFY(cad->SBPrimeiro->isHidden() && cad->SBUltimo->isHidden());
    QCOMPARE(cad->DBGrid1->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Data"));
    QCOMPARE(cad->DBGrid1->model()->headerData(2, Qt::Horizontal).toString(), QStringLiteral("Mensagem"));
    cad->close();
    Estacao::liberar();

    e.ip = kOutra;
    cad = AbrirFormulario<TFrmCadLembretes>(false, 0);
    QCOMPARE(mensagens(DM->Q_CadLembretes), QStringList{"De outra"});
    cad->close();
}

void TstLembretes::gravarCarimbaOEndereco() {
    Estacao e;
    e.w->show();
    QVERIFY(QTest::qWaitForWindowExposed(e.w.get()));
    TFrmCadLembretes* cad = AbrirFormulario<TFrmCadLembretes>(false, 0);
    QVERIFY(mostrar(cad));
    cad->SBNovo->click();
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(cad->DBMemo1));
    QTest::keyClicks(cad->DBMemo1, "Enviar fita");
    digitarEm(cad->DBEdit1, "05032008");
    digitarEm(cad->DBEdit2, "1430");
    cad->SBSalvar->click();
    QVERIFY2(e.roteiro.mensagens().isEmpty(), qPrintable(e.roteiro.textos().join('|')));
    QCOMPARE(DM->Q_CadLembretes->GetState(), dataset::State::Browse);
    QCOMPARE(e.s.db.scalar("select LEM_IP from TB_LEMBRETES").toString(), kEstacao);
    QCOMPARE(e.s.db.scalar("select LEM_HORA from TB_LEMBRETES").toString(), QStringLiteral("14:30"));
    QCOMPARE(e.s.db.scalar("select LEM_MENSAGEM from TB_LEMBRETES").toString(), QStringLiteral("Enviar fita"));
    QCOMPARE(e.s.db.scalar("select LEM_DATA from TB_LEMBRETES").toDateTime(), momento("05/03/2008 00:00:00"));

    // Saved again from a workstation with another address: it moves there.
    e.ip = kOutra;
    cad->SBAlterar->click();
    digitarEm(cad->DBEdit2, "1500");
    cad->SBSalvar->click();
    QCOMPARE(e.s.db.scalar("select LEM_IP from TB_LEMBRETES").toString(), kOutra);
    QCOMPARE(e.s.db.scalar("select LEM_HORA from TB_LEMBRETES").toString(), QStringLiteral("15:00"));
    cad->close();
}

void TstLembretes::dataOuHoraInvalida_data() {
    QTest::addColumn<QString>("data");
    QTest::addColumn<QString>("hora");
    QTest::addColumn<QString>("aviso");
    const QString data = QStringLiteral("Informe uma data válida");
    const QString hora = QStringLiteral("Informe uma hora válida");
    QTest::newRow("31/02") << "31022008" << "1430" << data;
    QTest::newRow("00/00/0000") << "00000000" << "1430" << data;
    QTest::newRow("sem data") << "" << "1430" << data;
    QTest::newRow("25:61") << "05032008" << "2561" << hora;
    QTest::newRow("24:00") << "05032008" << "2400" << hora;
    QTest::newRow("sem hora") << "05032008" << "" << hora;
    QTest::newRow("so a hora") << "05032008" << "14" << hora;
}

// Refused with the message; the reminder stays in editing with what was
// typed, and is saved once corrected.
void TstLembretes::dataOuHoraInvalida() {
    QFETCH(QString, data);
    QFETCH(QString, hora);
    QFETCH(QString, aviso);
    Estacao e;
    e.w->show();
    QVERIFY(QTest::qWaitForWindowExposed(e.w.get()));
    TFrmCadLembretes* cad = AbrirFormulario<TFrmCadLembretes>(false, 0);
    QVERIFY(mostrar(cad));
    cad->SBNovo->click();
    QTest::keyClicks(cad->DBMemo1, "Texto");
    // The wrong box is typed last and keeps the focus for the save.
    const bool dataErrada = aviso.contains("data");
    dataset::DBEdit* errado = dataErrada ? cad->DBEdit1 : cad->DBEdit2;
    if (dataErrada) {
        digitarEm(cad->DBEdit2, hora);
        digitarEm(cad->DBEdit1, data);
    } else {
        digitarEm(cad->DBEdit1, data);
        digitarEm(cad->DBEdit2, hora);
    }
    cad->SBSalvar->click();
    QCOMPARE(e.roteiro.textos(), QStringList{aviso});
    QCOMPARE(DM->Q_CadLembretes->GetState(), dataset::State::Insert);
    QCOMPARE(e.s.db.count("TB_LEMBRETES"), 0);
    QCOMPARE(cad->DBMemo1->toPlainText(), QStringLiteral("Texto"));

    digitarEm(errado, dataErrada ? "05032008" : "0905");
    cad->SBSalvar->click();
    QCOMPARE(e.roteiro.mensagens().size(), 1);
    QCOMPARE(e.s.db.count("TB_LEMBRETES", dataErrada ? "LEM_HORA = '" + hora.left(2) + ":" + hora.mid(2) + "'"
                                                     : QString("LEM_HORA = '09:05'")), 1);
    cad->close();
}

int main(int argc, char** argv) {
    Aplicacao app(argc, argv);
    TstLembretes t;
    return QTest::qExec(&t, argc, argv);
}
#include "tst_lembretes.moc"
