#pragma once

#include "SessaoTeste.h"

#include "platform/firebird/Statement.h"
#include "screens/base/U_Principal.h"
#include "screens/maintenance/U_Backup.h"
#include "security/TreeSeguranca.h"

#include <QStringList>
#include <memory>

// The real main window on a started session (never shown: no login).
struct JanelaTeste {
    JanelaTeste() {
        TFrmPrincipal::Encerrar = [] {};
        TFrmBackup::Encerrar = [] {};
        w = std::make_unique<TFrmPrincipal>();
    }
    ~JanelaTeste() { w.reset(); }
    std::unique_ptr<TFrmPrincipal> w;
};

// Every menu code that is a rights subject, in menu order.
inline const QList<int>& CodigosMenu() {
    static const QList<int> c = {10,   1001, 1002, 1003, 1004, 1005, 1006, 1007, 1008, 1009, 11,   1101, 1102,
                                 1106, 1107, 1103, 1104, 1105, 1108, 12,   1201, 1202, 1203, 1204, 13,   1301};
    return c;
}

// One owner's rows as "code:acesso,incluir,alterar,excluir,relatorio", in
// code order, read in the given transaction (the session's one sees what
// is not committed yet).
inline QStringList LinhasDireitos(fb::Transaction& tra, int dono) {
    fb::Statement q(tra, QStringLiteral("SELECT TEL_CODIGO, DIR_ACESSO, DIR_INCLUIR, DIR_ALTERAR, DIR_EXCLUIR, "
                                        "DIR_RELATORIO FROM TB_DIREITOS WHERE USU_CODIGO = %1 AND TEL_MODULO = 0 "
                                        "ORDER BY TEL_CODIGO")
                                .arg(dono));
    q.open();
    QStringList r;
    while (q.fetch())
        r << QStringLiteral("%1:%2,%3,%4,%5,%6")
                 .arg(q.value(0).toInt())
                 .arg(q.value(1).toInt())
                 .arg(q.value(2).toInt())
                 .arg(q.value(3).toInt())
                 .arg(q.value(4).toInt())
                 .arg(q.value(5).toInt());
    return r;
}

// Every menu code with the same five flags.
inline QStringList TodasAsLinhas(const QString& flags) {
    QList<int> c = CodigosMenu();
    std::sort(c.begin(), c.end());
    QStringList r;
    for (int codigo : c)
        r << QStringLiteral("%1:%2").arg(codigo).arg(flags);
    return r;
}

// The icon of a screen's node, or of one of its operation nodes.
inline int IconeDe(TTreeSeguranca& t, int codigo, const QString& operacao = QString()) {
    TNoSeguranca* no = t.NoDoCodigo(codigo);
    if (!no)
        return -1;
    if (operacao.isEmpty())
        return no->Imagem();
    for (int i = 0; i < no->childCount(); ++i)
        if (no->child(i)->text(0) == operacao)
            return t.No(no->child(i))->Imagem();
    return -1;
}
