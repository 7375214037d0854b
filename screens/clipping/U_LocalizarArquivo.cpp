#include "screens/clipping/U_LocalizarArquivo.h"

#include "platform/core/Exception.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace {

constexpr qint64 kMsDia = 24LL * 3600 * 1000;

qint64 msDoDia(const QTime& t) { return t.msecsSinceStartOfDay(); }

// A difference of times of day, wrapped into one day.
qint64 diferenca(qint64 ms) { return ((ms % kMsDia) + kMsDia) % kMsDia; }

bool entre(const QString& v, const char* de, const char* ate) {
    return QString::compare(v, QLatin1String(de)) >= 0 && QString::compare(v, QLatin1String(ate)) <= 0;
}

} // namespace

QString TReproducao::ChaveDeData(const QDate& data) {
    const QString texto = data.toString(QStringLiteral("dd/MM/yyyy"));
    return texto.mid(0, 2) + texto.mid(3, 2) + texto.mid(8, 2);
}

QTime TReproducao::ConverterHora(const QString& texto) {
    const QStringList partes = texto.split(QLatin1Char(':'));
    bool ok = partes.size() == 2;
    int h = 0, m = 0;
    for (int i = 0; ok && i < 2; ++i) {
        const QString& p = partes[i];
        ok = !p.isEmpty() && p.size() <= 2 && std::all_of(p.begin(), p.end(), [](QChar c) {
                 return c >= QLatin1Char('0') && c <= QLatin1Char('9');
             });
        (i == 0 ? h : m) = p.toInt();
    }
    if (!ok || h > 23 || m > 59)
        throw clip::EConvertError(QStringLiteral("'%1' is not a valid time").arg(texto));
    return QTime(h, m);
}

bool TReproducao::JanelaAposMeiaNoite(const QString& hora) {
    return hora.mid(0, 2) == QLatin1String("00") && entre(hora.mid(3, 2), "00", "10");
}

bool TReproducao::JanelaAntesMeiaNoite(const QString& hora) {
    return hora.mid(0, 2) == QLatin1String("23") && entre(hora.mid(3, 2), "50", "59");
}

QStringList TReproducao::ListarArquivos(const QString& caminhoComMascara) {
    const QFileInfo fi(caminhoComMascara);
    QDir pasta(fi.path());
    QStringList nomes = pasta.entryList(QStringList{fi.fileName()},
                                        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                        QDir::NoSort);
    nomes.removeIf([](const QString& n) { return n.startsWith(QLatin1Char('.')); });
    std::sort(nomes.begin(), nomes.end(), [](const QString& a, const QString& b) {
        const int c = QString::compare(a, b, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a < b;
    });
    return nomes;
}

void TReproducao::LocalizarArquivo(const QString& mascara) {
    const QStringList nomes = ListarArquivos(QDir(Pasta).filePath(mascara));
    MinutoLancamento = ConverterHora(TextoHora.left(5));
    for (const QString& nome : nomes) {
        InicioArquivo = ConverterHora(nome.mid(6, 2) + QLatin1Char(':') + nome.mid(8, 2));
        FimArquivo = ConverterHora(nome.mid(17, 2) + QLatin1Char(':') + nome.mid(19, 2));
        if (VirouDia || (InicioArquivo <= MinutoLancamento && MinutoLancamento <= FimArquivo)) {
            ArquivoEscolhido = nome;
            ArquivoDiaVizinho = VirouDia;
            return;
        }
    }
}

QString TReproducao::CaminhoEscolhido() const {
    return ArquivoEscolhido.isEmpty() ? QString() : QDir(Pasta).filePath(ArquivoEscolhido);
}

bool TReproducao::arquivoExiste() const {
    return !ArquivoEscolhido.isEmpty() && QFileInfo(CaminhoEscolhido()).isFile();
}

TReproducao::Resultado TReproducao::Localizar(const QString& pasta, const QDate& data, const QString& hora,
                                              const QString& tipo) {
    BuscaPendente = true;
    VirouDia = false;
    ArquivoDiaVizinho = false;
    ArquivoEscolhido.clear();
    Pasta = pasta;
    TextoHora = hora;

    if (Pasta.isEmpty() || !QFileInfo(Pasta).isDir())
        return Resultado::PastaInexistente;
    if (!data.isValid())
        throw clip::EConvertError(QStringLiteral("'' is not a valid date"));

    ChaveData = ChaveDeData(data);
    const QString extensao = tipo == QLatin1String("A") ? QStringLiteral("*.mp3") : QStringLiteral("*.avi");
    auto mascara = [&] { return ChaveData + QStringLiteral("*a") + ChaveData + extensao; };

    LocalizarArquivo(mascara());
    if (arquivoExiste())
        return Resultado::Encontrado;

    if (JanelaAposMeiaNoite(TextoHora)) {
        VirouDia = true;
        ChaveData = ChaveDeData(data.addDays(-1));
        LocalizarArquivo(mascara());
    } else if (JanelaAntesMeiaNoite(TextoHora)) {
        VirouDia = true;
        ChaveData = ChaveDeData(data.addDays(1));
        LocalizarArquivo(mascara());
    }
    return arquivoExiste() ? Resultado::Encontrado : Resultado::NaoEncontrado;
}

int TReproducao::PosicaoAoAbrir() {
    const bool especial = BuscaPendente && VirouDia;
    const bool aposMeiaNoite = especial && JanelaAposMeiaNoite(TextoHora);
    qint64 delta;
    if (aposMeiaNoite) {
        // From the start of the previous day's recording, across midnight.
        const qint64 quaseMeiaNoite = msDoDia(QTime(23, 59, 59, 59));
        delta = diferenca(quaseMeiaNoite - msDoDia(InicioArquivo) + msDoDia(MinutoLancamento));
    } else {
        delta = diferenca(msDoDia(MinutoLancamento) - msDoDia(InicioArquivo));
    }
    const qint64 minutos = (delta / 60000) % 60;
    const qint64 horas = delta / 3600000;
    // A recording of the neighbouring day lasts at most an hour: its minute
    // alone places the entry. A same-day recording may be longer.
    const int posicao = int(ArquivoDiaVizinho ? minutos * 60 : horas * 3600 + minutos * 60);

    if (especial && (aposMeiaNoite || JanelaAntesMeiaNoite(TextoHora)))
        VirouDia = false;
    BuscaPendente = false;
    return posicao;
}
