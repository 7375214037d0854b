#include "support/SemDireitoDeEscrita.h"
#include "support/TempDatabase.h"

#include "app/Inicializacao.h"
#include "app/U_DMBanco.h"
#include "common/Ambiente.h"
#include "common/Aplicacao.h"
#include "common/Mensagens.h"
#include "common/U_Funcoes.h"
#include "platform/data/DataSet.h"
#include "platform/data/Query.h"
#include "screens/base/U_Principal.h"
#include "screens/maintenance/U_Backup.h"
#include "screens/registers/U_Configuracao.h"
#include "screens/registers/U_Emissoras.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

template <class T>
T* telaAberta(TFrmPrincipal& w) {
    for (QMdiSubWindow* s : w.MDIArea->subWindowList())
        if (auto* t = qobject_cast<T*>(s->widget())) return t;
    return nullptr;
}

// The application started on the test database's executable folder, with
// its main window shown (no employee: no login).
struct Aplicativo {
    explicit Aplicativo(testsupport::TempDatabase& db) {
        DefinirPastaExecutavel(db.folder());
        IniciarAplicacao();
        ok = CriarModulosDados();
        TFrmPrincipal::Encerrar = [this] { ++encerrou; };
        TFrmBackup::Encerrar = [] {};
        principal = std::make_unique<TFrmPrincipal>();
        principal->show();
    }
    ~Aplicativo() {
        principal.reset();
        TFrmPrincipal::Encerrar = [] {};
        RemoverTratadorErros();
        DefinirJanelaPrincipal(nullptr);
        LiberarModulosDados();
        DefinirPastaExecutavel(QString());
    }
    bool ok = false;
    int encerrou = 0;
    std::unique_ptr<TFrmPrincipal> principal;
};

} // namespace

class TstFalhas : public QObject {
    Q_OBJECT
private slots:
    void pastaSomenteLeitura_data();
    void pastaSomenteLeitura();
    void semPastaDeSkins();
};

void TstFalhas::pastaSomenteLeitura_data() {
    QTest::addColumn<bool>("somenteLeitura");
    QTest::newRow("pasta gravável") << false;
    QTest::newRow("pasta somente leitura") << true;
}

// Erros.log cannot be written: the user sees the same messages, nothing
// breaks, and closing ends after the backup's failure.
void TstFalhas::pastaSomenteLeitura() {
    QFETCH(bool, somenteLeitura);
    testsupport::TempDatabase db;
    db.exec("insert into TB_EMISSORAS (EMI_CODIGO, EMI_NOME) values (1, 'RADIO X')");
    db.exec("insert into TB_PROGRAMAS (PRG_CODIGO, PRG_NOME, EMI_CODIGO) values (10, 'JORNAL Y', 1)");
    const QString log = QDir(db.folder()).filePath(QStringLiteral("Erros.log"));
    testsupport::SemDireitoDeEscrita semDireito;
    QVERIFY(semDireito.ok());
    if (somenteLeitura)
        QVERIFY(QFile::setPermissions(db.folder(), QFile::ReadOwner | QFile::ExeOwner));
    {
        msg::Roteiro roteiro;
        Aplicativo app(db);
        QVERIFY(app.ok);
        QVERIFY(roteiro.mensagens().isEmpty());
        app.principal->Emissoras1->trigger();
        TFrmEmissoras* emissoras = telaAberta<TFrmEmissoras>(*app.principal);
        QVERIFY(emissoras);

        // A station that still has programs cannot go.
        roteiro.responder(QMessageBox::Yes).responder(QMessageBox::Yes);
        emissoras->SBExcluir->click();
        QTest::qWait(0);
        QCOMPARE(roteiro.textos().last(), QStringLiteral("Ação não permitida! Existem dependências deste registro"));
        QCOMPARE(emissoras->Q_Emissoras->RecordCount(), 1);
        // A station without its name is refused and stays in editing.
        roteiro.limpar();
        emissoras->SBNovo->click();
        emissoras->SBSalvar->click();
        QTest::qWait(0);
        QCOMPARE(roteiro.mensagens().size(), 1);
        const QString obrigatorio = roteiro.textos().first();
        QVERIFY2(obrigatorio.contains(QLatin1String("EMI_NOME")), qPrintable(obrigatorio));
        QVERIFY(emissoras->Q_Emissoras->IsEditing());
        emissoras->SBCancelar->click();

        QCOMPARE(QFile::exists(log), !somenteLeitura);
        if (!somenteLeitura) {
            QFile f(log);
            QVERIFY(f.open(QIODevice::ReadOnly));
            const QByteArray texto = f.readAll();
            QVERIFY(texto.contains("EMI_NOME"));
            QVERIFY(texto.contains("FOREIGN KEY"));
        }

        roteiro.limpar();
        app.principal->close();
        QCOMPARE(roteiro.textos(), QStringList{somenteLeitura ? QStringLiteral("Não foi possível efetuar o Backup!")
                                                              : QStringLiteral("Backup realizado com sucesso!")});
        QCOMPARE(app.encerrou, 1);
    }
    QVERIFY(QFile::setPermissions(db.folder(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
}

// No skins folder at all: the standard look, the settings screen offers
// only "Nenhum", and nothing is reported.
void TstFalhas::semPastaDeSkins() {
    testsupport::TempDatabase db;
    QVERIFY(QDir(QDir(db.folder()).filePath(QStringLiteral("skins"))).removeRecursively());
    {
        QFile ini(QDir(db.folder()).filePath(QStringLiteral("Skin.ini")));
        QVERIFY(ini.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ini.write("[Skin]\r\nSkin=Escuro\r\n");
    }
    msg::Roteiro roteiro;
    Aplicativo app(db);
    QVERIFY(app.ok);
    QCOMPARE(qApp->styleSheet(), QString());
    bool viu = false;
    QTimer::singleShot(0, [&] {
        auto* c = qobject_cast<TFrmConfiguracao*>(QApplication::activeModalWidget());
        if (!c) return;
        viu = true;
        QStringList itens;
        for (int i = 0; i < c->cbSkin->count(); ++i) itens << c->cbSkin->itemText(i);
        QCOMPARE(itens, QStringList{QStringLiteral("Nenhum")});
        c->close();
    });
    app.principal->EfeitosVisuais2->trigger();
    QVERIFY(viu);
    QVERIFY(roteiro.mensagens().isEmpty());
}

// The embedded engine's own exit handler can hang at process exit once every
// database is gone; the result is final by then.
int main(int argc, char** argv) {
    int r;
    {
        Aplicacao app(argc, argv);
        TstFalhas t;
        r = QTest::qExec(&t, argc, argv);
    }
    std::fflush(nullptr);
    std::_Exit(r);
}

#include "tst_falhas.moc"
