#pragma once

#include "screens/base/U_BaseChild.h"

namespace dataset { class DataSource; class DBEdit; class DBGrid; class DBLookupComboBox; }

// Payment terms register ("Prazos", screen 1008) on TDM's Q_Prazo, each term
// tied to a payment form of Q_FormaPagto; no navigation buttons.
class TFrmPrazos : public TFrmBaseFilha {
    Q_OBJECT
public:
    explicit TFrmPrazos(QWidget* parent = nullptr);
    ~TFrmPrazos() override;

    dataset::DataSource* DS_FormaPagto;
    dataset::DBEdit* DBEdit1;                      // PRA_DESCRICAO
    dataset::DBLookupComboBox* DBLookupComboBox1;  // FPG_CODIGO
    dataset::DBGrid* DBGrid1;

protected:
    void FormShow() override;
    void SBNovoAfterAction(ResultadoAcao& r) override;
};
