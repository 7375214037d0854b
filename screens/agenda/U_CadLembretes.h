#pragma once

#include "screens/base/U_BaseChild.h"

class QGroupBox;
namespace dataset { class DBEdit; class DBGrid; class DBMemo; }

// Reminders register ("Cadastro de Lembretes", screen 1006) on TDM's
// Q_CadLembretes: the reminders of this workstation. Every save stamps the
// reminder with this workstation's address. Opened with ChamadaExterna 1
// (from the reminder pop-up) it moves to the current reminder of
// Q_Lembretes when shown.
class TFrmCadLembretes : public TFrmBaseFilha {
    Q_OBJECT
public:
    explicit TFrmCadLembretes(QWidget* parent = nullptr);
    ~TFrmCadLembretes() override;

    dataset::DBMemo* DBMemo1;  // LEM_MENSAGEM
    dataset::DBEdit* DBEdit1;  // LEM_DATA
    dataset::DBEdit* DBEdit2;  // LEM_HORA
    QGroupBox* GroupBox1;
    dataset::DBGrid* DBGrid1;

protected:
    void FormShow() override;
    void SBNovoAfterAction(ResultadoAcao& r) override;
    void SBSalvarBeforeAction() override;
};
