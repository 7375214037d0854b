#include "UClassSeguranca.h"

#include "app/U_DMBanco.h"
#include "common/Mensagens.h"
#include "platform/core/Exception.h"
#include "platform/data/DataSource.h"
#include "platform/data/Query.h"
#include "platform/firebird/Attachment.h"
#include "platform/firebird/Statement.h"
#include "platform/firebird/Transaction.h"
#include "screens/base/U_BaseChild.h"

#include <QStringList>

QString MensagemAcessoNegado() {
    return QStringLiteral("Você não possui permissão para acessar esta rotina!") + QStringLiteral("\r\r")
           + QStringLiteral("Verifique junto a diretoria a possibilidade de acesso.");
}

namespace {

// The column name goes into the statement as text: only the flag columns.
bool colunaDeDireito(const QString& campo) {
    static const QStringList nomes = {QStringLiteral("DIR_ACESSO"), QStringLiteral("DIR_INCLUIR"),
                                      QStringLiteral("DIR_ALTERAR"), QStringLiteral("DIR_EXCLUIR"),
                                      QStringLiteral("DIR_RELATORIO")};
    return nomes.contains(campo, Qt::CaseInsensitive);
}

int lerDireito(fb::Transaction& tra, int usuario, int modulo, int tela, const QString& campo) {
    fb::Statement q(tra, QStringLiteral("Select ") + campo + QStringLiteral(" from TB_Direitos\r\n")
                             + QStringLiteral("Where Usu_Codigo = :Usuario and Tel_Modulo = :Modulo and Tel_Codigo = :Tela"));
    q.setParam(QStringLiteral("Usuario"), usuario);
    q.setParam(QStringLiteral("Modulo"), modulo);
    q.setParam(QStringLiteral("Tela"), tela);
    q.open();
    int valor = 0;
    if (q.fetch()) {
        const QVariant v = q.value(0);
        valor = v.isNull() ? 0 : v.toInt();
        q.close();
    }
    return valor;
}

} // namespace

bool VerificarAcesso(fb::Attachment& banco, int usuario, int perfil, int modulo, int tela, const QString& campo,
                     bool mostrarMensagem) {
    if (usuario == 0)
        return true;
    if (!colunaDeDireito(campo))
        throw clip::EDatabaseError(QStringLiteral("Field '%1' not found").arg(campo));
    const int dono = perfil > 0 ? perfil : usuario;

    int valor;
    if (DMBanco && &DMBanco->DB_Clipping == &banco) {
        valor = lerDireito(DMBanco->Trans_Clipping, dono, modulo, tela, campo);
    } else {
        fb::Transaction propria(banco);
        propria.start();
        valor = lerDireito(propria, dono, modulo, tela, campo);
        propria.commit();
    }
    if (valor == 1)
        return true;
    if (mostrarMensagem)
        msg::Informar(MensagemAcessoNegado());
    return false;
}

bool VerificarAcessoSessao(int tela, const QString& campo, bool mostrarMensagem) {
    if (!DMBanco)
        return true;
    return VerificarAcesso(DMBanco->DB_Clipping, DMBanco->UsuarioAtual, DMBanco->PerfilAtual, DMBanco->ModuloAtual,
                           tela, campo, mostrarMensagem);
}

void InstalarVerificadorAcesso() {
    DefinirVerificadorAcesso([](int tela, const QString& campo) { return VerificarAcessoSessao(tela, campo, true); });
}

// ---------------------------------------------------------------------------
// Rights record

namespace {

int moduloAtual() { return DMBanco ? DMBanco->ModuloAtual : 0; }

int inteiro(dataset::DataSet& ds, const char* campo) {
    dataset::Field* f = ds.FieldByName(QString::fromLatin1(campo));
    return f->IsNull() ? 0 : f->AsInteger();
}

void abrirDireitos(dataset::DataSet& ds, int usuario) {
    ds.Close();
    auto* q = dynamic_cast<dataset::Query*>(&ds);
    if (!q)
        throw clip::EDatabaseError(QStringLiteral("Rights dataset must be a query"));
    q->GetParams().Items(0)->SetAsInteger(usuario);
    q->GetParams().Items(1)->SetAsInteger(moduloAtual());
    ds.Open();
}

} // namespace

dataset::DataSource* TSeguranca::fonte() const {
    if (FonteDados && FonteDados->GetDataSet())
        return FonteDados;
    if (DMBanco && DMBanco->DS_Direitos && DMBanco->DS_Direitos->GetDataSet())
        return DMBanco->DS_Direitos;
    throw clip::EDatabaseError(QStringLiteral("Missing DataSet property"));
}

ListaSeguranca TSeguranca::CarregarDireitos(int usuario) const {
    dataset::DataSet& ds = *fonte()->GetDataSet();
    ListaSeguranca lista;
    abrirDireitos(ds, usuario);
    ds.First();
    while (!ds.Eof()) {
        auto d = std::make_unique<TSeguranca>();
        d->Usuario = inteiro(ds, "USU_CODIGO");
        d->Tela = inteiro(ds, "TEL_CODIGO");
        d->Modulo = inteiro(ds, "TEL_MODULO");
        d->Acesso = inteiro(ds, "DIR_ACESSO");
        d->Incluir = inteiro(ds, "DIR_INCLUIR");
        d->Alterar = inteiro(ds, "DIR_ALTERAR");
        d->Excluir = inteiro(ds, "DIR_EXCLUIR");
        d->Relatorio = inteiro(ds, "DIR_RELATORIO");
        lista.push_back(std::move(d));
        ds.Next();
    }
    ds.Close();
    return lista;
}

std::unique_ptr<TSeguranca> TSeguranca::NovoDireito(const ListaSeguranca& lista, int usuario, int tela, int modulo) {
    auto d = std::make_unique<TSeguranca>();
    d->Usuario = usuario;
    d->Tela = tela;
    d->Modulo = modulo;
    for (const auto& r : lista) {
        if (r->Tela == tela) {
            d->Acesso = r->Acesso;
            d->Incluir = r->Incluir;
            d->Alterar = r->Alterar;
            d->Excluir = r->Excluir;
            d->Relatorio = r->Relatorio;
            break;
        }
        if (r->Tela > tela)
            break;
    }
    return d;
}

void TSeguranca::GravarDireito(const TSeguranca& direito) const {
    dataset::DataSet& ds = *fonte()->GetDataSet();
    abrirDireitos(ds, direito.Usuario);
    const bool achou = ds.Locate(QStringLiteral("TEL_CODIGO;TEL_MODULO"),
                                 QVariant(QVariantList{direito.Tela, moduloAtual()}), dataset::CaseInsensitive);
    if (direito.Tela == 0)
        return;
    auto preencher = [&] {
        ds.FieldByName(QStringLiteral("TEL_CODIGO"))->SetAsInteger(direito.Tela);
        ds.FieldByName(QStringLiteral("TEL_MODULO"))->SetAsInteger(moduloAtual());
        ds.FieldByName(QStringLiteral("USU_CODIGO"))->SetAsInteger(direito.Usuario);
        ds.FieldByName(QStringLiteral("DIR_ACESSO"))->SetAsInteger(direito.Acesso);
        ds.FieldByName(QStringLiteral("DIR_INCLUIR"))->SetAsInteger(direito.Incluir);
        ds.FieldByName(QStringLiteral("DIR_ALTERAR"))->SetAsInteger(direito.Alterar);
        ds.FieldByName(QStringLiteral("DIR_EXCLUIR"))->SetAsInteger(direito.Excluir);
        ds.FieldByName(QStringLiteral("DIR_RELATORIO"))->SetAsInteger(direito.Relatorio);
    };
    if (achou && direito.Acesso == 0) {
        ds.Delete();
        ds.ApplyUpdates();
    } else if (achou && direito.Acesso == 1) {
        ds.Edit();
        preencher();
        ds.Post();
        ds.ApplyUpdates();
    } else if (!achou && direito.Acesso == 1) {
        ds.Append();
        preencher();
        ds.Post();
        ds.ApplyUpdates();
    }
}
