#include "U_Funcionarios.h"

#include "app/U_DMBanco.h"
#include "common/Mensagens.h"
#include "common/U_Funcoes.h"
#include "platform/core/Exception.h"
#include "platform/data/Query.h"
#include "platform/data/widgets/DBControls.h"
#include "platform/data/widgets/DBGrid.h"
#include "security/U_Direitos.h"

#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const char* const kColunas[] = {
    "FUN_CODIGO", "FUN_NOME", "FUN_CPF", "FUN_ENDERECO", "FUN_BAIRRO", "FUN_CEP", "FUN_CIDADE", "FUN_UF",
    "FUN_FONE", "FUN_CELULAR", "FUN_EMAIL", "FUN_CARGO", "FUN_OBS", "FUN_DIAANIVERSARIO", "FUN_MESANIVERSARIO",
    "FUN_RG", "FUN_DESDE", "FUN_TIPO", "FUN_LOGIN", "FUN_SENHA", "FUN_PERFILACESSO"};

const QStringList kEstados = {"AC", "AL", "AM", "AP", "BA", "CE", "DF", "ES", "GO", "MA", "MG", "MS", "MT", "PA",
                              "PB", "PE", "PI", "PR", "RJ", "RN", "RO", "RR", "RS", "SC", "SE", "SP", "TO"};

QLabel* Rotulo(const QString& texto, QWidget* pai) {
    auto* l = new QLabel(texto, pai);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return l;
}

QStringList Numeros(int de, int ate) {
    QStringList l;
    for (int i = de; i <= ate; ++i)
        l << QString::number(i);
    return l;
}

} // namespace

const QString TFrmFuncionarios::kSenhaPadrao = QStringLiteral("407918");
// A new employee is saved first (with this screen's own save steps), so
// that his rights rows have an owner.
std::function<void(TFrmFuncionarios&)> TFrmFuncionarios::AbrirDireitosUsuario = [](TFrmFuncionarios& tela) {
    if (tela.Q_Funcionarios->GetState() == dataset::State::Insert) {
        try {
            if (!tela.Pressionar(tela.SBSalvar))
                return;
        } catch (const clip::EAbort&) {
            return;
        }
    }
    TFrmDireitos::Abrir(&tela, tela.Q_Funcionarios);
};

TFrmFuncionarios::TFrmFuncionarios(QWidget* parent) : TFrmBaseFilha(parent) {
    setObjectName(QStringLiteral("FrmFuncionarios"));
    setWindowTitle(QStringLiteral("Funcionários"));
    setProperty(kPropriedadeCentralizada, true);
    SetTag(1002);

    Up_Funcionarios = new dataset::UpdateSql(this);
    Up_Funcionarios->setObjectName(QStringLiteral("Up_Funcionarios"));
    QStringList colunas;
    for (const char* c : kColunas)
        colunas << QLatin1String(c);
    Up_Funcionarios->SetTableStatements(QStringLiteral("TB_FUNCIONARIOS"), QStringLiteral("FUN_CODIGO"), colunas);

    Q_Funcionarios = new dataset::Query(this);
    Q_Funcionarios->setObjectName(QStringLiteral("Q_Funcionarios"));
    if (DMBanco)
        Q_Funcionarios->SetTransaction(&DMBanco->Trans_Clipping);
    Q_Funcionarios->SQL.Add(QStringLiteral("SELECT * FROM TB_Funcionarios where FUN_TIPO <> 1"));
    Q_Funcionarios->CachedUpdates = true;
    Q_Funcionarios->ForcedRefresh = true;
    Q_Funcionarios->UpdateObject = Up_Funcionarios;
    Q_Funcionarios->SetGeneratorField(QStringLiteral("FUN_CODIGO"), QStringLiteral("GEN_FUNCIONARIOS"), 1);
    {
        using dataset::FieldType;
        Q_Funcionarios->DefineField(QStringLiteral("FUN_CODIGO"), FieldType::Integer)->Required = true;
        Q_Funcionarios->DefineField(QStringLiteral("FUN_CPF"), FieldType::String, 15)->EditMask =
            QStringLiteral("999.999.999-99;1;_");
        Q_Funcionarios->DefineField(QStringLiteral("FUN_CEP"), FieldType::String, 10)->EditMask =
            QStringLiteral("99.999-999;1;_");
        auto* desde = Q_Funcionarios->DefineField(QStringLiteral("FUN_DESDE"), FieldType::DateTime);
        desde->EditMask = QStringLiteral("99/99/9999;1;_");
        desde->DisplayFormat = QStringLiteral("dd/mm/yyyy");
    }
    Q_Funcionarios->BeforePost = [this](dataset::DataSet& ds) { Q_FuncionariosBeforePost(ds); };
    Q_Funcionarios->AfterPost = [this](dataset::DataSet& ds) { Q_FuncionariosAfterDelete(ds); };
    Q_Funcionarios->AfterDelete = [this](dataset::DataSet& ds) { Q_FuncionariosAfterDelete(ds); };
    DataSource1->SetDataSet(Q_Funcionarios);

    DS_PerfilAcesso = new dataset::DataSource(this);
    DS_PerfilAcesso->setObjectName(QStringLiteral("DS_PerfilAcesso"));
    if (DMBanco)
        DS_PerfilAcesso->SetDataSet(DMBanco->Q_PerfilAcesso);

    // Record panel.
    auto* lf = new QVBoxLayout(PFundo);
    GBDados = new QGroupBox(QStringLiteral("Dados do Funcionário: "), PFundo);
    GBDados->setObjectName(QStringLiteral("GBDados"));
    lf->addWidget(GBDados);
    auto edit = [this](QWidget* pai, const char* nome, const char* campo, int largura,
                       dataset::CharCase caixa = dataset::CharCase::Normal) {
        auto* e = new dataset::DBEdit(pai);
        e->setObjectName(QLatin1String(nome));
        e->SetDataSource(DataSource1);
        e->SetDataField(QLatin1String(campo));
        e->SetCharCase(caixa);
        if (largura > 0)
            e->setFixedWidth(largura);
        return e;
    };
    auto lista = [this](QWidget* pai, const char* nome, const char* campo, const QStringList& itens) {
        auto* c = new dataset::DBComboBox(pai);
        c->setObjectName(QLatin1String(nome));
        c->SetStyle(dataset::DBComboBox::DropDownList);
        c->SetItems(itens);
        c->SetDataSource(DataSource1);
        c->SetDataField(QLatin1String(campo));
        c->setFixedWidth(60);
        return c;
    };
    auto* g = new QGridLayout(GBDados);
    DbNome = edit(GBDados, "DbNome", "FUN_NOME", 0);
    DbEndereco = edit(GBDados, "DbEndereco", "FUN_ENDERECO", 0);
    DbBairro = edit(GBDados, "DbBairro", "FUN_BAIRRO", 170);
    DbCEP = edit(GBDados, "DbCEP", "FUN_CEP", 90);
    DbCidade = edit(GBDados, "DbCidade", "FUN_CIDADE", 220);
    DbUF = lista(GBDados, "DbUF", "FUN_UF", kEstados);
    DbCPF = edit(GBDados, "DbCPF", "FUN_CPF", 120);
    DbRG = edit(GBDados, "DbRG", "FUN_RG", 130);
    DbFone = edit(GBDados, "DbFone", "FUN_FONE", 150);
    DbCelular = edit(GBDados, "DbCelular", "FUN_CELULAR", 150);
    DbEmail = edit(GBDados, "DbEmail", "FUN_EMAIL", 0, dataset::CharCase::Lower);
    DbCargo = edit(GBDados, "DbCargo", "FUN_CARGO", 170);
    DbDesde = edit(GBDados, "DbDesde", "FUN_DESDE", 90);
    DbObs = edit(GBDados, "DbObs", "FUN_OBS", 0);
    int r = 0;
    g->addWidget(Rotulo(QStringLiteral("Nome:"), GBDados), r, 0);
    g->addWidget(DbNome, r++, 1, 1, 3);
    g->addWidget(Rotulo(QStringLiteral("Endereço:"), GBDados), r, 0);
    g->addWidget(DbEndereco, r++, 1, 1, 3);
    g->addWidget(Rotulo(QStringLiteral("Bairro:"), GBDados), r, 0);
    g->addWidget(DbBairro, r, 1, Qt::AlignLeft);
    g->addWidget(Rotulo(QStringLiteral("CEP:"), GBDados), r, 2);
    g->addWidget(DbCEP, r++, 3, Qt::AlignLeft);
    g->addWidget(Rotulo(QStringLiteral("Cidade:"), GBDados), r, 0);
    g->addWidget(DbCidade, r, 1, Qt::AlignLeft);
    g->addWidget(Rotulo(QStringLiteral("UF:"), GBDados), r, 2);
    g->addWidget(DbUF, r++, 3, Qt::AlignLeft);
    g->addWidget(Rotulo(QStringLiteral("CPF:"), GBDados), r, 0);
    g->addWidget(DbCPF, r, 1, Qt::AlignLeft);
    g->addWidget(Rotulo(QStringLiteral("RG:"), GBDados), r, 2);
    g->addWidget(DbRG, r++, 3, Qt::AlignLeft);
    g->addWidget(Rotulo(QStringLiteral("Fone:"), GBDados), r, 0);
    g->addWidget(DbFone, r, 1, Qt::AlignLeft);
    g->addWidget(Rotulo(QStringLiteral("Celular:"), GBDados), r, 2);
    g->addWidget(DbCelular, r++, 3, Qt::AlignLeft);
    g->addWidget(Rotulo(QStringLiteral("E-Mail:"), GBDados), r, 0);
    g->addWidget(DbEmail, r++, 1, 1, 3);
    g->addWidget(Rotulo(QStringLiteral("Cargo: "), GBDados), r, 0);
    g->addWidget(DbCargo, r, 1, Qt::AlignLeft);
    g->addWidget(Rotulo(QStringLiteral("Desde:"), GBDados), r, 2);
    g->addWidget(DbDesde, r++, 3, Qt::AlignLeft);
    g->addWidget(Rotulo(QStringLiteral("Observação:"), GBDados), r, 0);
    g->addWidget(DbObs, r++, 1, 1, 3);
    g->setColumnStretch(1, 1);

    auto* linha = new QHBoxLayout;
    lf->addLayout(linha);
    GBAniversario = new QGroupBox(QStringLiteral("Aniversário"), PFundo);
    GBAniversario->setObjectName(QStringLiteral("GBAniversario"));
    auto* la = new QGridLayout(GBAniversario);
    DbDia = lista(GBAniversario, "DbDia", "FUN_DIAANIVERSARIO", Numeros(1, 31));
    DbMes = lista(GBAniversario, "DbMes", "FUN_MESANIVERSARIO", Numeros(1, 12));
    la->addWidget(Rotulo(QStringLiteral("Dia:"), GBAniversario), 0, 0);
    la->addWidget(DbDia, 0, 1);
    la->addWidget(Rotulo(QStringLiteral("Mês:"), GBAniversario), 1, 0);
    la->addWidget(DbMes, 1, 1);
    linha->addWidget(GBAniversario);

    GBAcesso = new QGroupBox(QStringLiteral("Dados de Acesso: "), PFundo);
    GBAcesso->setObjectName(QStringLiteral("GBAcesso"));
    auto* lg = new QGridLayout(GBAcesso);
    DBLookupComboBox1 = new dataset::DBLookupComboBox(GBAcesso);
    DBLookupComboBox1->setObjectName(QStringLiteral("DBLookupComboBox1"));
    DBLookupComboBox1->SetListSource(DS_PerfilAcesso);
    DBLookupComboBox1->SetKeyField(QStringLiteral("FUN_CODIGO"));
    DBLookupComboBox1->SetListField(QStringLiteral("FUN_NOME"));
    DBLookupComboBox1->SetDataSource(DataSource1);
    DBLookupComboBox1->SetDataField(QStringLiteral("FUN_PERFILACESSO"));
    DBLookupComboBox1->setFixedWidth(220);
    SpeedButton4 = new QToolButton(GBAcesso);
    SpeedButton4->setObjectName(QStringLiteral("SpeedButton4"));
    SpeedButton4->setIcon(style()->standardIcon(QStyle::SP_DialogResetButton));
    SpeedButton4->setToolTip(QStringLiteral("Sem perfil"));
    BDireitos = new QPushButton(QStringLiteral("Definir Direitos"), GBAcesso);
    BDireitos->setObjectName(QStringLiteral("BDireitos"));
    DbLogin = edit(GBAcesso, "DbLogin", "FUN_LOGIN", 150);
    auto senha = [this](const char* nome) {
        auto* e = new QLineEdit(GBAcesso);
        e->setObjectName(QLatin1String(nome));
        e->setEchoMode(QLineEdit::Password);
        e->setMaxLength(10);
        e->setFixedWidth(150);
        e->setText(kSenhaPadrao);
        return e;
    };
    MESenha = senha("MESenha");
    MEConfSenha = senha("MEConfSenha");
    MEConfSenha->installEventFilter(this);
    lg->addWidget(Rotulo(QStringLiteral("Perfil:"), GBAcesso), 0, 0);
    auto* lp = new QHBoxLayout;
    lp->addWidget(DBLookupComboBox1);
    lp->addWidget(SpeedButton4);
    lp->addWidget(BDireitos);
    lp->addStretch();
    lg->addLayout(lp, 0, 1, 1, 3);
    lg->addWidget(Rotulo(QStringLiteral("Login:"), GBAcesso), 1, 0);
    lg->addWidget(DbLogin, 1, 1, Qt::AlignLeft);
    lg->addWidget(Rotulo(QStringLiteral("Senha:"), GBAcesso), 2, 0);
    lg->addWidget(MESenha, 2, 1, Qt::AlignLeft);
    lg->addWidget(Rotulo(QStringLiteral("Confirmar Senha:"), GBAcesso), 2, 2);
    lg->addWidget(MEConfSenha, 2, 3, Qt::AlignLeft);
    lg->setColumnStretch(3, 1);
    linha->addWidget(GBAcesso, 1);

    // Search panel.
    auto* lb = new QVBoxLayout(PBusca);
    auto* lpq = new QHBoxLayout;
    lpq->addWidget(new QLabel(QStringLiteral("Pesquisa:"), PBusca));
    edPesquisa = new TEditMaiusculas(PBusca);
    edPesquisa->setObjectName(QStringLiteral("edPesquisa"));
    edPesquisa->setFixedWidth(560);
    lpq->addWidget(edPesquisa);
    SBConfirmar = new QPushButton(QStringLiteral("&Confirmar"), PBusca);
    SBConfirmar->setObjectName(QStringLiteral("SBConfirmar"));
    SBConfirmar->setFixedWidth(82);
    SBConfirmar->setDefault(true);
    SBConfirmar->setVisible(false);
    lpq->addWidget(SBConfirmar);
    lpq->addStretch();
    lb->addLayout(lpq);
    DBGrid2 = new dataset::DBGrid(PBusca);
    DBGrid2->setObjectName(QStringLiteral("DBGrid2"));
    DBGrid2->SetDataSource(DataSource1);
    {
        dataset::GridColumn nome;
        nome.FieldName = QStringLiteral("FUN_NOME");
        nome.Title = QStringLiteral("Nome");
        nome.TitleAlignment = Qt::AlignCenter;
        nome.Width = 420;
        dataset::GridColumn fone;
        fone.FieldName = QStringLiteral("FUN_FONE");
        fone.Title = QStringLiteral("Fone");
        fone.TitleAlignment = Qt::AlignCenter;
        fone.Width = 150;
        DBGrid2->SetColumns({nome, fone});
    }
    DBGrid2->SetRowSelect(true);
    DBGrid2->setMinimumHeight(140);
    DBGrid2->OnDblClick = [this](dataset::DBGrid&) {
        if (!SBConfirmar->isHidden())
            SBConfirmar->click();
    };
    lb->addWidget(DBGrid2);

    connect(edPesquisa, &QLineEdit::textChanged, this, [this] { edPesquisaChange(); });
    connect(SpeedButton4, &QToolButton::clicked, this, [this] { SpeedButton4Click(); });
    connect(BDireitos, &QPushButton::clicked, this, [this] { BDireitosClick(); });
    connect(SBConfirmar, &QPushButton::clicked, this, [this] { SBConfirmarClick(); });
    connect(DataSource1, &dataset::DataSource::dataChanged, this, [this](dataset::Field*) { AtualizarDireitos(); });
    connect(DataSource1, &dataset::DataSource::scrolled, this, [this] { AtualizarDireitos(); });
    connect(DataSource1, &dataset::DataSource::stateChanged, this, [this] { AtualizarDireitos(); });

    setTabOrder(DbNome, DbEndereco);
    setTabOrder(DbEndereco, DbBairro);
    setTabOrder(DbBairro, DbCEP);
    setTabOrder(DbCEP, DbCidade);
    setTabOrder(DbCidade, DbUF);
    setTabOrder(DbUF, DbCPF);
    setTabOrder(DbCPF, DbRG);
    setTabOrder(DbRG, DbFone);
    setTabOrder(DbFone, DbCelular);
    setTabOrder(DbCelular, DbEmail);
    setTabOrder(DbEmail, DbCargo);
    setTabOrder(DbCargo, DbDesde);
    setTabOrder(DbDesde, DbObs);
    setTabOrder(DbObs, DbDia);
    setTabOrder(DbDia, DbMes);
    setTabOrder(DbMes, DBLookupComboBox1);
    setTabOrder(DBLookupComboBox1, SpeedButton4);
    setTabOrder(SpeedButton4, BDireitos);
    setTabOrder(BDireitos, DbLogin);
    setTabOrder(DbLogin, MESenha);
    setTabOrder(MESenha, MEConfSenha);
    AtualizarDireitos();
}

TFrmFuncionarios::~TFrmFuncionarios() = default;

int TFrmFuncionarios::Escolher(QWidget* parent) {
    ChamadaExterna = 1;
    TFrmFuncionarios tela(parent);
    const int r = tela.exec();
    return r == QDialog::Accepted ? tela.FuncionarioAtual() : 0;
}

int TFrmFuncionarios::FuncionarioAtual() const {
    if (!Q_Funcionarios->Active() || Q_Funcionarios->IsEmpty())
        return 0;
    return Q_Funcionarios->FieldByName(QStringLiteral("FUN_CODIGO"))->AsInteger();
}

void TFrmFuncionarios::FormShow() {
    TFrmBaseFilha::FormShow();
    if (ChamadaExterna == 1 && SBConfirmar->isHidden()) {
        SBConfirmar->setVisible(true);
        edPesquisa->setFixedWidth(edPesquisa->width() - 88);
        edPesquisa->setFocus();
    }
    if (DMBanco) {
        DMBanco->Q_PerfilAcesso->Close();
        DMBanco->Q_PerfilAcesso->Open();
        DMBanco->Q_PerfilAcesso->FetchAll();
    }
    AtualizarDireitos();
}

void TFrmFuncionarios::edPesquisaChange() {
    Q_Funcionarios->Close();
    Q_Funcionarios->SQL.Clear();
    Q_Funcionarios->SQL.Add(QStringLiteral("Select * from tb_funcionarios where FUN_TIPO <> 1 AND ") +
                            CondicaoLike(QStringLiteral("Fun_Nome"), edPesquisa->text()));
    Q_Funcionarios->Open();
}

void TFrmFuncionarios::AtualizarDireitos() {
    bool semPerfil = true;
    if (Q_Funcionarios->Active() && !(Q_Funcionarios->IsEmpty() && !Q_Funcionarios->IsEditing()))
        if (dataset::Field* f = Q_Funcionarios->FindField(QStringLiteral("FUN_PERFILACESSO")))
            semPerfil = f->AsInteger() <= 0;
    BDireitos->setEnabled(semPerfil);
}

void TFrmFuncionarios::SpeedButton4Click() {
    if (!Q_Funcionarios->IsEditing())
        Q_Funcionarios->Edit();
    Q_Funcionarios->FieldByName(QStringLiteral("FUN_PERFILACESSO"))->Clear();
}

void TFrmFuncionarios::BDireitosClick() {
    if (!VerificarDireito(1002, QStringLiteral("DIR_ALTERAR")))
        return;
    if (AbrirDireitosUsuario)
        AbrirDireitosUsuario(*this);
}

void TFrmFuncionarios::SBConfirmarClick() { done(QDialog::Accepted); }

bool TFrmFuncionarios::eventFilter(QObject* o, QEvent* e) {
    // Entering the confirmation box starts editing, so a typed password can
    // be saved.
    if (o == MEConfSenha && e->type() == QEvent::FocusIn && Q_Funcionarios->Active() && !Q_Funcionarios->IsEditing())
        Q_Funcionarios->Edit();
    return TFrmBaseFilha::eventFilter(o, e);
}

void TFrmFuncionarios::SenhaPadrao() {
    MESenha->setText(kSenhaPadrao);
    MEConfSenha->setText(kSenhaPadrao);
}

void TFrmFuncionarios::SBNovoBeforeAction() {
    TFrmBaseFilha::SBNovoBeforeAction();
    SenhaPadrao();
}

void TFrmFuncionarios::SBNovoAfterAction(ResultadoAcao& r) {
    if (!r.Falhou)
        DbNome->setFocus();
}

void TFrmFuncionarios::SBSalvarBeforeAction() {
    TFrmBaseFilha::SBSalvarBeforeAction();
    Q_Funcionarios->FieldByName(QStringLiteral("FUN_TIPO"))->SetAsInteger(0);
    if (MESenha->text() != kSenhaPadrao) {
        if (MESenha->text() != MEConfSenha->text())
            msg::Informar(QStringLiteral("Os campos Senha e confirmar Senha estão incorretos!"));
        else
            Q_Funcionarios->FieldByName(QStringLiteral("FUN_SENHA"))->SetAsString(CodificarSenha(MEConfSenha->text()));
    }
    SenhaPadrao();
}

void TFrmFuncionarios::SBSalvarAfterAction(ResultadoAcao&) { SenhaPadrao(); }

void TFrmFuncionarios::SBCancelarClick() { SenhaPadrao(); }

void TFrmFuncionarios::SBExcluirClick() {
    TFrmBaseFilha::SBExcluirClick();
    SenhaPadrao();
}

void TFrmFuncionarios::SBExcluirBeforeAction() {
    TFrmBaseFilha::SBExcluirBeforeAction();
    const msg::Botao r = msg::Perguntar(
        QStringLiteral("Todos os lançamentos efetuados por este funcionário serão excluidos!\r\rDeseja realmente excluir?"),
        QMessageBox::Yes | QMessageBox::No, QMessageBox::No, QStringLiteral("Atenção"), msg::Icone::Aviso);
    if (r != QMessageBox::Yes)
        clip::Abort();
}

void TFrmFuncionarios::Q_FuncionariosBeforePost(dataset::DataSet& ds) {
    if (ds.FieldByName(QStringLiteral("FUN_NOME"))->AsString().trimmed().isEmpty()) {
        msg::Informar(QStringLiteral("O Nome do Funcionário não foi informado!"));
        clip::Abort();
    }
}

void TFrmFuncionarios::Q_FuncionariosAfterDelete(dataset::DataSet& ds) {
    ds.ApplyUpdates();
    DMBanco->Trans_Clipping.commitRetaining();
}
