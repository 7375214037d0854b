#include "screens/registers/U_Midias.h"

#include "app/U_Dm.h"
#include "platform/data/Query.h"
#include "platform/data/widgets/DBControls.h"
#include "platform/data/widgets/DBGrid.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QVBoxLayout>

TFrmMidias::TFrmMidias(QWidget* parent) : TFrmBaseFilha(parent) {
    setObjectName(QStringLiteral("FrmMidias"));
    setWindowTitle(QStringLiteral("Cadastro de Mídias"));
    SetTag(1009);
    DataSource1->SetDataSet(DM ? DM->Q_Midias : nullptr);

    auto* fundo = new QGridLayout(PFundo);
    fundo->setContentsMargins(8, 8, 8, 8);
    DBEdit2 = new dataset::DBEdit(this);
    DBEdit2->setObjectName(QStringLiteral("DBEdit2"));
    DBEdit2->SetDataSource(DataSource1);
    DBEdit2->SetDataField(QStringLiteral("MID_DESCRICAO"));
    LarguraEmCaracteres(DBEdit2, 45);
    AdicionarCampo(fundo, 0, 0, QStringLiteral("Mídia"), DBEdit2);
    DBEdit1 = new dataset::DBEdit(this);
    DBEdit1->setObjectName(QStringLiteral("DBEdit1"));
    DBEdit1->SetDataSource(DataSource1);
    DBEdit1->SetDataField(QStringLiteral("MID_VALOR"));
    LarguraEmCaracteres(DBEdit1, 14);
    AdicionarCampo(fundo, 1, 0, QStringLiteral("Valor"), DBEdit1);
    fundo->setColumnStretch(2, 1);

    auto* busca = new QVBoxLayout(PBusca);
    busca->setContentsMargins(6, 6, 6, 6);
    auto* grupo = new QGroupBox(QStringLiteral("Mídias: "), PBusca);
    grupo->setObjectName(QStringLiteral("GroupBox1"));
    busca->addWidget(grupo);
    auto* lg = new QVBoxLayout(grupo);
    DBGrid1 = new dataset::DBGrid(grupo);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->SetDataSource(DataSource1);
    dataset::GridColumn descricao;
    descricao.FieldName = QStringLiteral("MID_DESCRICAO");
    descricao.Title = QStringLiteral("Descrição");
    descricao.Width = 330;
    dataset::GridColumn valor;
    valor.FieldName = QStringLiteral("MID_VALOR");
    valor.Title = QStringLiteral("Valor");
    valor.Alignment = Qt::AlignRight | Qt::AlignVCenter;
    valor.Width = 120;
    DBGrid1->SetColumns({descricao, valor});
    DBGrid1->SetRowSelect(true);
    DBGrid1->setFixedHeight(180);
    lg->addWidget(DBGrid1);
    setTabOrder(DBEdit2, DBEdit1);
    setTabOrder(DBEdit1, DBGrid1);
}

TFrmMidias::~TFrmMidias() = default;

void TFrmMidias::SBNovoAfterAction(ResultadoAcao& r) {
    if (!r.Falhou)
        DBEdit2->setFocus();
}
