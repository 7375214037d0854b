#pragma once

#include <QString>

namespace fb { class Attachment; }

// The refusal shown by VerificarAcesso: two parts joined by two carriage
// returns (no line feeds).
QString MensagemAcessoNegado();

// May the user do this on that screen? Read straight from TB_DIREITOS at
// every call, nothing cached.
//
//   banco   the connection (DMBanco->DB_Clipping); the query runs in
//           DMBanco->Trans_Clipping when banco is that connection, else in a
//           short transaction of its own
//   usuario UsuarioAtual; 0 allows everything without touching the database
//   perfil  PerfilAtual; when > 0 the profile's row is read instead of the
//           user's own
//   modulo  ModuloAtual (always 0)
//   tela    screen code (1001, 1101, ...; 10..13 for the top-level menus)
//   campo   flag column: "DIR_ACESSO", "DIR_INCLUIR", "DIR_ALTERAR",
//           "DIR_EXCLUIR" (or "DIR_RELATORIO"); any other name is refused
//           with an exception
//   mostrarMensagem  on a refusal, show MensagemAcessoNegado() in a plain box
//
// True only when the flag reads 1; 0, any other value, NULL or no row deny.
// Database errors propagate.
//
// Register screens: if (!VerificarAcesso(DMBanco->DB_Clipping, DMBanco->UsuarioAtual,
//     DMBanco->PerfilAtual, DMBanco->ModuloAtual, tag(), "DIR_INCLUIR", true)) clip::Abort();
bool VerificarAcesso(fb::Attachment& banco, int usuario, int perfil, int modulo, int tela, const QString& campo,
                     bool mostrarMensagem);

// The same check with the session values of DMBanco.
bool VerificarAcessoSessao(int tela, const QString& campo, bool mostrarMensagem);

#include <memory>
#include <vector>

namespace dataset { class DataSource; }

class TSeguranca;
// One owner's rights rows, in ascending screen code; owns its records.
using ListaSeguranca = std::vector<std::unique_ptr<TSeguranca>>;

// One owner's rights on one screen. FonteDados is the data source of the
// rights dataset (DMBanco->DS_Direitos), used by CarregarDireitos and
// GravarDireito only; it is not owned.
class TSeguranca {
public:
    TSeguranca() = default;
    explicit TSeguranca(dataset::DataSource* fonteDados) : FonteDados(fonteDados) {}

    qint32 Usuario = 0;
    qint32 Tela = 0;
    qint32 Modulo = 0;
    qint32 Alterar = 0;
    qint32 Acesso = 0;
    qint32 Excluir = 0;
    qint32 Incluir = 0;
    qint32 Relatorio = 0;
    dataset::DataSource* FonteDados = nullptr;

    void SetUsuario(qint32 v) { Usuario = v; }
    void SetTela(qint32 v) { Tela = v; }
    void SetModulo(qint32 v) { Modulo = v; }
    void SetAlterar(qint32 v) { Alterar = v; }
    void SetAcesso(qint32 v) { Acesso = v; }
    void SetExcluir(qint32 v) { Excluir = v; }
    void SetIncluir(qint32 v) { Incluir = v; }
    void SetRelatorio(qint32 v) { Relatorio = v; }
    void SetFonteDados(dataset::DataSource* v) { FonteDados = v; }

    // Every row of the owner (module ModuloAtual), one new record each, in
    // ascending screen code. The rights dataset is closed afterwards.
    ListaSeguranca CarregarDireitos(int usuario) const;

    // A new record for owner/screen/module with the five flags of the list's
    // record of that screen, or all 0 when the list has none.
    static std::unique_ptr<TSeguranca> NovoDireito(const ListaSeguranca& lista, int usuario, int tela, int modulo);

    // Brings TB_DIREITOS in line with direito: access 1 writes (inserts or
    // updates the one row), access 0 deletes an existing row; screen 0 is
    // never written. Runs in Trans_Clipping and does not commit.
    void GravarDireito(const TSeguranca& direito) const;

private:
    dataset::DataSource* fonte() const;
};

// Installs VerificarAcessoSessao (message shown) as the rights check of the
// register screens (DefinirVerificadorAcesso of U_BaseChild).
void InstalarVerificadorAcesso();
