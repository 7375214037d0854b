#pragma once

#include "platform/report/Pipeline.h"
#include "platform/report/Report.h"

#include <QComboBox>
#include <QDialog>
#include <QString>
#include <functional>
#include <memory>

class QLabel;
class QLineEdit;
class QTabWidget;
class QToolButton;
class TRadioGroup;

namespace dataset {
class DataSet;
class DataSource;
class Query;
} // namespace dataset

namespace widgets { class ColorEdit; }

// A drop-down list of the values of one field of a list dataset, bound to no
// record. It shows the value last picked, even after the list has been
// reloaded without it; nothing picked shows (and gives) an empty text.
class TCaixaLista : public QComboBox {
    Q_OBJECT
public:
    explicit TCaixaLista(QWidget* parent = nullptr);

    // Fills the list with the field's values, every row of the dataset read.
    void SetLista(dataset::DataSet* lista, const QString& campo);
    // Reads the list again from the same dataset.
    void Recarregar();
    // The value picked; empty while nothing was picked.
    QString Texto() const { return texto_; }
    // Picks the item as the user would (the escolhido signal follows).
    void Escolher(int indice);

signals:
    // The user picked the item of that row of the list.
    void escolhido(int linha);

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    void mostrarEscolha();
    dataset::DataSet* lista_ = nullptr;
    QString campo_;
    QString texto_;
};

// A pipeline over the current row of a dataset, read where it stands:
// neither moving the cursor nor posting an edit in progress.
class TPipelineRegistro : public report::Pipeline {
public:
    TPipelineRegistro(QString nome, dataset::DataSet* dados);
    QStringList fieldNames() const override;
    void first() override { fim_ = false; }
    void next() override { fim_ = true; }
    bool atEnd() const override;
    QVariant value(int campo) const override;
    using Pipeline::value;

private:
    dataset::DataSet* ds_;
    bool fim_ = false;
};

// The report screen: four lists (clients, stations, entries of a period,
// orders of a period) printed from the templates in Relatorios/, each with
// its own filters and sort order, on pages whose tabs are hidden. Whoever
// opens it brings the page of the list to the front before showing it.
class TFrmRelatorios : public QDialog {
    Q_OBJECT
public:
    explicit TFrmRelatorios(QWidget* parent = nullptr);
    ~TFrmRelatorios() override;

    // Pages.
    QTabWidget* PageControl1;
    QWidget* TabClientes;
    QWidget* TabEmissoras;
    QWidget* TabLancamentos;
    QWidget* TabPedidos;

    // Pick lists.
    dataset::Query* Q_EstadoCli;
    dataset::Query* Q_CidadeCli;
    dataset::Query* Q_EstadoEmi;
    dataset::Query* Q_CidadeEmi;
    dataset::Query* Q_Emissoras;
    dataset::Query* Q_Funcionarios;
    dataset::Query* Q_Clientes;
    dataset::DataSource* DS_EstadoCli;
    dataset::DataSource* DS_EstadoEmi;

    // Report queries and the source the report reads.
    dataset::Query* Q_RelClientes;
    dataset::Query* Q_RelEmissoras;
    dataset::Query* Q_RelLancamentos;
    dataset::Query* Q_RelPedidos;
    dataset::DataSource* DS_Relatorio;

    // Clients page.
    TCaixaLista* dbEstadoCli;
    TCaixaLista* DBCidadeCli;
    TRadioGroup* RGOrdenaCli;
    widgets::ColorEdit* EdColor;
    // Stations page.
    TCaixaLista* dbEstadoEmi;
    TCaixaLista* dbCidadeEmi;
    TRadioGroup* RGOrdenaEmi;
    // Entries page.
    QLineEdit* MEDataInicio;
    QLineEdit* MEDataFim;
    TCaixaLista* dbEmissoras;
    TCaixaLista* dbFuncionarios;
    TRadioGroup* RGOrdenaLan;
    // Orders page.
    QLineEdit* MEDataInicioPed;
    QLineEdit* MEDataFimPed;
    TCaixaLista* dbClientes;
    TCaixaLista* dbVendedor;
    QComboBox* DBStatus;
    QComboBox* DBSituacao;
    TRadioGroup* RadioGroup1;
    // Bottom panel.
    QToolButton* SpeedButton1;  // Imprimir
    QToolButton* SpeedButton2;  // Fechar

    // The report and its two pipelines: Base over DS_Relatorio's dataset,
    // DBEmpresa over the company record.
    report::Report Relatorio;

    // Shows the report's preview and returns when it is closed; the user
    // prints from there. Tests put their own viewer here.
    using Visualizador = std::function<void(const report::Report&, QWidget*)>;
    static Visualizador Visualizar;

    // The page showing and its list's query.
    QWidget* PaginaAtual() const;
    dataset::Query* ConsultaDaPagina(QWidget* pagina) const;

    // "Imprimir": rebuilds the statement of the list showing from its
    // filters, opens it and previews its template. The caller handles
    // errors (a period that is not a date raises a conversion error).
    void Imprimir();

protected:
    void showEvent(QShowEvent* e) override;
    void done(int resultado) override;

private:
    void FormShow();
    void FormClose();
    void SpeedButton1Click();
    void SpeedButton2Click();
    void Q_RelLancamentosCalcFields(dataset::DataSet& ds);
    void Q_RelPedidosCalcFields(dataset::DataSet& ds);

    void montarClientes();
    void montarEmissoras();
    void montarLancamentos();
    void montarPedidos();
    void montarRelClientes();
    void montarRelEmissoras();
    void montarRelLancamentos();
    void montarRelPedidos();
    void abrirLista(dataset::Query* q);
    void escolherEstado(dataset::Query* estados, dataset::Query* cidades, TCaixaLista* caixaCidades, int linha);
    dataset::Query* novaConsulta(const char* nome, const QStringList& linhas = {});

    std::unique_ptr<report::Pipeline> base_;
    std::unique_ptr<TPipelineRegistro> empresa_;
};
