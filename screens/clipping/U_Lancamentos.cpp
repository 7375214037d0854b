#include "screens/clipping/U_Lancamentos.h"

#include "app/U_DMBanco.h"
#include "app/U_Dm.h"
#include "common/Mensagens.h"
#include "common/U_Funcoes.h"
#include "platform/core/Exception.h"
#include "platform/data/DataSource.h"
#include "platform/data/Field.h"
#include "platform/data/Query.h"
#include "platform/data/widgets/DBControls.h"
#include "screens/clipping/U_PesquisaLancamento.h"

#include <QFocusEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>

namespace {

QLabel* rotulo(QWidget* pai, const char* nome, const QString& texto, QWidget* controle) {
    auto* l = new QLabel(texto, pai);
    l->setObjectName(QLatin1String(nome));
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    l->setBuddy(controle);
    return l;
}

int larguraTexto(const QWidget* w, int caracteres) {
    return w->fontMetrics().horizontalAdvance(QString(caracteres, QLatin1Char('0'))) + 16;
}

} // namespace

TFrmLancamentos::TFrmLancamentos(QWidget* parent) : TFrmBaseFilha(parent) {
    setObjectName(QStringLiteral("FrmLancamentos"));
    setWindowTitle(QStringLiteral("Lançamentos "));
    SetTag(1101);

    for (QAbstractButton* b : std::initializer_list<QAbstractButton*>{SBPrimeiro, SBAnterior, SBProximo, SBUltimo, SBImprimir})
        b->setVisible(false);

    // Lookup lists.
    Q_Emissoras = new dataset::Query(this);
    Q_Emissoras->setObjectName(QStringLiteral("Q_Emissoras"));
    Q_Emissoras->ReadOnly = true;
    Q_Emissoras->SQL.Add(QStringLiteral("SELECT EMI_CODIGO, EMI_NOME FROM TB_EMISSORAS"));
    DS_Emissoras = new dataset::DataSource(this);
    DS_Emissoras->setObjectName(QStringLiteral("DS_Emissoras"));
    DS_Emissoras->SetDataSet(Q_Emissoras);
    Q_Programas = new dataset::Query(this);
    Q_Programas->setObjectName(QStringLiteral("Q_Programas"));
    Q_Programas->ReadOnly = true;
    Q_Programas->SQL.Add(QStringLiteral("SELECT PRG_CODIGO, PRG_NOME FROM TB_PROGRAMAS"));
    Q_Programas->SQL.Add(QStringLiteral("WHERE EMI_CODIGO = :EMI_CODIGO"));
    Q_Programas->SetDataSource(DS_Emissoras);
    DS_Programas = new dataset::DataSource(this);
    DS_Programas->setObjectName(QStringLiteral("DS_Programas"));
    DS_Programas->SetDataSet(Q_Programas);

    if (DM)
        DataSource1->SetDataSet(DM->Q_Lancamento);

    // Input panel.
    auto* g = new QGridLayout(PFundo);
    g->setContentsMargins(8, 8, 8, 8);
    g->setHorizontalSpacing(6);
    g->setVerticalSpacing(6);

    auto edit = [this](const char* nome, const QString& campo, int caracteres) {
        auto* e = new dataset::DBEdit(PFundo);
        e->setObjectName(QLatin1String(nome));
        e->SetDataSource(DataSource1);
        e->SetDataField(campo);
        e->setFixedWidth(larguraTexto(e, caracteres));
        return e;
    };
    DBEdit1 = edit("DBEdit1", QStringLiteral("LAN_DATA"), 10);
    DBEdit5 = edit("DBEdit5", QStringLiteral("LAN_HORA"), 8);
    DBEdit2 = edit("DBEdit2", QStringLiteral("LAN_TEMPO"), 8);
    DBEdit4 = edit("DBEdit4", QStringLiteral("LAN_VELOCIDADE"), 2);
    DBEdit3 = edit("DBEdit3", QStringLiteral("LAN_CODLANCAMENTO"), 15);

    DBRadioGroup1 = new dataset::DBRadioGroup(PFundo);
    DBRadioGroup1->setObjectName(QStringLiteral("DBRadioGroup1"));
    DBRadioGroup1->setTitle(QStringLiteral("Tipo de Gravação: "));
    DBRadioGroup1->SetDataSource(DataSource1);
    DBRadioGroup1->SetDataField(QStringLiteral("LAN_TIPO"));
    DBRadioGroup1->SetItems({QStringLiteral("Áudio"), QStringLiteral("Vídeo")},
                            {QStringLiteral("A"), QStringLiteral("V")});
    DBRadioGroup1->SetColumns(2);

    auto lookup = [this](const char* nome, const QString& campo, dataset::DataSource* lista, const QString& chave,
                         const QString& nomeLista) {
        auto* c = new dataset::DBLookupComboBox(PFundo);
        c->setObjectName(QLatin1String(nome));
        c->SetDataSource(DataSource1);
        c->SetDataField(campo);
        c->SetKeyField(chave);
        c->SetListField(nomeLista);
        c->SetListSource(lista);
        c->setMinimumWidth(larguraTexto(c, 30));
        return c;
    };
    DBLookupComboBox1 = lookup("DBLookupComboBox1", QStringLiteral("EMI_CODIGO"), DS_Emissoras,
                               QStringLiteral("EMI_CODIGO"), QStringLiteral("EMI_NOME"));
    DBLookupComboBox2 = lookup("DBLookupComboBox2", QStringLiteral("PRG_CODIGO"), DS_Programas,
                               QStringLiteral("PRG_CODIGO"), QStringLiteral("PRG_NOME"));
    DBLookupComboBox2->setEnabled(false);

    DBMemo1 = new dataset::DBMemo(PFundo);
    DBMemo1->setObjectName(QStringLiteral("DBMemo1"));
    DBMemo1->SetDataSource(DataSource1);
    DBMemo1->SetDataField(QStringLiteral("LAN_ASSUNTO"));
    DBMemo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    DBMemo1->setTabChangesFocus(true);
    DBMemo1->setMinimumHeight(110);
    DBMemo1->installEventFilter(this);

    Label1 = rotulo(PFundo, "Label1", QStringLiteral("Data:"), DBEdit1);
    Label2 = rotulo(PFundo, "Label2", QStringLiteral("Horário:"), DBEdit5);
    Label3 = rotulo(PFundo, "Label3", QStringLiteral("Tempo:"), DBEdit2);
    Label4 = rotulo(PFundo, "Label4", QStringLiteral("Emissora:"), DBLookupComboBox1);
    Label5 = rotulo(PFundo, "Label5", QStringLiteral("Velocidade:"), DBEdit4);
    Label6 = rotulo(PFundo, "Label6", QStringLiteral("Programa:"), DBLookupComboBox2);
    Label7 = rotulo(PFundo, "Label7", QStringLiteral("Cod.:"), DBEdit3);
    Label8 = rotulo(PFundo, "Label8", QStringLiteral("Assunto:"), DBMemo1);
    Label8->setAlignment(Qt::AlignRight | Qt::AlignTop);

    auto* tempos = new QHBoxLayout;
    tempos->setSpacing(6);
    tempos->addWidget(DBEdit1);
    tempos->addSpacing(12);
    tempos->addWidget(Label2);
    tempos->addWidget(DBEdit5);
    tempos->addSpacing(12);
    tempos->addWidget(Label3);
    tempos->addWidget(DBEdit2);
    tempos->addStretch(1);

    g->addWidget(Label1, 0, 0);
    g->addLayout(tempos, 0, 1, 1, 3);
    g->addWidget(DBRadioGroup1, 1, 1, 1, 3);
    g->addWidget(Label4, 2, 0);
    g->addWidget(DBLookupComboBox1, 2, 1);
    g->addWidget(Label5, 2, 2);
    g->addWidget(DBEdit4, 2, 3, Qt::AlignLeft);
    g->addWidget(Label6, 3, 0);
    g->addWidget(DBLookupComboBox2, 3, 1);
    g->addWidget(Label7, 3, 2);
    g->addWidget(DBEdit3, 3, 3, Qt::AlignLeft);
    g->addWidget(Label8, 4, 0);
    g->addWidget(DBMemo1, 4, 1, 1, 3);
    g->setColumnStretch(1, 1);

    QWidget::setTabOrder(DBEdit1, DBEdit5);
    QWidget::setTabOrder(DBEdit5, DBEdit2);
    QWidget::setTabOrder(DBEdit2, DBRadioGroup1);
    QWidget::setTabOrder(DBRadioGroup1, DBLookupComboBox1);
    QWidget::setTabOrder(DBLookupComboBox1, DBEdit4);
    QWidget::setTabOrder(DBEdit4, DBLookupComboBox2);
    QWidget::setTabOrder(DBLookupComboBox2, DBEdit3);
    QWidget::setTabOrder(DBEdit3, DBMemo1);

    // Search button.
    auto* busca = new QHBoxLayout(PBusca);
    busca->setContentsMargins(6, 4, 6, 4);
    SpeedButton1 = new QToolButton(PBusca);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setText(QStringLiteral("Pesquisar Lançamentos"));
    SpeedButton1->setFocusPolicy(Qt::NoFocus);
    SpeedButton1->setMinimumHeight(26);
    busca->addStretch(1);
    busca->addWidget(SpeedButton1);
    connect(SpeedButton1, &QToolButton::clicked, this, [this] {
        try {
            SpeedButton1Click();
        } catch (const std::exception& e) {
            TratarExcecao(SpeedButton1, e);
        }
    });

    auto aoMudar = [this] {
        try {
            DataSource1DataChange();
        } catch (const std::exception& e) {
            TratarExcecao(DataSource1, e);
        }
    };
    connect(DataSource1, &dataset::DataSource::dataChanged, this, aoMudar);
    connect(DataSource1, &dataset::DataSource::scrolled, this, aoMudar);
    connect(DataSource1, &dataset::DataSource::stateChanged, this, aoMudar);
}

TFrmLancamentos::~TFrmLancamentos() = default;

void TFrmLancamentos::FormShow() {
    TFrmBase::FormShow();
    Q_Emissoras->Close();
    Q_Emissoras->Open();
    Q_Emissoras->FetchAll();
    Q_Programas->Close();
    Q_Programas->Open();
    Q_Programas->FetchAll();

    dataset::Query* q = DM->Q_Lancamento;
    q->Close();
    q->SQL.Clear();
    if (ChamadaExterna == 1 && LancamentoAbrir > 0) {
        // Only the row asked for is read: the entry table may be very large.
        q->SQL.Add(QStringLiteral("Select * from TB_Lancamento"));
        q->SQL.Add(QStringLiteral("where LAN_CODIGO = :LAN_CODIGO"));
        q->ParamByName(QStringLiteral("LAN_CODIGO"))->SetAsInteger(LancamentoAbrir);
        q->Open();
        q->Locate(QStringLiteral("LAN_CODIGO"), LancamentoAbrir);
    } else {
        q->SQL.Add(QStringLiteral("Select first(1) * from Tb_lancamento"));
        q->Open();
        q->Append();
        DBEdit1->setFocus();
    }
    DataSource1DataChange();
}

void TFrmLancamentos::DataSource1StateChange() {
    // Disabling the input panel moves the focus out of the subject: that is
    // not the user leaving it.
    const bool antes = focoPelaTela_;
    focoPelaTela_ = true;
    try {
        TFrmBaseFilha::DataSource1StateChange();
    } catch (...) {
        focoPelaTela_ = antes;
        throw;
    }
    focoPelaTela_ = antes;
}

void TFrmLancamentos::DataSource1DataChange() {
    dataset::DataSet* ds = DataSetPrincipal();
    dataset::Field* emi = ds && ds->Active() ? ds->FindField(QStringLiteral("EMI_CODIGO")) : nullptr;
    DBLookupComboBox2->setEnabled(emi && !emi->IsNull());
}

void TFrmLancamentos::SBNovoBeforeAction() {
    TFrmBaseFilha::SBNovoBeforeAction();
    transportar_ = false;
    dataset::DataSet* ds = DataSetPrincipal();
    if (!ds || !ds->Active())
        return;
    transporte_.data = ds->FieldByName(QStringLiteral("LAN_DATA"))->DisplayText();
    transporte_.hora = ds->FieldByName(QStringLiteral("LAN_HORA"))->AsString();
    transporte_.velocidade = ds->FieldByName(QStringLiteral("LAN_VELOCIDADE"))->AsString();
    transporte_.codigo = ds->FieldByName(QStringLiteral("LAN_CODLANCAMENTO"))->AsString();
    transporte_.tipo = DBRadioGroup1->ItemIndex();
    transporte_.emissora = ds->FieldByName(QStringLiteral("EMI_CODIGO"))->Value();
    transporte_.programa = ds->FieldByName(QStringLiteral("PRG_CODIGO"))->Value();
    transportar_ = true;
}

void TFrmLancamentos::SBNovoAfterAction(ResultadoAcao& r) {
    if (r.Falhou || !transportar_)
        return;
    transportar_ = false;
    dataset::DataSet* ds = DataSetPrincipal();
    ds->FieldByName(QStringLiteral("LAN_DATA"))->SetAsDateTime(dataset::StrToDate(transporte_.data));
    auto texto = [ds](const QString& campo, const QString& v) {
        dataset::Field* f = ds->FieldByName(campo);
        if (v.isEmpty())
            f->Clear();
        else
            f->SetAsString(v);
    };
    texto(QStringLiteral("LAN_HORA"), transporte_.hora);
    texto(QStringLiteral("LAN_VELOCIDADE"), transporte_.velocidade);
    texto(QStringLiteral("LAN_CODLANCAMENTO"), transporte_.codigo);
    if (transporte_.tipo >= 0)
        DBRadioGroup1->SetItemIndex(transporte_.tipo);
    ds->FieldByName(QStringLiteral("EMI_CODIGO"))->SetValue(transporte_.emissora);
    ds->FieldByName(QStringLiteral("PRG_CODIGO"))->SetValue(transporte_.programa);
    // The screen moving the focus out of the subject is not the user leaving it.
    focoPelaTela_ = true;
    DBEdit1->setFocus();
    focoPelaTela_ = false;
}

void TFrmLancamentos::SBSalvarBeforeAction() {
    TFrmBaseFilha::SBSalvarBeforeAction();
    if (DBLookupComboBox2->Text().isEmpty()) {
        msg::Informar(QStringLiteral("É necessário informar um programa!"));
        clip::Abort();
    }
}

void TFrmLancamentos::SBSalvarAfterAction(ResultadoAcao& r) {
    if (r.Falhou)
        return;
    // The next entry starts at once; a refused insert right has shown its
    // message and leaves the saved entry on screen.
    try {
        Pressionar(SBNovo);
    } catch (const clip::EAbort&) {
    }
}

bool TFrmLancamentos::eventFilter(QObject* obj, QEvent* ev) {
    if (obj == DBMemo1) {
        if (ev->type() == QEvent::FocusIn) {
            DBMemo1Enter();
        } else if (ev->type() == QEvent::FocusOut) {
            const auto razao = static_cast<QFocusEvent*>(ev)->reason();
            if (focoPelaTela_)
                KeyPreview = true;
            // Another window taking the focus (a message box, a menu) is not
            // leaving the memo.
            if (razao != Qt::ActiveWindowFocusReason && razao != Qt::PopupFocusReason && !focoPelaTela_) {
                try {
                    DBMemo1Exit();
                } catch (const std::exception& e) {
                    TratarExcecao(DBMemo1, e);
                }
            }
        }
    }
    return TFrmBaseFilha::eventFilter(obj, ev);
}

void TFrmLancamentos::DBMemo1Enter() {
    // Enter makes a new line in the subject; F2-F6 stay with the memo too.
    KeyPreview = false;
}

void TFrmLancamentos::DBMemo1Exit() {
    KeyPreview = true;
    if (focoPelaTela_)
        return;
    dataset::DataSet* ds = DataSetPrincipal();
    if (ds && ds->IsEditing())
        DBMemo1->UpdateRecord();
    ConfirmarGravacao();
}

void TFrmLancamentos::SpeedButton1Click() {
    if (DMBanco)
        DMBanco->PedidoAtual = 0;
    AbrirFormulario<TFrmPesquisaLancamento>(false, 0);
}
