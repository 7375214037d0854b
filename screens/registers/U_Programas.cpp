#include "screens/registers/U_Programas.h"

#include "common/Mensagens.h"
#include "common/U_Funcoes.h"
#include "platform/core/Exception.h"
#include "platform/data/Query.h"
#include "platform/data/widgets/DBControls.h"
#include "platform/data/widgets/DBGrid.h"

#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

TFrmProgramas::TFrmProgramas(QWidget* parent) : TFrmBaseFilha(parent) {
    setObjectName(QStringLiteral("FrmProgramas"));
    setWindowTitle(QStringLiteral("Cadastro de Programas"));
    SetTag(1005);

    // Station list.
    Q_Emissoras = new dataset::Query(this);
    Q_Emissoras->setObjectName(QStringLiteral("Q_Emissoras"));
    Q_Emissoras->SQL.Add(QStringLiteral("SELECT * FROM TB_EMISSORAS"));
    DS_Emissoras = new dataset::DataSource(this);
    DS_Emissoras->setObjectName(QStringLiteral("DS_Emissoras"));
    DS_Emissoras->SetDataSet(Q_Emissoras);

    // Programs.
    Up_Programas = new dataset::UpdateSql(this);
    Up_Programas->setObjectName(QStringLiteral("Up_Programas"));
    Up_Programas->InsertSQL.Add(QStringLiteral("insert into TB_PROGRAMAS"));
    Up_Programas->InsertSQL.Add(QStringLiteral("(EMI_CODIGO, PRG_CODIGO, PRG_NOME, PRG_OBS)"));
    Up_Programas->InsertSQL.Add(QStringLiteral("values"));
    Up_Programas->InsertSQL.Add(QStringLiteral("(:EMI_CODIGO, :PRG_CODIGO, :PRG_NOME, :PRG_OBS)"));
    Up_Programas->ModifySQL.Add(QStringLiteral("update TB_PROGRAMAS"));
    Up_Programas->ModifySQL.Add(QStringLiteral("set"));
    Up_Programas->ModifySQL.Add(QStringLiteral(
        "EMI_CODIGO = :EMI_CODIGO, PRG_CODIGO = :PRG_CODIGO, PRG_NOME = :PRG_NOME, PRG_OBS = :PRG_OBS"));
    Up_Programas->ModifySQL.Add(QStringLiteral("where"));
    Up_Programas->ModifySQL.Add(QStringLiteral("PRG_CODIGO = :OLD_PRG_CODIGO"));
    Up_Programas->DeleteSQL.Add(QStringLiteral("delete from TB_PROGRAMAS"));
    Up_Programas->DeleteSQL.Add(QStringLiteral("where"));
    Up_Programas->DeleteSQL.Add(QStringLiteral("PRG_CODIGO = :OLD_PRG_CODIGO"));
    Up_Programas->RefreshSQL.Add(QStringLiteral("Select EMI_CODIGO, PRG_CODIGO, PRG_NOME, PRG_OBS"));
    Up_Programas->RefreshSQL.Add(QStringLiteral("from TB_PROGRAMAS"));
    Up_Programas->RefreshSQL.Add(QStringLiteral("where PRG_CODIGO = :PRG_CODIGO"));

    Q_Programas = new dataset::Query(this);
    Q_Programas->setObjectName(QStringLiteral("Q_Programas"));
    Q_Programas->SQL.Add(QStringLiteral("SELECT * FROM TB_PROGRAMAS"));
    Q_Programas->CachedUpdates = true;
    Q_Programas->ForcedRefresh = true;
    Q_Programas->UpdateObject = Up_Programas;
    Q_Programas->SetGeneratorField(QStringLiteral("PRG_CODIGO"), QStringLiteral("GEN_PROGRAMAS"));
    Q_Programas->DefineField(QStringLiteral("PRG_NOME"), dataset::FieldType::String, 45)->Required = true;
    Q_Programas->AddLookupField(QStringLiteral("EMI_NOME"), QStringLiteral("EMI_CODIGO"), Q_Emissoras,
                                QStringLiteral("EMI_CODIGO"), QStringLiteral("EMI_NOME"), dataset::FieldType::String,
                                45);
    Q_Programas->AfterPost = [this](dataset::DataSet& ds) { Q_ProgramasAfterDelete(ds); };
    Q_Programas->AfterDelete = [this](dataset::DataSet& ds) { Q_ProgramasAfterDelete(ds); };
    DataSource1->SetDataSet(Q_Programas);

    // Record panel.
    auto* fundo = new QGridLayout(PFundo);
    fundo->setContentsMargins(8, 8, 8, 8);
    DBLookupComboBox1 = new dataset::DBLookupComboBox(this);
    DBLookupComboBox1->setObjectName(QStringLiteral("DBLookupComboBox1"));
    DBLookupComboBox1->SetDataSource(DataSource1);
    DBLookupComboBox1->SetDataField(QStringLiteral("EMI_CODIGO"));
    DBLookupComboBox1->SetListSource(DS_Emissoras);
    DBLookupComboBox1->SetKeyField(QStringLiteral("EMI_CODIGO"));
    DBLookupComboBox1->SetListField(QStringLiteral("EMI_NOME"));
    LarguraEmCaracteres(DBLookupComboBox1, 45);
    AdicionarCampo(fundo, 0, 0, QStringLiteral("Emissora:"), DBLookupComboBox1);
    DBEdit1 = new dataset::DBEdit(this);
    DBEdit1->setObjectName(QStringLiteral("DBEdit1"));
    DBEdit1->SetDataSource(DataSource1);
    DBEdit1->SetDataField(QStringLiteral("PRG_NOME"));
    LarguraEmCaracteres(DBEdit1, 45);
    AdicionarCampo(fundo, 1, 0, QStringLiteral("Programa:"), DBEdit1);
    DBMemo1 = new dataset::DBMemo(this);
    DBMemo1->setObjectName(QStringLiteral("DBMemo1"));
    DBMemo1->SetDataSource(DataSource1);
    DBMemo1->SetDataField(QStringLiteral("PRG_OBS"));
    DBMemo1->setFixedHeight(70);
    DBMemo1->installEventFilter(this);
    AdicionarCampo(fundo, 2, 0, QStringLiteral("Obs.:"), DBMemo1)->setAlignment(Qt::AlignRight | Qt::AlignTop);
    fundo->setColumnStretch(1, 1);

    // Search panel.
    auto* busca = new QGridLayout(PBusca);
    busca->setContentsMargins(8, 8, 8, 8);
    edPesquisa = new TEditMaiusculas(PBusca);
    edPesquisa->setObjectName(QStringLiteral("edPesquisa"));
    AdicionarCampo(busca, 0, 0, QStringLiteral("Pesquisa:"), edPesquisa);
    DBGrid1 = new dataset::DBGrid(PBusca);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->SetDataSource(DataSource1);
    dataset::GridColumn emissora;
    emissora.FieldName = QStringLiteral("EMI_NOME");
    emissora.Title = QStringLiteral("Emissora");
    emissora.Width = 250;
    dataset::GridColumn programa;
    programa.FieldName = QStringLiteral("PRG_NOME");
    programa.Title = QStringLiteral("Programa");
    programa.Width = 250;
    DBGrid1->SetColumns({emissora, programa});
    DBGrid1->SetRowSelect(true);
    DBGrid1->setFixedHeight(200);
    busca->addWidget(DBGrid1, 1, 0, 1, 2);

    connect(edPesquisa, &QLineEdit::textChanged, this, [this] {
        try {
            edPesquisaChange();
        } catch (const std::exception& e) {
            TratarExcecao(edPesquisa, e);
        }
    });
    setTabOrder(DBLookupComboBox1, DBEdit1);
    setTabOrder(DBEdit1, DBMemo1);
    setTabOrder(DBMemo1, edPesquisa);
    setTabOrder(edPesquisa, DBGrid1);
}

TFrmProgramas::~TFrmProgramas() = default;

void TFrmProgramas::FormShow() {
    Q_Emissoras->Close();
    Q_Emissoras->Open();
    Q_Emissoras->FetchAll();
    TFrmBaseFilha::FormShow();
    Q_Programas->FetchAll();
}

void TFrmProgramas::edPesquisaChange() {
    Q_Programas->Close();
    Q_Programas->SQL.Clear();
    Q_Programas->SQL.Add(QStringLiteral("Select * from tb_programas where Upper(PRG_Nome) LIKE '%")
                         + TextoSql(edPesquisa->text()) + QStringLiteral("%'"));
    Q_Programas->Open();
}

void TFrmProgramas::DBMemo1Exit() {
    ConfirmarGravacao();
}

bool TFrmProgramas::eventFilter(QObject* obj, QEvent* ev) {
    if (obj == DBMemo1 && ev->type() == QEvent::FocusOut) {
        const auto motivo = static_cast<QFocusEvent*>(ev)->reason();
        // A window or pop-up taking the focus does not leave the memo.
        if (motivo != Qt::ActiveWindowFocusReason && motivo != Qt::PopupFocusReason)
            QMetaObject::invokeMethod(this, [this] { DBMemo1Exit(); }, Qt::QueuedConnection);
    }
    return TFrmBaseFilha::eventFilter(obj, ev);
}

void TFrmProgramas::SBNovoAfterAction(ResultadoAcao& r) {
    if (!r.Falhou)
        DBLookupComboBox1->setFocus();
}

void TFrmProgramas::SBExcluirBeforeAction() {
    TFrmBaseFilha::SBExcluirBeforeAction();
    const QString texto = QStringLiteral("Todos os lançamentos relacionados a este programa serão excluidos!")
                          + QStringLiteral("\r\r") + QStringLiteral("Deseja realmente excluir?");
    if (msg::Perguntar(texto, QMessageBox::Yes | QMessageBox::No, QMessageBox::No, QStringLiteral("Atenção"),
                       msg::Icone::Aviso)
        != QMessageBox::Yes)
        clip::Abort();
}

void TFrmProgramas::Q_ProgramasAfterDelete(dataset::DataSet& ds) {
    AplicarEConfirmar(ds);
}
