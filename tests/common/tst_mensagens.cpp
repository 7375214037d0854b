#include "common/Ambiente.h"
#include "common/Mensagens.h"

#include <QAbstractButton>
#include <QApplication>
#include <QTest>
#include <QTimer>

namespace {

// Runs f on the message box once it is open.
void naCaixa(std::function<void(QMessageBox*)> f) {
    auto* t = new QTimer;
    t->setInterval(5);
    QObject::connect(t, &QTimer::timeout, [t, f] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            t->stop();
            t->deleteLater();
            f(box);
        }
    });
    t->start();
}

QStringList textosDosBotoes(QMessageBox* box) {
    QStringList r;
    for (QAbstractButton* b : box->buttons())
        r << b->text();
    r.sort();
    return r;
}

} // namespace

class TstMensagens : public QObject {
    Q_OBJECT
private slots:
    void perguntaReal_data();
    void perguntaReal();
    void caixaSimplesReal();
    void roteiroRegistraEResponde();
    void dialogosDeArquivo();
};

void TstMensagens::perguntaReal_data() {
    QTest::addColumn<int>("padrao");
    QTest::addColumn<int>("tecla");
    QTest::addColumn<int>("esperado");
    QTest::newRow("Enter no padrão Não") << int(QMessageBox::No) << int(Qt::Key_Return) << int(QMessageBox::No);
    QTest::newRow("Enter no padrão Sim") << int(QMessageBox::Yes) << int(Qt::Key_Return) << int(QMessageBox::Yes);
    QTest::newRow("Esc") << int(QMessageBox::Yes) << int(Qt::Key_Escape) << int(QMessageBox::No);
}

void TstMensagens::perguntaReal() {
    QFETCH(int, padrao);
    QFETCH(int, tecla);
    QFETCH(int, esperado);
    QString titulo;
    QStringList botoes;
    Qt::WindowModality modalidade = Qt::NonModal;
    QMessageBox::Icon icone = QMessageBox::NoIcon;
    naCaixa([&](QMessageBox* box) {
        titulo = box->windowTitle();
        botoes = textosDosBotoes(box);
        modalidade = box->windowModality();
        icone = box->icon();
        QTest::keyClick(box, Qt::Key(tecla));
    });
    const msg::Botao r = msg::Perguntar(QStringLiteral("Confirma a exclusão?"), QMessageBox::Yes | QMessageBox::No,
                                        msg::Botao(padrao));
    QCOMPARE(int(r), esperado);
    QCOMPARE(titulo, QStringLiteral("Confirmação"));
    QCOMPARE(botoes, (QStringList{"&Não", "&Sim"}));
    QCOMPARE(modalidade, Qt::ApplicationModal);
    QCOMPARE(icone, QMessageBox::Question);
}

void TstMensagens::caixaSimplesReal() {
    QString titulo, texto;
    QMessageBox::Icon icone = QMessageBox::Critical;
    naCaixa([&](QMessageBox* box) {
        titulo = box->windowTitle();
        texto = box->text();
        icone = box->icon();
        QTest::keyClick(box, Qt::Key_Return);
    });
    msg::Informar(QStringLiteral("Registro gravado"));
    QCOMPARE(titulo, TituloAplicacao());
    QCOMPARE(texto, QStringLiteral("Registro gravado"));
    QCOMPARE(icone, QMessageBox::NoIcon);
}

void TstMensagens::roteiroRegistraEResponde() {
    msg::Roteiro r;
    r.responder(QMessageBox::No);
    QVERIFY(!msg::Confirmar(QStringLiteral("Gravar?")));
    // Without a scripted answer the default button is taken.
    QCOMPARE(msg::Perguntar(QStringLiteral("Excluir?"), QMessageBox::Yes | QMessageBox::No, QMessageBox::No),
             QMessageBox::No);
    msg::Avisar(QStringLiteral("Existem pedidos deste cliente"));
    msg::InformarErro(QStringLiteral("falhou."));
    QCOMPARE(r.textos(), (QStringList{"Gravar?", "Excluir?", "Existem pedidos deste cliente", "falhou."}));
    QCOMPARE(r.mensagens()[0].titulo, QStringLiteral("Confirmação"));
    QVERIFY(r.mensagens()[0].modalTarefa);
    QCOMPARE(r.mensagens()[2].titulo, QStringLiteral("Atenção"));
    QCOMPARE(r.mensagens()[2].icone, msg::Icone::Aviso);
    QCOMPARE(r.mensagens()[3].titulo, QStringLiteral("Zbvlo Clipping"));
    QCOMPARE(r.mensagens()[3].icone, msg::Icone::Erro);
}

void TstMensagens::dialogosDeArquivo() {
    msg::Roteiro r;
    r.responderArquivo(QStringLiteral("/tmp/a.wav"));
    QCOMPARE(msg::AbrirArquivo(nullptr, QStringLiteral("Abrir"), QStringLiteral("/tmp"), QStringLiteral("*.wav")),
             QStringLiteral("/tmp/a.wav"));
    QCOMPARE(msg::EscolherPasta(nullptr, QStringLiteral("Pasta")), QString());
    QCOMPARE(r.dialogos().size(), 2);
    QCOMPARE(r.dialogos()[0].tipo, msg::DialogoArquivo::Tipo::Abrir);
    QCOMPARE(r.dialogos()[0].filtro, QStringLiteral("*.wav"));
    QCOMPARE(r.dialogos()[1].tipo, msg::DialogoArquivo::Tipo::EscolherPasta);
}

QTEST_MAIN(TstMensagens)
#include "tst_mensagens.moc"
