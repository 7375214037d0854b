#pragma once

#include "screens/base/U_BaseChild.h"

#include <QVariant>

class QLabel;
class QToolButton;

namespace dataset {
class DataSource;
class DBEdit;
class DBLookupComboBox;
class DBMemo;
class DBRadioGroup;
class Query;
} // namespace dataset

// Entry register: logs one clipping entry after another. Opens ready for a
// new entry; every save starts the next one with the date, time, speed,
// tape code, type, station and program of the entry just saved.
class TFrmLancamentos : public TFrmBaseFilha {
    Q_OBJECT
public:
    explicit TFrmLancamentos(QWidget* parent = nullptr);
    ~TFrmLancamentos() override;

    // Entry to open (set by the entry search together with ChamadaExterna 1);
    // 0 opens the screen for a new entry.
    int LancamentoAbrir = 0;

    dataset::Query* Q_Emissoras;
    dataset::DataSource* DS_Emissoras;
    dataset::Query* Q_Programas;
    dataset::DataSource* DS_Programas;

    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label4;
    QLabel* Label5;
    QLabel* Label6;
    QLabel* Label7;
    QLabel* Label8;
    dataset::DBEdit* DBEdit1;                       // date
    dataset::DBEdit* DBEdit5;                       // time
    dataset::DBEdit* DBEdit2;                       // duration
    dataset::DBRadioGroup* DBRadioGroup1;           // type
    dataset::DBLookupComboBox* DBLookupComboBox1;   // station
    dataset::DBEdit* DBEdit4;                       // speed
    dataset::DBLookupComboBox* DBLookupComboBox2;   // program
    dataset::DBEdit* DBEdit3;                       // tape code
    dataset::DBMemo* DBMemo1;                       // subject
    QToolButton* SpeedButton1;                      // "Pesquisar Lançamentos"

protected:
    void FormShow() override;
    void SBNovoBeforeAction() override;
    void SBNovoAfterAction(ResultadoAcao& r) override;
    void SBSalvarBeforeAction() override;
    void SBSalvarAfterAction(ResultadoAcao& r) override;
    bool eventFilter(QObject* obj, QEvent* ev) override;
    void DataSource1StateChange() override;

private:
    void DataSource1DataChange();
    void DBMemo1Enter();
    void DBMemo1Exit();
    void SpeedButton1Click();

    // Carry-over of the entry on screen, captured before a new entry.
    struct Transporte {
        QString data, hora, velocidade, codigo;
        int tipo = -1;
        QVariant emissora, programa;
    } transporte_;
    bool transportar_ = false;
    bool focoPelaTela_ = false;
};
