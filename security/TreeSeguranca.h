#pragma once

#include "platform/data/DataSource.h"
#include "security/UClassSeguranca.h"

#include <QIcon>
#include <QList>
#include <QPointer>
#include <QTreeWidget>
#include <QTreeWidgetItem>
#include <functional>
#include <memory>

class QAction;
class QMouseEvent;

// Icon numbers of the rights tree: a node's picture and its state.
enum IconeSeguranca {
    IcMenuPermitido = 0,
    IcTelaPermitida = 1,
    IcRelatorioPermitido = 2,
    IcOperacaoPermitida = 3,
    IcOperacaoNegada = 4,
    IcMenuNegado = 5,
    IcTelaNegada = 6,
    IcRelatorioNegado = 7,
};

// One node. Top-level menus, screens and reports hold the owner's record
// for their menu item's code; the root and the operation nodes hold none.
class TNoSeguranca : public QTreeWidgetItem {
public:
    TNoSeguranca(const QString& legenda, int imagem);

    int Imagem() const { return imagem_; }
    void SetImagem(int imagem);
    bool Operacao() const { return imagem_ == IcOperacaoPermitida || imagem_ == IcOperacaoNegada; }

    bool Raiz = false;
    int Codigo = 0;  // screen code of the menu item; 0 for the root and operations
    int Tipo = 0;    // 0 top-level menu, 1 screen, 2 report
    std::unique_ptr<TSeguranca> Direito;

private:
    int imagem_ = 0;
};

// The five flags one quick-setting button writes for every node.
struct AjusteDireitos {
    int Acesso = 0;
    int Incluir = 0;
    int Alterar = 0;
    int Excluir = 0;
    int Relatorio = 0;

    static AjusteDireitos AcessoTotal() { return {1, 1, 1, 1, 1}; }
    static AjusteDireitos SemAcesso() { return {0, 0, 0, 0, 0}; }
    static AjusteDireitos SomenteLeitura() { return {1, 0, 0, 0, 1}; }
};

// The rights of one owner (employee or access profile) as a tree made from
// the main window's menu: menu items carry their screen code in the
// property "Tag" and their kind (1 screen, 2 report) in "HelpContext";
// codes 10 to 99 are top-level menus. Double-clicks switch rights in
// memory; GravarDireitos writes them to TB_DIREITOS through DataSource
// (the rights dataset Q_Direitos), in the open transaction.
//
// Use: SetPrincipal, SetUsuario, Montar; double-clicks; GravarDireitos.
class TTreeSeguranca : public QTreeWidget {
    Q_OBJECT
    Q_PROPERTY(bool Active READ Active WRITE SetActive)
public:
    explicit TTreeSeguranca(QWidget* parent = nullptr);
    ~TTreeSeguranca() override;

    void SetDataSource(dataset::DataSource* fonte) { dataSource_ = fonte; }
    dataset::DataSource* DataSource() const { return dataSource_; }
    // True builds the tree.
    void SetActive(bool ativo);
    bool Active() const { return ativo_; }
    void SetUsuario(int usuario) { usuario_ = usuario; }
    int Usuario() const { return usuario_; }
    void SetPrincipal(QWidget* principal) { principal_ = principal; }

    // The eight pictures, by icon number.
    void SetImages(const QList<QIcon>& imagens);
    const QList<QIcon>& Imagens() const { return imagens_; }
    static QList<QIcon> ImagensPadrao();

    // Clears and rebuilds the tree for Usuario from Principal's menu.
    void Montar();
    // Switches the selected node (the root excepted), after running
    // OnDblClick.
    virtual void DblClick();
    // Shows the selected node's children as denied, and denies them.
    void NegarFilhos();
    // Writes every node's record for Usuario; nothing without an owner.
    void GravarDireitos();
    // Sets every node to the five flags at once and writes each record at
    // once through fonte; repaints.
    void AplicarAjuste(const AjusteDireitos& ajuste, dataset::DataSource* fonte);

    // Icon of a screen (tipo 1) or report (tipo 2) node, or of one of its
    // operation nodes, for a flag value.
    static int IndiceImagem(int tipo, int flag, bool operacao);
    // The menu items of a main window, top-level menus included, in menu
    // order.
    static QList<QAction*> ItensMenu(QWidget* principal);

    // State left by the last build.
    QWidget* PrincipalMontagem() const { return principalMontagem_; }
    const ListaSeguranca& ListaDireitos() const { return lista_; }

    TNoSeguranca* Raiz() const;
    TNoSeguranca* No(QTreeWidgetItem* item) const { return static_cast<TNoSeguranca*>(item); }
    // Every node, in tree order.
    QList<TNoSeguranca*> Nos() const;
    // The node of a menu item's code; null when there is none.
    TNoSeguranca* NoDoCodigo(int codigo) const;
    // True once a double-click changed something since the last build or
    // GravarDireitos.
    bool Alterado() const { return alterado_; }

    // The double-click event, before the node is switched.
    std::function<void(TTreeSeguranca&)> OnDblClick;

protected:
    void mouseDoubleClickEvent(QMouseEvent* e) override;

private:
    TNoSeguranca* novoNo(QTreeWidgetItem* pai, const QString& legenda, int imagem);
    void negar(TNoSeguranca* no);
    void permitir(TNoSeguranca* no);
    void marcarOperacao(TNoSeguranca* operacao, int valor);

    QPointer<dataset::DataSource> dataSource_;
    QPointer<QWidget> principal_;
    QPointer<QWidget> principalMontagem_;
    ListaSeguranca lista_;
    std::unique_ptr<TSeguranca> gravador_;
    QList<QIcon> imagens_;
    int usuario_ = 0;
    bool ativo_ = false;
    bool alterado_ = false;
};

// Runs the main window's AplicarDireitos (menu and tool bar follow the
// session's rights); nothing for a window without it.
void AplicarDireitosPrincipal(QWidget* principal);
