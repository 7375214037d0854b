#include "platform/media/FakePlayer.h"
#include "platform/media/MediaPlayer.h"

#include <QFile>
#include <QMessageBox>
#include <QProcess>
#include <QSignalSpy>
#include <QSlider>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace media;

class TstMedia : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void factorySeam();
    void storedSettingsOfTheRealPlayer();
    void formatTime_data();
    void formatTime();
    void fakeReportsAndRecords();
    void realPlayerOpensAndSeeks_data();
    void realPlayerOpensAndSeeks();
    void realPlayerRefusesBadFile_data();
    void realPlayerRefusesBadFile();
    void playCountRepeats();

private:
    // Makes a file with ffmpeg; returns an empty path when the tool is missing.
    QString makeMedia(const QString& name, const QStringList& args);

    QTemporaryDir dir_;
};

void TstMedia::initTestCase() {
    QVERIFY(dir_.isValid());
}

QString TstMedia::makeMedia(const QString& name, const QStringList& args) {
    const QString ffmpeg = QStandardPaths::findExecutable(QStringLiteral("ffmpeg"));
    if (ffmpeg.isEmpty())
        return {};
    const QString path = dir_.filePath(name);
    if (QFile::exists(path))
        return path;
    QProcess p;
    p.start(ffmpeg, QStringList{"-hide_banner", "-loglevel", "error", "-y"} + args + QStringList{path});
    if (!p.waitForFinished(60000) || p.exitCode() != 0) {
        qWarning() << p.readAllStandardError();
        return {};
    }
    return path;
}

void TstMedia::factorySeam() {
    {
        std::unique_ptr<Player> real(createPlayer());
        QVERIFY(qobject_cast<MediaPlayer*>(real.get()));
    }
    {
        FakePlayerFactory fakes;
        QWidget window;
        Player* first = createPlayer(&window);
        Player* second = createPlayer(&window);
        QVERIFY(qobject_cast<FakePlayer*>(first));
        QCOMPARE(first->parent(), &window);
        QCOMPARE(fakes.created(), 2);
        QCOMPARE(fakes.last(), second);
        delete second;
        QCOMPARE(fakes.last(), nullptr);
    }
    std::unique_ptr<Player> again(createPlayer());
    QVERIFY(qobject_cast<MediaPlayer*>(again.get()));
}

void TstMedia::storedSettingsOfTheRealPlayer() {
    MediaPlayer player;
    const PlayerSettings s = player.settings();
    QVERIFY(s.url.isEmpty());
    QVERIFY(s.autoStart);
    QCOMPARE(s.rate, 1.0);
    QCOMPARE(s.playCount, 1);
    QCOMPARE(s.volume, 50);
    QVERIFY(s.uiMode == UiMode::Full);
    QVERIFY(s.contextMenu);
    QVERIFY(!s.errorDialogs);
    QVERIFY(!s.stretchToFit);
    QVERIFY(!s.fullScreen);
    QCOMPARE(player.openState(), int(Closed));
    QCOMPARE(player.findChild<QSlider*>("SVolume")->value(), 50);
    QCOMPARE(player.contextMenuPolicy(), Qt::ActionsContextMenu);

    PlayerSettings quiet = s;
    quiet.volume = 150;
    quiet.playCount = 0;
    quiet.uiMode = UiMode::None;
    quiet.contextMenu = false;
    player.setSettings(quiet);
    QCOMPARE(player.settings().volume, 100);
    QCOMPARE(player.settings().playCount, 1);
    QCOMPARE(player.findChild<QSlider*>("SVolume")->value(), 100);
    QVERIFY(player.findChild<QSlider*>("SPosicao")->isHidden());
    QCOMPARE(player.contextMenuPolicy(), Qt::NoContextMenu);
}

void TstMedia::formatTime_data() {
    QTest::addColumn<qint64>("ms");
    QTest::addColumn<QString>("text");
    QTest::newRow("zero") << qint64(0) << "0:00";
    QTest::newRow("negative") << qint64(-500) << "0:00";
    QTest::newRow("seconds") << qint64(59999) << "0:59";
    QTest::newRow("minutes") << qint64(37 * 60000 + 5000) << "37:05";
    QTest::newRow("hour") << qint64(3600000 + 20 * 60000) << "1:20:00";
}

void TstMedia::formatTime() {
    QFETCH(qint64, ms);
    QFETCH(QString, text);
    QCOMPARE(MediaPlayer::formatTime(ms), text);
}

void TstMedia::fakeReportsAndRecords() {
    FakePlayer player;
    QSignalSpy states(&player, &Player::openStateChanged);
    // The screen's rule: move on every report of Open.
    connect(&player, &Player::openStateChanged, &player, [&player](int state) {
        if (state == Open)
            player.setCurrentPosition(2220);
    });
    player.setUrl("/gravacoes/0503081400a0503081500.mp3");
    QCOMPARE(player.openState(), int(Loading));
    QVERIFY(!player.isPlaying());
    player.reportOpenState(Open);
    QVERIFY(player.isPlaying());
    player.reportOpenState(Open);
    QCOMPARE(player.positionsSet(), (QList<double>{2220, 2220}));
    QCOMPARE(player.calls(), (QStringList{"url /gravacoes/0503081400a0503081500.mp3", "position 2220",
                                          "position 2220"}));
    QList<int> seen;
    for (const auto& args : states)
        seen << args.at(0).toInt();
    QCOMPARE(seen, (QList<int>{Changing, Loading, Open, Open}));

    player.reportError("falhou");
    QCOMPARE(player.openState(), int(Failed));
    QCOMPARE(player.errorString(), QString("falhou"));
}

void TstMedia::realPlayerOpensAndSeeks_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<double>("seekTo");
    QTest::newRow("mp3") << "0503081400a0503081500.mp3"
                         << QStringList{"-f", "lavfi", "-i", "sine=frequency=440:duration=180:sample_rate=22050",
                                        "-ac", "1", "-c:a", "libmp3lame", "-b:a", "32k"}
                         << 120.0;
    QTest::newRow("avi") << "0503081400a0503081500.avi"
                         << QStringList{"-f", "lavfi", "-i", "testsrc=size=160x120:rate=10:duration=90",
                                        "-f", "lavfi", "-i", "sine=frequency=440:duration=90:sample_rate=22050",
                                        "-c:v", "mpeg4", "-c:a", "libmp3lame", "-b:a", "32k", "-ac", "1"}
                         << 60.0;
}

void TstMedia::realPlayerOpensAndSeeks() {
    QFETCH(QString, name);
    QFETCH(QStringList, args);
    QFETCH(double, seekTo);
    const QString path = makeMedia(name, args);
    if (path.isEmpty())
        QSKIP("ffmpeg (Debian package ffmpeg) is needed to make the test recording");

    QWidget window;
    window.resize(480, 360);
    MediaPlayer player(&window);
    player.resize(480, 360);
    QList<int> states;
    connect(&player, &Player::openStateChanged, &player, [&](int state) {
        states << state;
        if (state == Open)
            player.setCurrentPosition(seekTo);
    });
    // As the player window does it: the URL is set before the window shows.
    player.setUrl(path);
    window.show();
    QTRY_VERIFY_WITH_TIMEOUT(player.openState() == Open || player.openState() == Failed, 15000);
    QVERIFY2(player.openState() == Open, qPrintable(player.errorString()));
    QCOMPARE(states.first(), int(Changing));
    QCOMPARE(states.count(Open), 1);
    QVERIFY(player.duration() > seekTo);
    // Started by autoStart, from the position set on the report.
    QTRY_VERIFY_WITH_TIMEOUT(player.isPlaying(), 10000);
    QTRY_VERIFY_WITH_TIMEOUT(player.currentPosition() > seekTo + 0.2, 10000);
    QVERIFY2(player.currentPosition() < seekTo + 10, qPrintable(QString::number(player.currentPosition())));
    QVERIFY(player.errorString().isEmpty());

    player.stop();
    QTRY_VERIFY(!player.isPlaying());
    QCOMPARE(player.currentPosition(), 0.0);
}

void TstMedia::realPlayerRefusesBadFile_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("dialogs");
    const QByteArray text = QByteArray("isto não é áudio\n").repeated(50);
    QTest::newRow("not media") << "0503081400a0503081500.mp3" << text << false;
    QTest::newRow("empty") << "0503081500a0503081600.mp3" << QByteArray() << false;
    QTest::newRow("missing") << "0503081600a0503081700.mp3" << QByteArray("-") << false;
    QTest::newRow("dialogs on") << "0503081700a0503081800.mp3" << text << true;
}

void TstMedia::realPlayerRefusesBadFile() {
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(bool, dialogs);
    QTemporaryDir bad;
    const QString path = bad.filePath(name);
    if (content != "-") {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
    QWidget window;
    MediaPlayer player(&window);
    PlayerSettings settings = player.settings();
    settings.errorDialogs = dialogs;
    player.setSettings(settings);
    window.show();
    QList<int> states;
    connect(&player, &Player::openStateChanged, &player, [&](int state) { states << state; });
    QSignalSpy errors(&player, &Player::errorOccurred);
    player.setUrl(path);
    QTRY_COMPARE_WITH_TIMEOUT(player.openState(), int(Failed), 15000);
    QVERIFY(!states.contains(Open));
    QCOMPARE(errors.count(), 1);
    QVERIFY(!player.errorString().isEmpty());
    // Its own error dialog only when asked for, never blocking.
    auto* box = window.findChild<QMessageBox*>();
    QCOMPARE(box != nullptr, dialogs);
    if (box)
        QCOMPARE(box->text(), player.errorString());
    QVERIFY(!player.isPlaying());
}

void TstMedia::playCountRepeats() {
    const QString path = makeMedia("curto.mp3", {"-f", "lavfi", "-i", "sine=duration=1:sample_rate=22050", "-ac",
                                                 "1", "-c:a", "libmp3lame", "-b:a", "32k"});
    if (path.isEmpty())
        QSKIP("ffmpeg (Debian package ffmpeg) is needed to make the test recording");
    MediaPlayer player;
    PlayerSettings twice = player.settings();
    twice.playCount = 2;
    twice.url = path;
    int starts = 0;
    connect(&player, &Player::playingChanged, &player, [&](bool playing) { starts += playing ? 1 : 0; });
    player.setSettings(twice);
    QTRY_COMPARE_WITH_TIMEOUT(starts, 2, 15000);
    QTRY_VERIFY_WITH_TIMEOUT(!player.isPlaying(), 15000);
    QCOMPARE(starts, 2);
    QCOMPARE(player.openState(), int(Open));
}

QTEST_MAIN(TstMedia)
#include "tst_media.moc"
