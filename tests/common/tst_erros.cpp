#include "common/Ambiente.h"
#include "common/Aplicacao.h"
#include "common/Mensagens.h"
#include "common/U_Funcoes.h"

#include "platform/core/Exception.h"
#include "platform/firebird/Error.h"
#include "support/SemDireitoDeEscrita.h"

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <stdexcept>
#include <unistd.h>

namespace {

const QByteArray kCabecalho =
    "Vexil Sistemas - Zbvlo Clipping\r\n"
    "Fone: (11) 3555-0142 - E-mail: suporte@vexilsistemas.com.br\r\n"
    "Rua das Ac\xe1" "cias, 1200 - Sala 4 - Centro\r\n"
    "CEP 01310-000 - S\xe3" "o Paulo - SP\r\n"
    "==============================================================\r\n"
    "\r\n";
const QByteArray kSeparador = "--------------------------------------------------------------\r\n\r\n";

QByteArray registro(const QByteArray& dataHora, const QByteArray& tela, const QByteArray& usuario,
                    const QByteArray& tipo, const QByteArray& descricao) {
    return "Data/Hora............: " + dataHora + "\r\n" + "Tela...........: " + tela + "\r\n" +
           "Usuario..........: " + usuario + "\r\n" + "Tipo de Erro...........: " + tipo + "\r\n" +
           "Descri\xe7\xe3o..........: " + descricao + "\r\n" + "Processo....: \r\n" + "\r\n";
}

} // namespace

class TstErros : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void primeiroESegundoRegistro();
    void meiaNoiteOmiteHora();
    void caracteresForaDeWindows1252();
    void falhaAoGravar_data();
    void falhaAoGravar();
    void tratarErro_data();
    void tratarErro();
    void pontoFinal_data();
    void pontoFinal();
    void erroNoCliqueDeBotao();
    void erroNoTimer();
    void erroDentroDeTelaModal();
    void abortoSilencioso();
    void antesDoTratadorSoMostra();

private:
    QByteArray log() const;

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<msg::Roteiro> roteiro_;
};

void TstErros::init() {
    dir_ = std::make_unique<QTemporaryDir>();
    DefinirPastaExecutavel(dir_->path());
    DefinirRelogioLog([] { return QDateTime(QDate(2008, 3, 5), QTime(14, 7, 9)); });
    roteiro_ = std::make_unique<msg::Roteiro>();
    InstalarTratadorErros([] { return 7; });
}

void TstErros::cleanup() {
    RemoverTratadorErros();
    roteiro_.reset();
    DefinirRelogioLog({});
    DefinirPastaExecutavel(QString());
    if (dir_)
        QFile::setPermissions(dir_->path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    dir_.reset();
}

QByteArray TstErros::log() const {
    QFile f(dir_->filePath(QStringLiteral("Erros.log")));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void TstErros::primeiroESegundoRegistro() {
    QCOMPARE(GravarLogErro("FrmClientes", "0", "Ação não permitida", "EIBError", ""), 0);
    const QByteArray primeiro = kCabecalho + registro("05/03/2008 14:07:09", "FrmClientes", "0", "EIBError",
                                                      "A\xe7\xe3o n\xe3o permitida");
    QCOMPARE(log(), primeiro);

    QCOMPARE(GravarLogErro("", "12", "segundo", "EConvertError", ""), 0);
    QCOMPARE(log(), primeiro + kSeparador + registro("05/03/2008 14:07:09", "", "12", "EConvertError", "segundo"));
    QVERIFY(roteiro_->mensagens().isEmpty());
}

void TstErros::meiaNoiteOmiteHora() {
    DefinirRelogioLog([] { return QDateTime(QDate(2009, 12, 31), QTime(0, 0)); });
    QCOMPARE(GravarLogErro("T", "0", "d", "E", ""), 0);
    DefinirRelogioLog([] { return QDateTime(QDate(2009, 12, 31), QTime(0, 0, 1)); });
    QCOMPARE(GravarLogErro("T", "0", "d", "E", ""), 0);
    QCOMPARE(log(), kCabecalho + registro("31/12/2009", "T", "0", "E", "d") + kSeparador +
                        registro("31/12/2009 00:00:01", "T", "0", "E", "d"));
}

void TstErros::caracteresForaDeWindows1252() {
    // The record is written whole; what the code page cannot hold becomes "?".
    QCOMPARE(GravarLogErro("T", "0", QStringLiteral("Москва €"), "E", ""), 0);
    QVERIFY(log().endsWith(registro("05/03/2008 14:07:09", "T", "0", "E", "?????? \x80")));
    // A message of several lines keeps CR LF line ends.
    QCOMPARE(GravarLogErro("T", "0", QStringLiteral("linha 1\nlinha 2\r\nlinha 3\rfim"), "E", ""), 0);
    QVERIFY(log().endsWith(registro("05/03/2008 14:07:09", "T", "0", "E", "linha 1\r\nlinha 2\r\nlinha 3\r\nfim")));
}

void TstErros::falhaAoGravar_data() {
    QTest::addColumn<QString>("caso");
    QTest::newRow("pasta somente leitura") << "somente-leitura";
    QTest::newRow("pasta inexistente") << "inexistente";
    QTest::newRow("sistema de arquivos sem escrita") << "proc";
    QTest::newRow("disco cheio") << "cheio";
    QTest::newRow("Erros.log é uma pasta") << "pasta";
}

void TstErros::falhaAoGravar() {
    QFETCH(QString, caso);
    testsupport::SemDireitoDeEscrita semDireito;
    if (caso == "somente-leitura") {
        QVERIFY(semDireito.ok());
        QVERIFY(QFile::setPermissions(dir_->path(), QFile::ReadOwner | QFile::ExeOwner));
    } else if (caso == "inexistente") {
        DefinirPastaExecutavel(dir_->filePath(QStringLiteral("nao/existe")));
    } else if (caso == "proc") {
        DefinirPastaExecutavel(QStringLiteral("/proc"));
    } else if (caso == "cheio") {
        if (!QFile::exists(QStringLiteral("/dev/full")))
            QSKIP("no /dev/full");
        QVERIFY(QFile::link(QStringLiteral("/dev/full"), dir_->filePath(QStringLiteral("Erros.log"))));
    } else {
        QVERIFY(QDir(dir_->path()).mkdir(QStringLiteral("Erros.log")));
    }
    QCOMPARE(GravarLogErro("T", "0", "d", "E", ""), -1);
    QVERIFY(roteiro_->mensagens().isEmpty());
    // TratarErro still shows its message and swallows the failure.
    TratarErro(QStringLiteral("T"), QStringLiteral("0"), clip::Exception(QStringLiteral("falhou")));
    QCOMPARE(roteiro_->textos(), QStringList{"falhou."});
}

void TstErros::tratarErro_data() {
    QTest::addColumn<int>("tipo");  // 0 conversion, 1 server, 2 dataset, 3 other clip, 4 std
    QTest::addColumn<QString>("mensagem");
    QTest::addColumn<QString>("mostrada");
    QTest::addColumn<bool>("comIconeErro");
    QTest::addColumn<QString>("classe");
    QTest::newRow("data e hora") << 0 << "'32/01/2008 10:00' is not a valid date and time"
                                 << "Informe uma data válida" << false << "EConvertError";
    QTest::newRow("hora") << 0 << "'25:00' is not a valid time" << "Informe uma hora válida" << false
                          << "EConvertError";
    QTest::newRow("data") << 0 << "'31/02/2008' is not a valid date" << "Informe uma data válida" << false
                          << "EConvertError";
    QTest::newRow("outra conversão") << 0 << "'1,2,3' is not a valid floating point value"
                                     << "'1,2,3' is not a valid floating point value." << true << "EConvertError";
    QTest::newRow("foreign key") << 1
                                 << "violation of FOREIGN KEY constraint \"FK_LAN_EMI\" on table \"TB_LANCAMENTO\""
                                 << "Ação não permitida! Existem dependências deste registro" << false << "EIBError";
    QTest::newRow("foreign e primary")
        << 1 << "violation of FOREIGN KEY constraint \"FK_X\" references PRIMARY or UNIQUE KEY"
        << "Ação não permitida! Existem dependências deste registro" << false << "EIBError";
    QTest::newRow("primary") << 1 << "violation of PRIMARY or UNIQUE KEY constraint \"PK_CLI\""
                             << "Já existe um registro com esse código" << false << "EIBError";
    QTest::newRow("update failed") << 1 << "UPDATE FAILED: record changed by another user"
                                   << "Alteração não efetuada" << false << "EIBError";
    QTest::newRow("minúsculas não contam") << 1 << "foreign key" << "foreign key." << true << "EIBError";
    QTest::newRow("outro do servidor") << 1 << "lock conflict on no wait transaction"
                                       << "lock conflict on no wait transaction." << true << "EIBError";
    QTest::newRow("do dataset") << 2 << "Field 'CLI_NOME' must have a value"
                                << "Field 'CLI_NOME' must have a value." << true << "EDatabaseError";
    QTest::newRow("primary fora do banco") << 3 << "PRIMARY" << "PRIMARY." << true << "Exception";
    QTest::newRow("data fora da conversão") << 3 << "x is not a valid date" << "x is not a valid date." << true
                                            << "Exception";
    QTest::newRow("std") << 4 << "vector::_M_range_check" << "vector::_M_range_check." << true
                         << "std::out_of_range";
}

void TstErros::tratarErro() {
    QFETCH(int, tipo);
    QFETCH(QString, mensagem);
    QFETCH(QString, mostrada);
    QFETCH(bool, comIconeErro);
    QFETCH(QString, classe);
    try {
        switch (tipo) {
        case 0: throw clip::EConvertError(mensagem);
        case 1: throw fb::Error(mensagem, {335544466});
        case 2: throw clip::EDatabaseError(mensagem);
        case 3: throw clip::Exception(mensagem);
        default: throw std::out_of_range(mensagem.toStdString());
        }
    } catch (const std::exception& e) {
        TratarErro(QStringLiteral("FrmClientes"), QStringLiteral("3"), e);
    }
    QCOMPARE(roteiro_->mensagens().size(), 1);
    const msg::Mensagem& m = roteiro_->ultima();
    QCOMPARE(m.texto, mostrada);
    QCOMPARE(m.titulo, QStringLiteral("Zbvlo Clipping"));
    QCOMPARE(m.icone, comIconeErro ? msg::Icone::Erro : msg::Icone::Nenhum);
    QCOMPARE(m.botoes, msg::Botoes(QMessageBox::Ok));
    // The log keeps the error's own text and class name.
    const QByteArray l = log();
    QVERIFY2(l.endsWith(registro("05/03/2008 14:07:09", "FrmClientes", "3", classe.toLatin1(),
                                 mensagem.toLatin1())),
             l.constData());
}

void TstErros::pontoFinal_data() {
    QTest::addColumn<QString>("texto");
    QTest::addColumn<QString>("esperado");
    QTest::newRow("vazio") << "" << "";
    QTest::newRow("letra") << "Erro" << "Erro.";
    QTest::newRow("ponto") << "Erro." << "Erro.";
    QTest::newRow("exclamação") << "Erro!" << "Erro!";
    QTest::newRow("vírgula") << "Erro," << "Erro,";
    QTest::newRow("branco") << "Erro " << "Erro ";
    QTest::newRow("parêntese") << "(Erro)" << "(Erro)";
    QTest::newRow("barra") << "a/b/" << "a/b/.";
    QTest::newRow("dígito") << "código 3" << "código 3.";
    QTest::newRow("acento") << "não há" << "não há.";
}

void TstErros::pontoFinal() {
    QFETCH(QString, texto);
    QFETCH(QString, esperado);
    QCOMPARE(ComPontoFinal(texto), esperado);
}

void TstErros::erroNoCliqueDeBotao() {
    QWidget janela;
    janela.setObjectName(QStringLiteral("FrmTeste"));
    auto* b = new QPushButton(QStringLiteral("Gravar"), &janela);
    b->setObjectName(QStringLiteral("BGravar"));
    int cliques = 0;
    connect(b, &QPushButton::clicked, this, [&] {
        ++cliques;
        throw fb::Error(QStringLiteral("violation of PRIMARY or UNIQUE KEY constraint"));
    });
    janela.show();
    QVERIFY(QTest::qWaitForWindowExposed(&janela));
    QTest::mouseClick(b, Qt::LeftButton);
    QCOMPARE(roteiro_->textos(), QStringList{"Já existe um registro com esse código"});
    QVERIFY(log().contains("Tela...........: BGravar\r\nUsuario..........: 7\r\nTipo de Erro...........: EIBError"));
    // The application goes on: the same button works again.
    QTest::mouseClick(b, Qt::LeftButton);
    QCOMPARE(cliques, 2);
    QCOMPARE(roteiro_->mensagens().size(), 2);
    QVERIFY(log().contains(kSeparador));
}

void TstErros::erroNoTimer() {
    QTimer timer;
    timer.setObjectName(QStringLiteral("TmRelogio"));
    int disparos = 0;
    connect(&timer, &QTimer::timeout, this, [&] {
        if (++disparos <= 2)
            throw std::runtime_error("falha no relógio");
        timer.stop();
    });
    timer.start(1);
    QTRY_COMPARE(disparos, 3);
    QCOMPARE(roteiro_->textos(), (QStringList{"falha no relógio.", "falha no relógio."}));
    QVERIFY(log().contains("Tela...........: TmRelogio\r\nUsuario..........: 7\r\nTipo de Erro...........: "
                           "std::runtime_error\r\nDescri\xe7\xe3o..........: falha no rel\xf3gio\r\n"));

    // An unnamed sender gives an empty "Tela".
    QTimer anonimo;
    anonimo.setSingleShot(true);
    connect(&anonimo, &QTimer::timeout, this, [] { throw clip::Exception(QStringLiteral("sem nome")); });
    anonimo.start(0);
    QTRY_COMPARE(roteiro_->mensagens().size(), 3);
    QVERIFY(log().contains("Tela...........: \r\nUsuario"));
}

void TstErros::erroDentroDeTelaModal() {
    QDialog tela;
    tela.setObjectName(QStringLiteral("FrmModal"));
    auto* b = new QPushButton(QStringLiteral("Ok"), &tela);
    b->setObjectName(QStringLiteral("BConfirmar"));
    connect(b, &QPushButton::clicked, this, [] { throw clip::EConvertError(QStringLiteral("'x' is not a valid time")); });
    QTimer::singleShot(0, &tela, [&] {
        QTest::mouseClick(b, Qt::LeftButton);
        QTest::mouseClick(b, Qt::LeftButton);
        tela.accept();
    });
    // The modal loop goes on after each error and ends normally.
    QCOMPARE(tela.exec(), int(QDialog::Accepted));
    QCOMPARE(roteiro_->textos(), (QStringList{"Informe uma hora válida", "Informe uma hora válida"}));
    QCOMPARE(log().count("Tela...........: BConfirmar\r\n"), 2);
}

void TstErros::abortoSilencioso() {
    QPushButton b;
    b.setObjectName(QStringLiteral("BExcluir"));
    connect(&b, &QPushButton::clicked, this, [] { clip::Abort(); });
    b.show();
    QVERIFY(QTest::qWaitForWindowExposed(&b));
    QTest::mouseClick(&b, Qt::LeftButton);
    QTimer t;
    t.setSingleShot(true);
    bool disparou = false;
    connect(&t, &QTimer::timeout, this, [&] { disparou = true; clip::Abort(); });
    t.start(0);
    QTRY_VERIFY(disparou);
    QVERIFY(roteiro_->mensagens().isEmpty());
    QVERIFY(!QFile::exists(dir_->filePath(QStringLiteral("Erros.log"))));
}

void TstErros::antesDoTratadorSoMostra() {
    RemoverTratadorErros();
    QTimer t;
    t.setObjectName(QStringLiteral("TmCedo"));
    t.setSingleShot(true);
    connect(&t, &QTimer::timeout, this, [] { throw fb::Error(QStringLiteral("violation of FOREIGN KEY")); });
    t.start(0);
    QTRY_COMPARE(roteiro_->mensagens().size(), 1);
    // The generic display, not the translation, and nothing logged.
    QCOMPARE(roteiro_->ultima().texto, QStringLiteral("violation of FOREIGN KEY."));
    QCOMPARE(roteiro_->ultima().icone, msg::Icone::Erro);
    QVERIFY(!QFile::exists(dir_->filePath(QStringLiteral("Erros.log"))));
}

int main(int argc, char** argv) {
    Aplicacao app(argc, argv);
    TstErros t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_erros.moc"
