#pragma once

#include "support/TempDatabase.h"

#include "app/Inicializacao.h"
#include "app/U_DMBanco.h"
#include "common/Ambiente.h"
#include "common/Mensagens.h"
#include "common/U_Funcoes.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTest>

// Types text into w key by key, accented letters included.
inline void digitar(QWidget* w, const QString& texto) {
    for (QChar c : texto) {
        const int tecla = c.unicode() < 128 ? c.toUpper().unicode() : int(Qt::Key_unknown);
        QKeyEvent p(QEvent::KeyPress, tecla, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &p);
        QKeyEvent r(QEvent::KeyRelease, tecla, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &r);
    }
}

// A fresh database and executable folder with DMBanco and DM created on
// them, as at start-up; released when it goes.
struct SessaoCadastro {
    testsupport::TempDatabase db;
    msg::Roteiro roteiro;

    SessaoCadastro() {
        DefinirPastaExecutavel(db.folder());
        ChamadaExterna = 0;
        if (!CriarModulosDados())
            qFatal("no connection to the test database");
        roteiro.limpar();
    }
    ~SessaoCadastro() {
        LiberarModulosDados();
        DefinirPastaExecutavel(QString());
        qApp->setStyleSheet(QString());
        ChamadaExterna = 0;
    }
};
