#pragma once

#include "platform/report/Pipeline.h"
#include "platform/report/Report.h"
#include "screens/base/U_FormBase.h"

#include <functional>
#include <memory>

class QGroupBox;
class QToolButton;
class TFrmPesquisaLancamento;

namespace dataset {
class DBGrid;
class DataSet;
class MemoryTable;
class Query;
} // namespace dataset
namespace report { class DataSetPipeline; }
namespace widgets { class ColorEdit; }

// The client report ("Informe"): marked entries of the entry search, kept
// in memory in the order they were added, printed as a letter signed by the
// signed-in employee under the company header, or written to an RTF file.
// One instance at a time (FrmInforme); its content goes when it closes.
class TFrmInforme : public TFrmBase {
    Q_OBJECT
public:
    explicit TFrmInforme(QWidget* parent = nullptr);
    ~TFrmInforme() override;

    // The report's rows: LAN_DATA, LAN_HORA, LAN_TEMPO, LAN_ASSUNTO,
    // EMI_NOME (20 characters), PRG_NOME, FUN_NOME. DataSource1 shows it.
    dataset::MemoryTable* DataSetInforme;
    // Name of the signed-in employee (parameter FUN_CODIGO from the login
    // query's current row).
    dataset::Query* Q_Funcionario;

    QGroupBox* GroupBox1;
    dataset::DBGrid* DBGrid1;
    QToolButton* BInforme;      // "&Imprimir Informe"
    widgets::ColorEdit* EdColor;
    QToolButton* BArquivo;      // "&Gerar Arquivo"
    QToolButton* SpeedButton1;  // "&Adicionar Lançamento"
    QToolButton* SpeedButton4;  // "E&xcluir Lançamento"
    QToolButton* SpeedButton2;  // "&Sair"

    // The full layout (preview and print) and the short one (RTF file).
    // Pipelines: DataSetInforme (the rows), DBEmpresa (the company record)
    // and DBFuncionario (Q_Funcionario).
    report::Report RPInforme;
    report::Report RPArquivo;
    static void MontarLayoutCompleto(report::Report& r);
    static void MontarLayoutResumido(report::Report& r);

    // Empties the report table.
    void Limpar();
    // Appends one row from the current row of a search result.
    void AdicionarLinha(const dataset::DataSet& busca);
    // Closes and reopens the signed-in employee's name.
    void AtualizarFuncionario();

    // Shows the report's preview and returns when it is closed; the user
    // prints from there. Tests put their own viewer here.
    using Visualizador = std::function<void(const report::Report&, QWidget*)>;
    static Visualizador Visualizar;

    // Handlers (public so that tests can run them as a click does).
    void BInformeClick();
    void BArquivoClick();
    void SpeedButton1Click();
    void SpeedButton4Click();

protected:
    void FormShow() override;
    void FormClose(QCloseEvent* e) override;

private:
    // Company row and recolouring, just before a report runs; false when
    // there is nothing to print (after the message).
    bool PrepararImpressao();
    void executar(QObject* remetente, const std::function<void()>& f);

    std::unique_ptr<report::DataSetPipeline> pipeInforme_;
    std::unique_ptr<report::DataSetPipeline> pipeFuncionario_;
    std::unique_ptr<report::MemoryPipeline> pipeEmpresa_;
};

// The client report screen that is open (null when none is).
extern TFrmInforme* FrmInforme;

// The entry search's "Adicionar / Gerar Informe": the marked rows of the
// search's result, in its order, go to the open client report (or to a new
// one, opened empty), then the search closes.
void AdicionarAoInforme(TFrmPesquisaLancamento& busca);

// The entry search's "Adicionar / Gerar Pedido": the order form is opened
// (TFrmPesquisaLancamento::AbrirFormularioPedido), order PedidoAtual is put
// into editing, or a new order is written and put into editing when there
// is none; one item per marked row is written to that order, the order's
// item list reloaded and the search closed. A failing item stops there:
// the items written stay and the search stays open.
void AdicionarAoPedido(TFrmPesquisaLancamento& busca);
