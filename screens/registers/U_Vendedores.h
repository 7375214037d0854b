#pragma once

#include "screens/base/U_BaseChild.h"

#include <QVariant>

class QPushButton;
namespace dataset { class Query; class UpdateSql; class DataSource; class DBEdit; class DBGrid; }

// Picks the employee of a seller: shows the employees screen in picker mode,
// owned by dono, and returns the chosen FUN_CODIGO, or null when the picker
// was cancelled or nothing was chosen.
using SeletorFuncionario = std::function<QVariant(QWidget* dono)>;
// Replaces the picker (tests); an empty function restores the employees
// screen.
void DefinirSeletorFuncionario(SeletorFuncionario seletor);

// Sellers register ("Vendedores", screen 1003): a seller is an employee plus
// a commission. The employee's data are shown read-only from Q_Funcionario;
// only the commission and the link to the employee are written, and only to
// TB_VENDEDORES.
class TFrmVendedores : public TFrmBaseFilha {
    Q_OBJECT
public:
    explicit TFrmVendedores(QWidget* parent = nullptr);
    ~TFrmVendedores() override;

    dataset::Query* Q_Vendedores;
    dataset::UpdateSql* UP_Vendedores;
    dataset::Query* Q_Funcionario;
    dataset::DataSource* DS_Funcionario;

    dataset::DBEdit* DBNome;
    dataset::DBEdit* dbComissao;
    QPushButton* BBuscar;
    TEditMaiusculas* EdPesquisa;
    dataset::DBGrid* DBGrid1;

    void EdPesquisaChange();
    // "Buscar Funcionário": the picked employee becomes the seller's.
    void BBuscarClick();

    // The two lines of the sellers statement, without and with a search text.
    static QStringList SqlVendedores();
    static QStringList SqlPesquisa(const QString& texto);

protected:
    void SBNovoAfterAction(ResultadoAcao& r) override;
    void SBSalvarAfterAction(ResultadoAcao& r) override;

private:
    void Q_VendedoresAfterPost(dataset::DataSet& ds);
};
