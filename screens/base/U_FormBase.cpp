#include "screens/base/U_FormBase.h"

#include "app/U_DMBanco.h"
#include "common/U_Funcoes.h"
#include "platform/data/DataSource.h"
#include "platform/skin/SkinData.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QGridLayout>
#include <QRadioButton>
#include <QCloseEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QShowEvent>
#include <QValidator>
#include <QVBoxLayout>

// ---------------------------------------------------------------------------
// Search text

QString TextoSql(const QString& texto) {
    QString r = texto;
    r.replace(QLatin1Char('\''), QLatin1String("''"));
    return r;
}

QString CondicaoLike(const QString& coluna, const QString& texto) {
    return QStringLiteral("Upper(") + coluna + QStringLiteral(") LIKE '%") + TextoSql(texto) + QStringLiteral("%'");
}

namespace {

class ValidadorMaiusculas : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override {
        const QString upper = input.toUpper();
        if (upper.size() != input.size())
            pos = int(upper.size()) - (int(input.size()) - pos);
        input = upper;
        return Acceptable;
    }
};

} // namespace

TEditMaiusculas::TEditMaiusculas(QWidget* parent) : QLineEdit(parent) {
    setValidator(new ValidadorMaiusculas(this));
}

TRadioGroup::TRadioGroup(QWidget* parent) : QGroupBox(parent), grupo_(new QButtonGroup(this)) {
    new QGridLayout(this);
    connect(grupo_, &QButtonGroup::idClicked, this, [this](int) {
        if (OnClick)
            OnClick(*this);
    });
}

void TRadioGroup::SetItems(const QStringList& itens, int colunas) {
    for (QAbstractButton* b : grupo_->buttons()) {
        grupo_->removeButton(b);
        delete b;
    }
    itens_ = itens;
    auto* grade = static_cast<QGridLayout*>(layout());
    colunas = qMax(1, colunas);
    const int linhas = (int(itens.size()) + colunas - 1) / colunas;
    for (int i = 0; i < itens.size(); ++i) {
        auto* b = new QRadioButton(itens[i], this);
        b->setObjectName(objectName() + QString::number(i));
        grupo_->addButton(b, i);
        grade->addWidget(b, i % qMax(1, linhas), i / qMax(1, linhas));
    }
}

int TRadioGroup::ItemIndex() const {
    return grupo_->checkedId();
}

void TRadioGroup::SetItemIndex(int indice) {
    if (QAbstractButton* b = grupo_->button(indice))
        b->setChecked(true);
}

// ---------------------------------------------------------------------------
// Key preview: one application filter hands every key press to the base
// screen that holds the receiver, before the receiver sees it. Other windows
// (message boxes, pop-ups) on the way up end the search.

class PreVisualizadorTeclas : public QObject {
public:
    static void instalar() {
        static PreVisualizadorTeclas* filtro = nullptr;
        if (!filtro) {
            filtro = new PreVisualizadorTeclas(qApp);
            qApp->installEventFilter(filtro);
        }
    }

protected:
    explicit PreVisualizadorTeclas(QObject* parent) : QObject(parent) {}

    bool eventFilter(QObject* obj, QEvent* ev) override {
        // Esc in the open list of a combo box closes the list; claiming the
        // key keeps it from reaching the screen's Esc shortcut as well.
        if (ev->type() == QEvent::ShortcutOverride && QApplication::activePopupWidget()
            && static_cast<QKeyEvent*>(ev)->key() == Qt::Key_Escape) {
            ev->accept();
            return true;
        }
        if (ev->type() != QEvent::KeyPress || !obj->isWidgetType())
            return false;
        for (QWidget* w = static_cast<QWidget*>(obj); w; w = w->parentWidget()) {
            if (auto* tela = qobject_cast<TFrmBase*>(w))
                return tela->preverTecla(static_cast<QKeyEvent*>(ev));
            if (w->isWindow())
                break;
        }
        return false;
    }
};

// ---------------------------------------------------------------------------

TFrmBase::TFrmBase(QWidget* parent) : QDialog(parent) {
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                   | Qt::WindowSystemMenuHint);
    setSizeGripEnabled(false);

    layout_ = new QVBoxLayout(this);
    layout_->setContentsMargins(4, 4, 4, 4);
    layout_->setSpacing(4);
    // Fixed size: the window takes its contents' size and cannot be resized.
    layout_->setSizeConstraint(QLayout::SetFixedSize);

    PFundo = new QFrame(this);
    PFundo->setObjectName(QStringLiteral("PFundo"));
    PFundo->setFrameShape(QFrame::StyledPanel);
    PBusca = new QFrame(this);
    PBusca->setObjectName(QStringLiteral("PBusca"));
    PBusca->setFrameShape(QFrame::StyledPanel);
    layout_->addWidget(PFundo);
    layout_->addWidget(PBusca, 1);

    DataSource1 = new dataset::DataSource(this);
    DataSource1->setObjectName(QStringLiteral("DataSource1"));

    ActionList1 = new QObject(this);
    ActionList1->setObjectName(QStringLiteral("ActionList1"));
    ASair = new QAction(QStringLiteral("Sair"), ActionList1);
    ASair->setObjectName(QStringLiteral("ASair"));
    ASair->setShortcut(QKeySequence(Qt::Key_Escape));
    ASair->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    addAction(ASair);
    connect(ASair, &QAction::triggered, this, [this] {
        try {
            ASairExecute();
        } catch (const std::exception& e) {
            TratarExcecao(ASair, e);
        }
    });

    PreVisualizadorTeclas::instalar();

    // The skin is the application's style sheet; re-applying it makes this
    // window take the active skin as it stands now.
    if (DMBanco && DMBanco->sd1 && DMBanco->sd1->active())
        DMBanco->sd1->activate();
}

TFrmBase::~TFrmBase() = default;

dataset::DataSet* TFrmBase::DataSetPrincipal() const {
    return DataSource1 ? DataSource1->GetDataSet() : nullptr;
}

void TFrmBase::SetTag(int tela) {
    tag_ = tela;
    setProperty("tag", tela);
}

bool TFrmBase::SelecionarProximo(bool avancar) {
    QWidget* atual = QApplication::focusWidget();
    if (!atual || (atual != this && !isAncestorOf(atual)))
        atual = this;
    QWidget* w = atual;
    for (int passos = 0; passos < 10000; ++passos) {
        w = avancar ? w->nextInFocusChain() : w->previousInFocusChain();
        if (!w || w == atual)
            break;
        if (!isAncestorOf(w) || w->focusProxy())
            continue;
        if ((w->focusPolicy() & Qt::TabFocus) != Qt::TabFocus || !w->isEnabled() || !w->isVisibleTo(this))
            continue;
        w->setFocus(avancar ? Qt::TabFocusReason : Qt::BacktabFocusReason);
        return true;
    }
    return false;
}

void TFrmBase::reject() {
    close();
}

void TFrmBase::FormShow() {
    if (dataset::DataSet* ds = DataSetPrincipal()) {
        ds->Close();
        ds->Open();
    }
}

bool TFrmBase::FormKeyDown(QKeyEvent* e) {
    const auto mods = e->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier);
    return e->key() == Qt::Key_Delete && mods == Qt::ControlModifier;
}

bool TFrmBase::FormKeyPress(QKeyEvent* e) {
    if (e->key() != Qt::Key_Return && e->key() != Qt::Key_Enter)
        return false;
    if (e->modifiers() & (Qt::ControlModifier | Qt::AltModifier))
        return false;
    SelecionarProximo(true);
    return true;
}

void TFrmBase::FormClose(QCloseEvent*) {
    // A screen run modally is deleted by whoever ran it, after reading it.
    if (!testAttribute(Qt::WA_ShowModal))
        setAttribute(Qt::WA_DeleteOnClose);
}

void TFrmBase::ASairExecute() {
    close();
}

bool TFrmBase::preverTecla(QKeyEvent* e) {
    try {
        // Esc is ASair's shortcut; a key that reaches here did not go
        // through the shortcut map.
        if (e->key() == Qt::Key_Escape && e->modifiers() == Qt::NoModifier && ASair->isEnabled()) {
            ASair->trigger();
            return true;
        }
        if (!KeyPreview)
            return false;
        if (FormKeyDown(e))
            return true;
        return FormKeyPress(e);
    } catch (const std::exception& ex) {
        TratarExcecao(this, ex);
        return true;
    }
}

void TFrmBase::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    if (e->spontaneous())
        return;
    try {
        FormShow();
    } catch (const std::exception& ex) {
        TratarExcecao(this, ex);
    }
}

void TFrmBase::closeEvent(QCloseEvent* e) {
    e->accept();
    try {
        FormClose(e);
    } catch (const std::exception& ex) {
        e->ignore();
        TratarExcecao(this, ex);
    }
}

void TFrmBase::keyPressEvent(QKeyEvent* e) {
    // Esc closes through ASair; Enter never clicks a default button here.
    if (e->key() == Qt::Key_Escape && e->modifiers() == Qt::NoModifier) {
        ASair->trigger();
        return;
    }
    QWidget::keyPressEvent(e);
}
