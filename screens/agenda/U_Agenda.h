#pragma once

#include "screens/base/U_BaseChild.h"

class QGroupBox;
namespace dataset { class DBComboBox; class DBEdit; class DBGrid; class DBMemo; class Query; }

// The phone agenda ("Agenda", screen 1103) on TDM's Q_Agenda: contacts with
// addresses, phones, internet names, observations and a birthday. The
// search box lists, as it is typed, the contacts whose chosen column
// contains the text; the statement stays in Q_Agenda after the screen
// closes. Leaving the observation memo asks "Gravar?".
class TFrmAgenda : public TFrmBaseFilha {
    Q_OBJECT
public:
    explicit TFrmAgenda(QWidget* parent = nullptr);
    ~TFrmAgenda() override;

    dataset::DBEdit* DBNome;            // AGE_NOME
    dataset::DBEdit* DBEdit2;           // AGE_ENDERECO
    dataset::DBEdit* DBEdit3;           // AGE_BAIRRO
    dataset::DBEdit* DBEdit4;           // AGE_CIDADE
    dataset::DBComboBox* DBComboBox1;   // AGE_UF
    dataset::DBEdit* DBEdit5;           // AGE_CEP
    dataset::DBEdit* DBEdit9;           // AGE_TELEFONE
    dataset::DBEdit* DBEdit6;           // AGE_FAX
    dataset::DBEdit* DBEdit14;          // AGE_CELULAR
    dataset::DBEdit* DBEdit13;          // AGE_EMAIL
    dataset::DBEdit* DBEdit1;           // AGE_WEB
    dataset::DBEdit* DBEdit7;           // AGE_MSN
    dataset::DBEdit* DBEdit8;           // AGE_SKYPE
    QGroupBox* GBAniversario;
    dataset::DBComboBox* DBComboBox3;   // AGE_DIAANIVERSARIO
    dataset::DBComboBox* DBComboBox4;   // AGE_MESANIVERSARIO
    dataset::DBMemo* DBMemo1;           // AGE_OBS

    TEditMaiusculas* EdPesquisa = nullptr;
    TRadioGroup* RGLocalizar = nullptr;  // "Nome", "Cidade", "Fone", "Celular"
    dataset::DBGrid* DBGrid1;

    // Re-runs the search with the typed text and the chosen column.
    void EdPesquisaChange();

protected:
    void FormShow() override;
    bool eventFilter(QObject* o, QEvent* e) override;
    void SBNovoAfterAction(ResultadoAcao& r) override;
    // Also: no search while a contact is edited, since a search reopens
    // the dataset and would drop what is being typed.
    void DataSource1StateChange() override;

private:
    dataset::Query* agenda() const;
};
