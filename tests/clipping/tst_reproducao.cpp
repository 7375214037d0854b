#include "common/Ambiente.h"
#include "common/Mensagens.h"
#include "common/U_Funcoes.h"
#include "platform/core/Exception.h"
#include "platform/media/FakePlayer.h"
#include "platform/media/MediaPlayer.h"
#include "screens/clipping/U_LocalizarArquivo.h"
#include "screens/clipping/U_Play.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

// A station folder holding the given names; a name ending in "/" is a folder.
void criarPasta(const QString& pasta, const QStringList& nomes) {
    QDir().mkpath(pasta);
    for (const QString& n : nomes) {
        if (n.endsWith(QLatin1Char('/'))) {
            QDir(pasta).mkpath(n.chopped(1));
        } else {
            QFile f(QDir(pasta).filePath(n));
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
    }
}

} // namespace

class TstReproducao : public QObject {
    Q_OBJECT
private slots:
    void init();
    void localizar_data();
    void localizar();
    void posicoesSeguintes();
    void listarArquivos();
    void pastaInexistente();
    void nomeInvalido();
    void janelaPlay();
    void playerReal();

private:
    std::unique_ptr<QTemporaryDir> dir_;
};

void TstReproducao::init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
}

void TstReproducao::localizar_data() {
    QTest::addColumn<QDate>("data");
    QTest::addColumn<QString>("hora");
    QTest::addColumn<QString>("tipo");
    QTest::addColumn<QStringList>("arquivos");
    QTest::addColumn<QString>("escolhido");  // empty: not found
    QTest::addColumn<int>("posicao");

    const QDate d0503(2008, 3, 5), d0603(2008, 3, 6);
    QTest::newRow("within one hour") << d0503 << "14:37:20" << "A" << QStringList{"0503081400a0503081500.mp3"}
                                     << "0503081400a0503081500.mp3" << 2220;
    QTest::newRow("seconds ignored") << d0503 << "14:37:59" << "A" << QStringList{"0503081400a0503081500.mp3"}
                                     << "0503081400a0503081500.mp3" << 2220;
    // Two-hour recording: the hour of the difference counts too.
    QTest::newRow("two-hour file") << d0503 << "15:20:00" << "A" << QStringList{"0503081400a0503081600.mp3"}
                                   << "0503081400a0503081600.mp3" << 4800;
    QTest::newRow("end of one is start of next")
        << d0503 << "15:00:30" << "A" << QStringList{"0503081500a0503081600.mp3", "0503081400a0503081500.mp3"}
        << "0503081400a0503081500.mp3" << 3600;
    QTest::newRow("after midnight")
        << d0603 << "00:05:00" << "A" << QStringList{"0603080100a0603080200.mp3", "0503082300a0503082359.mp3"}
        << "0503082300a0503082359.mp3" << 240;
    QTest::newRow("after midnight, first of the day")
        << d0603 << "00:05:00" << "A" << QStringList{"0503082300a0503082359.mp3", "0503082200a0503082300.mp3"}
        << "0503082200a0503082300.mp3" << 240;
    QTest::newRow("00:10:59 inside") << d0603 << "00:10:59" << "A" << QStringList{"0503082300a0503082359.mp3"}
                                     << "0503082300a0503082359.mp3" << 540;
    QTest::newRow("00:11:00 outside") << d0603 << "00:11:00" << "A" << QStringList{"0503082300a0503082359.mp3"}
                                      << "" << 0;
    QTest::newRow("before midnight")
        << d0503 << "23:55:00" << "A"
        << QStringList{"0503082200a0503082300.mp3", "0603080100a0603080200.mp3", "0603080000a0603080100.mp3"}
        << "0603080000a0603080100.mp3" << 3300;
    QTest::newRow("23:50:00 inside") << d0503 << "23:50:00" << "A" << QStringList{"0603080000a0603080100.mp3"}
                                     << "0603080000a0603080100.mp3" << 3000;
    QTest::newRow("23:49:59 outside") << d0503 << "23:49:59" << "A" << QStringList{"0603080000a0603080100.mp3"}
                                      << "" << 0;
    QTest::newRow("no covering file") << d0503 << "10:00:00" << "A" << QStringList{"0503081400a0503081500.mp3"}
                                      << "" << 0;
    QTest::newRow("video takes avi")
        << d0503 << "14:10:00" << "V" << QStringList{"0503081400a0503081500.mp3", "0503081400a0503081500.avi"}
        << "0503081400a0503081500.avi" << 600;
    QTest::newRow("video ignores mp3") << d0503 << "14:10:00" << "V" << QStringList{"0503081400a0503081500.mp3"}
                                       << "" << 0;
    QTest::newRow("audio ignores avi") << d0503 << "14:10:00" << "A" << QStringList{"0503081400a0503081500.avi"}
                                       << "" << 0;
    QTest::newRow("other date ignored") << d0503 << "14:10:00" << "A" << QStringList{"0403081400a0403081500.mp3"}
                                        << "" << 0;
    QTest::newRow("crosses midnight") << d0503 << "23:30:00" << "A" << QStringList{"0503082300a0603080100.mp3"}
                                      << "" << 0;
    QTest::newRow("folder matching the mask")
        << d0503 << "14:10:00" << "A" << QStringList{"0503081400a0503081500.mp3/"} << "" << 0;
    QTest::newRow("dot name skipped") << d0503 << "14:10:00" << "A" << QStringList{".0503081400a0503081500.mp3"}
                                      << "" << 0;
    QTest::newRow("upper-case extension") << d0503 << "14:10:00" << "A"
                                          << QStringList{"0503081400a0503081500.MP3"}
                                          << "0503081400a0503081500.MP3" << 600;
}

void TstReproducao::localizar() {
    QFETCH(QDate, data);
    QFETCH(QString, hora);
    QFETCH(QString, tipo);
    QFETCH(QStringList, arquivos);
    QFETCH(QString, escolhido);
    QFETCH(int, posicao);

    const QString pasta = dir_->filePath("Radio X");
    criarPasta(pasta, arquivos);
    TReproducao r;
    const auto res = r.Localizar(pasta, data, hora, tipo);
    if (escolhido.isEmpty()) {
        QCOMPARE(res, TReproducao::Resultado::NaoEncontrado);
        return;
    }
    QCOMPARE(res, TReproducao::Resultado::Encontrado);
    QCOMPARE(r.ArquivoEscolhido, escolhido);
    QCOMPARE(r.CaminhoEscolhido(), QDir(pasta).filePath(escolhido));
    QVERIFY(r.BuscaPendente);
    QCOMPARE(r.PosicaoAoAbrir(), posicao);
    QVERIFY(!r.BuscaPendente);
    QVERIFY(!r.VirouDia);
}

// Reports of the open state after the first use the ordinary difference.
void TstReproducao::posicoesSeguintes() {
    const QString pasta = dir_->filePath("Radio X");
    criarPasta(pasta, {"0503082300a0503082359.mp3", "0503081400a0503081600.mp3"});
    TReproducao r;
    QCOMPARE(r.Localizar(pasta, QDate(2008, 3, 6), "00:05:00", "A"), TReproducao::Resultado::Encontrado);
    QCOMPARE(r.PosicaoAoAbrir(), 240);
    QCOMPARE(r.PosicaoAoAbrir(), 300);  // 00:05 - 23:00 = 01:05, minutes only

    QCOMPARE(r.Localizar(pasta, QDate(2008, 3, 5), "15:20:00", "A"), TReproducao::Resultado::Encontrado);
    QVERIFY(!r.VirouDia);
    QCOMPARE(r.PosicaoAoAbrir(), 4800);
    QCOMPARE(r.PosicaoAoAbrir(), 4800);
}

void TstReproducao::listarArquivos() {
    const QString pasta = dir_->filePath("p");
    criarPasta(pasta, {"b2.mp3", "A1.mp3", "a3.mp3", ".oculto.mp3", "c.avi", "sub.mp3/"});
    QDir(pasta).mkpath("dentro");
    criarPasta(pasta + "/dentro", {"a0.mp3"});
    QCOMPARE(TReproducao::ListarArquivos(pasta + "/*.mp3"), (QStringList{"A1.mp3", "a3.mp3", "b2.mp3", "sub.mp3"}));
    QCOMPARE(TReproducao::ListarArquivos(pasta + "/x*"), QStringList());
}

void TstReproducao::pastaInexistente() {
    TReproducao r;
    QCOMPARE(r.Localizar(dir_->filePath("nao existe"), QDate(2008, 3, 5), "14:00:00", "A"),
             TReproducao::Resultado::PastaInexistente);
    QCOMPARE(r.Localizar(QString(), QDate(2008, 3, 5), "14:00:00", "A"), TReproducao::Resultado::PastaInexistente);
    QVERIFY(r.ArquivoEscolhido.isEmpty());
}

void TstReproducao::nomeInvalido() {
    const QString pasta = dir_->filePath("Radio X");
    criarPasta(pasta, {"05030814x0a0503081500.mp3"});
    DefinirPastaExecutavel(dir_->path());
    msg::Roteiro roteiro;
    for (const QString& hora : {QStringLiteral("14:10:00"), QStringLiteral("1x:10:00"), QString()}) {
        TReproducao r;
        try {
            r.Localizar(pasta, QDate(2008, 3, 5), hora, "A");
            QFAIL("no conversion error");
        } catch (const clip::EConvertError& e) {
            TratarErro("FrmPesquisaLancamento", "0", e);
        }
    }
    QCOMPARE(roteiro.textos(), QStringList(3, "Informe uma hora válida"));
    DefinirPastaExecutavel(QString());
}

void TstReproducao::janelaPlay() {
    media::FakePlayerFactory fakes;
    QString visto;
    TFrmPlay::AoCriarProximo([&](TFrmPlay& f) { f.WMP->setUrl("/gravacoes/0503081400a0503081500.mp3"); });
    bool fechou = false;
    QTimer::singleShot(0, [&] {
        auto* w = qobject_cast<TFrmPlay*>(QApplication::activeModalWidget());
        QVERIFY(w);
        QVERIFY(w->isVisible());
        QVERIFY(w->windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(w->windowTitle(), QString("Play"));
        QVERIFY(w->findChild<QWidget*>("PTocar"));
        QCOMPARE(w->findChild<media::Player*>("WMP"), fakes.last());
        auto* b = w->findChild<QPushButton*>("BFechar");
        QCOMPARE(b->text(), QString("&Fechar"));
        b->click();
        fechou = true;
    });
    AbrirFormulario<TFrmPlay>(true, 0);
    QVERIFY(fechou);
    QCOMPARE(fakes.created(), 1);
    QVERIFY(!fakes.last());  // released with its window

    media::PlayerSettings esperado;
    esperado.url.clear();
    TFrmPlay outro;  // the preparation ran once only
    auto* p = qobject_cast<media::FakePlayer*>(outro.WMP);
    QCOMPARE(p->settings(), esperado);
    QCOMPARE(p->calls(), QStringList());
}

void TstReproducao::playerReal() {
    const QString ffmpeg = QStandardPaths::findExecutable("ffmpeg");
    if (ffmpeg.isEmpty())
        QSKIP("ffmpeg (Debian package ffmpeg) is needed to make the test recording");
    const QString pasta = dir_->filePath("Radio X");
    QDir().mkpath(pasta);
    const QString arquivo = QDir(pasta).filePath("0503081400a0503081500.mp3");
    QProcess p;
    p.start(ffmpeg, {"-hide_banner", "-loglevel", "error", "-y", "-f", "lavfi", "-i",
                     "sine=duration=150:sample_rate=8000", "-ac", "1", "-c:a", "libmp3lame", "-b:a", "8k", arquivo});
    QVERIFY(p.waitForFinished(60000) && p.exitCode() == 0);

    TReproducao r;
    QCOMPARE(r.Localizar(pasta, QDate(2008, 3, 5), "14:02:10", "A"), TReproducao::Resultado::Encontrado);
    TFrmPlay play;
    QList<int> estados;
    connect(play.WMP, &media::Player::openStateChanged, &play, [&](int estado) {
        estados << estado;
        if (estado == media::Open)
            play.WMP->setCurrentPosition(r.PosicaoAoAbrir());
    });
    play.WMP->setUrl(r.CaminhoEscolhido());
    play.show();
    QTRY_VERIFY_WITH_TIMEOUT(estados.contains(int(media::Open)), 15000);
    QVERIFY(!r.BuscaPendente);
    QTRY_VERIFY_WITH_TIMEOUT(play.WMP->currentPosition() >= 119.0, 10000);
    QVERIFY(play.WMP->currentPosition() < 150.0);
}

QTEST_MAIN(TstReproducao)
#include "tst_reproducao.moc"
