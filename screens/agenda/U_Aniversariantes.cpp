#include "U_Aniversariantes.h"

#include "app/U_Dm.h"
#include "common/U_Funcoes.h"
#include "platform/data/DataSource.h"
#include "platform/data/GridModel.h"
#include "platform/data/Query.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>
#include <QWindow>

TFrmAniversariantes::TFrmAniversariantes(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FrmAniversariantes"));
    setWindowTitle(QStringLiteral("Aniversariantes do Dia"));
    setWindowFlag(Qt::WindowStaysOnTopHint);
    setProperty(kPropriedadeCentralizada, true);

    DS_Aniversariantes = new dataset::DataSource(this);
    DS_Aniversariantes->setObjectName(QStringLiteral("DS_Aniversariantes"));
    if (DM)
        DS_Aniversariantes->SetDataSet(DM->Q_Aniversariantes);

    auto* coluna = new QVBoxLayout(this);
    coluna->setContentsMargins(8, 8, 8, 8);
    DBGrid1 = new QTableView(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    modelo_ = new dataset::DataSetModel(this);
    modelo_->SetColumns({{QStringLiteral("NOME"), QStringLiteral("Nome"), Qt::AlignLeft | Qt::AlignVCenter,
                          Qt::AlignLeft | Qt::AlignVCenter, true, 300, true},
                         {QStringLiteral("FONE"), QStringLiteral("Fone"), Qt::AlignLeft | Qt::AlignVCenter,
                          Qt::AlignLeft | Qt::AlignVCenter, true, 140, true}});
    modelo_->SetDataSource(DS_Aniversariantes);
    DBGrid1->setModel(modelo_);
    DBGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    DBGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DBGrid1->verticalHeader()->hide();
    DBGrid1->verticalHeader()->setDefaultSectionSize(DBGrid1->fontMetrics().height() + 8);
    DBGrid1->horizontalHeader()->setStretchLastSection(true);
    DBGrid1->setColumnWidth(0, 300);
    DBGrid1->setColumnWidth(1, 140);
    coluna->addWidget(DBGrid1);

    auto* linha = new QHBoxLayout;
    linha->addStretch(1);
    BFechar = new QPushButton(QStringLiteral("Fechar"), this);
    BFechar->setObjectName(QStringLiteral("BFechar"));
    BFechar->setMinimumWidth(90);
    linha->addWidget(BFechar);
    coluna->addLayout(linha);
    connect(BFechar, &QPushButton::clicked, this, &QDialog::close);
    resize(480, 260);
}

void TFrmAniversariantes::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    // The launcher sets its own window flags; keep this one above the others.
    if (QWindow* w = windowHandle())
        w->setFlags(w->flags() | Qt::WindowStaysOnTopHint);
}
