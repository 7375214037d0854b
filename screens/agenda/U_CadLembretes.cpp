#include "screens/agenda/U_CadLembretes.h"

#include "app/U_Dm.h"
#include "common/U_Funcoes.h"
#include "platform/data/Query.h"
#include "platform/data/widgets/DBControls.h"
#include "platform/data/widgets/DBGrid.h"

#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

TFrmCadLembretes::TFrmCadLembretes(QWidget* parent) : TFrmBaseFilha(parent) {
    setObjectName(QStringLiteral("FrmCadLembretes"));
    setWindowTitle(QStringLiteral("Cadastro de Lembretes"));
    setProperty(kPropriedadeCentralizada, true);
    SetTag(1006);
    DataSource1->SetDataSet(DM ? DM->Q_CadLembretes : nullptr);

    // The grid is used to move; one separator is left before "Fechar".
    for (QWidget* b : {static_cast<QWidget*>(SBPrimeiro), static_cast<QWidget*>(SBAnterior),
                       static_cast<QWidget*>(SBProximo), static_cast<QWidget*>(SBUltimo)})
        b->setVisible(false);
    QList<QFrame*> linhas;
    for (QFrame* f : Panel1->findChildren<QFrame*>(QString(), Qt::FindDirectChildrenOnly))
        if (f->frameShape() == QFrame::VLine)
            linhas << f;
    if (linhas.size() > 1)
        linhas.first()->setVisible(false);

    auto* fundo = new QGridLayout(PFundo);
    fundo->setContentsMargins(8, 8, 8, 8);
    DBMemo1 = new dataset::DBMemo(PFundo);
    DBMemo1->setObjectName(QStringLiteral("DBMemo1"));
    DBMemo1->SetDataSource(DataSource1);
    DBMemo1->SetDataField(QStringLiteral("LEM_MENSAGEM"));
    DBMemo1->setFixedHeight(90);
    auto* rotulo = new QLabel(QStringLiteral("Mensagem:"), PFundo);
    rotulo->setBuddy(DBMemo1);
    fundo->addWidget(rotulo, 0, 0, 1, 5);
    fundo->addWidget(DBMemo1, 1, 0, 1, 5);

    DBEdit1 = new dataset::DBEdit(PFundo);
    DBEdit1->setObjectName(QStringLiteral("DBEdit1"));
    DBEdit1->SetDataSource(DataSource1);
    DBEdit1->SetDataField(QStringLiteral("LEM_DATA"));
    LarguraEmCaracteres(DBEdit1, 11);
    AdicionarCampo(fundo, 2, 0, QStringLiteral("Data:"), DBEdit1);
    DBEdit2 = new dataset::DBEdit(PFundo);
    DBEdit2->setObjectName(QStringLiteral("DBEdit2"));
    DBEdit2->SetDataSource(DataSource1);
    DBEdit2->SetDataField(QStringLiteral("LEM_HORA"));
    LarguraEmCaracteres(DBEdit2, 6);
    AdicionarCampo(fundo, 2, 2, QStringLiteral("Hora:"), DBEdit2);
    fundo->setColumnStretch(4, 1);

    auto* busca = new QVBoxLayout(PBusca);
    busca->setContentsMargins(6, 6, 6, 6);
    GroupBox1 = new QGroupBox(QStringLiteral("Relação de Lembretes: "), PBusca);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    busca->addWidget(GroupBox1);
    auto* lg = new QVBoxLayout(GroupBox1);
    DBGrid1 = new dataset::DBGrid(GroupBox1);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->SetDataSource(DataSource1);
    dataset::GridColumn data;
    data.FieldName = QStringLiteral("LEM_DATA");
    data.Title = QStringLiteral("Data");
    data.Width = 90;
    dataset::GridColumn hora;
    hora.FieldName = QStringLiteral("LEM_HORA");
    hora.Title = QStringLiteral("Hora");
    hora.Width = 60;
    dataset::GridColumn mensagem;
    mensagem.FieldName = QStringLiteral("LEM_MENSAGEM");
    mensagem.Title = QStringLiteral("Mensagem");
    mensagem.Width = 380;
    DBGrid1->SetColumns({data, hora, mensagem});
    DBGrid1->SetRowSelect(true);
    DBGrid1->setFixedHeight(200);
    DBGrid1->setMinimumWidth(570);
    lg->addWidget(DBGrid1);

    setTabOrder(DBMemo1, DBEdit1);
    setTabOrder(DBEdit1, DBEdit2);
    setTabOrder(DBEdit2, DBGrid1);
}

TFrmCadLembretes::~TFrmCadLembretes() = default;

void TFrmCadLembretes::FormShow() {
    TFrmBaseFilha::FormShow();
    if (ChamadaExterna != 1 || !DM)
        return;
    dataset::Query* devidos = DM->Q_Lembretes;
    if (!devidos->Active() || devidos->IsEmpty())
        return;
    DM->Q_CadLembretes->Locate(QStringLiteral("LEM_CODIGO"),
                               devidos->FieldByName(QStringLiteral("LEM_CODIGO"))->Value());
}

void TFrmCadLembretes::SBNovoAfterAction(ResultadoAcao& r) {
    if (!r.Falhou)
        DBMemo1->setFocus();
}

void TFrmCadLembretes::SBSalvarBeforeAction() {
    TFrmBaseFilha::SBSalvarBeforeAction();
    dataset::DataSet* ds = DataSetPrincipal();
    if (!ds)
        return;
    if (!ds->IsEditing())
        ds->Edit();
    ds->FieldByName(QStringLiteral("LEM_IP"))->SetAsString(ObterIPLocal());
}
