#pragma once

#include "screens/base/U_BaseChild.h"

namespace dataset { class DBEdit; class DBGrid; }

// Payment forms register ("Formas de Pagamento", screen 1007) on TDM's
// Q_FormaPagto; no navigation buttons.
class TFrmFormaPagto : public TFrmBaseFilha {
    Q_OBJECT
public:
    explicit TFrmFormaPagto(QWidget* parent = nullptr);
    ~TFrmFormaPagto() override;

    dataset::DBEdit* DBEdit1;  // FPG_DESCRICAO
    dataset::DBGrid* DBGrid1;

protected:
    void SBNovoAfterAction(ResultadoAcao& r) override;
};
