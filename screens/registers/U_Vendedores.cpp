#include "screens/registers/U_Vendedores.h"
#include "screens/registers/U_Funcionarios.h"

#include "common/U_Funcoes.h"
#include "platform/core/Exception.h"
#include "platform/data/Query.h"
#include "platform/data/widgets/DBControls.h"
#include "platform/data/widgets/DBGrid.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

SeletorFuncionario& seletor() {
    static SeletorFuncionario s;
    return s;
}

QVariant seletorPadrao(QWidget* dono);

QStringList numeros(int ate) {
    QStringList r;
    for (int i = 1; i <= ate; ++i)
        r << QString::number(i);
    return r;
}

} // namespace

void DefinirSeletorFuncionario(SeletorFuncionario s) {
    seletor() = std::move(s);
}

QStringList TFrmVendedores::SqlVendedores() {
    return {QStringLiteral("SELECT VEN.*, FUN.* FROM TB_VENDEDORES VEN, TB_FUNCIONARIOS FUN"),
            QStringLiteral("WHERE VEN.FUN_CODIGO = FUN.FUN_CODIGO")};
}

QStringList TFrmVendedores::SqlPesquisa(const QString& texto) {
    return {QStringLiteral("SELECT VEN.*, FUN.* FROM TB_VENDEDORES VEN, TB_FUNCIONARIOS FUN"),
            QStringLiteral("WHERE VEN.FUN_CODIGO = FUN.FUN_CODIGO and Upper(Fun.Fun_Nome) LIKE '%") + TextoSql(texto)
                + QStringLiteral("%'")};
}

TFrmVendedores::TFrmVendedores(QWidget* parent) : TFrmBaseFilha(parent) {
    setObjectName(QStringLiteral("FrmVendedores"));
    setWindowTitle(QStringLiteral("Vendedores"));
    SetTag(1003);

    // Sellers: every column of both tables, written only to TB_VENDEDORES.
    UP_Vendedores = new dataset::UpdateSql(this);
    UP_Vendedores->setObjectName(QStringLiteral("UP_Vendedores"));
    UP_Vendedores->InsertSQL.Add(QStringLiteral("insert into TB_VENDEDORES"));
    UP_Vendedores->InsertSQL.Add(QStringLiteral("(FUN_CODIGO, VEN_CODIGO, VEN_COMISSAO)"));
    UP_Vendedores->InsertSQL.Add(QStringLiteral("values"));
    UP_Vendedores->InsertSQL.Add(QStringLiteral("(:FUN_CODIGO, :VEN_CODIGO, :VEN_COMISSAO)"));
    UP_Vendedores->ModifySQL.Add(QStringLiteral("update TB_VENDEDORES"));
    UP_Vendedores->ModifySQL.Add(QStringLiteral("set"));
    UP_Vendedores->ModifySQL.Add(
        QStringLiteral("FUN_CODIGO = :FUN_CODIGO, VEN_CODIGO = :VEN_CODIGO, VEN_COMISSAO = :VEN_COMISSAO"));
    UP_Vendedores->ModifySQL.Add(QStringLiteral("where"));
    UP_Vendedores->ModifySQL.Add(QStringLiteral("VEN_CODIGO = :OLD_VEN_CODIGO"));
    UP_Vendedores->DeleteSQL.Add(QStringLiteral("delete from TB_VENDEDORES"));
    UP_Vendedores->DeleteSQL.Add(QStringLiteral("where"));
    UP_Vendedores->DeleteSQL.Add(QStringLiteral("VEN_CODIGO = :OLD_VEN_CODIGO"));
    UP_Vendedores->RefreshSQL.Add(QStringLiteral("Select FUN_CODIGO, VEN_CODIGO, VEN_COMISSAO"));
    UP_Vendedores->RefreshSQL.Add(QStringLiteral("from TB_VENDEDORES"));
    UP_Vendedores->RefreshSQL.Add(QStringLiteral("where VEN_CODIGO = :VEN_CODIGO"));

    Q_Vendedores = new dataset::Query(this);
    Q_Vendedores->setObjectName(QStringLiteral("Q_Vendedores"));
    Q_Vendedores->SQL = SqlVendedores();
    Q_Vendedores->CachedUpdates = true;
    Q_Vendedores->ForcedRefresh = true;
    Q_Vendedores->UpdateObject = UP_Vendedores;
    Q_Vendedores->SetGeneratorField(QStringLiteral("VEN_CODIGO"), QStringLiteral("GEN_VENDEDORES"));
    Q_Vendedores->DefineField(QStringLiteral("FUN_CODIGO"), dataset::FieldType::Integer)->Required = true;
    Q_Vendedores->AfterPost = [this](dataset::DataSet& ds) { Q_VendedoresAfterPost(ds); };
    Q_Vendedores->AfterDelete = [this](dataset::DataSet& ds) { Q_VendedoresAfterPost(ds); };
    DataSource1->SetDataSet(Q_Vendedores);

    // The seller's employee, following the current seller.
    Q_Funcionario = new dataset::Query(this);
    Q_Funcionario->setObjectName(QStringLiteral("Q_Funcionario"));
    Q_Funcionario->SQL.Add(QStringLiteral("SELECT * FROM TB_Funcionarios where FUN_CODIGO = :FUN_CODIGO"));
    Q_Funcionario->SetDataSource(DataSource1);
    Q_Funcionario->ReadOnly = true;
    DS_Funcionario = new dataset::DataSource(this);
    DS_Funcionario->setObjectName(QStringLiteral("DS_Funcionario"));
    DS_Funcionario->SetDataSet(Q_Funcionario);

    // Record panel.
    auto* fundo = new QVBoxLayout(PFundo);
    fundo->setContentsMargins(6, 6, 6, 6);
    auto* grupo = new QGroupBox(QStringLiteral("Dados do Vendedor: "), PFundo);
    grupo->setObjectName(QStringLiteral("GroupBox1"));
    fundo->addWidget(grupo);
    auto* g = new QGridLayout(grupo);

    auto leitura = [this](const QString& campo, int largura, const char* nome = nullptr,
                          const QString& mascara = QString()) {
        auto* e = new dataset::DBEdit(this);
        e->setObjectName(nome ? QLatin1String(nome) : QStringLiteral("DB") + campo);
        e->SetDataSource(DS_Funcionario);
        e->SetDataField(campo);
        if (!mascara.isEmpty())
            e->SetEditMask(mascara);
        e->ReadOnlyControl = true;
        e->setReadOnly(true);
        e->setFocusPolicy(Qt::ClickFocus);
        LarguraEmCaracteres(e, largura);
        return e;
    };
    auto lista = [this](const QString& campo, const QStringList& itens, const char* nome) {
        auto* c = new dataset::DBComboBox(this);
        c->setObjectName(QLatin1String(nome));
        c->SetStyle(dataset::DBComboBox::DropDownList);
        c->SetItems(itens);
        c->SetDataSource(DS_Funcionario);
        c->SetDataField(campo);
        c->ReadOnlyControl = true;
        c->setFocusPolicy(Qt::NoFocus);
        LarguraEmCaracteres(c, 5);
        return c;
    };

    DBNome = leitura(QStringLiteral("FUN_NOME"), 45, "DBNome");
    BBuscar = new QPushButton(QStringLiteral("Buscar Funcionário"), grupo);
    BBuscar->setObjectName(QStringLiteral("BBuscar"));
    BBuscar->setAutoDefault(false);
    auto* nome = new QWidget(grupo);
    auto* ln = new QHBoxLayout(nome);
    ln->setContentsMargins(0, 0, 0, 0);
    ln->addWidget(DBNome);
    ln->addWidget(BBuscar);
    ln->addStretch(1);
    AdicionarCampo(g, 0, 0, QStringLiteral("Nome:"), nome, 3)->setBuddy(DBNome);
    AdicionarCampo(g, 1, 0, QStringLiteral("Endereço:"), leitura(QStringLiteral("FUN_ENDERECO"), 45), 3);
    AdicionarCampo(g, 2, 0, QStringLiteral("Bairro:"), leitura(QStringLiteral("FUN_BAIRRO"), 20));
    AdicionarCampo(g, 2, 2, QStringLiteral("CEP:"),
                   leitura(QStringLiteral("FUN_CEP"), 10, nullptr, QStringLiteral("99.999-999;1;_")));
    AdicionarCampo(g, 3, 0, QStringLiteral("Cidade:"), leitura(QStringLiteral("FUN_CIDADE"), 30));
    AdicionarCampo(g, 3, 2, QStringLiteral("UF:"),
                   lista(QStringLiteral("FUN_UF"),
                         {"AC", "AL", "AM", "AP", "BA", "CE", "DF", "ES", "GO", "MA", "MG", "MS", "MT", "PA",
                          "PB", "PE", "PI", "PR", "RJ", "RN", "RO", "RR", "RS", "SC", "SE", "SP", "TO"},
                         "DBFUN_UF"));
    AdicionarCampo(g, 4, 0, QStringLiteral("CPF:"),
                   leitura(QStringLiteral("FUN_CPF"), 15, nullptr, QStringLiteral("999.999.999-99;1;_")));
    AdicionarCampo(g, 4, 2, QStringLiteral("RG:"), leitura(QStringLiteral("FUN_RG"), 15));
    AdicionarCampo(g, 5, 0, QStringLiteral("Fone:"), leitura(QStringLiteral("FUN_FONE"), 20));
    AdicionarCampo(g, 5, 2, QStringLiteral("Celular:"), leitura(QStringLiteral("FUN_CELULAR"), 20));
    AdicionarCampo(g, 6, 0, QStringLiteral("E-Mail:"), leitura(QStringLiteral("FUN_EMAIL"), 45), 3);
    AdicionarCampo(g, 7, 0, QStringLiteral("Observação:"), leitura(QStringLiteral("FUN_OBS"), 45), 3);
    AdicionarCampo(g, 8, 0, QStringLiteral("Func. Desde:"),
                   leitura(QStringLiteral("FUN_DESDE"), 10, nullptr, QStringLiteral("99/99/9999;1;_")));
    auto* aniversario = new QGroupBox(QStringLiteral("Aniversário"), grupo);
    aniversario->setObjectName(QStringLiteral("GroupBox2"));
    auto* la = new QHBoxLayout(aniversario);
    la->addWidget(new QLabel(QStringLiteral("Dia:"), aniversario));
    la->addWidget(lista(QStringLiteral("FUN_DIAANIVERSARIO"), numeros(31), "DBFUN_DIAANIVERSARIO"));
    la->addWidget(new QLabel(QStringLiteral("Mês:"), aniversario));
    la->addWidget(lista(QStringLiteral("FUN_MESANIVERSARIO"), numeros(12), "DBFUN_MESANIVERSARIO"));
    g->addWidget(aniversario, 8, 2, 2, 2);
    dbComissao = new dataset::DBEdit(this);
    dbComissao->setObjectName(QStringLiteral("dbComissao"));
    dbComissao->SetDataSource(DataSource1);
    dbComissao->SetDataField(QStringLiteral("VEN_COMISSAO"));
    LarguraEmCaracteres(dbComissao, 10);
    AdicionarCampo(g, 9, 0, QStringLiteral("Comissão:"), dbComissao);
    g->setColumnStretch(4, 1);

    connect(BBuscar, &QPushButton::clicked, this, [this] {
        try {
            BBuscarClick();
        } catch (const std::exception& e) {
            TratarExcecao(BBuscar, e);
        }
    });

    // Search panel.
    auto* busca = new QGridLayout(PBusca);
    busca->setContentsMargins(6, 6, 6, 6);
    EdPesquisa = new TEditMaiusculas(PBusca);
    EdPesquisa->setObjectName(QStringLiteral("EdPesquisa"));
    AdicionarCampo(busca, 0, 0, QStringLiteral("Pesquisa:"), EdPesquisa);
    DBGrid1 = new dataset::DBGrid(PBusca);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->SetDataSource(DataSource1);
    dataset::GridColumn cNome;
    cNome.FieldName = QStringLiteral("FUN_NOME");
    cNome.Title = QStringLiteral("Nome");
    cNome.TitleAlignment = Qt::AlignCenter;
    cNome.Width = 400;
    dataset::GridColumn cComissao;
    cComissao.FieldName = QStringLiteral("VEN_COMISSAO");
    cComissao.Title = QStringLiteral("Comissão");
    cComissao.TitleAlignment = Qt::AlignCenter;
    cComissao.Alignment = Qt::AlignRight | Qt::AlignVCenter;
    cComissao.Width = 120;
    DBGrid1->SetColumns({cNome, cComissao});
    DBGrid1->SetRowSelect(true);
    DBGrid1->setFixedHeight(160);
    busca->addWidget(DBGrid1, 1, 0, 1, 2);
    connect(EdPesquisa, &QLineEdit::textChanged, this, [this] {
        try {
            EdPesquisaChange();
        } catch (const std::exception& e) {
            TratarExcecao(EdPesquisa, e);
        }
    });
    setTabOrder(BBuscar, dbComissao);
    setTabOrder(dbComissao, EdPesquisa);
    setTabOrder(EdPesquisa, DBGrid1);

    Q_Vendedores->Close();
    Q_Vendedores->Open();
    Q_Vendedores->FetchAll();
    Q_Funcionario->Close();
    Q_Funcionario->Open();
}

TFrmVendedores::~TFrmVendedores() = default;

void TFrmVendedores::EdPesquisaChange() {
    Q_Vendedores->Close();
    Q_Vendedores->SQL = SqlPesquisa(EdPesquisa->text());
    Q_Vendedores->Open();
}

void TFrmVendedores::BBuscarClick() {
    struct Foco {
        TFrmVendedores* t;
        ~Foco() { t->dbComissao->setFocus(); }
    } foco{this};
    const QVariant codigo = seletor() ? seletor()(this) : seletorPadrao(this);
    if (codigo.isNull())
        return;
    if (!Q_Vendedores->IsEditing())
        Q_Vendedores->Edit();
    Q_Vendedores->FieldByName(QStringLiteral("FUN_CODIGO"))->SetAsInteger(codigo.toLongLong());
    Q_Funcionario->Close();
    Q_Funcionario->ParamByName(QStringLiteral("FUN_CODIGO"))->SetAsInteger(codigo.toLongLong());
    Q_Funcionario->Open();
}

void TFrmVendedores::SBNovoAfterAction(ResultadoAcao& r) {
    if (!r.Falhou)
        BBuscar->click();
}

void TFrmVendedores::SBSalvarAfterAction(ResultadoAcao& r) {
    if (r.Falhou)
        return;
    Q_Vendedores->Close();
    Q_Vendedores->Open();
}

void TFrmVendedores::Q_VendedoresAfterPost(dataset::DataSet& ds) {
    AplicarEConfirmar(ds);
}

namespace {
// The employees register as a picker; null when nothing was confirmed.
QVariant seletorPadrao(QWidget* dono) {
    const int codigo = TFrmFuncionarios::Escolher(dono);
    return codigo > 0 ? QVariant(codigo) : QVariant();
}
} // namespace
