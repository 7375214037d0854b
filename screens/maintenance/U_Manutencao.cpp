#include "U_Manutencao.h"

#include "app/U_DMBanco.h"
#include "common/Mensagens.h"
#include "platform/core/Exception.h"
#include "platform/data/Query.h"
#include "platform/firebird/Transaction.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QShowEvent>
#include <QToolButton>
#include <QVBoxLayout>
#include <memory>

std::function<QDate()> TFrmManutencao::Hoje = [] { return QDate::currentDate(); };

namespace {

const QString kFormatoData = QStringLiteral("dd/MM/yyyy");

void Executar(dataset::Query& q, const QStringList& linhas) {
    q.SQL.Clear();
    for (const QString& l : linhas)
        q.SQL.Add(l);
    q.ExecSQL();
}

int Contar(dataset::Query& q, const QString& tabela, const QString& coluna, const QDate& limite) {
    q.Close();
    q.SQL.Clear();
    q.SQL.Add(QStringLiteral("Select count(*) from ") + tabela);
    q.SQL.Add(QStringLiteral("Where ") + coluna + QStringLiteral(" < :Data"));
    q.ParamByName(QStringLiteral("Data"))->SetAsDate(limite);
    q.Open();
    const int n = q.Fields(0)->AsInteger();
    q.Close();
    return n;
}

void ExcluirAnteriores(dataset::Query& q, const QString& tabela, const QString& coluna, const QDate& limite) {
    q.Close();
    q.SQL.Clear();
    q.SQL.Add(QStringLiteral("Delete from ") + tabela);
    q.SQL.Add(QStringLiteral("Where ") + coluna + QStringLiteral(" < :Data"));
    q.ParamByName(QStringLiteral("Data"))->SetAsDate(limite);
    q.ExecSQL();
}

} // namespace

TFrmManutencao::TFrmManutencao(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FrmManutencao"));
    setWindowTitle(QStringLiteral("Manutenção"));

    auto* coluna = new QVBoxLayout(this);
    coluna->setContentsMargins(12, 12, 12, 12);
    coluna->setSpacing(10);

    GroupBox1 = new QGroupBox(QStringLiteral("Excluir: "), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    auto* g = new QGridLayout(GroupBox1);
    cbLancamento = new QCheckBox(QStringLiteral("Lançamentos"), GroupBox1);
    cbLancamento->setObjectName(QStringLiteral("cbLancamento"));
    CBPedidos = new QCheckBox(QStringLiteral("Pedidos"), GroupBox1);
    CBPedidos->setObjectName(QStringLiteral("CBPedidos"));
    g->addWidget(cbLancamento, 0, 0, 1, 2);
    g->addWidget(CBPedidos, 1, 0, 1, 2);

    DT1 = new QDateEdit(GroupBox1);
    DT1->setObjectName(QStringLiteral("DT1"));
    DT1->setCalendarPopup(true);
    DT1->setDisplayFormat(kFormatoData);
    DT1->setCorrectionMode(QAbstractSpinBox::CorrectToPreviousValue);
    auto* rotulo = new QLabel(QStringLiteral("Anteriores a:"), GroupBox1);
    rotulo->setBuddy(DT1);
    g->addWidget(rotulo, 2, 0);
    g->addWidget(DT1, 2, 1, Qt::AlignLeft);
    g->setColumnStretch(1, 1);
    coluna->addWidget(GroupBox1);

    auto* botoes = new QHBoxLayout;
    botoes->addStretch(1);
    auto botao = [this, botoes](const char* nome, const QString& texto) {
        auto* b = new QToolButton(this);
        b->setObjectName(QLatin1String(nome));
        b->setText(texto);
        b->setToolButtonStyle(Qt::ToolButtonTextOnly);
        b->setMinimumSize(90, 30);
        botoes->addWidget(b);
        return b;
    };
    SpeedButton1 = botao("SpeedButton1", QStringLiteral("Excluir"));
    SpeedButton2 = botao("SpeedButton2", QStringLiteral("Sair"));
    coluna->addLayout(botoes);

    connect(SpeedButton1, &QToolButton::clicked, this, [this] { SpeedButton1Click(); });
    connect(SpeedButton2, &QToolButton::clicked, this, [this] { SpeedButton2Click(); });
    resize(320, 180);
}

TFrmManutencao::~TFrmManutencao() = default;

void TFrmManutencao::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    if (!e->spontaneous())
        FormShow();
}

void TFrmManutencao::FormShow() { DT1->setDate(Hoje()); }

QDate TFrmManutencao::DataLimite() const {
    const QDate data = QDate::fromString(DT1->text(), kFormatoData);
    if (!DT1->hasAcceptableInput() || !data.isValid())
        throw clip::EConvertError(QStringLiteral("'%1' is not a valid date").arg(DT1->text()));
    return data;
}

void TFrmManutencao::SpeedButton1Click() {
    const QDate limite = DataLimite();
    const bool lancamentos = cbLancamento->isChecked();
    const bool pedidos = CBPedidos->isChecked();
    fb::Transaction* tra = DMBanco ? &DMBanco->Trans_Clipping : nullptr;

    // Created for this purge and freed on every way out.
    auto q = std::make_unique<dataset::Query>();
    q->SetTransaction(tra);

    bool pedidoAtualExcluido = false;
    if (lancamentos || pedidos) {
        const int nLancamentos =
            lancamentos ? Contar(*q, QStringLiteral("TB_Lancamento"), QStringLiteral("Lan_Data"), limite) : 0;
        const int nPedidos =
            pedidos ? Contar(*q, QStringLiteral("TB_Pedido"), QStringLiteral("Ped_DataEntrega"), limite) : 0;
        if (nLancamentos + nPedidos > 0) {
            QString texto;
            if (lancamentos)
                texto += QStringLiteral("Lançamentos a excluir: %1\r").arg(nLancamentos);
            if (pedidos)
                texto += QStringLiteral("Pedidos a excluir: %1\r").arg(nPedidos);
            texto += QStringLiteral("\rConfirma a exclusão dos registros anteriores a %1?")
                         .arg(limite.toString(kFormatoData));
            if (msg::Perguntar(texto, QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes)
                return;
        }

        // The order the entry search adds to goes with the purge when it is
        // to be delivered before the date.
        if (pedidos && DMBanco && DMBanco->PedidoAtual != 0) {
            q->SQL.Clear();
            q->SQL.Add(QStringLiteral("Select count(*) from TB_Pedido"));
            q->SQL.Add(QStringLiteral("Where Ped_Codigo = :Codigo and Ped_DataEntrega < :Data"));
            q->ParamByName(QStringLiteral("Codigo"))->SetAsInteger(DMBanco->PedidoAtual);
            q->ParamByName(QStringLiteral("Data"))->SetAsDate(limite);
            q->Open();
            pedidoAtualExcluido = q->Fields(0)->AsInteger() > 0;
            q->Close();
        }

        // Entries first, then orders; a failing statement undoes the whole
        // purge, so nothing of it is left for a later commit to keep.
        Executar(*q, {QStringLiteral("Savepoint Manutencao")});
        try {
            if (lancamentos)
                ExcluirAnteriores(*q, QStringLiteral("TB_Lancamento"), QStringLiteral("Lan_Data"), limite);
            if (pedidos)
                ExcluirAnteriores(*q, QStringLiteral("TB_Pedido"), QStringLiteral("Ped_DataEntrega"), limite);
        } catch (...) {
            try {
                Executar(*q, {QStringLiteral("Rollback to Savepoint Manutencao")});
            } catch (...) {
            }
            throw;
        }
        Executar(*q, {QStringLiteral("Release Savepoint Manutencao")});
    }
    if (tra)
        tra->commitRetaining();
    q.reset();
    if (pedidoAtualExcluido)
        DMBanco->PedidoAtual = 0;

    msg::Informar(QStringLiteral("Manutenção efetuada com sucesso"));
    close();
}

void TFrmManutencao::SpeedButton2Click() { close(); }
