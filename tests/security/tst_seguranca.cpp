#include "SessaoTeste.h"

#include "platform/data/Query.h"
#include "security/UClassSeguranca.h"

#include <QTest>

// The rights record: loading, the new-record copy and the save rules.
class TstSeguranca : public QObject {
    Q_OBJECT
private slots:
    void carregarDireitos();
    void novoDireito_data();
    void novoDireito();
    void gravarDireito_data();
    void gravarDireito();
    void gravarDuasVezesMantemUmaLinha();
    void verificarNaTransacaoDaSessao();
};

void TstSeguranca::carregarDireitos() {
    SessaoTeste s;
    QVERIFY(s.ok);
    s.funcionario(5, "ana", "x");
    s.direito(5, 1101, 1, 0, 1, 0, 1);
    s.direito(5, 1001, 1, 1, 0, 0, 0);
    s.db.exec("UPDATE TB_DIREITOS SET DIR_RELATORIO = NULL WHERE TEL_CODIGO = 1001");
    s.direito(5, 1002);
    s.db.exec("UPDATE TB_DIREITOS SET TEL_MODULO = 1 WHERE TEL_CODIGO = 1002");
    s.direito(77, 1003);  // owner not in TB_FUNCIONARIOS: never seen
    TSeguranca seg(DMBanco->DS_Direitos);
    ListaSeguranca lista = seg.CarregarDireitos(5);
    QCOMPARE(int(lista.size()), 2);
    QCOMPARE(lista[0]->Tela, 1001);
    QCOMPARE(lista[0]->Usuario, 5);
    QCOMPARE(lista[0]->Modulo, 0);
    QCOMPARE(lista[0]->Acesso, 1);
    QCOMPARE(lista[0]->Incluir, 1);
    QCOMPARE(lista[0]->Alterar, 0);
    QCOMPARE(lista[0]->Relatorio, 0);  // NULL reads as 0
    QCOMPARE(lista[1]->Tela, 1101);
    QCOMPARE(lista[1]->Alterar, 1);
    QCOMPARE(lista[1]->Relatorio, 1);
    QVERIFY(!DMBanco->Q_Direitos->Active());
    QVERIFY(seg.CarregarDireitos(77).empty());
}

void TstSeguranca::novoDireito_data() {
    QTest::addColumn<QList<int>>("telas");  // screen codes of the list, flags 1,0,1,1,0 each
    QTest::addColumn<int>("tela");
    QTest::addColumn<bool>("copia");
    QTest::newRow("lista vazia") << QList<int>{} << 1001 << false;
    QTest::newRow("um registro, a tela") << QList<int>{1001} << 1001 << true;
    QTest::newRow("todos maiores") << QList<int>{1002, 1101} << 1001 << false;
    QTest::newRow("no fim da lista") << QList<int>{10, 1001, 1002} << 1002 << true;
    QTest::newRow("ausente no meio") << QList<int>{10, 1003} << 1002 << false;
}

void TstSeguranca::novoDireito() {
    QFETCH(QList<int>, telas);
    QFETCH(int, tela);
    QFETCH(bool, copia);
    ListaSeguranca lista;
    for (int t : telas) {
        auto d = std::make_unique<TSeguranca>();
        d->Tela = t;
        d->Acesso = 1;
        d->Incluir = 0;
        d->Alterar = 1;
        d->Excluir = 1;
        d->Relatorio = 0;
        d->Usuario = 99;
        d->Modulo = 3;
        lista.push_back(std::move(d));
    }
    auto n = TSeguranca::NovoDireito(lista, 8, tela, 0);
    QCOMPARE(n->Usuario, 8);
    QCOMPARE(n->Tela, tela);
    QCOMPARE(n->Modulo, 0);
    QCOMPARE(n->Acesso, copia ? 1 : 0);
    QCOMPARE(n->Incluir, 0);
    QCOMPARE(n->Alterar, copia ? 1 : 0);
    QCOMPARE(n->Excluir, copia ? 1 : 0);
    QCOMPARE(n->Relatorio, 0);
}

void TstSeguranca::gravarDireito_data() {
    QTest::addColumn<bool>("existe");
    QTest::addColumn<int>("tela");
    QTest::addColumn<int>("acesso");
    QTest::addColumn<int>("linhas");   // rows of owner 5 afterwards
    QTest::addColumn<int>("incluir");  // DIR_INCLUIR of the row of tela, when there is one
    QTest::newRow("acesso 0 com linha apaga") << true << 1001 << 0 << 0 << -1;
    QTest::newRow("acesso 0 sem linha nada escreve") << false << 1001 << 0 << 0 << -1;
    QTest::newRow("acesso 1 sem linha insere") << false << 1001 << 1 << 1 << 0;
    QTest::newRow("acesso 1 com linha altera") << true << 1001 << 1 << 1 << 0;
    QTest::newRow("tela 0 nunca escrita") << false << 0 << 1 << 0 << -1;
    QTest::newRow("acesso 2 nada escreve") << false << 1001 << 2 << 0 << -1;
}

void TstSeguranca::gravarDireito() {
    QFETCH(bool, existe);
    QFETCH(int, tela);
    QFETCH(int, acesso);
    QFETCH(int, linhas);
    QFETCH(int, incluir);
    SessaoTeste s;
    QVERIFY(s.ok);
    s.funcionario(5, "ana", "x");
    if (existe)
        s.direito(5, 1001, 1, 1, 1, 1, 1);
    TSeguranca d(DMBanco->DS_Direitos);
    d.Usuario = 5;
    d.Tela = tela;
    d.Acesso = acesso;
    d.Incluir = 0;
    d.Alterar = 1;
    d.Excluir = 0;
    d.Relatorio = 1;
    d.GravarDireito(d);
    DMBanco->Trans_Clipping.commitRetaining();
    QCOMPARE(s.db.count("TB_DIREITOS", "USU_CODIGO = 5"), linhas);
    if (incluir >= 0) {
        QCOMPARE(s.db.scalar("SELECT DIR_INCLUIR FROM TB_DIREITOS WHERE USU_CODIGO = 5").toInt(), incluir);
        QCOMPARE(s.db.scalar("SELECT DIR_ALTERAR + DIR_RELATORIO FROM TB_DIREITOS WHERE USU_CODIGO = 5").toInt(), 2);
        QCOMPARE(s.db.scalar("SELECT TEL_MODULO FROM TB_DIREITOS WHERE USU_CODIGO = 5").toInt(), 0);
    }
}

void TstSeguranca::gravarDuasVezesMantemUmaLinha() {
    SessaoTeste s;
    QVERIFY(s.ok);
    s.funcionario(5, "ana", "x");
    s.direito(5, 1002);  // another screen of the same owner stays as it is
    TSeguranca d(DMBanco->DS_Direitos);
    d.Usuario = 5;
    d.Tela = 1101;
    d.Acesso = 1;
    d.GravarDireito(d);
    DMBanco->Trans_Clipping.commitRetaining();
    const int codigo = s.db.scalar("SELECT DIR_CODIGO FROM TB_DIREITOS WHERE TEL_CODIGO = 1101").toInt();
    QVERIFY(codigo > 0);
    d.Excluir = 1;
    d.GravarDireito(d);
    DMBanco->Trans_Clipping.commitRetaining();
    QCOMPARE(s.db.count("TB_DIREITOS", "USU_CODIGO = 5 AND TEL_CODIGO = 1101"), 1);
    QCOMPARE(s.db.scalar("SELECT DIR_CODIGO FROM TB_DIREITOS WHERE TEL_CODIGO = 1101").toInt(), codigo);
    QCOMPARE(s.db.scalar("SELECT DIR_EXCLUIR FROM TB_DIREITOS WHERE TEL_CODIGO = 1101").toInt(), 1);
    QCOMPARE(s.db.count("TB_DIREITOS", "USU_CODIGO = 5"), 2);
}

void TstSeguranca::verificarNaTransacaoDaSessao() {
    // A right saved and not yet committed counts for this workstation's
    // checks, which read in the session's transaction.
    SessaoTeste s;
    QVERIFY(s.ok);
    s.funcionario(5, "ana", "x");
    DMBanco->UsuarioAtual = 5;
    msg::Roteiro roteiro;
    QVERIFY(!VerificarAcessoSessao(1001, "DIR_ACESSO", false));
    TSeguranca d(DMBanco->DS_Direitos);
    d.Usuario = 5;
    d.Tela = 1001;
    d.Acesso = 1;
    d.GravarDireito(d);
    QVERIFY(VerificarAcessoSessao(1001, "DIR_ACESSO", false));
    QVERIFY(roteiro.mensagens().isEmpty());
}

QTEST_MAIN(TstSeguranca)
#include "tst_seguranca.moc"
