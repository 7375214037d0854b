#pragma once

#include <functional>

class QMainWindow;

// Start-up, in its fixed order. The main window of the run is created by the
// factory given to ExecutarAplicacao; its creation step calls
// PrepararJanelaPrincipal.

// Initialises the application: title "Zbvlo Clipping".
void IniciarAplicacao();

// Creates DMBanco (its creation step runs at once) and then DM. false when
// the database could not be opened: the message has been shown, nothing is
// left created, and the application has to end. Other errors of the
// creation step are shown by the generic display and not logged.
bool CriarModulosDados();
void LiberarModulosDados();

// The main window's creation step: installs the application-wide error
// handler, the process-wide formats and records janela for the launcher.
void PrepararJanelaPrincipal(QMainWindow* janela);

// The whole run: start-up, the main window shown maximised, the event loop.
// Returns the exit code; 1 when the connection failed and no window was made.
int ExecutarAplicacao(const std::function<QMainWindow*()>& criarJanelaPrincipal);

// True once a termination signal has ended the run: the engine has shut
// itself down by then, so the process ends without its exit clean-up.
bool EncerradoPorSinal();
