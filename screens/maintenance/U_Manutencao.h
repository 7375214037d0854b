#pragma once

#include <QDate>
#include <QDialog>
#include <functional>

class QCheckBox;
class QDateEdit;
class QGroupBox;
class QShowEvent;
class QToolButton;

// The purge screen ("Manutenção"): deletes the clipping entries dated
// before the chosen day and the orders to be delivered before it; the order
// items that hold them go through the database's delete cascades. Both
// deletions and the commit run as one unit: when a statement fails, what
// the purge had already deleted is undone and the error goes on.
class TFrmManutencao : public QDialog {
    Q_OBJECT
public:
    explicit TFrmManutencao(QWidget* parent = nullptr);
    ~TFrmManutencao() override;

    QGroupBox* GroupBox1;
    QCheckBox* cbLancamento;
    QCheckBox* CBPedidos;
    QDateEdit* DT1;
    QToolButton* SpeedButton1;  // "Excluir"
    QToolButton* SpeedButton2;  // "Sair"

    void FormShow();
    // The purge. A date box that holds no complete date raises the
    // conversion error and deletes nothing; when anything is to be deleted
    // the user confirms first (No is the default).
    void SpeedButton1Click();
    void SpeedButton2Click();

    // The date of DT1; throws clip::EConvertError when its text is no date.
    QDate DataLimite() const;

    // Today, shown in DT1 at every show; tests replace it.
    static std::function<QDate()> Hoje;

protected:
    void showEvent(QShowEvent* e) override;
};
