#pragma once

#include "platform/report/Report.h"
#include "screens/base/U_BaseChild.h"

#include <functional>
#include <memory>

class QGroupBox;
class QToolButton;

namespace dataset {
class DBCheckBox; class DBComboBox; class DBEdit; class DBGrid; class DBLookupComboBox; class DataSource; class Query;
}
namespace report { class DataSetPipeline; }
namespace widgets { class ColorEdit; }

// A pipeline over the current row of a dataset that is kept open elsewhere
// (the company record): one row, read where the cursor stands, so that
// printing never moves or posts the record.
class TPipelineRegistroAtual : public report::Pipeline {
public:
    TPipelineRegistroAtual(QString nome, dataset::DataSet* dados);
    QStringList fieldNames() const override;
    void first() override { fim_ = false; }
    void next() override { fim_ = true; }
    bool atEnd() const override;
    QVariant value(int campo) const override;
    using report::Pipeline::value;

private:
    dataset::DataSet* ds_;
    bool fim_ = false;
};

// The order form ("Pedido de Venda", screen 1106): the current order of
// DM->Q_Pedido with its client, seller, medium, payment and delivery, the
// entries that are its items (DM->Q_ItensPedido, the screen's DataSource1),
// and the printing of the order from its template or into a text file.
//
// The tool bar works on DM->DS_Pedido; the order's panel can be typed in
// while the order is being edited.
class TFrmPedido : public TFrmBaseFilha {
    Q_OBJECT
public:
    explicit TFrmPedido(QWidget* parent = nullptr);
    ~TFrmPedido() override;

    // Lookup lists of the form.
    dataset::Query* Q_Clientes;
    dataset::Query* Q_Funcionarios;
    dataset::Query* Q_Vendedores;   // lookup field FUN_NOME from Q_Funcionarios
    dataset::Query* Q_Prazo;        // terms of DM->Q_FormaPagto's current row
    dataset::DataSource* DS_Clientes;
    dataset::DataSource* DS_Vendedores;
    dataset::DataSource* DS_Midias;
    dataset::DataSource* DS_FormaPagto;
    dataset::DataSource* DS_Prazo;

    // Order fields.
    dataset::DBLookupComboBox* DBLookupComboBox1;  // CLI_CODIGO
    QToolButton* SBBuscaCliente;
    dataset::DBEdit* DBEdit1;                      // PED_VALOR
    dataset::DBLookupComboBox* DBLookupComboBox2;  // MID_CODIGO
    dataset::DBLookupComboBox* DBLookupComboBox3;  // VEN_CODIGO
    dataset::DBEdit* DBEdit2;                      // PED_DATAENTREGA
    dataset::DBEdit* DBEdit3;                      // PED_HORARIO
    dataset::DBLookupComboBox* DBLookupComboBox4;  // FPG_CODIGO
    dataset::DBLookupComboBox* DBLookupComboBox5;  // PRA_CODIGO
    dataset::DBEdit* DBEdit4;                      // PED_NUMERO
    dataset::DBComboBox* DBStatus;                 // PED_STATUS
    widgets::ColorEdit* EdColor;
    dataset::DBEdit* DBEdit5;                      // PED_QUANTIDADE
    dataset::DBCheckBox* DBCheckBox1;              // PED_PAGO
    dataset::DBEdit* DBEdit6;                      // PED_NOMESOLICITANTE
    dataset::DBEdit* DBEdit7;                      // PED_EMAILSOLICITANTE
    dataset::DBEdit* DBEdit8;                      // PED_FONESOLICITANTE

    // Items.
    QGroupBox* GroupBox1;
    dataset::DBGrid* DBGrid1;

    QToolButton* SpeedButton1;  // "&Adicionar Lançamento"
    QToolButton* SpeedButton2;  // "&Pesquisar Pedidos"
    QToolButton* SpeedButton3;  // "&Imprimir Pedido"
    QToolButton* SpeedButton4;  // "E&xcluir Lançamento"
    QToolButton* SpeedButton5;  // "&Gerar Arquivo"

    // Printing: the order with its client, medium, payment and seller
    // (parameter CODPEDIDO) and its items with their entries (detail of
    // Q_Pedido), fed to the reports through Base1, DBItensPedido and, for
    // the company header, DBEmpresa.
    dataset::Query* Q_Pedido;
    dataset::Query* Q_ItensPedido;
    dataset::DataSource* DS_ImpPedido;
    std::unique_ptr<TPipelineRegistroAtual> DBEmpresa;
    std::unique_ptr<report::DataSetPipeline> Base1;
    std::unique_ptr<report::DataSetPipeline> DBItensPedido;
    // The order report, loaded from the template when printing, and the
    // text report with the built-in layout.
    report::Report RPPedido;
    report::Report RPArquivo;

    // The built-in layout of the printed order.
    static void MontarLayout(report::Report& r);
    // Relatorios/RP_PedidoVenda.rtm in the executable folder.
    static QString ArquivoModelo();

    // Shows the report's preview and returns when it is closed; the user
    // prints from there. Tests put their own viewer here.
    using Visualizador = std::function<void(const report::Report&, QWidget*)>;
    static Visualizador Visualizar;

    // Handlers (public so that the screens that open this one and tests can
    // run them as a click does).
    void SBBuscaClienteClick();
    void SpeedButton1Click();
    void SpeedButton2Click();
    void SpeedButton3Click();
    void SpeedButton4Click();
    void SpeedButton5Click();
    void DBLookupComboBox2CloseUp();

protected:
    void FormShow() override;
    bool FormKeyDown(QKeyEvent* e) override;
    void DataSource1StateChange() override;
    void SBNovoAfterAction(ResultadoAcao& r) override;
    void SBSalvarBeforeAction() override;
    void SBExcluirAfterAction(ResultadoAcao& r) override;

private:
    void FormCreate();
    void Q_PedidoCalcFields(dataset::DataSet& ds);
    // Closes both print queries and opens them on the current order, the
    // items first when itensPrimeiro; false (after the message) when the
    // order cannot be read or the template is missing.
    bool PrepararImpressao(bool itensPrimeiro);
    void executar(QObject* remetente, const std::function<void()>& f);
};
