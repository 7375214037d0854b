#include "TreeSeguranca.h"

#include "app/U_DMBanco.h"
#include "common/U_Funcoes.h"
#include "platform/data/DataSource.h"

#include <QAction>
#include <QHeaderView>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMetaObject>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

int moduloAtual() { return DMBanco ? DMBanco->ModuloAtual : 0; }

int tagDe(const QObject* o) { return o->property("Tag").toInt(); }
int tipoDe(const QObject* o) { return o->property("HelpContext").toInt(); }

bool topo(int codigo) { return codigo >= 10 && codigo <= 99; }

const QString kIncluir = QStringLiteral("Incluir");
const QString kAlterar = QStringLiteral("Alterar");
const QString kExcluir = QStringLiteral("Excluir");
const QString kPermitir = QStringLiteral("Permitir");

int imagemPermitida(int tipo) { return tipo == 0 ? IcMenuPermitido : tipo == 2 ? IcRelatorioPermitido : IcTelaPermitida; }
int imagemNegada(int tipo) { return tipo == 0 ? IcMenuNegado : tipo == 2 ? IcRelatorioNegado : IcTelaNegada; }

// ---------------------------------------------------------------------------
// Pictures

void desenharPasta(QPainter& p) {
    p.setPen(QColor(0x9a, 0x6b, 0x00));
    p.setBrush(QColor(0xf2, 0xc2, 0x3a));
    QPainterPath aba;
    aba.moveTo(1.5, 4.5);
    aba.lineTo(6.5, 4.5);
    aba.lineTo(7.5, 2.5);
    aba.lineTo(1.5, 2.5);
    aba.closeSubpath();
    p.drawPath(aba);
    p.drawRect(QRectF(1.5, 4.5, 13, 9));
}

void desenharJanela(QPainter& p) {
    p.setPen(QColor(0x20, 0x40, 0x80));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(1.5, 2.5, 13, 11));
    p.fillRect(QRectF(2, 3, 12, 3), QColor(0x30, 0x60, 0xc0));
}

void desenharPagina(QPainter& p) {
    p.setPen(QColor(0x50, 0x50, 0x50));
    p.setBrush(Qt::white);
    QPainterPath folha;
    folha.moveTo(3.5, 1.5);
    folha.lineTo(10.5, 1.5);
    folha.lineTo(13.5, 4.5);
    folha.lineTo(13.5, 14.5);
    folha.lineTo(3.5, 14.5);
    folha.closeSubpath();
    p.drawPath(folha);
    p.setPen(QColor(0x30, 0x80, 0x30));
    for (int y = 6; y <= 12; y += 2)
        p.drawLine(QPointF(5.5, y + 0.5), QPointF(11.5, y + 0.5));
}

void desenharCerto(QPainter& p) {
    p.setPen(QPen(QColor(0x1a, 0x8c, 0x2a), 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(QPolygonF({QPointF(3, 8.5), QPointF(6.5, 12), QPointF(13, 4)}));
}

void desenharNegado(QPainter& p, qreal margem) {
    p.setPen(QPen(QColor(0xd0, 0x20, 0x20), 2.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(margem, margem), QPointF(16 - margem, 16 - margem));
    p.drawLine(QPointF(16 - margem, margem), QPointF(margem, 16 - margem));
}

QIcon icone(void (*desenho)(QPainter&), bool negado) {
    QPixmap px(16, 16);
    px.fill(Qt::transparent);
    QPainter p(&px);
    p.setRenderHint(QPainter::Antialiasing);
    if (desenho) {
        if (negado)
            p.setOpacity(0.5);
        desenho(p);
        p.setOpacity(1.0);
        if (negado) {
            // A red badge with a white cross in the lower right corner.
            p.setPen(QPen(Qt::white, 1));
            p.setBrush(QColor(0xd0, 0x20, 0x20));
            p.drawEllipse(QRectF(7.5, 7.5, 8, 8));
            p.setPen(QPen(Qt::white, 1.6, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(9.8, 9.8), QPointF(13.2, 13.2));
            p.drawLine(QPointF(13.2, 9.8), QPointF(9.8, 13.2));
        }
    } else if (negado) {
        desenharNegado(p, 3.5);
    } else {
        desenharCerto(p);
    }
    p.end();
    return QIcon(px);
}

} // namespace

// ---------------------------------------------------------------------------
// Node

TNoSeguranca::TNoSeguranca(const QString& legenda, int imagem) {
    setText(0, legenda);
    imagem_ = imagem;
}

void TNoSeguranca::SetImagem(int imagem) {
    imagem_ = imagem;
    if (auto* arvore = qobject_cast<TTreeSeguranca*>(treeWidget())) {
        const QList<QIcon>& imagens = arvore->Imagens();
        setIcon(0, imagem >= 0 && imagem < imagens.size() ? imagens[imagem] : QIcon());
    }
}

// ---------------------------------------------------------------------------
// Tree

TTreeSeguranca::TTreeSeguranca(QWidget* parent) : QTreeWidget(parent) {
    setObjectName(QStringLiteral("TreeSeguranca"));
    setHeaderHidden(true);
    setColumnCount(1);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setIconSize(QSize(16, 16));
    setExpandsOnDoubleClick(true);
    header()->setStretchLastSection(true);
    imagens_ = ImagensPadrao();
}

TTreeSeguranca::~TTreeSeguranca() {
    // Nodes (and their records) go before the list and the holder.
    clear();
}

void TTreeSeguranca::SetActive(bool ativo) {
    ativo_ = ativo;
    if (ativo)
        Montar();
}

void TTreeSeguranca::SetImages(const QList<QIcon>& imagens) {
    imagens_ = imagens;
    for (TNoSeguranca* no : Nos())
        no->SetImagem(no->Imagem());
}

QList<QIcon> TTreeSeguranca::ImagensPadrao() {
    return {icone(desenharPasta, false), icone(desenharJanela, false), icone(desenharPagina, false),
            icone(nullptr, false),       icone(nullptr, true),         icone(desenharPasta, true),
            icone(desenharJanela, true), icone(desenharPagina, true)};
}

int TTreeSeguranca::IndiceImagem(int tipo, int flag, bool operacao) {
    if (operacao)
        return flag != 0 ? IcOperacaoPermitida : IcOperacaoNegada;
    if (tipo == 2)
        return flag != 0 ? IcRelatorioPermitido : IcRelatorioNegado;
    return flag != 0 ? IcTelaPermitida : IcTelaNegada;
}

QList<QAction*> TTreeSeguranca::ItensMenu(QWidget* principal) {
    QList<QAction*> itens;
    if (!principal)
        return itens;
    QMenuBar* barra = nullptr;
    if (auto* janela = qobject_cast<QMainWindow*>(principal))
        barra = janela->menuBar();
    if (!barra)
        barra = principal->findChild<QMenuBar*>(QString(), Qt::FindDirectChildrenOnly);
    if (!barra)
        return itens;
    std::function<void(const QList<QAction*>&)> percorrer = [&](const QList<QAction*>& acoes) {
        for (QAction* a : acoes) {
            itens.append(a);
            if (QMenu* m = a->menu())
                percorrer(m->actions());
        }
    };
    percorrer(barra->actions());
    return itens;
}

TNoSeguranca* TTreeSeguranca::novoNo(QTreeWidgetItem* pai, const QString& legenda, int imagem) {
    auto* no = new TNoSeguranca(legenda, imagem);
    if (pai)
        pai->addChild(no);
    else
        addTopLevelItem(no);
    no->SetImagem(imagem);
    return no;
}

void TTreeSeguranca::Montar() {
    clear();
    lista_.clear();
    alterado_ = false;
    principalMontagem_ = principal_;
    gravador_ = std::make_unique<TSeguranca>(dataSource_.data());
    lista_ = gravador_->CarregarDireitos(usuario_);

    TNoSeguranca* raiz = novoNo(nullptr, QStringLiteral("Menu Principal"), IcMenuPermitido);
    raiz->Raiz = true;

    TNoSeguranca* atual = nullptr;
    for (QAction* item : ItensMenu(principal_)) {
        const int codigo = tagDe(item);
        if (codigo == 0)
            continue;
        const QString legenda = RemoverAtalho(item->text());
        auto direito = TSeguranca::NovoDireito(lista_, usuario_, codigo, moduloAtual());
        if (topo(codigo)) {
            atual = novoNo(raiz, legenda, direito->Acesso != 0 ? IcMenuPermitido : IcMenuNegado);
            atual->Codigo = codigo;
            atual->Tipo = 0;
            atual->Direito = std::move(direito);
            continue;
        }
        const int tipo = tipoDe(item);
        if (tipo != 1 && tipo != 2)
            continue;
        TNoSeguranca* tela = novoNo(atual ? atual : raiz, legenda, IndiceImagem(tipo, direito->Acesso, false));
        tela->Codigo = codigo;
        tela->Tipo = tipo;
        if (tipo == 1) {
            novoNo(tela, kIncluir, IndiceImagem(1, direito->Incluir, true));
            novoNo(tela, kAlterar, IndiceImagem(1, direito->Alterar, true));
            novoNo(tela, kExcluir, IndiceImagem(1, direito->Excluir, true));
        } else {
            novoNo(tela, kPermitir, IndiceImagem(2, direito->Relatorio, true));
        }
        tela->Direito = std::move(direito);
    }
}

TNoSeguranca* TTreeSeguranca::Raiz() const {
    return topLevelItemCount() > 0 ? No(topLevelItem(0)) : nullptr;
}

QList<TNoSeguranca*> TTreeSeguranca::Nos() const {
    QList<TNoSeguranca*> nos;
    std::function<void(QTreeWidgetItem*)> juntar = [&](QTreeWidgetItem* item) {
        nos.append(No(item));
        for (int i = 0; i < item->childCount(); ++i)
            juntar(item->child(i));
    };
    for (int i = 0; i < topLevelItemCount(); ++i)
        juntar(topLevelItem(i));
    return nos;
}

TNoSeguranca* TTreeSeguranca::NoDoCodigo(int codigo) const {
    for (TNoSeguranca* no : Nos())
        if (no->Direito && no->Codigo == codigo)
            return no;
    return nullptr;
}

void TTreeSeguranca::mouseDoubleClickEvent(QMouseEvent* e) {
    QTreeWidget::mouseDoubleClickEvent(e);
    try {
        DblClick();
    } catch (const std::exception& ex) {
        TratarExcecao(this, ex);
    }
}

void TTreeSeguranca::DblClick() {
    if (OnDblClick)
        OnDblClick(*this);
    QTreeWidgetItem* item = currentItem();
    if (!item)
        return;
    TNoSeguranca* no = No(item);
    if (no->Raiz)
        return;
    switch (no->Imagem()) {
    case IcMenuPermitido:
    case IcTelaPermitida:
    case IcRelatorioPermitido:
        no->SetImagem(imagemNegada(no->Tipo));
        if (no->Direito)
            no->Direito->Acesso = 0;
        NegarFilhos();
        break;
    case IcMenuNegado:
        no->SetImagem(IcMenuPermitido);
        if (no->Direito)
            no->Direito->Acesso = 1;
        break;
    case IcTelaNegada:
    case IcRelatorioNegado:
        permitir(no);
        break;
    case IcOperacaoPermitida:
        marcarOperacao(no, 0);
        break;
    case IcOperacaoNegada:
        marcarOperacao(no, 1);
        break;
    default:
        return;
    }
    alterado_ = true;
}

// A screen or report switched on: its top-level menu is allowed as well,
// and shown so, since that is what will be saved.
void TTreeSeguranca::permitir(TNoSeguranca* no) {
    no->SetImagem(imagemPermitida(no->Tipo));
    if (no->Direito)
        no->Direito->Acesso = 1;
    if (auto* pai = static_cast<TNoSeguranca*>(no->parent()); pai && !pai->Raiz && pai->Direito) {
        pai->Direito->Acesso = 1;
        pai->SetImagem(IcMenuPermitido);
    }
}

void TTreeSeguranca::marcarOperacao(TNoSeguranca* operacao, int valor) {
    auto* pai = static_cast<TNoSeguranca*>(operacao->parent());
    if (!pai || !pai->Direito)
        return;
    TSeguranca& d = *pai->Direito;
    d.Acesso = 1;
    const QString legenda = operacao->text(0);
    if (legenda == kIncluir)
        d.Incluir = valor;
    else if (legenda == kAlterar)
        d.Alterar = valor;
    else if (legenda == kExcluir)
        d.Excluir = valor;
    else if (legenda == kPermitir)
        d.Relatorio = valor;
    operacao->SetImagem(valor ? IcOperacaoPermitida : IcOperacaoNegada);
    pai->SetImagem(legenda == kPermitir ? IcRelatorioPermitido : IcTelaPermitida);
}

void TTreeSeguranca::NegarFilhos() {
    QTreeWidgetItem* item = currentItem();
    if (!item)
        return;
    TNoSeguranca* no = No(item);
    for (int i = 0; i < no->childCount(); ++i)
        negar(No(no->child(i)));
}

// Denies a node below a denied one, and everything under it: what the tree
// shows is what is saved.
void TTreeSeguranca::negar(TNoSeguranca* no) {
    switch (no->Imagem()) {
    case IcMenuPermitido: no->SetImagem(IcMenuNegado); break;
    case IcTelaPermitida: no->SetImagem(IcTelaNegada); break;
    case IcRelatorioPermitido: no->SetImagem(IcRelatorioNegado); break;
    case IcOperacaoPermitida: no->SetImagem(IcOperacaoNegada); break;
    default: break;
    }
    if (no->Direito) {
        no->Direito->Acesso = 0;
    } else if (no->Operacao()) {
        auto* pai = static_cast<TNoSeguranca*>(no->parent());
        if (pai && pai->Direito) {
            const QString legenda = no->text(0);
            if (legenda == kIncluir)
                pai->Direito->Incluir = 0;
            else if (legenda == kAlterar)
                pai->Direito->Alterar = 0;
            else if (legenda == kExcluir)
                pai->Direito->Excluir = 0;
            else if (legenda == kPermitir)
                pai->Direito->Relatorio = 0;
        }
    }
    for (int i = 0; i < no->childCount(); ++i)
        negar(No(no->child(i)));
}

void TTreeSeguranca::GravarDireitos() {
    if (usuario_ <= 0 || !gravador_)
        return;
    for (TNoSeguranca* no : Nos()) {
        if (no->Raiz || no->Operacao() || !no->Direito)
            continue;
        no->Direito->Usuario = usuario_;
        gravador_->GravarDireito(*no->Direito);
    }
    alterado_ = false;
}

void TTreeSeguranca::AplicarAjuste(const AjusteDireitos& ajuste, dataset::DataSource* fonte) {
    if (usuario_ <= 0 || !gravador_)
        return;
    for (TNoSeguranca* no : Nos()) {
        if (no->Operacao()) {
            const QString legenda = no->text(0);
            const int flag = legenda == kIncluir    ? ajuste.Incluir
                             : legenda == kAlterar  ? ajuste.Alterar
                             : legenda == kExcluir  ? ajuste.Excluir
                                                    : ajuste.Relatorio;
            no->SetImagem(IndiceImagem(1, flag, true));
            continue;
        }
        no->SetImagem(ajuste.Acesso ? imagemPermitida(no->Raiz ? 0 : no->Tipo)
                                    : imagemNegada(no->Raiz ? 0 : no->Tipo));
        if (no->Raiz || no->Codigo == 0)
            continue;
        auto direito = TSeguranca::NovoDireito(lista_, usuario_, no->Codigo, moduloAtual());
        direito->FonteDados = fonte ? fonte : dataSource_.data();
        direito->Acesso = ajuste.Acesso;
        direito->Incluir = ajuste.Incluir;
        direito->Alterar = ajuste.Alterar;
        direito->Excluir = ajuste.Excluir;
        direito->Relatorio = ajuste.Relatorio;
        no->Direito = std::move(direito);
        no->Direito->GravarDireito(*no->Direito);
    }
    viewport()->update();
}

void AplicarDireitosPrincipal(QWidget* principal) {
    if (!principal)
        return;
    const QMetaObject* mo = principal->metaObject();
    if (mo->indexOfMethod("AplicarDireitos()") < 0)
        return;
    QMetaObject::invokeMethod(principal, "AplicarDireitos", Qt::DirectConnection);
}
