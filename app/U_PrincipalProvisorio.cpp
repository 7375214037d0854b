#include "U_PrincipalProvisorio.h"
#include "Inicializacao.h"

#include "common/Ambiente.h"

#include <QMdiArea>
#include <QStatusBar>

TFrmPrincipalProvisorio::TFrmPrincipalProvisorio(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("FrmPrincipal"));
    setWindowTitle(TituloAplicacao());
    resize(1024, 700);
    MDIArea = new QMdiArea(this);
    MDIArea->setObjectName(QStringLiteral("MDIArea"));
    MDIArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    MDIArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(MDIArea);
    statusBar()->setObjectName(QStringLiteral("StatusBar"));
    PrepararJanelaPrincipal(this);
}
