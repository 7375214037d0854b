#include "U_DMBanco.h"

#include "common/Ambiente.h"
#include "common/Mensagens.h"
#include "common/U_Funcoes.h"
#include "db/Schema.h"
#include "platform/firebird/Codec.h"
#include "platform/firebird/Error.h"
#include "platform/firebird/Statement.h"
#include "platform/skin/SkinData.h"
#include "platform/data/DataSource.h"
#include "platform/data/Query.h"
#include "platform/data/TableDataset.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>

TDMBanco* DMBanco = nullptr;

TDMBanco::TDMBanco(QObject* parent) : QObject(parent), sd1(new skin::SkinData(this)), Trans_Clipping(DB_Clipping) {
    setObjectName(QStringLiteral("DMBanco"));
    sd1->setObjectName(QStringLiteral("sd1"));
    CriarDatasetsSeguranca();
    CriarDatasetsCadastro();
}

void TDMBanco::CriarDatasetsCadastro() {
    Up_PerfilAcesso = new dataset::UpdateSql(this);
    Up_PerfilAcesso->setObjectName(QStringLiteral("Up_PerfilAcesso"));
    Up_PerfilAcesso->InsertSQL.Add(QStringLiteral("insert into TB_FUNCIONARIOS"));
    Up_PerfilAcesso->InsertSQL.Add(QStringLiteral("  (FUN_CODIGO, FUN_NOME, FUN_TIPO)"));
    Up_PerfilAcesso->InsertSQL.Add(QStringLiteral("values"));
    Up_PerfilAcesso->InsertSQL.Add(QStringLiteral("  (:FUN_CODIGO, :FUN_NOME, :FUN_TIPO)"));
    Up_PerfilAcesso->ModifySQL.Add(QStringLiteral("update TB_FUNCIONARIOS"));
    Up_PerfilAcesso->ModifySQL.Add(QStringLiteral("set"));
    Up_PerfilAcesso->ModifySQL.Add(QStringLiteral("  FUN_CODIGO = :FUN_CODIGO,"));
    Up_PerfilAcesso->ModifySQL.Add(QStringLiteral("  FUN_NOME = :FUN_NOME,"));
    Up_PerfilAcesso->ModifySQL.Add(QStringLiteral("  FUN_TIPO = :FUN_TIPO"));
    Up_PerfilAcesso->ModifySQL.Add(QStringLiteral("where"));
    Up_PerfilAcesso->ModifySQL.Add(QStringLiteral("  FUN_CODIGO = :OLD_FUN_CODIGO"));
    Up_PerfilAcesso->DeleteSQL.Add(QStringLiteral("delete from TB_FUNCIONARIOS"));
    Up_PerfilAcesso->DeleteSQL.Add(QStringLiteral("where"));
    Up_PerfilAcesso->DeleteSQL.Add(QStringLiteral("  FUN_CODIGO = :OLD_FUN_CODIGO"));

    Q_PerfilAcesso = new dataset::Query(this);
    Q_PerfilAcesso->setObjectName(QStringLiteral("Q_PerfilAcesso"));
    Q_PerfilAcesso->SetTransaction(&Trans_Clipping);
    Q_PerfilAcesso->SQL.Add(QStringLiteral("SELECT FUN_CODIGO, FUN_NOME, FUN_TIPO FROM TB_FUNCIONARIOS"));
    Q_PerfilAcesso->SQL.Add(QStringLiteral("WHERE FUN_TIPO = 1"));
    Q_PerfilAcesso->SQL.Add(QStringLiteral("GROUP BY FUN_CODIGO, FUN_NOME, FUN_TIPO"));
    Q_PerfilAcesso->CachedUpdates = true;
    Q_PerfilAcesso->UpdateObject = Up_PerfilAcesso;
    Q_PerfilAcesso->SetGeneratorField(QStringLiteral("FUN_CODIGO"), QStringLiteral("GEN_FUNCIONARIOS"), 1);
    {
        using dataset::FieldType;
        Q_PerfilAcesso->DefineField(QStringLiteral("FUN_CODIGO"), FieldType::Integer)->Required = true;
        Q_PerfilAcesso->DefineField(QStringLiteral("FUN_NOME"), FieldType::String, 45);
        Q_PerfilAcesso->DefineField(QStringLiteral("FUN_TIPO"), FieldType::Integer);
    }
    Q_PerfilAcesso->AfterPost = [this](dataset::DataSet& ds) { Q_PerfilAcessoAfterDelete(ds); };
    Q_PerfilAcesso->AfterDelete = [this](dataset::DataSet& ds) { Q_PerfilAcessoAfterDelete(ds); };

    TB_Empresa = new dataset::TableDataset(this);
    TB_Empresa->setObjectName(QStringLiteral("TB_Empresa"));
    TB_Empresa->SetTransaction(&Trans_Clipping);
    TB_Empresa->TableName = QStringLiteral("TB_EMPRESA");
    {
        using dataset::FieldType;
        // The lengths the screens may type; the composed columns are cut to theirs.
        const std::pair<const char*, int> textos[] = {
            {"EMP_NOME", 45}, {"EMP_ENDERECO", 45}, {"EMP_BAIRRO", 20}, {"EMP_CIDADE", 25}, {"EMP_UF", 2},
            {"EMP_CNPJ", 18}, {"EMP_INSCRICAO", 15}, {"EMP_FONE", 20}, {"EMP_FAX", 20},
            {"EMP_RAZAOSOCIAL", 45}, {"EMP_EMAIL", 45}, {"EMP_WEB", 45}, {"EMP_CEP", 10},
            {"EMP_NOMECOMPLETO", 90}, {"EMP_ENDERECOCOMPLETO", 80}, {"EMP_CIDADEUF", 30},
            {"EMP_EMAILWEB", 100}};
        TB_Empresa->DefineField(QStringLiteral("EMP_CODIGO"), FieldType::Integer)->Required = true;
        for (const auto& [nome, tamanho] : textos)
            TB_Empresa->DefineField(QLatin1String(nome), FieldType::String, tamanho);
        TB_Empresa->FieldByName(QStringLiteral("EMP_NOME"))->Required = true;
        TB_Empresa->DefineField(QStringLiteral("EMP_PATHLOGO"), FieldType::Blob);
    }
    TB_Empresa->BeforePost = [this](dataset::DataSet& ds) { TB_EmpresaBeforePost(ds); };
}

void TDMBanco::Q_PerfilAcessoAfterDelete(dataset::DataSet& ds) {
    ds.ApplyUpdates();
    Trans_Clipping.commitRetaining();
}

void TDMBanco::TB_EmpresaBeforePost(dataset::DataSet& ds) {
    if (!ds.IsEditing())
        ds.Edit();
    auto texto = [&ds](const char* nome) { return ds.FieldByName(QLatin1String(nome))->AsString(); };
    auto gravar = [&ds](const char* nome, const QString& valor) {
        dataset::Field* f = ds.FieldByName(QLatin1String(nome));
        f->SetAsString(f->Size() > 0 ? valor.left(f->Size()) : valor);
    };
    const QString sep = QStringLiteral(" - ");
    gravar("EMP_NOMECOMPLETO", texto("EMP_RAZAOSOCIAL") + sep + texto("EMP_NOME"));
    gravar("EMP_ENDERECOCOMPLETO",
           texto("EMP_ENDERECO") + sep + texto("EMP_BAIRRO") + QStringLiteral(" - CEP: ") + texto("EMP_CEP"));
    gravar("EMP_CIDADEUF", texto("EMP_CIDADE") + sep + texto("EMP_UF"));
    gravar("EMP_EMAILWEB", texto("EMP_EMAIL") + sep + texto("EMP_WEB"));
}

void TDMBanco::CriarDatasetsSeguranca() {
    Q_Usuarios = new dataset::Query(this);
    Q_Usuarios->setObjectName(QStringLiteral("Q_Usuarios"));
    Q_Usuarios->SetTransaction(&Trans_Clipping);
    Q_Usuarios->SQL.Add(QStringLiteral("SELECT FUN_CODIGO, FUN_LOGIN, FUN_SENHA, FUN_PERFILACESSO FROM TB_FUNCIONARIOS"));
    Q_Usuarios->SQL.Add(QStringLiteral("WHERE FUN_LOGIN = :USUARIO AND FUN_SENHA = :SENHA AND"));
    Q_Usuarios->SQL.Add(QStringLiteral("FUN_CODIGO > 0"));

    Up_Direitos = new dataset::UpdateSql(this);
    Up_Direitos->setObjectName(QStringLiteral("Up_Direitos"));
    Up_Direitos->InsertSQL.Add(QStringLiteral("insert into TB_DIREITOS"));
    Up_Direitos->InsertSQL.Add(QStringLiteral("  (DIR_ACESSO, DIR_ALTERAR, DIR_CODIGO, DIR_EXCLUIR, DIR_INCLUIR, DIR_RELATORIO, "
                                              "TEL_CODIGO, TEL_MODULO, USU_CODIGO)"));
    Up_Direitos->InsertSQL.Add(QStringLiteral("values"));
    Up_Direitos->InsertSQL.Add(QStringLiteral("  (:DIR_ACESSO, :DIR_ALTERAR, :DIR_CODIGO, :DIR_EXCLUIR, :DIR_INCLUIR, "
                                              ":DIR_RELATORIO, :TEL_CODIGO, :TEL_MODULO, :USU_CODIGO)"));
    Up_Direitos->ModifySQL.Add(QStringLiteral("update TB_DIREITOS"));
    Up_Direitos->ModifySQL.Add(QStringLiteral("set"));
    Up_Direitos->ModifySQL.Add(QStringLiteral("  DIR_ACESSO = :DIR_ACESSO, DIR_ALTERAR = :DIR_ALTERAR, DIR_CODIGO = :DIR_CODIGO, "
                                              "DIR_EXCLUIR = :DIR_EXCLUIR, DIR_INCLUIR = :DIR_INCLUIR, "
                                              "DIR_RELATORIO = :DIR_RELATORIO, TEL_CODIGO = :TEL_CODIGO, "
                                              "TEL_MODULO = :TEL_MODULO, USU_CODIGO = :USU_CODIGO"));
    Up_Direitos->ModifySQL.Add(QStringLiteral("where"));
    Up_Direitos->ModifySQL.Add(QStringLiteral("  DIR_CODIGO = :OLD_DIR_CODIGO"));
    Up_Direitos->DeleteSQL.Add(QStringLiteral("delete from TB_DIREITOS"));
    Up_Direitos->DeleteSQL.Add(QStringLiteral("where"));
    Up_Direitos->DeleteSQL.Add(QStringLiteral("  DIR_CODIGO = :OLD_DIR_CODIGO"));
    Up_Direitos->RefreshSQL.Add(QStringLiteral("Select DIR_CODIGO, TEL_CODIGO, DIR_ACESSO, DIR_INCLUIR, DIR_ALTERAR, "
                                               "DIR_EXCLUIR, DIR_RELATORIO, USU_CODIGO, TEL_MODULO"));
    Up_Direitos->RefreshSQL.Add(QStringLiteral("from TB_DIREITOS"));
    Up_Direitos->RefreshSQL.Add(QStringLiteral("where"));
    Up_Direitos->RefreshSQL.Add(QStringLiteral("  DIR_CODIGO = :DIR_CODIGO"));

    Q_Direitos = new dataset::Query(this);
    Q_Direitos->setObjectName(QStringLiteral("Q_Direitos"));
    Q_Direitos->SetTransaction(&Trans_Clipping);
    Q_Direitos->SQL.Add(QStringLiteral("SELECT D.* "));
    Q_Direitos->SQL.Add(QStringLiteral("FROM TB_DIREITOS D, TB_FUNCIONARIOS F"));
    Q_Direitos->SQL.Add(QStringLiteral("WHERE D.USU_CODIGO = :USUARIO AND"));
    Q_Direitos->SQL.Add(QStringLiteral("D.USU_CODIGO = F.FUN_CODIGO AND D.TEL_MODULO = :MODULO"));
    Q_Direitos->SQL.Add(QStringLiteral("ORDER BY D.TEL_CODIGO"));
    Q_Direitos->CachedUpdates = true;
    Q_Direitos->UpdateObject = Up_Direitos;
    Q_Direitos->SetGeneratorField(QStringLiteral("DIR_CODIGO"), QStringLiteral("GEN_DIREITOS"), 1);

    DS_Direitos = new dataset::DataSource(this);
    DS_Direitos->setObjectName(QStringLiteral("DS_Direitos"));
    DS_Direitos->SetDataSet(Q_Direitos);
}

TDMBanco::~TDMBanco() {
    // Datasets release their statements while the connection still exists.
    delete Q_Usuarios;
    delete Q_Direitos;
    delete Up_Direitos;
    delete TB_Empresa;
    delete Q_PerfilAcesso;
    delete Up_PerfilAcesso;
    try {
        if (Trans_Clipping.isActive())
            Trans_Clipping.commit();
    } catch (...) {
    }
    try {
        DB_Clipping.detach();
    } catch (...) {
    }
}

QStringList TDMBanco::LerLinhas(const QString& arquivo) {
    QFile f(arquivo);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QByteArray bytes = f.readAll();
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString texto = utf8.decode(bytes);
    if (utf8.hasError())
        texto = fb::codec::decode(bytes);
    if (texto.isEmpty())
        return {};
    QStringList linhas = texto.split(QRegularExpression(QStringLiteral("\r\n|\r|\n")));
    if (texto.endsWith(QLatin1Char('\n')) || texto.endsWith(QLatin1Char('\r')))
        linhas.removeLast();
    return linhas;
}

QString TDMBanco::LocalizacaoBanco(const QStringList& linhas) {
    if (linhas.isEmpty())
        return QString();
    QString s = linhas.first();
    qsizetype ini = 0, fim = s.size();
    while (ini < fim && s[ini].unicode() <= u' ')
        ++ini;
    while (fim > ini && s[fim - 1].unicode() <= u' ')
        --fim;
    return s.mid(ini, fim - ini);
}

QString TDMBanco::CalcularHostServidor(const QStringList& linhas) {
    QString texto;
    for (const QString& l : linhas)
        texto += l + QStringLiteral("\r\n");
    const qsizetype p = texto.indexOf(QLatin1Char(':'));
    return p < 0 ? QString() : texto.left(p);
}

void TDMBanco::AplicarSkin() {
    const QString ini = CaminhoNaPasta(QStringLiteral("Skin.ini"));
    const QString valor = QFileInfo::exists(ini) ? LerValorIni(ini, QStringLiteral("Skin"), QStringLiteral("Skin"))
                                                 : QStringLiteral("Nenhum");
    if (valor != QLatin1String("Nenhum")) {
        sd1->setSkinFile(CaminhoNaPasta(QStringLiteral("skins/") + valor + QStringLiteral(".skn")));
        sd1->activate();
    }
}

void TDMBanco::Conectar() {
    try {
        if (NomeBanco.isEmpty())
            throw fb::Error(QStringLiteral("Database name is empty"));
        DB_Clipping = fb::Attachment::connect(NomeBanco, db::kUsuarioBanco, db::kSenhaBanco);
        Trans_Clipping.start();
    } catch (const std::exception&) {
        try {
            DB_Clipping.detach();
        } catch (...) {
        }
        msg::Informar(QStringLiteral("Não foi possível conectar com a Base de Dados"));
        throw EFalhaConexao(QStringLiteral("Não foi possível conectar com a Base de Dados"));
    }
}

void TDMBanco::DataModuleCreate() {
    AplicarSkin();
    if (Trans_Clipping.isActive())
        Trans_Clipping.commit();
    DB_Clipping.detach();
    const QString ini = CaminhoNaPasta(QStringLiteral("BaseClipping.ini"));
    QStringList linhas;
    if (QFileInfo::exists(ini)) {
        linhas = LerLinhas(ini);
        NomeBanco = LocalizacaoBanco(linhas);
    }
    Conectar();
    HostServidor = CalcularHostServidor(linhas);
    linhas.clear();
    ModuloAtual = 0;
    TB_Empresa->Open();
}

int TDMBanco::ProximoCodigo(const QString& gerador) {
    fb::Statement q(Trans_Clipping, QStringLiteral("Select gen_id(") + gerador + QStringLiteral(", 1) from RDB$DATABASE"));
    q.open();
    if (!q.fetch())
        throw fb::Error(QStringLiteral("Generator %1 returned no row").arg(gerador));
    const int v = q.value(0).toInt();
    q.close();
    return v > 0 ? v : v + 1;
}

int TDMBanco::ProximoNumeroPedido() {
    fb::Statement q(Trans_Clipping, QStringLiteral("Select max(ped_numero) as numero from tb_pedido"));
    q.open();
    const QVariant v = q.fetch() ? q.value(0) : QVariant();
    q.close();
    return v.isNull() ? 1 : v.toInt() + 1;
}
