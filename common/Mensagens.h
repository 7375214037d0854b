#pragma once

#include <QList>
#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

// Every message box, question and file dialog of the system goes through
// here. Production shows QMessageBox / QFileDialog; a test installs an
// answerer that sees what would have been shown and returns a scripted
// answer (see msg::Roteiro).
namespace msg {

using Botao = QMessageBox::StandardButton;
using Botoes = QMessageBox::StandardButtons;

enum class Icone { Nenhum, Informacao, Aviso, Erro, Pergunta };

struct Mensagem {
    QString texto;
    QString titulo;
    Icone icone = Icone::Nenhum;
    Botoes botoes = QMessageBox::Ok;
    Botao padrao = QMessageBox::NoButton;
    bool modalTarefa = false;  // blocks every window of the application
};

using Respondedor = std::function<Botao(const Mensagem&)>;

// Shows m and returns the button pressed (Esc or closing the box gives the
// escape button: Cancel, No or Ok, whichever the box has).
Botao Mostrar(const Mensagem& m);

// Plain box: the application title as caption, no icon, OK.
void Informar(const QString& texto);
// Error box: the application title as caption, error icon, OK.
void InformarErro(const QString& texto);
// Warning box with the given caption ("Atenção" by default), OK.
void Avisar(const QString& texto, const QString& titulo = QStringLiteral("Atenção"));
// Task-modal question. The default button is the one Enter presses.
Botao Perguntar(const QString& texto, Botoes botoes = QMessageBox::Yes | QMessageBox::No,
                Botao padrao = QMessageBox::Yes, const QString& titulo = QStringLiteral("Confirmação"),
                Icone icone = Icone::Pergunta);
// Yes/No question captioned "Confirmação"; true for Yes.
bool Confirmar(const QString& texto, Botao padrao = QMessageBox::Yes);

// Replaces the production boxes; an empty function restores them.
void InstalarRespondedor(Respondedor r);

// File dialogs.
struct DialogoArquivo {
    enum class Tipo { Abrir, Salvar, EscolherPasta };
    Tipo tipo = Tipo::Abrir;
    QString titulo;
    QString pasta;   // initial folder or file
    QString filtro;  // "Arquivos de áudio (*.wav *.mp3)", ";;" between filters
};
// Returns the chosen path, or an empty text when the user cancelled.
using RespondedorArquivo = std::function<QString(const DialogoArquivo&)>;

QString AbrirArquivo(QWidget* pai, const QString& titulo, const QString& pasta = QString(),
                     const QString& filtro = QString());
QString SalvarArquivo(QWidget* pai, const QString& titulo, const QString& pasta = QString(),
                      const QString& filtro = QString());
QString EscolherPasta(QWidget* pai, const QString& titulo, const QString& pasta = QString());
void InstalarRespondedorArquivo(RespondedorArquivo r);

// For tests: installs itself as the answerer of boxes and file dialogs while
// it lives, records every box and dialog, and answers from the scripted
// queues. With an empty queue a box gets its default button (or Ok) and a
// file dialog is cancelled.
class Roteiro {
public:
    Roteiro();
    ~Roteiro();
    Roteiro(const Roteiro&) = delete;
    Roteiro& operator=(const Roteiro&) = delete;

    Roteiro& responder(Botao b);
    Roteiro& responderArquivo(const QString& caminho);
    // Runs while a box is "open", e.g. to check what a screen looks like then.
    void aoMostrar(std::function<void(const Mensagem&)> f) { aoMostrar_ = std::move(f); }

    const QList<Mensagem>& mensagens() const { return mensagens_; }
    QStringList textos() const;
    const Mensagem& ultima() const { return mensagens_.last(); }
    const QList<DialogoArquivo>& dialogos() const { return dialogos_; }
    void limpar() { mensagens_.clear(); dialogos_.clear(); }

private:
    QList<Mensagem> mensagens_;
    QList<Botao> respostas_;
    QList<DialogoArquivo> dialogos_;
    QStringList caminhos_;
    std::function<void(const Mensagem&)> aoMostrar_;
};

} // namespace msg
