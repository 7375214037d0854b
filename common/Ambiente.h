#pragma once

#include <QString>

// Where the program runs from and what it is called. The executable folder
// holds BaseClipping.ini, Skin.ini, skins/, Relatorios/ and Erros.log; tests
// point it at a temporary folder.

// The folder of the executable, always ending with "/".
QString PastaExecutavel();
// Points PastaExecutavel() at another folder; an empty text goes back to the
// folder of the running executable.
void DefinirPastaExecutavel(const QString& pasta);
// PastaExecutavel() + a name relative to it.
QString CaminhoNaPasta(const QString& nome);

// The application title: caption of the plain message boxes and of the error
// log header.
QString TituloAplicacao();
void DefinirTituloAplicacao(const QString& titulo);
