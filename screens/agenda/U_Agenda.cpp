#include "screens/agenda/U_Agenda.h"

#include "app/U_Dm.h"
#include "platform/data/Field.h"
#include "platform/data/Query.h"
#include "platform/data/widgets/DBControls.h"
#include "platform/data/widgets/DBGrid.h"

#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QVBoxLayout>
#include <iterator>
#include <utility>

namespace {

const QStringList kEstados = {"AC", "AL", "AM", "AP", "BA", "CE", "DF", "ES", "GO", "MA", "MG", "MS", "MT", "PA",
                              "PB", "PE", "PI", "PR", "RJ", "RN", "RO", "RR", "RS", "SC", "SE", "SP", "TO"};

// Column searched by each item of "Localizar por: ".
const char* const kColunasBusca[] = {"Age_Nome", "Age_Cidade", "Age_Telefone", "Age_Celular"};

QStringList Numeros(int ate) {
    QStringList l;
    for (int i = 1; i <= ate; ++i)
        l << QString::number(i);
    return l;
}

} // namespace

TFrmAgenda::TFrmAgenda(QWidget* parent) : TFrmBaseFilha(parent) {
    setObjectName(QStringLiteral("FrmAgenda"));
    setWindowTitle(QStringLiteral("Agenda"));
    SetTag(1103);
    DataSource1->SetDataSet(agenda());

    auto edit = [this](const char* nome, const char* campo, int caracteres,
                       dataset::CharCase caixa = dataset::CharCase::Normal) {
        auto* e = new dataset::DBEdit(PFundo);
        e->setObjectName(QLatin1String(nome));
        e->SetDataSource(DataSource1);
        e->SetDataField(QLatin1String(campo));
        e->SetCharCase(caixa);
        if (caracteres > 0)
            LarguraEmCaracteres(e, caracteres);
        return e;
    };
    auto lista = [this](QWidget* pai, const char* nome, const char* campo, const QStringList& itens) {
        auto* c = new dataset::DBComboBox(pai);
        c->setObjectName(QLatin1String(nome));
        c->SetStyle(dataset::DBComboBox::DropDownList);
        c->SetItems(itens);
        c->SetDataSource(DataSource1);
        c->SetDataField(QLatin1String(campo));
        c->setMaxVisibleItems(12);
        c->installEventFilter(this);
        LarguraEmCaracteres(c, 5);
        return c;
    };
    using dataset::CharCase;

    // Record panel.
    auto* g = new QGridLayout(PFundo);
    g->setContentsMargins(8, 8, 8, 8);
    DBNome = edit("DBNome", "AGE_NOME", 0);
    DBEdit2 = edit("DBEdit2", "AGE_ENDERECO", 0);
    DBEdit3 = edit("DBEdit3", "AGE_BAIRRO", 22);
    DBEdit4 = edit("DBEdit4", "AGE_CIDADE", 30);
    DBComboBox1 = lista(PFundo, "DBComboBox1", "AGE_UF", kEstados);
    DBEdit5 = edit("DBEdit5", "AGE_CEP", 11);
    DBEdit9 = edit("DBEdit9", "AGE_TELEFONE", 20);
    DBEdit6 = edit("DBEdit6", "AGE_FAX", 20);
    DBEdit14 = edit("DBEdit14", "AGE_CELULAR", 20);
    DBEdit13 = edit("DBEdit13", "AGE_EMAIL", 0, CharCase::Lower);
    DBEdit1 = edit("DBEdit1", "AGE_WEB", 0, CharCase::Lower);
    DBEdit7 = edit("DBEdit7", "AGE_MSN", 0, CharCase::Lower);
    DBEdit8 = edit("DBEdit8", "AGE_SKYPE", 0, CharCase::Lower);

    GBAniversario = new QGroupBox(QStringLiteral("Aniversário"), PFundo);
    GBAniversario->setObjectName(QStringLiteral("GBAniversario"));
    auto* ga = new QHBoxLayout(GBAniversario);
    ga->setContentsMargins(8, 2, 8, 4);
    DBComboBox3 = lista(GBAniversario, "DBComboBox3", "AGE_DIAANIVERSARIO", Numeros(31));
    DBComboBox4 = lista(GBAniversario, "DBComboBox4", "AGE_MESANIVERSARIO", Numeros(12));
    for (auto [rotulo, caixa] : {std::pair{"Dia:", DBComboBox3}, std::pair{"Mês:", DBComboBox4}}) {
        auto* l = new QLabel(QString::fromUtf8(rotulo), GBAniversario);
        l->setBuddy(caixa);
        ga->addWidget(l);
        ga->addWidget(caixa);
    }
    ga->addStretch(1);

    int r = 0;
    AdicionarCampo(g, r++, 0, QStringLiteral("Nome:"), DBNome, 3);
    AdicionarCampo(g, r++, 0, QStringLiteral("Endereço:"), DBEdit2, 3);
    AdicionarCampo(g, r, 0, QStringLiteral("Bairro:"), DBEdit3);
    AdicionarCampo(g, r++, 2, QStringLiteral("CEP:"), DBEdit5);
    AdicionarCampo(g, r, 0, QStringLiteral("Cidade:"), DBEdit4);
    AdicionarCampo(g, r++, 2, QStringLiteral("UF:"), DBComboBox1);
    AdicionarCampo(g, r, 0, QStringLiteral("Fone:"), DBEdit9);
    AdicionarCampo(g, r++, 2, QStringLiteral("Fax: "), DBEdit6);
    AdicionarCampo(g, r, 0, QStringLiteral("Celular:"), DBEdit14);
    g->addWidget(GBAniversario, r++, 2, 1, 2, Qt::AlignLeft);
    AdicionarCampo(g, r++, 0, QStringLiteral("E-Mail:"), DBEdit13, 3);
    AdicionarCampo(g, r++, 0, QStringLiteral("Site:"), DBEdit1, 3);
    AdicionarCampo(g, r, 0, QStringLiteral("MSN:"), DBEdit7);
    AdicionarCampo(g, r++, 2, QStringLiteral("Skype:"), DBEdit8);

    DBMemo1 = new dataset::DBMemo(PFundo);
    DBMemo1->setObjectName(QStringLiteral("DBMemo1"));
    DBMemo1->SetDataSource(DataSource1);
    DBMemo1->SetDataField(QStringLiteral("AGE_OBS"));
    DBMemo1->setFixedHeight(52);
    DBMemo1->installEventFilter(this);
    auto* rotuloObs = new QLabel(QStringLiteral("Observação:"), PFundo);
    rotuloObs->setAlignment(Qt::AlignRight | Qt::AlignTop);
    rotuloObs->setBuddy(DBMemo1);
    g->addWidget(rotuloObs, r, 0);
    g->addWidget(DBMemo1, r++, 1, 1, 3);
    g->setColumnStretch(3, 1);

    // Search panel.
    auto* lb = new QVBoxLayout(PBusca);
    lb->setContentsMargins(8, 4, 8, 8);
    auto* linha = new QHBoxLayout;
    auto* rotuloPesquisa = new QLabel(QStringLiteral("Pesquisa:"), PBusca);
    EdPesquisa = new TEditMaiusculas(PBusca);
    EdPesquisa->setObjectName(QStringLiteral("EdPesquisa"));
    rotuloPesquisa->setBuddy(EdPesquisa);
    linha->addWidget(rotuloPesquisa);
    linha->addWidget(EdPesquisa, 1);
    lb->addLayout(linha);

    RGLocalizar = new TRadioGroup(PBusca);
    RGLocalizar->setObjectName(QStringLiteral("RGLocalizar"));
    RGLocalizar->setTitle(QStringLiteral("Localizar por: "));
    RGLocalizar->SetItems({QStringLiteral("Nome"), QStringLiteral("Cidade"), QStringLiteral("Fone"),
                           QStringLiteral("Celular")},
                          4);
    RGLocalizar->SetItemIndex(0);
    RGLocalizar->OnClick = [this](TRadioGroup&) { EdPesquisaChange(); };
    lb->addWidget(RGLocalizar);

    DBGrid1 = new dataset::DBGrid(PBusca);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->SetDataSource(DataSource1);
    {
        dataset::GridColumn nome;
        nome.FieldName = QStringLiteral("AGE_NOME");
        nome.Title = QStringLiteral("Nome");
        nome.Width = 340;
        dataset::GridColumn fone;
        fone.FieldName = QStringLiteral("AGE_TELEFONE");
        fone.Title = QStringLiteral("Fone");
        fone.Width = 135;
        dataset::GridColumn celular = fone;
        celular.FieldName = QStringLiteral("AGE_CELULAR");
        celular.Title = QStringLiteral("Celular");
        DBGrid1->SetColumns({nome, fone, celular});
    }
    DBGrid1->SetRowSelect(true);
    DBGrid1->setFocusPolicy(Qt::ClickFocus);  // not a Tab stop
    DBGrid1->setFixedSize(630, 150);
    lb->addWidget(DBGrid1, 1);

    connect(EdPesquisa, &QLineEdit::textChanged, this, [this] { EdPesquisaChange(); });

    QWidget* ordem[] = {DBNome,   DBEdit2,  DBEdit3,  DBEdit5,  DBEdit4,     DBComboBox1, DBEdit9, DBEdit6,
                        DBEdit14, DBEdit13, DBEdit1,  DBEdit7,  DBEdit8,     DBComboBox3, DBComboBox4,
                        DBMemo1,  EdPesquisa};
    for (size_t i = 1; i < std::size(ordem); ++i)
        setTabOrder(ordem[i - 1], ordem[i]);
}

TFrmAgenda::~TFrmAgenda() = default;

dataset::Query* TFrmAgenda::agenda() const { return DM ? DM->Q_Agenda : nullptr; }

void TFrmAgenda::FormShow() {
    TFrmBaseFilha::FormShow();
    EdPesquisa->setFocus();
}

void TFrmAgenda::EdPesquisaChange() {
    dataset::Query* q = agenda();
    if (!q)
        return;
    int opcao = RGLocalizar->ItemIndex();
    if (opcao < 0 || opcao >= int(std::size(kColunasBusca)))
        opcao = 0;
    q->Close();
    q->SQL.Clear();
    q->SQL.Add(QStringLiteral("Select * from tb_Agenda where "));
    q->SQL.Add(CondicaoLike(QLatin1String(kColunasBusca[opcao]), EdPesquisa->text()));
    q->Open();
}

bool TFrmAgenda::eventFilter(QObject* o, QEvent* e) {
    dataset::DataSet* ds = DataSetPrincipal();
    if (e->type() == QEvent::FocusOut && o == DBMemo1) {
        const Qt::FocusReason motivo = static_cast<QFocusEvent*>(e)->reason();
        if (motivo != Qt::ActiveWindowFocusReason && motivo != Qt::PopupFocusReason && ds && ds->IsEditing())
            // Let the memo write its text first, then ask.
            QMetaObject::invokeMethod(this, [this] { ConfirmarGravacao(); }, Qt::QueuedConnection);
    } else if (e->type() == QEvent::KeyPress && ds && ds->IsEditing() &&
               (o == DBComboBox1 || o == DBComboBox3 || o == DBComboBox4)) {
        // Delete or Backspace empties a drop-down list's field.
        const int tecla = static_cast<QKeyEvent*>(e)->key();
        if (tecla == Qt::Key_Delete || tecla == Qt::Key_Backspace) {
            ds->FieldByName(static_cast<dataset::DBComboBox*>(o)->DataField())->Clear();
            return true;
        }
    }
    return TFrmBaseFilha::eventFilter(o, e);
}

void TFrmAgenda::DataSource1StateChange() {
    TFrmBaseFilha::DataSource1StateChange();
    dataset::DataSet* ds = DataSetPrincipal();
    const bool editando = ds && ds->IsEditing();
    for (QWidget* w : {static_cast<QWidget*>(EdPesquisa), static_cast<QWidget*>(RGLocalizar)})
        if (w)
            w->setEnabled(!editando);
}

void TFrmAgenda::SBNovoAfterAction(ResultadoAcao& r) {
    if (!r.Falhou)
        DBNome->setFocus();
}
