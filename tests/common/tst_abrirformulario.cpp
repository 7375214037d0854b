#include "common/U_Funcoes.h"

#include <QDialog>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QTest>
#include <QTimer>

namespace {

struct Registro {
    int criados = 0;
    int destruidos = 0;
    int chamadaNaCriacao = -1;
    int chamadaAoMostrar = -1;
    Qt::WindowFlags flags;
    QRect geometriaAoMostrar;
};
Registro reg;

class TFrmTeste : public QWidget {
public:
    explicit TFrmTeste(QWidget* parent = nullptr) : QWidget(parent) {
        ++reg.criados;
        reg.chamadaNaCriacao = ChamadaExterna;
        resize(401, 300);
    }
    ~TFrmTeste() override { ++reg.destruidos; }

protected:
    void showEvent(QShowEvent*) override { reg.chamadaAoMostrar = ChamadaExterna; }
};

class TFrmDerivado : public TFrmTeste {
public:
    using TFrmTeste::TFrmTeste;
};

class TFrmOutro : public QWidget {
public:
    explicit TFrmOutro(QWidget* parent = nullptr) : QWidget(parent) { resize(200, 100); }
};

class TFrmCentrado : public QWidget {
public:
    explicit TFrmCentrado(QWidget* parent = nullptr) : QWidget(parent) {
        resize(300, 200);
        setProperty(kPropriedadeCentralizada, true);
    }
};

// A modal screen that closes itself once it is on screen.
class TFrmModal : public QDialog {
public:
    explicit TFrmModal(QWidget* parent = nullptr) : QDialog(parent) {
        ++reg.criados;
        reg.chamadaNaCriacao = ChamadaExterna;
        resize(300, 151);
    }
    ~TFrmModal() override { ++reg.destruidos; }

protected:
    void showEvent(QShowEvent*) override {
        reg.chamadaAoMostrar = ChamadaExterna;
        reg.flags = windowFlags();
        reg.geometriaAoMostrar = frameGeometry();
        QTimer::singleShot(0, this, &QDialog::accept);
    }
};

// A modal screen that is a plain widget, closed by its own timer.
class TFrmModalWidget : public QWidget {
public:
    explicit TFrmModalWidget(QWidget* parent = nullptr) : QWidget(parent) {
        ++reg.criados;
        resize(250, 120);
    }
    ~TFrmModalWidget() override { ++reg.destruidos; }

protected:
    void showEvent(QShowEvent*) override {
        reg.flags = windowFlags();
        QTimer::singleShot(0, this, &QWidget::close);
    }
};

class TFrmFalha : public QWidget {
public:
    explicit TFrmFalha(QWidget* parent = nullptr) : QWidget(parent) {
        throw std::runtime_error("falha ao criar");
    }
};

} // namespace

class TstAbrirFormulario : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void naoModalNovaJanela_data();
    void naoModalNovaJanela();
    void segundaAberturaRestaura();
    void classeDerivadaConta();
    void centralizadoNaAreaMdi();
    void modalDestruidoAoRetornar();
    void modalWidgetSimples();
    void erroNaCriacaoChegaAoChamador();

private:
    std::unique_ptr<QMainWindow> principal_;
    QMdiArea* mdi_ = nullptr;
};

void TstAbrirFormulario::init() {
    reg = Registro();
    ChamadaExterna = 0;
    principal_ = std::make_unique<QMainWindow>();
    mdi_ = new QMdiArea(principal_.get());
    principal_->setCentralWidget(mdi_);
    principal_->resize(1024, 700);
    principal_->show();
    QVERIFY(QTest::qWaitForWindowExposed(principal_.get()));
    DefinirJanelaPrincipal(principal_.get());
}

void TstAbrirFormulario::cleanup() {
    DefinirJanelaPrincipal(nullptr);
    principal_.reset();
}

void TstAbrirFormulario::naoModalNovaJanela_data() {
    QTest::addColumn<int>("chamada");
    QTest::newRow("menu") << 0;
    QTest::newRow("outra tela") << 1;
}

void TstAbrirFormulario::naoModalNovaJanela() {
    QFETCH(int, chamada);
    TFrmTeste* f = AbrirFormulario<TFrmTeste>(false, chamada);
    QVERIFY(f);
    QCOMPARE(int(ChamadaExterna), chamada);
    QCOMPARE(reg.chamadaNaCriacao, chamada);
    QCOMPARE(reg.chamadaAoMostrar, chamada);
    QCOMPARE(mdi_->subWindowList().size(), 1);
    QMdiSubWindow* sub = mdi_->subWindowList().first();
    QCOMPARE(sub->widget(), f);
    QVERIFY(f->isVisible());
    const QRect m = principal_->frameGeometry();
    const QRect s = sub->frameGeometry();
    QCOMPARE(s.top(), ArredondarPar((m.height() - s.height()) / 2.0 - 50));
    QCOMPARE(s.left(), ArredondarPar((m.width() - s.width()) / 2.0) - 12);
    // Closing releases it, whether the frame or the screen itself is closed.
    QPointer<TFrmTeste> p(f);
    sub->close();
    QTRY_VERIFY(p.isNull());
    QCOMPARE(reg.destruidos, 1);
    TFrmTeste* g = AbrirFormulario<TFrmTeste>(false, chamada);
    QVERIFY(g);
    QPointer<QMdiSubWindow> frame(mdi_->subWindowList().first());
    g->close();
    QTRY_VERIFY(frame.isNull());
    QCOMPARE(reg.destruidos, 2);
    QVERIFY(mdi_->subWindowList().isEmpty());
}

void TstAbrirFormulario::segundaAberturaRestaura() {
    TFrmTeste* f = AbrirFormulario<TFrmTeste>(false, 0);
    QVERIFY(f);
    QMdiSubWindow* sub = mdi_->subWindowList().first();
    f->setWindowTitle(QStringLiteral("carregado uma vez"));
    sub->showMinimized();
    QVERIFY(sub->isMinimized());
    AbrirFormulario<TFrmOutro>(false, 0);

    QCOMPARE(AbrirFormulario<TFrmTeste>(false, 1), static_cast<TFrmTeste*>(nullptr));
    QCOMPARE(int(ChamadaExterna), 1);
    QCOMPARE(reg.criados, 1);
    QCOMPARE(mdi_->subWindowList().size(), 2);
    QVERIFY(!sub->isMinimized());
    QVERIFY(!sub->isMaximized());
    QVERIFY(sub->isVisible());
    QCOMPARE(f->windowTitle(), QStringLiteral("carregado uma vez"));

    sub->showMaximized();
    QVERIFY(!AbrirFormulario<TFrmTeste>(false, 0));
    QVERIFY(!sub->isMaximized());
}

void TstAbrirFormulario::classeDerivadaConta() {
    QVERIFY(AbrirFormulario<TFrmDerivado>(false, 0));
    QVERIFY(!AbrirFormulario<TFrmTeste>(false, 0));
    QCOMPARE(reg.criados, 1);
    // The other way round a base-class window is not a derived screen.
    mdi_->closeAllSubWindows();
    QTRY_COMPARE(reg.destruidos, 1);
    QVERIFY(AbrirFormulario<TFrmTeste>(false, 0));
    QVERIFY(AbrirFormulario<TFrmDerivado>(false, 0));
    QCOMPARE(reg.criados, 3);
}

void TstAbrirFormulario::centralizadoNaAreaMdi() {
    QVERIFY(AbrirFormulario<TFrmCentrado>(false, 0));
    QMdiSubWindow* sub = mdi_->subWindowList().first();
    const QRect area = mdi_->viewport()->rect();
    QVERIFY(qAbs(sub->frameGeometry().center().x() - area.center().x()) <= 1);
    QVERIFY(qAbs(sub->frameGeometry().center().y() - area.center().y()) <= 1);
}

void TstAbrirFormulario::modalDestruidoAoRetornar() {
    QCOMPARE(AbrirFormulario<TFrmModal>(true, 1), static_cast<TFrmModal*>(nullptr));
    QCOMPARE(reg.criados, 1);
    QCOMPARE(reg.destruidos, 1);
    QCOMPARE(reg.chamadaNaCriacao, 1);
    QCOMPARE(reg.chamadaAoMostrar, 1);
    QVERIFY(reg.flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!reg.flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!reg.flags.testFlag(Qt::WindowMaximizeButtonHint));
    QCOMPARE(reg.geometriaAoMostrar.top(),
             ArredondarPar((principal_->frameGeometry().height() - reg.geometriaAoMostrar.height()) / 2.0 + 35));
    // Without a place of its own it is centred across the main window.
    QVERIFY(qAbs(reg.geometriaAoMostrar.center().x() - principal_->frameGeometry().center().x()) <= 1);
    QVERIFY(mdi_->subWindowList().isEmpty());

    // Opening it again builds a fresh one.
    AbrirFormulario<TFrmModal>(true, 0);
    QCOMPARE(reg.criados, 2);
    QCOMPARE(reg.destruidos, 2);
    QCOMPARE(reg.chamadaAoMostrar, 0);
}

void TstAbrirFormulario::modalWidgetSimples() {
    QVERIFY(!AbrirFormulario<TFrmModalWidget>(true, 0));
    QCOMPARE(reg.destruidos, 1);
    QVERIFY(reg.flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!reg.flags.testFlag(Qt::WindowMinimizeButtonHint));
}

void TstAbrirFormulario::erroNaCriacaoChegaAoChamador() {
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, AbrirFormulario<TFrmFalha>(false, 1));
    QCOMPARE(int(ChamadaExterna), 1);
    QVERIFY(mdi_->subWindowList().isEmpty());
}

QTEST_MAIN(TstAbrirFormulario)
#include "tst_abrirformulario.moc"
