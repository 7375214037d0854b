#pragma once

#include <QDateTime>
#include <QHostAddress>
#include <QList>
#include <QString>
#include <QtGlobal>
#include <exception>
#include <functional>

class QComboBox;
class QMainWindow;
class QMdiArea;
class QObject;
class QWidget;

// ---------------------------------------------------------------------------
// Form launcher

// 1 while a screen is being opened on behalf of another screen (picker mode,
// open on a given record, automatic backup); set by every AbrirFormulario.
extern quint8 ChamadaExterna;

// A screen that sets this boolean property to true is centred when it is
// first shown (in the MDI area, or on the desktop when modal), overriding
// the launcher's placement.
inline constexpr const char* kPropriedadeCentralizada = "centralizado";

// The main window records itself here in its creation step; the launcher
// opens non-modal screens in the QMdiArea that is its central widget.
void DefinirJanelaPrincipal(QMainWindow* janela);
QMainWindow* JanelaPrincipal();
QMdiArea* AreaMdi();

namespace detail {
QWidget* abrirFormulario(const std::function<QWidget*()>& criar, const std::function<bool(QWidget*)>& daClasse,
                         bool modal, int chamada);
}

// Opens a screen of class T (constructible from a parent QWidget*).
// Modal: shown with only a close button, run to its end and destroyed before
// this returns; result nullptr. Non-modal: an open MDI child of class T (or
// derived from it) is shown and restored and nullptr returned; otherwise a
// new MDI child is created, placed and returned.
template <class T>
T* AbrirFormulario(bool modal, int chamada) {
    QWidget* w = detail::abrirFormulario([] { return static_cast<QWidget*>(new T(nullptr)); },
                                         [](QWidget* c) { return dynamic_cast<T*>(c) != nullptr; }, modal, chamada);
    return static_cast<T*>(w);
}

// Shows w modally until it is closed (QDialog::exec for dialogs).
void ExibirModal(QWidget* w);

// Round to the nearest integer, halves to the even neighbour.
int ArredondarPar(double v);

// ---------------------------------------------------------------------------
// Passwords

// The fixed password key of the system. 31 maps the printable ASCII range
// 0x20..0x7E onto the Latin-1 letters and signs 0xFE..0xA0, so a scrambled
// password is always storable text (no control characters, no bytes that
// Windows-1252 leaves unassigned). Every workstation must use the same key:
// stored passwords only match with it.
inline constexpr int kChaveSenha = 31;

// Each Windows-1252 byte c becomes (K - c - 1) mod 256, K the low byte of
// chave; applying it twice gives the text back. Characters outside
// Windows-1252 count as "?".
QString CodificarSenha(const QString& texto, int chave = kChaveSenha);

// ---------------------------------------------------------------------------
// Workstation

// This workstation's IPv4 address, dotted. The host name's first IPv4
// address, unless it is a loopback one: then the first non-loopback IPv4
// address of the interfaces; loopback (or "127.0.0.1") only when there is
// nothing else.
QString ObterIPLocal();
// Replaces the address ObterIPLocal answers (a workstation in a test); an
// empty function restores the real lookup.
void DefinirIPLocal(std::function<QString()> fonte);
// The choice ObterIPLocal makes, given the host name's addresses and the
// interfaces' addresses.
QString EscolherIPLocal(const QList<QHostAddress>& doNome, const QList<QHostAddress>& dasInterfaces);

// ---------------------------------------------------------------------------
// Text helpers

// Replaces the combo box's items with the names of the "*.skn" files of
// pasta, without the extension, sorted case-insensitively.
void ListarSkins(const QString& pasta, QComboBox* combo);
// The text without its "&" characters.
QString RemoverAtalho(const QString& texto);
// Upper-cases a..z and turns the accented Latin-1 letters (and ª º) into the
// LIKE wildcard "_".
QString TrocarAcentos(const QString& texto);

// Value of key in [secao] of an ini file (names compare case-insensitively;
// surrounding blanks of the value are dropped); padrao when the file, the
// section or the key is missing.
QString LerValorIni(const QString& arquivo, const QString& secao, const QString& chave,
                    const QString& padrao = QString());

// ---------------------------------------------------------------------------
// Errors

// The error's class name as the log prints it, and its own message.
QString NomeClasseErro(const std::exception& e);
QString MensagemErro(const std::exception& e);

// The generic display: the error's own message (with a final "." added when
// its last character is above ".") in an error box.
void ExibirErro(const std::exception& e);
QString ComPontoFinal(const QString& texto);

// Shows the message for e (the short Portuguese texts for conversion and
// database errors, the generic display otherwise) and logs e.
void TratarErro(const QString& tela, const QString& usuario, const std::exception& e);

// Appends one record to Erros.log in the executable folder (header on
// creation, separator before later records; CRLF, Windows-1252). Returns 0,
// or -1 when anything failed; never shows anything.
int GravarLogErro(const QString& tela, const QString& usuario, const QString& descricao, const QString& tipoErro,
                  const QString& processo);
// The clock of the log's "Data/Hora" line; an empty function restores the
// real one.
void DefinirRelogioLog(std::function<QDateTime()> relogio);

// The application-wide handler. Before InstalarTratadorErros errors are only
// shown (generic display); after it they go to TratarErro with the sender's
// object name and the current user.
void InstalarTratadorErros(std::function<int()> usuarioAtual);
void RemoverTratadorErros();
bool TratadorErrosInstalado();
// Called with every error that an event handler lets out; drops the silent
// abort.
void TratarExcecao(QObject* remetente, const std::exception& e);

// Process-wide formats: dates "dd/mm/yyyy", decimal separator ",".
void AplicarFormatosProcesso();
