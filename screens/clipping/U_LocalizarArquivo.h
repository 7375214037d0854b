#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <QTime>

// Finding the recording that covers an entry, and where to start playing it.
//
// A station's recordings lie directly in its folder, named
//   DDMMYYhhmmaDDMMYYhhmm.mp3 (audio) or .avi (video)
// start date and time, the letter a, end date and time. The lookup reads only
// the times from a name; the dates select the candidates through the mask.
class TReproducao {
public:
    enum class Resultado {
        PastaInexistente,  // "Local dos arquivos de áudio inexistente!"
        NaoEncontrado,     // "Arquivo de áudio não encontrado..."
        Encontrado,        // CaminhoEscolhido() is the file to play
    };

    // Finds the recording of an entry (folder EMI_PATH, LAN_DATA, LAN_HORA,
    // LAN_TIPO): the same day first, then, for entries in the ten minutes
    // after or before midnight, the first recording of the neighbouring day.
    // Shows no message. A candidate name whose times are not digits, or an
    // entry time that is not hh:mm, throws clip::EConvertError.
    Resultado Localizar(const QString& pasta, const QDate& data, const QString& hora, const QString& tipo);

    // Chooses among the names of the folder that match mascara: the first
    // (in name order) whose start and end enclose the entry minute, or
    // simply the first with the midnight fallback set. Leaves the chosen name
    // as it was when none fits.
    void LocalizarArquivo(const QString& mascara);
    // Names matching the wildcard mask of a "folder/mask" path (any kind of
    // entry, but none starting with "."), sorted case-insensitively.
    static QStringList ListarArquivos(const QString& caminhoComMascara);

    // Position, in seconds, to set when the player reports the media open.
    // The first report after Localizar consumes the pending seek (and the
    // midnight fallback); later reports repeat the ordinary rule.
    int PosicaoAoAbrir();

    QString CaminhoEscolhido() const;

    // DDMMYY of a date.
    static QString ChaveDeData(const QDate& data);
    // Time of day of "hh:mm" text; throws clip::EConvertError.
    static QTime ConverterHora(const QString& texto);
    // The entry time lies in 00:00..00:10 / 23:50..23:59 (compared as text,
    // hour and minute pieces).
    static bool JanelaAposMeiaNoite(const QString& hora);
    static bool JanelaAntesMeiaNoite(const QString& hora);

    // Playback state.
    QString Pasta;
    QString ChaveData;
    QString TextoHora;
    QString ArquivoEscolhido;
    QTime MinutoLancamento;
    QTime InicioArquivo;
    QTime FimArquivo;
    bool BuscaPendente = false;
    bool VirouDia = false;           // lookup fell back to the neighbouring day
    bool ArquivoDiaVizinho = false;  // the chosen file is of the neighbouring day

private:
    bool arquivoExiste() const;
};
