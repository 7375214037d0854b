#pragma once

#include "screens/base/U_BaseChild.h"

namespace dataset { class Query; class UpdateSql; class DataSource; class DBEdit; class DBLookupComboBox; class DBMemo; class DBGrid; }

// Programs register ("Cadastro de Programas", screen 1005): each program
// with its station (a lookup over the station list), searched by name.
class TFrmProgramas : public TFrmBaseFilha {
    Q_OBJECT
public:
    explicit TFrmProgramas(QWidget* parent = nullptr);
    ~TFrmProgramas() override;

    dataset::Query* Q_Programas;
    dataset::UpdateSql* Up_Programas;
    dataset::Query* Q_Emissoras;          // the station list
    dataset::DataSource* DS_Emissoras;

    dataset::DBLookupComboBox* DBLookupComboBox1;  // EMI_CODIGO
    dataset::DBEdit* DBEdit1;                      // PRG_NOME
    dataset::DBMemo* DBMemo1;                      // PRG_OBS
    TEditMaiusculas* edPesquisa;
    dataset::DBGrid* DBGrid1;

    void edPesquisaChange();
    // Leaving the observation memo: "Gravar?".
    void DBMemo1Exit();

protected:
    void FormShow() override;
    void SBNovoAfterAction(ResultadoAcao& r) override;
    void SBExcluirBeforeAction() override;
    bool eventFilter(QObject* obj, QEvent* ev) override;

private:
    void Q_ProgramasAfterDelete(dataset::DataSet& ds);
};
