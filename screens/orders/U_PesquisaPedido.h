#pragma once

#include "screens/base/U_FormBase.h"

#include <QString>

class QLabel;
class QToolButton;

namespace dataset {
class DBGrid;
class Query;
} // namespace dataset

// Order search ("Localizar Pedidos", screen 1107): every order with the
// names of its client, medium, payment form, term and seller, narrowed by
// one criterion, sorted by any column; "Editar Pedido" opens the chosen
// order in the order form. It only reads.
class TFrmPesquisaPedido : public TFrmBase {
    Q_OBJECT
public:
    explicit TFrmPesquisaPedido(QWidget* parent = nullptr);
    ~TFrmPesquisaPedido() override;

    dataset::Query* Q_Busca;
    TRadioGroup* RGLocalizar;
    QLabel* Label1;
    QLineEdit* EdPesquisa;
    QToolButton* BBusca;
    dataset::DBGrid* DBGrid1;
    QToolButton* BEditar;
    QToolButton* BSair;

    // ORDER BY of the next search, shared by every instance; back to the
    // delivery date whenever a search screen is shown.
    static QString Ordem;

    // Handlers (public so that tests can run them as a click does; errors
    // propagate to the caller).
    void BBuscaClick();
    void BEditarClick();
    void DBGrid1TitleClick(int coluna);

protected:
    void FormShow() override;
    bool eventFilter(QObject* obj, QEvent* ev) override;

private:
    // The stored statement: every order, by delivery date.
    void InstrucaoInicial();
    void executar(QObject* remetente, const std::function<void()>& f);
};
