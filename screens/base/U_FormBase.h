#pragma once

#include <QDialog>
#include <QGroupBox>
#include <QLineEdit>
#include <QString>
#include <QStringList>
#include <functional>

class QAction;
class QButtonGroup;
class QCloseEvent;
class QFrame;
class QKeyEvent;
class QShowEvent;
class QVBoxLayout;

namespace dataset { class DataSource; class DataSet; }

// ---------------------------------------------------------------------------
// Search text

// The text for the inside of a quoted SQL string literal: every single quote
// doubled, nothing else touched ("%" and "_" keep their LIKE meaning).
QString TextoSql(const QString& texto);

// "Upper(" + coluna + ") LIKE '%" + texto + "%'", the text made safe with
// TextoSql: a containment search of the upper-cased column.
QString CondicaoLike(const QString& coluna, const QString& texto);

// A line edit that turns what is typed (or set) into upper case: the search
// boxes of the registers.
class TEditMaiusculas : public QLineEdit {
    Q_OBJECT
public:
    explicit TEditMaiusculas(QWidget* parent = nullptr);
};

// A radio group: a captioned box of exclusive options, one per item, in
// columns. OnClick runs after the user picks an item (not when set in code).
class TRadioGroup : public QGroupBox {
    Q_OBJECT
public:
    explicit TRadioGroup(QWidget* parent = nullptr);
    void SetItems(const QStringList& itens, int colunas = 1);
    QStringList Items() const { return itens_; }
    int ItemIndex() const;            // -1 when none is checked
    void SetItemIndex(int indice);
    std::function<void(TRadioGroup&)> OnClick;

private:
    QButtonGroup* grupo_;
    QStringList itens_;
};

// ---------------------------------------------------------------------------
// Base of every screen that works on one main dataset.
//
// A fixed-size window with two panels, PFundo at the top (the record's
// fields) and PBusca below it (search box and grid), the data source
// DataSource1 of the main dataset and the action ASair (Esc) in
// ActionList1. Keys are seen before the controls: Enter moves the focus to
// the next control (also out of grids and multi-line boxes), Ctrl+Delete is
// swallowed. Each show closes and reopens the main dataset; closing destroys
// the screen.
//
// The screen code is the screen's tag (Tag/SetTag, also the "tag" property).
class TFrmBase : public QDialog {
    Q_OBJECT
public:
    explicit TFrmBase(QWidget* parent = nullptr);
    ~TFrmBase() override;

    QFrame* PFundo;
    QFrame* PBusca;
    dataset::DataSource* DataSource1;
    QObject* ActionList1;
    QAction* ASair;

    // The main dataset (of DataSource1); null when none is bound.
    dataset::DataSet* DataSetPrincipal() const;

    int Tag() const { return tag_; }
    void SetTag(int tela);

    // While false the screen's own key handling (Enter, Ctrl+Delete and, in
    // registers, F2-F6) is off, e.g. while a memo that takes Enter has focus.
    bool KeyPreview = true;

    // Moves the focus to the next (or previous) control in tab order within
    // the screen that can take it; true when the focus moved.
    bool SelecionarProximo(bool avancar = true);

    // Esc / ASair and QDialog's reject close the screen (with the close steps).
    void reject() override;

protected:
    // Show step: closes and reopens the main dataset. Overrides call it first.
    virtual void FormShow();
    // Key steps, seen before the focused control; true swallows the key.
    // FormKeyDown: Ctrl+Delete (extended by registers with F2-F6);
    // FormKeyPress: Enter moves on.
    virtual bool FormKeyDown(QKeyEvent* e);
    virtual bool FormKeyPress(QKeyEvent* e);
    // Close step: the event arrives accepted; ignoring it keeps the screen
    // open. The base step marks the screen to be destroyed.
    virtual void FormClose(QCloseEvent* e);
    // ASair: closes the screen.
    virtual void ASairExecute();

    // The layout holding PFundo and PBusca, top to bottom.
    QVBoxLayout* LayoutPrincipal() const { return layout_; }

    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    friend class PreVisualizadorTeclas;
    bool preverTecla(QKeyEvent* e);

    QVBoxLayout* layout_;
    int tag_ = 0;
};
