#include "support/TempDatabase.h"

#include "common/Mensagens.h"
#include "platform/firebird/Attachment.h"
#include "security/UClassSeguranca.h"

#include <QTest>

using testsupport::TempDatabase;

// The check routine alone, straight on the database.
class TstVerificarAcesso : public QObject {
    Q_OBJECT
private slots:
    void usuarioZeroNaoConsulta();
    void leituraDoDireito_data();
    void leituraDoDireito();
    void mensagemDeRecusa();
    void colunaDesconhecida();
};

void TstVerificarAcesso::usuarioZeroNaoConsulta() {
    // A connection that was never opened: any query would throw.
    fb::Attachment semConexao;
    msg::Roteiro roteiro;
    for (const char* campo : {"DIR_ACESSO", "DIR_INCLUIR", "DIR_ALTERAR", "DIR_EXCLUIR", "QUALQUER"})
        QVERIFY(VerificarAcesso(semConexao, 0, 7, 0, 1001, QString::fromLatin1(campo), true));
    QVERIFY(roteiro.mensagens().isEmpty());
}

void TstVerificarAcesso::leituraDoDireito_data() {
    QTest::addColumn<int>("usuario");
    QTest::addColumn<int>("perfil");
    QTest::addColumn<int>("tela");
    QTest::addColumn<QString>("campo");
    QTest::addColumn<bool>("esperado");
    // Rows below: user 5 (own rows), profile 9, user 6 whose profile is 9.
    QTest::newRow("próprio acesso") << 5 << 0 << 1001 << "DIR_ACESSO" << true;
    QTest::newRow("próprio, perfil nulo lido como 0") << 5 << 0 << 1001 << "DIR_INCLUIR" << true;
    QTest::newRow("flag 0 nega") << 5 << 0 << 1001 << "DIR_ALTERAR" << false;
    QTest::newRow("flag 2 nega") << 5 << 0 << 1001 << "DIR_EXCLUIR" << false;
    QTest::newRow("flag nula nega") << 5 << 0 << 1002 << "DIR_INCLUIR" << false;
    QTest::newRow("sem linha nega") << 5 << 0 << 1003 << "DIR_ACESSO" << false;
    QTest::newRow("outro módulo não conta") << 5 << 0 << 1004 << "DIR_ACESSO" << false;
    QTest::newRow("perfil vence os próprios") << 5 << 9 << 1001 << "DIR_ACESSO" << false;
    QTest::newRow("perfil concede") << 5 << 9 << 1003 << "DIR_ACESSO" << true;
    QTest::newRow("perfil 0 usa os próprios") << 6 << 0 << 1003 << "DIR_ACESSO" << true;
    QTest::newRow("perfil negativo usa os próprios") << 6 << -1 << 1003 << "DIR_ACESSO" << true;
    QTest::newRow("minúsculas na coluna") << 5 << 0 << 1001 << "dir_acesso" << true;
}

void TstVerificarAcesso::leituraDoDireito() {
    QFETCH(int, usuario);
    QFETCH(int, perfil);
    QFETCH(int, tela);
    QFETCH(QString, campo);
    QFETCH(bool, esperado);
    TempDatabase db;
    db.exec("INSERT INTO TB_DIREITOS (DIR_CODIGO, USU_CODIGO, TEL_MODULO, TEL_CODIGO, DIR_ACESSO, DIR_INCLUIR, "
            "DIR_ALTERAR, DIR_EXCLUIR, DIR_RELATORIO) VALUES (1, 5, 0, 1001, 1, 1, 0, 2, 0)");
    db.exec("INSERT INTO TB_DIREITOS (DIR_CODIGO, USU_CODIGO, TEL_MODULO, TEL_CODIGO, DIR_ACESSO) "
            "VALUES (2, 5, 0, 1002, 1)");
    db.exec("INSERT INTO TB_DIREITOS (DIR_CODIGO, USU_CODIGO, TEL_MODULO, TEL_CODIGO, DIR_ACESSO) "
            "VALUES (3, 5, 1, 1004, 1)");
    db.exec("INSERT INTO TB_DIREITOS (DIR_CODIGO, USU_CODIGO, TEL_MODULO, TEL_CODIGO, DIR_ACESSO) "
            "VALUES (4, 9, 0, 1003, 1)");
    db.exec("INSERT INTO TB_DIREITOS (DIR_CODIGO, USU_CODIGO, TEL_MODULO, TEL_CODIGO, DIR_ACESSO) "
            "VALUES (5, 6, 0, 1003, 1)");
    msg::Roteiro roteiro;
    QCOMPARE(VerificarAcesso(db.attachment(), usuario, perfil, 0, tela, campo, false), esperado);
    QVERIFY(roteiro.mensagens().isEmpty());
}

void TstVerificarAcesso::mensagemDeRecusa() {
    TempDatabase db;
    msg::Roteiro roteiro;
    QVERIFY(!VerificarAcesso(db.attachment(), 5, 0, 0, 1001, "DIR_ACESSO", true));
    QCOMPARE(roteiro.mensagens().size(), 1);
    QCOMPARE(roteiro.ultima().texto,
             QStringLiteral("Você não possui permissão para acessar esta rotina!\r\r"
                            "Verifique junto a diretoria a possibilidade de acesso."));
    QVERIFY(!roteiro.ultima().texto.contains('\n'));
    QCOMPARE(roteiro.ultima().icone, msg::Icone::Nenhum);
}

void TstVerificarAcesso::colunaDesconhecida() {
    TempDatabase db;
    msg::Roteiro roteiro;
    QVERIFY_THROWS_EXCEPTION(std::exception,
                             VerificarAcesso(db.attachment(), 5, 0, 0, 1001, "DIR_ACESSO from TB_EMPRESA --", true));
    QVERIFY(roteiro.mensagens().isEmpty());
}

QTEST_MAIN(TstVerificarAcesso)
#include "tst_verificaracesso.moc"
