#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "platform/sound/sound_effect_player.h"

using quell::platform::SoundEffectPlayer;

class SoundEffectPlayerTest : public QObject {
    Q_OBJECT

private slots:
    void findsFileWhoseNameDiffersOnlyInCase() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QFile wav(dir.filePath("Click.Wav"));
        QVERIFY(wav.open(QIODevice::WriteOnly));
        wav.write("RIFF");
        wav.close();
        const std::string exact = wav.fileName().toStdString();
        QCOMPARE(SoundEffectPlayer::ResolveSoundFile(exact), exact);
        QCOMPARE(SoundEffectPlayer::ResolveSoundFile(dir.filePath("CLICK.WAV").toStdString()), exact);
        // Names from skins use '\' between folders.
        std::string backslashed = dir.path().toStdString() + "\\click.wav";
        QCOMPARE(SoundEffectPlayer::ResolveSoundFile(backslashed), exact);
    }

    void missingOrNullFilePlaysNothing() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QVERIFY(SoundEffectPlayer::ResolveSoundFile(dir.filePath("none.wav").toStdString()).empty());
        QVERIFY(SoundEffectPlayer::ResolveSoundFile("").empty());
        QVERIFY(SoundEffectPlayer::ResolveSoundFile(dir.path().toStdString()).empty());
        // Playing what is not there returns quietly.
        SoundEffectPlayer player;
        player.PlayAsync(dir.filePath("none.wav").toStdString());
        player.PlayAsync(dir.filePath("NULL").toStdString());
        player.Prepare(dir.filePath("none.wav").toStdString());
        QCOMPARE(player.loadedEffects(), size_t(0));
    }
};

QTEST_MAIN(SoundEffectPlayerTest)
#include "sound_effect_player_test.moc"
