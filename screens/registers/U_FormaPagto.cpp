#include "screens/registers/U_FormaPagto.h"

#include "app/U_Dm.h"
#include "platform/data/Query.h"
#include "platform/data/widgets/DBControls.h"
#include "platform/data/widgets/DBGrid.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QVBoxLayout>

TFrmFormaPagto::TFrmFormaPagto(QWidget* parent) : TFrmBaseFilha(parent) {
    setObjectName(QStringLiteral("FrmFormaPagto"));
    setWindowTitle(QStringLiteral("Formas de Pagamento"));
    SetTag(1007);
    DataSource1->SetDataSet(DM ? DM->Q_FormaPagto : nullptr);
    for (QToolButton* b : {static_cast<QToolButton*>(SBPrimeiro), static_cast<QToolButton*>(SBAnterior),
                           static_cast<QToolButton*>(SBProximo), static_cast<QToolButton*>(SBUltimo)})
        b->setVisible(false);

    auto* fundo = new QGridLayout(PFundo);
    fundo->setContentsMargins(8, 8, 8, 8);
    DBEdit1 = new dataset::DBEdit(this);
    DBEdit1->setObjectName(QStringLiteral("DBEdit1"));
    DBEdit1->SetDataSource(DataSource1);
    DBEdit1->SetDataField(QStringLiteral("FPG_DESCRICAO"));
    LarguraEmCaracteres(DBEdit1, 45);
    AdicionarCampo(fundo, 0, 0, QStringLiteral("Forma de Pagamento"), DBEdit1);
    fundo->setColumnStretch(2, 1);

    auto* busca = new QVBoxLayout(PBusca);
    busca->setContentsMargins(6, 6, 6, 6);
    auto* grupo = new QGroupBox(QStringLiteral("Formas de Pagamento: "), PBusca);
    grupo->setObjectName(QStringLiteral("GroupBox1"));
    busca->addWidget(grupo);
    auto* lg = new QVBoxLayout(grupo);
    DBGrid1 = new dataset::DBGrid(grupo);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->SetDataSource(DataSource1);
    dataset::GridColumn descricao;
    descricao.FieldName = QStringLiteral("FPG_DESCRICAO");
    descricao.Title = QStringLiteral("Descrição");
    descricao.Width = 400;
    DBGrid1->SetColumns({descricao});
    DBGrid1->SetRowSelect(true);
    DBGrid1->setFixedHeight(180);
    lg->addWidget(DBGrid1);
    setTabOrder(DBEdit1, DBGrid1);
}

TFrmFormaPagto::~TFrmFormaPagto() = default;

void TFrmFormaPagto::SBNovoAfterAction(ResultadoAcao& r) {
    if (!r.Falhou)
        DBEdit1->setFocus();
}
