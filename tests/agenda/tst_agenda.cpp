#include "registers/SessaoCadastro.h"

#include "app/U_Dm.h"
#include "common/Aplicacao.h"
#include "platform/core/Exception.h"
#include "platform/data/Query.h"
#include "platform/data/widgets/DBControls.h"
#include "platform/data/widgets/DBGrid.h"
#include "platform/firebird/Statement.h"
#include "screens/agenda/U_Agenda.h"

#include <QRadioButton>

namespace {

bool pressionar(TFrmAgenda& tela, QAbstractButton* botao) {
    try {
        return tela.Pressionar(botao);
    } catch (const clip::EAbort&) {
        return false;
    }
}

void mostrar(QWidget& tela) {
    tela.show();
    QApplication::setActiveWindow(&tela);
    QVERIFY(QTest::qWaitForWindowActive(&tela));
}

// The names the agenda lists, in its order.
QStringList nomes() {
    QStringList l;
    dataset::Query* q = DM->Q_Agenda;
    q->First();
    while (!q->Eof()) {
        l << q->FieldByName(QStringLiteral("AGE_NOME"))->AsString();
        q->Next();
    }
    return l;
}

// Picks an item of a drop-down list as a click in its list does.
void escolher(dataset::DBComboBox* lista, const QString& texto) {
    const int i = lista->findText(texto);
    QVERIFY2(i >= 0, qPrintable(texto));
    lista->setCurrentIndex(i);
    emit lista->activated(i);
}

void contato(SessaoCadastro& s, int codigo, const QString& nome, const QString& cidade, const QString& fone,
             const QString& celular) {
    auto valor = [](const QString& t) { return t.isNull() ? QStringLiteral("NULL") : "'" + QString(t).replace("'", "''") + "'"; };
    s.db.exec(QStringLiteral("insert into TB_AGENDA (AGE_CODIGO, AGE_NOME, AGE_CIDADE, AGE_TELEFONE, AGE_CELULAR) "
                             "values (%1, %2, %3, %4, %5)")
                  .arg(codigo)
                  .arg(valor(nome), valor(cidade), valor(fone), valor(celular)));
}

// Contacts inserted in an order that is not the names' order.
void contatos(SessaoCadastro& s) {
    contato(s, 1, "Vasil Petrov", "Santos", "3222-1000", QString());
    contato(s, 2, "Ana Silva", QString(), "3222-2000", "9911-0000");
    contato(s, 3, "O'Neil", "São Paulo", QString(), "9922-0000");
    contato(s, 4, "José da Conceição", "Mogi", "3222-4000", QString());
    contato(s, 5, "Brasil Ltda", "São Vicente", "1111", QString());
    s.db.exec("set generator GEN_AGENDA to 5");
}

} // namespace

class TstAgenda : public QObject {
    Q_OBJECT
private slots:
    void telaEDataset();
    void pesquisa_data();
    void pesquisa();
    void pesquisaFicaNoDataset();
    void novoContato();
    void aniversario_data();
    void aniversario();
    void apagarAniversario();
    void nomeObrigatorio();
    void sairDaObservacaoPerguntaGravar();
    void clienteCopiadoAparece();
    void aniversariantes_data();
    void aniversariantes();
};

void TstAgenda::telaEDataset() {
    SessaoCadastro s;
    contatos(s);
    dataset::Query* q = DM->Q_Agenda;
    QCOMPARE(q->SQL.Count(), 3);
    QCOMPARE(q->SQL[0], QStringLiteral("SELECT * FROM TB_AGENDA"));
    QCOMPARE(q->SQL[1], QStringLiteral("ORDER BY AGE_NOME"));
    QCOMPARE(q->SQL[2], QString());

    TFrmAgenda tela;
    mostrar(tela);
    QCOMPARE(tela.windowTitle(), QStringLiteral("Agenda"));
    QCOMPARE(tela.Tag(), 1103);
    // Opening reloads the initial statement: every contact by name.
    QCOMPARE(nomes(), (QStringList{"Ana Silva", "Brasil Ltda", "José da Conceição", "O'Neil", "Vasil Petrov"}));
    QCOMPARE(QApplication::focusWidget(), tela.EdPesquisa);
    QCOMPARE(tela.RGLocalizar->ItemIndex(), 0);
    QCOMPARE(tela.RGLocalizar->Items(), (QStringList{"Nome", "Cidade", "Fone", "Celular"}));
    QCOMPARE(tela.DBComboBox1->count(), 27);
    QCOMPARE(tela.DBComboBox1->itemText(0), QStringLiteral("AC"));
    QCOMPARE(tela.DBComboBox1->itemText(26), QStringLiteral("TO"));
    QCOMPARE(tela.DBComboBox3->count(), 31);
    QCOMPARE(tela.DBComboBox4->count(), 12);
    QCOMPARE(tela.DBComboBox4->itemText(11), QStringLiteral("12"));
    QCOMPARE(tela.DBGrid1->Columns().size(), 3);
    QCOMPARE(tela.DBGrid1->Columns()[2].FieldName, QStringLiteral("AGE_CELULAR"));
    QVERIFY(!(tela.DBGrid1->focusPolicy() & Qt::TabFocus));
    QVERIFY(!tela.PFundo->isEnabled());
}

void TstAgenda::pesquisa_data() {
    QTest::addColumn<int>("opcao");
    QTest::addColumn<QString>("texto");
    QTest::addColumn<QString>("condicao");
    QTest::addColumn<QStringList>("achados");
    QTest::newRow("nome: sil")
        << 0 << "sil" << "Upper(Age_Nome) LIKE '%SIL%'" << QStringList{"Ana Silva", "Brasil Ltda", "Vasil Petrov"};
    QTest::newRow("nome vazio: todos")
        << 0 << "" << "Upper(Age_Nome) LIKE '%%'"
        << QStringList{"Ana Silva", "Brasil Ltda", "José da Conceição", "O'Neil", "Vasil Petrov"};
    QTest::newRow("cidade vazia: sem nulos") << 1 << "" << "Upper(Age_Cidade) LIKE '%%'"
                                             << QStringList{"Brasil Ltda", "José da Conceição", "O'Neil", "Vasil Petrov"};
    QTest::newRow("cidade acentuada") << 1 << "são" << "Upper(Age_Cidade) LIKE '%SÃO%'"
                                      << QStringList{"Brasil Ltda", "O'Neil"};
    QTest::newRow("fone") << 2 << "3222" << "Upper(Age_Telefone) LIKE '%3222%'"
                          << QStringList{"Ana Silva", "José da Conceição", "Vasil Petrov"};
    QTest::newRow("celular") << 3 << "99" << "Upper(Age_Celular) LIKE '%99%'" << QStringList{"Ana Silva", "O'Neil"};
    QTest::newRow("acentos") << 0 << "josé da conceição" << "Upper(Age_Nome) LIKE '%JOSÉ DA CONCEIÇÃO%'"
                             << QStringList{"José da Conceição"};
    QTest::newRow("sem acento não acha") << 0 << "JOSE" << "Upper(Age_Nome) LIKE '%JOSE%'" << QStringList{};
    QTest::newRow("apóstrofo") << 0 << "o'n" << "Upper(Age_Nome) LIKE '%O''N%'" << QStringList{"O'Neil"};
    QTest::newRow("injeção") << 0 << "'; delete from TB_AGENDA; --"
                             << "Upper(Age_Nome) LIKE '%''; DELETE FROM TB_AGENDA; --%'" << QStringList{};
}

void TstAgenda::pesquisa() {
    QFETCH(int, opcao);
    QFETCH(QString, texto);
    QFETCH(QString, condicao);
    QFETCH(QStringList, achados);
    SessaoCadastro s;
    contatos(s);
    TFrmAgenda tela;
    mostrar(tela);
    tela.RGLocalizar->findChildren<QRadioButton*>().at(opcao)->click();
    QCOMPARE(tela.RGLocalizar->ItemIndex(), opcao);
    digitar(tela.EdPesquisa, texto);
    dataset::Query* q = DM->Q_Agenda;
    QCOMPARE(q->SQL.Count(), 2);
    QCOMPARE(q->SQL[0], QStringLiteral("Select * from tb_Agenda where "));
    QCOMPARE(q->SQL[1], condicao);
    QVERIFY(q->Active());
    QStringList vistos = nomes();
    // No ordering: the server's order.
    vistos.sort();
    QCOMPARE(vistos, achados);
    QCOMPARE(s.db.count("TB_AGENDA"), 5);
}

// Every key stroke searches; the last statement outlives the screen.
void TstAgenda::pesquisaFicaNoDataset() {
    SessaoCadastro s;
    contatos(s);
    {
        TFrmAgenda tela;
        mostrar(tela);
        QStringList porTecla;
        for (QChar c : QStringLiteral("SIL")) {
            digitar(tela.EdPesquisa, QString(c));
            porTecla << QString::number(nomes().size());
        }
        QCOMPARE(porTecla, (QStringList{"4", "3", "3"}));
        tela.close();
    }
    TFrmAgenda tela;
    mostrar(tela);
    QVERIFY(tela.EdPesquisa->text().isEmpty());
    QCOMPARE(DM->Q_Agenda->SQL[1], QStringLiteral("Upper(Age_Nome) LIKE '%SIL%'"));
    QCOMPARE(nomes().size(), 3);
    tela.RGLocalizar->findChildren<QRadioButton*>().at(1)->click();
    QCOMPARE(nomes().size(), 4);
}

void TstAgenda::novoContato() {
    SessaoCadastro s;
    s.db.exec("set generator GEN_AGENDA to 40");
    TFrmAgenda tela;
    mostrar(tela);
    QVERIFY(pressionar(tela, tela.SBNovo));
    QCOMPARE(QApplication::focusWidget(), tela.DBNome);
    QCOMPARE(DM->Q_Agenda->FieldByName("AGE_CODIGO")->AsInteger(), 41);
    // A search would reopen the dataset and drop the new contact.
    QVERIFY(!tela.EdPesquisa->isEnabled());
    QVERIFY(!tela.RGLocalizar->isEnabled());
    digitar(tela.DBNome, QStringLiteral("Maria Antônia"));
    digitar(tela.DBEdit2, QStringLiteral("Rua das Flores, 10"));
    digitar(tela.DBEdit3, QStringLiteral("Centro"));
    digitar(tela.DBEdit4, QStringLiteral("Santos"));
    escolher(tela.DBComboBox1, "SP");
    tela.DBEdit5->setFocus();
    digitar(tela.DBEdit5, QStringLiteral("11222333"));
    digitar(tela.DBEdit9, QStringLiteral("3222-0000"));
    digitar(tela.DBEdit6, QStringLiteral("3222-0001"));
    digitar(tela.DBEdit14, QStringLiteral("9999-0000"));
    digitar(tela.DBEdit13, QStringLiteral("Maria@Exemplo.COM"));
    digitar(tela.DBEdit1, QStringLiteral("WWW.Exemplo.com"));
    digitar(tela.DBEdit7, QStringLiteral("Maria@MSN"));
    digitar(tela.DBEdit8, QStringLiteral("MariaA"));
    escolher(tela.DBComboBox3, "29");
    escolher(tela.DBComboBox4, "2");
    tela.DBMemo1->setPlainText(QStringLiteral("Prefere ligações à tarde"));
    tela.DBMemo1->UpdateRecord();
    QVERIFY(pressionar(tela, tela.SBSalvar));
    QVERIFY(s.roteiro.textos().isEmpty());
    QVERIFY(tela.EdPesquisa->isEnabled());

    fb::Attachment outra = s.db.connectAgain();
    fb::Transaction tra(outra);
    fb::Statement st(tra, "select AGE_NOME, AGE_ENDERECO, AGE_BAIRRO, AGE_CIDADE, AGE_UF, AGE_CEP, AGE_TELEFONE, "
                          "AGE_FAX, AGE_CELULAR, AGE_EMAIL, AGE_WEB, AGE_MSN, AGE_SKYPE, AGE_DIAANIVERSARIO, "
                          "AGE_MESANIVERSARIO, AGE_OBS from TB_AGENDA where AGE_CODIGO = 41");
    st.open();
    QVERIFY(st.fetch());
    QStringList valores;
    for (int i = 0; i < 16; ++i)
        valores << st.value(i).toString();
    QCOMPARE(valores, (QStringList{"Maria Antônia", "Rua das Flores, 10", "Centro", "Santos", "SP", "11.222-333",
                                   "3222-0000", "3222-0001", "9999-0000", "maria@exemplo.com", "www.exemplo.com",
                                   "maria@msn", "mariaa", "29", "2", "Prefere ligações à tarde"}));
}

void TstAgenda::aniversario_data() {
    QTest::addColumn<QVariant>("dia");
    QTest::addColumn<QVariant>("mes");
    QTest::addColumn<QString>("mensagem");
    const QVariant nada;
    QTest::newRow("29 de fevereiro") << QVariant(29) << QVariant(2) << QString();
    QTest::newRow("31 de dezembro") << QVariant(31) << QVariant(12) << QString();
    QTest::newRow("nenhum") << nada << nada << QString();
    QTest::newRow("30 de fevereiro") << QVariant(30) << QVariant(2)
                                     << "Data de aniversário inválida: o mês 2 não tem o dia 30!";
    QTest::newRow("31 de abril") << QVariant(31) << QVariant(4)
                                 << "Data de aniversário inválida: o mês 4 não tem o dia 31!";
    QTest::newRow("só o dia") << QVariant(5) << nada << "Informe o dia e o mês do aniversário!";
    QTest::newRow("só o mês") << nada << QVariant(5) << "Informe o dia e o mês do aniversário!";
    QTest::newRow("mês 13") << QVariant(1) << QVariant(13) << "Data de aniversário inválida!";
    QTest::newRow("dia 0") << QVariant(0) << QVariant(1) << "Data de aniversário inválida!";
}

void TstAgenda::aniversario() {
    QFETCH(QVariant, dia);
    QFETCH(QVariant, mes);
    QFETCH(QString, mensagem);
    SessaoCadastro s;
    TFrmAgenda tela;
    mostrar(tela);
    QVERIFY(pressionar(tela, tela.SBNovo));
    digitar(tela.DBNome, QStringLiteral("Fulano"));
    dataset::Query* q = DM->Q_Agenda;
    q->FieldByName("AGE_DIAANIVERSARIO")->SetValue(dia);
    q->FieldByName("AGE_MESANIVERSARIO")->SetValue(mes);
    QCOMPARE(pressionar(tela, tela.SBSalvar), mensagem.isEmpty());
    QCOMPARE(s.roteiro.textos(), mensagem.isEmpty() ? QStringList() : QStringList{mensagem});
    QCOMPARE(s.db.count("TB_AGENDA"), mensagem.isEmpty() ? 1 : 0);
    if (!mensagem.isEmpty()) {
        // Still editing, with what was typed.
        QCOMPARE(q->GetState(), dataset::State::Insert);
        QCOMPARE(tela.DBNome->text(), QStringLiteral("Fulano"));
    }
}

// Delete in a drop-down list takes the birthday away again.
void TstAgenda::apagarAniversario() {
    SessaoCadastro s;
    s.db.exec("insert into TB_AGENDA (AGE_CODIGO, AGE_NOME, AGE_UF, AGE_DIAANIVERSARIO, AGE_MESANIVERSARIO) "
              "values (1, 'Fulano', 'RJ', 12, 6)");
    TFrmAgenda tela;
    mostrar(tela);
    QCOMPARE(tela.DBComboBox3->currentText(), QStringLiteral("12"));
    // In browse state the key does nothing.
    tela.DBComboBox3->setFocus();
    QTest::keyClick(tela.DBComboBox3, Qt::Key_Delete);
    QCOMPARE(DM->Q_Agenda->FieldByName("AGE_DIAANIVERSARIO")->AsInteger(), 12);
    QVERIFY(pressionar(tela, tela.SBAlterar));
    for (QWidget* w : {tela.DBComboBox3, tela.DBComboBox4, tela.DBComboBox1}) {
        w->setFocus();
        QTest::keyClick(w, Qt::Key_Delete);
    }
    QCOMPARE(tela.DBComboBox3->currentIndex(), -1);
    QVERIFY(pressionar(tela, tela.SBSalvar));
    QCOMPARE(s.db.count("TB_AGENDA", "AGE_DIAANIVERSARIO is null and AGE_MESANIVERSARIO is null and AGE_UF is null"),
             1);
}

void TstAgenda::nomeObrigatorio() {
    SessaoCadastro s;
    TFrmAgenda tela;
    mostrar(tela);
    QVERIFY(pressionar(tela, tela.SBNovo));
    digitar(tela.DBEdit4, QStringLiteral("Santos"));
    bool recusado = false;
    try {
        tela.Pressionar(tela.SBSalvar);
    } catch (const clip::EDatabaseError& e) {
        recusado = e.message().contains("must have a value");
    }
    QVERIFY(recusado);
    QCOMPARE(DM->Q_Agenda->GetState(), dataset::State::Insert);
    QCOMPARE(s.db.count("TB_AGENDA"), 0);
}

void TstAgenda::sairDaObservacaoPerguntaGravar() {
    SessaoCadastro s;
    TFrmAgenda tela;
    mostrar(tela);
    QVERIFY(pressionar(tela, tela.SBNovo));
    digitar(tela.DBNome, QStringLiteral("Ciclano"));
    tela.DBMemo1->setFocus();
    QTest::keyClicks(tela.DBMemo1, "nota");
    s.roteiro.responder(QMessageBox::Yes);
    // Enter moves on, as from every box.
    QTest::keyClick(tela.DBMemo1, Qt::Key_Return);
    QVERIFY(!tela.DBMemo1->hasFocus());
    QTRY_COMPARE(s.db.count("TB_AGENDA"), 1);
    QCOMPARE(s.roteiro.textos(), QStringList{"Gravar?"});
    QCOMPARE(s.db.scalar("select AGE_OBS from TB_AGENDA").toString(), QStringLiteral("nota"));
}

// A client copied by the clients register's procedure is a contact too.
void TstAgenda::clienteCopiadoAparece() {
    SessaoCadastro s;
    contatos(s);
    dataset::Query* proc = DM->Proc_Cliente_Agenda;
    const QStringList parametros{"NOME", "FONE", "FAX", "CELULAR", "ENDERECO", "CIDADE", "UF",
                                 "CEP", "EMAIL", "WEB", "OBS", "BAIRRO", "ACAO"};
    const QStringList valores{"SILVEIRA COMÉRCIO", "3333-1234", "", "9876-0000", "Av. Brasil", "RIO", "RJ",
                              "20.000-000", "x@y.com", "", "", "Centro", "I"};
    for (int i = 0; i < parametros.size(); ++i)
        proc->ParamByName(parametros[i])->SetAsString(valores[i]);
    proc->ExecSQL();

    TFrmAgenda tela;
    mostrar(tela);
    digitar(tela.EdPesquisa, QStringLiteral("silveira"));
    QCOMPARE(nomes(), QStringList{"SILVEIRA COMÉRCIO"});
    QCOMPARE(tela.DBEdit9->text(), QStringLiteral("3333-1234"));
    QCOMPARE(tela.DBEdit14->text(), QStringLiteral("9876-0000"));
    QCOMPARE(tela.DBComboBox1->currentText(), QStringLiteral("RJ"));
    QCOMPARE(tela.DBEdit5->text(), QStringLiteral("20.000-000"));
    tela.RGLocalizar->findChildren<QRadioButton*>().at(2)->click();
    tela.EdPesquisa->setText(QStringLiteral("3333-1"));
    QCOMPARE(nomes(), QStringList{"SILVEIRA COMÉRCIO"});
}

void TstAgenda::aniversariantes_data() {
    QTest::addColumn<QDate>("dia");
    QTest::addColumn<QStringList>("lista");
    QTest::newRow("29/02 em ano bissexto") << QDate(2008, 2, 29) << QStringList{"Bissexto|1111"};
    QTest::newRow("28/02 em ano comum") << QDate(2009, 2, 28) << QStringList{};
    QTest::newRow("01/03 em ano comum") << QDate(2009, 3, 1) << QStringList{};
    QTest::newRow("mesmo nome: contato e funcionário")
        << QDate(2010, 7, 14) << QStringList{"Beltrano|2222", "Beltrano|3333", "Beltrano|4444"};
}

void TstAgenda::aniversariantes() {
    QFETCH(QDate, dia);
    QFETCH(QStringList, lista);
    SessaoCadastro s;
    s.db.exec("insert into TB_AGENDA (AGE_CODIGO, AGE_NOME, AGE_TELEFONE, AGE_DIAANIVERSARIO, AGE_MESANIVERSARIO) "
              "values (1, 'Bissexto', '1111', 29, 2)");
    s.db.exec("insert into TB_FUNCIONARIOS (FUN_CODIGO, FUN_NOME, FUN_FONE, FUN_TIPO, FUN_DIAANIVERSARIO, "
              "FUN_MESANIVERSARIO) values (7, 'Beltrano', '2222', 0, 14, 7)");
    s.db.exec("insert into TB_AGENDA (AGE_CODIGO, AGE_NOME, AGE_TELEFONE, AGE_DIAANIVERSARIO, AGE_MESANIVERSARIO) "
              "values (2, 'Beltrano', '3333', 14, 7)");
    s.db.exec("insert into TB_AGENDA (AGE_CODIGO, AGE_NOME, AGE_TELEFONE, AGE_DIAANIVERSARIO, AGE_MESANIVERSARIO) "
              "values (3, 'Beltrano', '4444', 14, 7)");
    dataset::Query* q = DM->Q_Aniversariantes;
    q->Close();
    for (const char* p : {"AGE_DIA", "FUN_DIA"})
        q->ParamByName(p)->SetAsInteger(dia.day());
    for (const char* p : {"AGE_MES", "FUN_MES"})
        q->ParamByName(p)->SetAsInteger(dia.month());
    q->Open();
    QStringList vistos;
    for (; !q->Eof(); q->Next())
        vistos << q->FieldByName("NOME")->AsString() + "|" + q->FieldByName("FONE")->AsString();
    // Agenda contacts come before employees; the server orders within each.
    if (vistos.size() == 3) {
        QCOMPARE(vistos.last(), QStringLiteral("Beltrano|2222"));
        vistos.sort();
    }
    QCOMPARE(vistos, lista);
}

int main(int argc, char** argv) {
    Aplicacao app(argc, argv);
    TstAgenda t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_agenda.moc"
