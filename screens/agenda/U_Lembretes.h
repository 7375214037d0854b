#pragma once

#include <QDateTime>
#include <QString>
#include <QWidget>
#include <functional>

class QLabel;
class QPushButton;
namespace dataset { class DataSource; class DBMemo; }

// The reminder pop-up: the message of the current row of TDM's Q_Lembretes,
// always on top, with "Excluir" (deletes that reminder), "Alterar" (opens
// the reminders register on it) and "Fechar" (the reminder stays due). It
// sounds the alarm once, when it first becomes visible. At most one exists
// (FrmLembretes); it is destroyed when it closes.
class TFrmLembretes : public QWidget {
    Q_OBJECT
public:
    explicit TFrmLembretes(QWidget* parent = nullptr);
    ~TFrmLembretes() override;

    dataset::DataSource* DS_Lembretes;
    QLabel* Label1;
    dataset::DBMemo* DBMemo1;
    QPushButton* BitBtn2;  // Excluir
    QPushButton* BitBtn1;  // Alterar
    QPushButton* BitBtn3;  // Fechar

    void BitBtn1Click();
    void BitBtn2Click();
    void BitBtn3Click();

protected:
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    void executar(QPushButton* botao, void (TFrmLembretes::*acao)());
    bool tocou_ = false;
};

// The open pop-up; null when none.
extern TFrmLembretes* FrmLembretes;

// The due-reminder check, run by the main window's timer: reopens
// Q_Lembretes for this moment and this workstation's address and, when a
// reminder is due, shows the main window and the pop-up (created when there
// is none). Errors go to the application-wide handler with origem as the
// sender; the check never runs inside itself (e.g. while its error is
// being shown).
void VerificarLembretesDevidos(QWidget* principal, QObject* origem = nullptr);

// The clock of the check; an empty function restores the real one.
void DefinirRelogioLembretes(std::function<QDateTime()> relogio);

// Sounds the alarm once, without waiting: "alarme.wav" of the executable
// folder, or the system's default sound when that file is missing.
void TocarAlarme();
// Replaces the sound output: it receives the path of the file to play, or
// an empty text for the default sound. An empty function restores it.
void DefinirTocadorAlarme(std::function<void(const QString& arquivo)> tocador);
