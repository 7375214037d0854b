#pragma once

#include <QColor>
#include <QDate>
#include <QDialog>
#include <functional>

class QPlainTextEdit;
class QTextEdit;
class QToolButton;

// The backup screen: a backup of the whole database through the server's
// backup service into Copiadb/<weekday>/BackupVexilClipping.gbk under the
// executable's folder. Opened with ChamadaExterna 1 it starts by itself when
// first painted and ends the application after a successful backup.
class TFrmBackup : public QDialog {
    Q_OBJECT
public:
    explicit TFrmBackup(QWidget* parent = nullptr);

    QPlainTextEdit* Memo1;  // the service's verbose lines
    QTextEdit* reStatus;    // coloured status lines
    QToolButton* BBackup;
    QToolButton* BFechar;

    void BBackupClick();
    void BFecharClick();

    // Weekday folder name of a date: "Domingo", "Segunda", "Terca",
    // "Quarta", "Quinta", "Sexta", "Sabado".
    static QString NomeDia(const QDate& data);
    // The paths handed to the service, from the executable's folder.
    static QString PastaDia(const QDate& data);
    static QString ArquivoBackup(const QDate& data);
    static QString BancoBackup();

    // Ends the application after an automatic backup; tests replace it.
    static std::function<void()> Encerrar;
    // Today, for the weekday folder; tests replace it.
    static std::function<QDate()> Hoje;

    bool Automatico() const { return automatico_; }

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    void adicionarStatus(const QString& texto, const QColor& cor, int tamanho);

    bool automatico_;
    bool iniciado_ = false;
};
