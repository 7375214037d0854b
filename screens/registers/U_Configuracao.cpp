#include "U_Configuracao.h"

#include "app/U_DMBanco.h"
#include "common/Ambiente.h"
#include "common/Mensagens.h"
#include "common/U_Funcoes.h"
#include "platform/core/Exception.h"
#include "platform/data/TableDataset.h"
#include "platform/data/widgets/DBControls.h"
#include "platform/firebird/Codec.h"
#include "platform/skin/SkinData.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const QString kNenhum = QStringLiteral("Nenhum");

// The entry of pasta named nome, compared without regard to case; the exact
// name when there is none.
QString NaPasta(const QString& pasta, const QString& nome, QDir::Filters filtro) {
    const QDir dir(pasta);
    if (QFileInfo::exists(dir.filePath(nome)))
        return dir.filePath(nome);
    const QStringList nomes = dir.entryList(filtro | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QString& n : nomes)
        if (n.compare(nome, Qt::CaseInsensitive) == 0)
            return dir.filePath(n);
    return dir.filePath(nome);
}

QString ArquivoSkinIni() { return NaPasta(PastaExecutavel(), QStringLiteral("Skin.ini"), QDir::Files); }
QString PastaSkins() { return NaPasta(PastaExecutavel(), QStringLiteral("skins"), QDir::Dirs) + QLatin1Char('/'); }

QLabel* Rotulo(const QString& texto, QWidget* pai) {
    auto* l = new QLabel(texto, pai);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return l;
}

} // namespace

QString TFrmConfiguracao::SkinAtual() {
    const QString ini = ArquivoSkinIni();
    return QFileInfo::exists(ini) ? LerValorIni(ini, QStringLiteral("Skin"), QStringLiteral("Skin")) : kNenhum;
}

void TFrmConfiguracao::GravarSkin(const QString& valor) {
    const QString ini = ArquivoSkinIni();
    QStringList linhas;
    QFile f(ini);
    if (f.open(QIODevice::ReadOnly)) {
        const QByteArray bytes = f.readAll();
        f.close();
        QStringDecoder utf8(QStringDecoder::Utf8);
        QString texto = utf8.decode(bytes);
        if (utf8.hasError())
            texto = fb::codec::decode(bytes);
        if (texto.startsWith(QChar(0xFEFF)))
            texto.remove(0, 1);
        linhas = texto.split(QRegularExpression(QStringLiteral("\r\n|\r|\n")));
        while (!linhas.isEmpty() && linhas.last().trimmed().isEmpty())
            linhas.removeLast();
    }
    // Replace the key in its section, or add it (and the section) at the end.
    int secao = -1, fimSecao = -1, chave = -1;
    for (int i = 0; i < linhas.size(); ++i) {
        const QString l = linhas[i].trimmed();
        if (l.startsWith(QLatin1Char('['))) {
            if (secao >= 0 && fimSecao < 0)
                fimSecao = i;
            const qsizetype fim = l.indexOf(QLatin1Char(']'));
            if (secao < 0 && fim > 0 && l.mid(1, fim - 1).trimmed().compare(QLatin1String("Skin"), Qt::CaseInsensitive) == 0)
                secao = i;
            continue;
        }
        const qsizetype igual = l.indexOf(QLatin1Char('='));
        if (secao >= 0 && fimSecao < 0 && chave < 0 && igual > 0 &&
            l.left(igual).trimmed().compare(QLatin1String("Skin"), Qt::CaseInsensitive) == 0)
            chave = i;
    }
    const QString linha = QStringLiteral("Skin=") + valor;
    if (chave >= 0) {
        linhas[chave] = linha;
    } else if (secao >= 0) {
        linhas.insert(fimSecao >= 0 ? fimSecao : int(linhas.size()), linha);
    } else {
        linhas << QStringLiteral("[Skin]") << linha;
    }
    const QString texto = linhas.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
    QByteArray bytes;
    try {
        bytes = fb::codec::encode(texto);
    } catch (const std::exception&) {
        bytes = texto.toUtf8();
    }
    QFile saida(ini);
    if (!saida.open(QIODevice::WriteOnly | QIODevice::Truncate) || saida.write(bytes) != bytes.size())
        throw clip::Exception(QStringLiteral("Não foi possível gravar o arquivo \"%1\"").arg(QDir::toNativeSeparators(ini)));
}

TFrmConfiguracao::TFrmConfiguracao(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FrmConfiguracao"));
    setWindowTitle(QStringLiteral("Configurações"));
    setProperty(kPropriedadeCentralizada, true);

    DS_Empresa = new dataset::DataSource(this);
    DS_Empresa->setObjectName(QStringLiteral("DS_Empresa"));
    if (DMBanco)
        DS_Empresa->SetDataSet(DMBanco->TB_Empresa);

    auto* raiz = new QVBoxLayout(this);

    GBVisual = new QGroupBox(QStringLiteral("Visual:"), this);
    GBVisual->setObjectName(QStringLiteral("GBVisual"));
    auto* lv = new QHBoxLayout(GBVisual);
    lv->addWidget(new QLabel(QStringLiteral("Skin:"), GBVisual));
    cbSkin = new QComboBox(GBVisual);
    cbSkin->setObjectName(QStringLiteral("cbSkin"));
    cbSkin->setEditable(false);
    cbSkin->setMinimumWidth(200);
    lv->addWidget(cbSkin);
    lv->addStretch();
    raiz->addWidget(GBVisual);

    GBEmpresa = new QGroupBox(QStringLiteral(" Empresa: "), this);
    GBEmpresa->setObjectName(QStringLiteral("GBEmpresa"));
    auto* g = new QGridLayout(GBEmpresa);
    auto edit = [this](const char* nome, const char* campo, int largura) {
        auto* e = new dataset::DBEdit(GBEmpresa);
        e->setObjectName(QLatin1String(nome));
        e->SetDataSource(DS_Empresa);
        e->SetDataField(QLatin1String(campo));
        if (largura > 0)
            e->setFixedWidth(largura);
        return e;
    };
    DBEdit1 = edit("DBEdit1", "EMP_NOME", 0);
    DBEdit10 = edit("DBEdit10", "EMP_RAZAOSOCIAL", 0);
    DBEdit2 = edit("DBEdit2", "EMP_ENDERECO", 0);
    DBEdit3 = edit("DBEdit3", "EMP_BAIRRO", 160);
    DBEdit12 = edit("DBEdit12", "EMP_CEP", 90);
    DBEdit4 = edit("DBEdit4", "EMP_CIDADE", 0);
    DBComboBox6 = new dataset::DBComboBox(GBEmpresa);
    DBComboBox6->setObjectName(QStringLiteral("DBComboBox6"));
    DBComboBox6->SetStyle(dataset::DBComboBox::DropDownList);
    DBComboBox6->SetItems({"AC", "AL", "AM", "AP", "BA", "CE", "DF", "ES", "GO", "MA", "MG", "MS", "MT", "PA",
                           "PB", "PE", "PI", "PR", "RJ", "RN", "RO", "RR", "RS", "SC", "SE", "SP", "TO"});
    DBComboBox6->SetDataSource(DS_Empresa);
    DBComboBox6->SetDataField(QStringLiteral("EMP_UF"));
    DBComboBox6->setFixedWidth(60);
    DBEdit6 = edit("DBEdit6", "EMP_CNPJ", 150);
    DBEdit7 = edit("DBEdit7", "EMP_INSCRICAO", 130);
    DBEdit8 = edit("DBEdit8", "EMP_FONE", 160);
    DBEdit9 = edit("DBEdit9", "EMP_FAX", 160);
    DBEdit11 = edit("DBEdit11", "EMP_EMAIL", 0);

    int r = 0;
    g->addWidget(Rotulo(QStringLiteral("Nome Fantasia"), GBEmpresa), r, 0);
    g->addWidget(DBEdit1, r++, 1, 1, 3);
    g->addWidget(Rotulo(QStringLiteral("Razão Social"), GBEmpresa), r, 0);
    g->addWidget(DBEdit10, r++, 1, 1, 3);
    g->addWidget(Rotulo(QStringLiteral("Endereço"), GBEmpresa), r, 0);
    g->addWidget(DBEdit2, r++, 1, 1, 3);
    g->addWidget(Rotulo(QStringLiteral("Bairro"), GBEmpresa), r, 0);
    g->addWidget(DBEdit3, r, 1);
    g->addWidget(Rotulo(QStringLiteral("CEP"), GBEmpresa), r, 2);
    g->addWidget(DBEdit12, r++, 3, Qt::AlignLeft);
    g->addWidget(Rotulo(QStringLiteral("Cidade"), GBEmpresa), r, 0);
    g->addWidget(DBEdit4, r, 1);
    g->addWidget(Rotulo(QStringLiteral("UF"), GBEmpresa), r, 2);
    g->addWidget(DBComboBox6, r++, 3, Qt::AlignLeft);
    g->addWidget(Rotulo(QStringLiteral("CNPJ"), GBEmpresa), r, 0);
    g->addWidget(DBEdit6, r, 1, Qt::AlignLeft);
    g->addWidget(Rotulo(QStringLiteral("Inscrição Estadual"), GBEmpresa), r, 2);
    g->addWidget(DBEdit7, r++, 3, Qt::AlignLeft);
    g->addWidget(Rotulo(QStringLiteral("Fone:"), GBEmpresa), r, 0);
    g->addWidget(DBEdit8, r, 1, Qt::AlignLeft);
    g->addWidget(Rotulo(QStringLiteral("Fax"), GBEmpresa), r, 2);
    g->addWidget(DBEdit9, r++, 3, Qt::AlignLeft);
    g->addWidget(Rotulo(QStringLiteral("E-Mail"), GBEmpresa), r, 0);
    g->addWidget(DBEdit11, r++, 1, 1, 3);

    GBLogotipo = new QGroupBox(QStringLiteral(" Logotipo: "), GBEmpresa);
    GBLogotipo->setObjectName(QStringLiteral("GBLogotipo"));
    auto* ll = new QVBoxLayout(GBLogotipo);
    DBImage2 = new dataset::DBImage(GBLogotipo);
    DBImage2->setObjectName(QStringLiteral("DBImage2"));
    DBImage2->Stretch = true;
    DBImage2->SetDataSource(DS_Empresa);
    DBImage2->SetDataField(QStringLiteral("EMP_PATHLOGO"));
    DBImage2->setFocusPolicy(Qt::NoFocus);
    DBImage2->setFixedSize(180, 120);
    DBImage2->setFrameShape(QFrame::StyledPanel);
    ll->addWidget(DBImage2, 0, Qt::AlignHCenter);
    SpeedButton4 = new QToolButton(GBLogotipo);
    SpeedButton4->setObjectName(QStringLiteral("SpeedButton4"));
    SpeedButton4->setText(QStringLiteral("Adicionar Logotipo"));
    ll->addWidget(SpeedButton4, 0, Qt::AlignHCenter);
    g->addWidget(GBLogotipo, 0, 4, r, 1, Qt::AlignTop);
    g->setColumnStretch(1, 1);
    raiz->addWidget(GBEmpresa);

    auto* barra = new QHBoxLayout;
    barra->addStretch();
    SpeedButton1 = new QToolButton(this);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setText(QStringLiteral("Gravar"));
    SpeedButton1->setMinimumWidth(90);
    SpeedButton3 = new QToolButton(this);
    SpeedButton3->setObjectName(QStringLiteral("SpeedButton3"));
    SpeedButton3->setText(QStringLiteral("Fechar"));
    SpeedButton3->setMinimumWidth(90);
    barra->addWidget(SpeedButton1);
    barra->addWidget(SpeedButton3);
    raiz->addLayout(barra);

    setTabOrder(cbSkin, DBEdit1);
    setTabOrder(DBEdit1, DBEdit10);
    setTabOrder(DBEdit10, DBEdit2);
    setTabOrder(DBEdit2, DBEdit3);
    setTabOrder(DBEdit3, DBEdit12);
    setTabOrder(DBEdit12, DBEdit4);
    setTabOrder(DBEdit4, DBComboBox6);
    setTabOrder(DBComboBox6, DBEdit6);
    setTabOrder(DBEdit6, DBEdit7);
    setTabOrder(DBEdit7, DBEdit8);
    setTabOrder(DBEdit8, DBEdit9);
    setTabOrder(DBEdit9, DBEdit11);
    setTabOrder(DBEdit11, SpeedButton4);
    setTabOrder(SpeedButton4, SpeedButton1);
    setTabOrder(SpeedButton1, SpeedButton3);

    connect(SpeedButton4, &QToolButton::clicked, this, [this] { SpeedButton4Click(); });
    connect(SpeedButton1, &QToolButton::clicked, this, [this] { SpeedButton1Click(); });
    connect(SpeedButton3, &QToolButton::clicked, this, [this] { SpeedButton3Click(); });

    // Keys are seen before the controls.
    for (QWidget* w : findChildren<QWidget*>())
        w->installEventFilter(this);

    // Creation: the skins, "Nenhum", and the current value selected.
    const QString atual = SkinAtual();
    ListarSkins(PastaSkins(), cbSkin);
    QStringList itens;
    for (int i = 0; i < cbSkin->count(); ++i)
        itens << cbSkin->itemText(i);
    itens << kNenhum;
    itens.sort(Qt::CaseInsensitive);
    cbSkin->clear();
    cbSkin->addItems(itens);
    int escolhido = -1;
    for (int i = 0; i < itens.size() && escolhido < 0; ++i)
        if (itens[i].compare(atual, Qt::CaseInsensitive) == 0)
            escolhido = i;
    cbSkin->setCurrentIndex(escolhido);
}

TFrmConfiguracao::~TFrmConfiguracao() = default;

void TFrmConfiguracao::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    if (!shown_) {
        shown_ = true;
        FormShow();
    }
}

void TFrmConfiguracao::FormShow() {
    dataset::DataSet* ds = DS_Empresa->GetDataSet();
    if (!ds)
        return;
    if (!ds->Active())
        ds->Open();
    if (ds->IsEmpty() && !ds->IsEditing()) {
        ds->Append();
        ds->FieldByName(QStringLiteral("EMP_CODIGO"))->SetAsInteger(DMBanco->ProximoCodigo(QStringLiteral("GEN_EMPRESA")));
    }
}

bool TFrmConfiguracao::eventFilter(QObject* o, QEvent* e) {
    if (e->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(e);
        if (k->key() == Qt::Key_Delete && (k->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier)) ==
                                              Qt::ControlModifier)
            return true;
        if (k->key() == Qt::Key_Escape) {
            close();
            return true;
        }
    }
    return QDialog::eventFilter(o, e);
}

void TFrmConfiguracao::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Delete && (e->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier)) ==
                                          Qt::ControlModifier)
        return;
    QDialog::keyPressEvent(e);
}

void TFrmConfiguracao::SpeedButton4Click() {
    const QString arquivo = msg::AbrirArquivo(
        this, QStringLiteral("Selecionar Logotipo"), QString(),
        QStringLiteral("Imagens (*.bmp *.jpg *.jpeg *.png *.gif *.ico);;Todos os arquivos (*)"));
    if (arquivo.isEmpty())
        return;
    QFile f(arquivo);
    if (!f.open(QIODevice::ReadOnly))
        throw clip::Exception(QStringLiteral("Não foi possível abrir o arquivo \"%1\"").arg(QDir::toNativeSeparators(arquivo)));
    const QByteArray bytes = f.readAll();
    if (QImage::fromData(bytes).isNull())
        throw clip::Exception(QStringLiteral("O arquivo \"%1\" não é uma imagem válida").arg(QDir::toNativeSeparators(arquivo)));
    dataset::DataSet* ds = DS_Empresa->GetDataSet();
    if (!ds->IsEditing())
        ds->Edit();
    DBImage2->LoadPicture(bytes);
}

void TFrmConfiguracao::SpeedButton1Click() {
    // Skin: switched at once when the choice changed, remembered every time.
    QString valor = SkinAtual();
    if (cbSkin->currentText() != valor) {
        valor = cbSkin->currentText();
        if (DMBanco) {
            if (valor != kNenhum) {
                DMBanco->sd1->setSkinFile(PastaSkins() + valor + QStringLiteral(".skn"));
                DMBanco->sd1->activate();
            } else {
                DMBanco->sd1->deactivate();
            }
        }
    }
    GravarSkin(valor);

    dataset::DataSet* ds = DS_Empresa->GetDataSet();
    if (!ds->IsEditing())
        ds->Edit();
    ds->Post();
    DMBanco->Trans_Clipping.commitRetaining();
    close();
}

void TFrmConfiguracao::SpeedButton3Click() { close(); }
