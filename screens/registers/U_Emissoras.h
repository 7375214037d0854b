#pragma once

#include "screens/base/U_BaseChild.h"

class QTabWidget;
class QToolButton;
namespace dataset { class Query; class UpdateSql; class DBEdit; class DBComboBox; class DBMemo; class DBGrid; }
namespace widgets { class FolderTree; }

// Stations register ("Cadastro de Emissoras", screen 1004): the station's
// data on two tabs, its recordings folder chosen from a folder tree, and a
// search by name, company name, city, phone or CNPJ.
class TFrmEmissoras : public TFrmBaseFilha {
    Q_OBJECT
public:
    explicit TFrmEmissoras(QWidget* parent = nullptr);
    ~TFrmEmissoras() override;

    dataset::Query* Q_Emissoras;
    dataset::UpdateSql* Up_Emissoras;

    QTabWidget* PageControl1;
    dataset::DBEdit* DBEdit1;      // EMI_NOME
    dataset::DBComboBox* DBComboBox1;  // EMI_UF
    dataset::DBMemo* DBMemo1;      // EMI_OBS
    dataset::DBEdit* DBEdit5;      // EMI_PATH
    QToolButton* BitBtn1;
    widgets::FolderTree* TreeView;
    TEditMaiusculas* EdPesquisa;
    TRadioGroup* RGLocalizar;
    dataset::DBGrid* DBGrid1;

    // The search of the typed text on the column of the chosen option.
    void EdPesquisaChange();
    // Shows or hides the folder tree.
    void BitBtn1Click();
    // Writes the tree's selected folder (empty when none) into EMI_PATH,
    // editing the station, and hides the tree.
    void TreeViewDblClick();

    // The condition prefixes of the search options, in option order.
    static QStringList CondicoesPesquisa();

protected:
    void SBNovoAfterAction(ResultadoAcao& r) override;
    void SBExcluirBeforeAction() override;

private:
    void Q_EmissorasAfterDelete(dataset::DataSet& ds);
};
