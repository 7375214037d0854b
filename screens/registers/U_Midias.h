#pragma once

#include "screens/base/U_BaseChild.h"

namespace dataset { class DBEdit; class DBGrid; }

// Media register ("Cadastro de Mídias", screen 1009) on TDM's Q_Midias.
class TFrmMidias : public TFrmBaseFilha {
    Q_OBJECT
public:
    explicit TFrmMidias(QWidget* parent = nullptr);
    ~TFrmMidias() override;

    dataset::DBEdit* DBEdit2;  // MID_DESCRICAO
    dataset::DBEdit* DBEdit1;  // MID_VALOR
    dataset::DBGrid* DBGrid1;

protected:
    void SBNovoAfterAction(ResultadoAcao& r) override;
};
