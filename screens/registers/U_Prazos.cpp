#include "screens/registers/U_Prazos.h"

#include "app/U_Dm.h"
#include "platform/data/Query.h"
#include "platform/data/widgets/DBControls.h"
#include "platform/data/widgets/DBGrid.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QVBoxLayout>

TFrmPrazos::TFrmPrazos(QWidget* parent) : TFrmBaseFilha(parent) {
    setObjectName(QStringLiteral("FrmPrazos"));
    setWindowTitle(QStringLiteral("Prazos"));
    SetTag(1008);
    DataSource1->SetDataSet(DM ? DM->Q_Prazo : nullptr);
    DS_FormaPagto = new dataset::DataSource(this);
    DS_FormaPagto->setObjectName(QStringLiteral("DS_FormaPagto"));
    DS_FormaPagto->SetDataSet(DM ? DM->Q_FormaPagto : nullptr);
    for (QToolButton* b : {static_cast<QToolButton*>(SBPrimeiro), static_cast<QToolButton*>(SBAnterior),
                           static_cast<QToolButton*>(SBProximo), static_cast<QToolButton*>(SBUltimo)})
        b->setVisible(false);

    auto* fundo = new QGridLayout(PFundo);
    fundo->setContentsMargins(8, 8, 8, 8);
    DBEdit1 = new dataset::DBEdit(this);
    DBEdit1->setObjectName(QStringLiteral("DBEdit1"));
    DBEdit1->SetDataSource(DataSource1);
    DBEdit1->SetDataField(QStringLiteral("PRA_DESCRICAO"));
    LarguraEmCaracteres(DBEdit1, 45);
    AdicionarCampo(fundo, 0, 0, QStringLiteral("Prazo"), DBEdit1);
    DBLookupComboBox1 = new dataset::DBLookupComboBox(this);
    DBLookupComboBox1->setObjectName(QStringLiteral("DBLookupComboBox1"));
    DBLookupComboBox1->SetDataSource(DataSource1);
    DBLookupComboBox1->SetDataField(QStringLiteral("FPG_CODIGO"));
    DBLookupComboBox1->SetListSource(DS_FormaPagto);
    DBLookupComboBox1->SetKeyField(QStringLiteral("FPG_CODIGO"));
    DBLookupComboBox1->SetListField(QStringLiteral("FPG_DESCRICAO"));
    LarguraEmCaracteres(DBLookupComboBox1, 45);
    AdicionarCampo(fundo, 1, 0, QStringLiteral("Forma de Pagamento"), DBLookupComboBox1);
    fundo->setColumnStretch(2, 1);

    auto* busca = new QVBoxLayout(PBusca);
    busca->setContentsMargins(6, 6, 6, 6);
    auto* grupo = new QGroupBox(QStringLiteral("Prazos: "), PBusca);
    grupo->setObjectName(QStringLiteral("GroupBox1"));
    busca->addWidget(grupo);
    auto* lg = new QVBoxLayout(grupo);
    DBGrid1 = new dataset::DBGrid(grupo);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->SetDataSource(DataSource1);
    dataset::GridColumn forma;
    forma.FieldName = QStringLiteral("FORMAPAGAMENTO");
    forma.Title = QStringLiteral("Forma de Pagamento");
    forma.Width = 220;
    dataset::GridColumn prazo;
    prazo.FieldName = QStringLiteral("PRA_DESCRICAO");
    prazo.Title = QStringLiteral("Prazo");
    prazo.Width = 250;
    DBGrid1->SetColumns({forma, prazo});
    DBGrid1->SetRowSelect(true);
    DBGrid1->setFixedHeight(180);
    lg->addWidget(DBGrid1);
    setTabOrder(DBEdit1, DBLookupComboBox1);
    setTabOrder(DBLookupComboBox1, DBGrid1);
}

TFrmPrazos::~TFrmPrazos() = default;

void TFrmPrazos::FormShow() {
    TFrmBaseFilha::FormShow();
    if (DM) {
        DM->Q_FormaPagto->Close();
        DM->Q_FormaPagto->Open();
        DM->Q_FormaPagto->FetchAll();
    }
}

void TFrmPrazos::SBNovoAfterAction(ResultadoAcao& r) {
    if (!r.Falhou)
        DBEdit1->setFocus();
}
