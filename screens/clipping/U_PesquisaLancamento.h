#pragma once

#include "screens/base/U_FormBase.h"
#include "screens/clipping/U_LocalizarArquivo.h"

#include <QGroupBox>
#include <QPixmap>
#include <QStringList>

class QButtonGroup;
class QLabel;
class QPushButton;
class QRadioButton;

namespace dataset {
class DBGrid;
class DBMemo;
class Query;
} // namespace dataset

// A titled group of radio buttons, one of them chosen.
class TGrupoOpcoes : public QGroupBox {
    Q_OBJECT
public:
    TGrupoOpcoes(const QString& titulo, const QStringList& itens, QWidget* parent = nullptr);
    int ItemIndex() const;
    void SetItemIndex(int indice);
    QString ItemTexto() const;
    QRadioButton* Botao(int indice) const;

signals:
    // The user clicked an item (also the one already chosen).
    void clicado(int indice);

private:
    QButtonGroup* grupo_;
    QList<QRadioButton*> botoes_;
};

// Entry search: finds entries by subject, station, program, employee, date
// or tape code, narrows them with a filter, sorts by a column, marks rows
// (in memory only) and opens the register or the recording of the current
// entry.
class TFrmPesquisaLancamento : public TFrmBase {
    Q_OBJECT
public:
    explicit TFrmPesquisaLancamento(QWidget* parent = nullptr);
    ~TFrmPesquisaLancamento() override;

    // Builds the statement from the boxes and choices and opens the result.
    void Pesquisar();
    // "Adicionar / Gerar Pedido" and "Adicionar / Gerar Informe": the marked
    // rows become items of an order or rows of the client report.
    void BGerarClick();
    void BInformeClick();
    // Opens the order form; installed by the order screens. While it is
    // empty "Adicionar / Gerar Pedido" is disabled.
    static std::function<void()>& AbrirFormularioPedido();
    // The recording lookup of the current row (see TReproducao).
    void LocalizarArquivo(const QString& mascara) { Reproducao.LocalizarArquivo(mascara); }
    QStringList ListarArquivos(const QString& caminhoComMascara) const {
        return TReproducao::ListarArquivos(caminhoComMascara);
    }

    dataset::Query* Q_Busca;
    QLabel* Label1;
    QLabel* Label2;
    QLineEdit* EdPesquisa;
    QPushButton* BBusca;
    QLineEdit* edFiltro;
    QPushButton* BitBtn1;
    TGrupoOpcoes* RGLocalizar;
    TGrupoOpcoes* RGFiltrar;
    dataset::DBGrid* DBGrid1;
    dataset::DBMemo* DBMemo1;
    QPushButton* BEditar;
    QPushButton* BGerar;
    QPushButton* BInforme;
    QPushButton* BPlay;
    QPushButton* BSair;

    // Current ordering of a built search.
    QString Ordem;
    // Playback state of this window.
    TReproducao Reproducao;
    // The two images of the mark column: empty box, checked box.
    QPixmap ImagemVazia, ImagemMarcada;

protected:
    void FormShow() override;
    void FormClose(QCloseEvent* e) override;
    bool eventFilter(QObject* obj, QEvent* ev) override;

private:
    void DBGrid1DrawColumnCell(QPainter& p, const QRect& r, int coluna, bool selecionada);
    void DBGrid1CellClick(int coluna);
    void DBGrid1TitleClick(int coluna);
    void BEditarClick();
    void BPlayClick();
    // Runs f; an error goes to the application-wide handler.
    void executar(QObject* remetente, const std::function<void()>& f);
};

// The search window opened last (null when none is open).
extern TFrmPesquisaLancamento* FrmPesquisaLancamento;

// The main window's "Consultar Lançamentos": PedidoAtual := 0, then the open
// search window is brought up, or a new one is made as a separate window.
TFrmPesquisaLancamento* AbrirPesquisaLancamento();
