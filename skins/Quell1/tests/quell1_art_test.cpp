// Checks of the Quell1 generator's output: the window shape against the
// painted frame, the button and picture seams, the description, the tune and
// that two runs write the same bytes.
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QRegion>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "animation_painter.h"
#include "button_painter.h"
#include "click_sound.h"
#include "core/image/gif_decoder.h"
#include "core/skin/profile_file.h"
#include "core/skin/skin_model.h"
#include "frame_outline.h"
#include "frame_painter.h"
#include "image_export.h"
#include "resources/photo/photo_painter.h"
#include "skin_layout.h"
#include "skin_writer.h"
#include "smf_writer.h"
#include "tune.h"

namespace {

using namespace quell1;

int colourDistance(QRgb a, QRgb b) {
    return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b));
}

QRegion windowShape(const std::vector<QPoint>& outline) {
    QPolygon polygon;
    for (const QPoint& p : outline) polygon << p;
    return QRegion(polygon, Qt::OddEvenFill);
}

bool segmentsCross(QPoint a, QPoint b, QPoint c, QPoint d) {
    auto cross = [](QPoint o, QPoint p, QPoint q) {
        return qint64(p.x() - o.x()) * (q.y() - o.y()) - qint64(p.y() - o.y()) * (q.x() - o.x());
    };
    const qint64 d1 = cross(c, d, a), d2 = cross(c, d, b), d3 = cross(a, b, c), d4 = cross(a, b, d);
    return ((d1 > 0 && d2 < 0) || (d1 < 0 && d2 > 0)) && ((d3 > 0 && d4 < 0) || (d3 < 0 && d4 > 0));
}

TEST(FrameOutline, IsASimpleDetailedPolygonInsideTheFrame) {
    const std::vector<QPoint> outline = frameOutline();
    EXPECT_GE(outline.size(), 300u);
    EXPECT_LE(outline.size(), 8191u);
    for (size_t i = 0; i < outline.size(); ++i) {
        const QPoint& p = outline[i];
        SCOPED_TRACE(i);
        ASSERT_GE(p.x(), 0);
        ASSERT_LE(p.x(), kFrameWidth);
        ASSERT_GE(p.y(), 0);
        ASSERT_LE(p.y(), kFrameHeight);
        const QPoint& next = outline[(i + 1) % outline.size()];
        ASSERT_NE(p, next) << "repeated point";
        // Steps of at most one pixel on curves keep the hard shape on the painted curve.
        if (p.x() != next.x() && p.y() != next.y()) {
            ASSERT_LE(std::abs(p.x() - next.x()), 2);
            ASSERT_LE(std::abs(p.y() - next.y()), 2);
        }
    }
    const size_t n = outline.size();
    for (size_t i = 0; i < n; ++i)
        for (size_t j = i + 2; j < n; ++j) {
            if (i == 0 && j == n - 1) continue;
            ASSERT_FALSE(segmentsCross(outline[i], outline[(i + 1) % n], outline[j], outline[(j + 1) % n]))
                << "edges " << i << " and " << j << " cross";
        }
}

TEST(FrameOutline, WindowShapeShowsOnlyPaintedFrame) {
    const std::vector<QPoint> outline = frameOutline();
    const QImage frame = paintFrame(outline);
    // Painted once more on a loud background: any pixel of the window's
    // shape where that background shows through differs between the two.
    const QImage probe = paintFrame(outline, QColor(255, 0, 255));
    const QRegion shape = windowShape(outline);
    const QRgb rim = palette::kRim.rgb();
    int edgePixels = 0;
    for (int y = 0; y < kFrameHeight; ++y) {
        for (int x = 0; x < kFrameWidth; ++x) {
            if (!shape.contains(QPoint(x, y))) {
                // Where the window is cut away the rim may be tinted by
                // anti-aliasing, but no painted detail may reach.
                ASSERT_LE(colourDistance(frame.pixel(x, y), rim), 32) << x << "," << y;
                continue;
            }
            ASSERT_EQ(frame.pixel(x, y), probe.pixel(x, y)) << "background shows at " << x << "," << y;
            bool edge = false;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) edge = edge || !shape.contains(QPoint(x + dx, y + dy));
            // The pixels along the window's edge are the dark rim, so its
            // hard edge never shows the light body against a backdrop.
            if (edge) {
                ++edgePixels;
                ASSERT_LT(colourDistance(frame.pixel(x, y), rim), 90) << "edge pixel " << x << "," << y;
            }
        }
    }
    EXPECT_GT(edgePixels, 2000);
}

TEST(FrameOutline, LeavesTheLayoutInsideTheShape) {
    const QRegion shape = windowShape(frameOutline());
    std::vector<std::pair<const char*, QRect>> rects = {{"browser", kBrowserRect},
                                                        {"address", kAddressRect},
                                                        {"status", kStatusRect},
                                                        {"progress", kProgressRect},
                                                        {"busy", kBusyRect},
                                                        {"equalizer", kEqualizerRect},
                                                        {"photo", QRect(kPhotoX, kPhotoY, kPhotoWidth, kPhotoHeight)}};
    for (const ButtonSpot& s : buttonSpots()) rects.emplace_back(qPrintable(s.kind), s.rect);
    for (const LinkSpot& l : linkSpots()) rects.emplace_back(qPrintable(l.caption), l.rect);
    for (const auto& [name, rect] : rects) {
        SCOPED_TRACE(name);
        EXPECT_EQ(shape.intersected(rect), QRegion(rect)) << "cut by the window's edge";
    }
}

TEST(ButtonPictures, ThreeDistinctStatesThatBlendIntoTheFrame) {
    const QImage frame = paintFrame(frameOutline());
    for (const ButtonSpot& spot : buttonSpots()) {
        SCOPED_TRACE(qPrintable(spot.kind));
        const QImage normal = paintButton(spot, ButtonState::Normal, frame);
        const QImage hover = paintButton(spot, ButtonState::Hover, frame);
        const QImage pressed = paintButton(spot, ButtonState::Pressed, frame);
        EXPECT_EQ(normal.size(), spot.rect.size());
        EXPECT_NE(normal, hover);
        EXPECT_NE(normal, pressed);
        EXPECT_NE(hover, pressed);
        // The corners are left as the frame beneath, so an opaque button
        // shows no box around its face.
        for (const QImage* image : {&normal, &hover, &pressed}) {
            EXPECT_EQ(image->pixel(0, 0), frame.pixel(spot.rect.topLeft()));
            EXPECT_EQ(image->pixel(image->width() - 1, image->height() - 1), frame.pixel(spot.rect.bottomRight()));
        }
    }
}

void expectSeamlessAnimation(const AnimationFrames& animation, const QRect& place, size_t frames) {
    const QImage frame = paintFrame(frameOutline());
    const std::vector<uint8_t> bytes = encodeAnimation(animation);
    quell::image::GifDecoder decoder;
    ASSERT_TRUE(decoder.LoadGif(bytes));
    ASSERT_EQ(decoder.FrameCount(), static_cast<int>(frames));
    quell::image::GifFrameInfo info;
    ASSERT_TRUE(decoder.GetFrameInfo(0, info));
    EXPECT_EQ(QSize(info.width, info.height), place.size());
    EXPECT_GT(info.delay, 0);
    std::vector<uint32_t> previous;
    for (int i = 0; i < decoder.FrameCount(); ++i) {
        SCOPED_TRACE(i);
        quell::image::PixelImage image;
        ASSERT_TRUE(decoder.CreateFrameBitmap(i, image));
        EXPECT_NE(image.pixels, previous) << "a frame repeats the one before it";
        previous = image.pixels;
        // The picture's border is the well colour the frame has under it.
        for (int x = 0; x < image.width; ++x) {
            EXPECT_EQ(image.at(x, 0) & 0xFFFFFF, frame.pixel(place.x() + x, place.y()) & 0xFFFFFF);
            EXPECT_EQ(image.at(x, image.height - 1) & 0xFFFFFF, frame.pixel(place.x() + x, place.bottom()) & 0xFFFFFF);
        }
    }
}

TEST(AnimatedPictures, EqualizerLoopsSeamlesslyInItsWell) {
    expectSeamlessAnimation(paintEqualizer(), kEqualizerRect, 16);
}

TEST(AnimatedPictures, SpinnerLoopsSeamlesslyInItsWell) { expectSeamlessAnimation(paintSpinner(), kBusyRect, 12); }

TEST(SkinDescription, ReadsBackAsTheLayout) {
    QFile file(QUELL1_SOURCE_DIR "/Quell1.ini.in");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QString error;
    const QByteArray text = fillDescription(QString::fromUtf8(file.readAll()), error).toUtf8();
    ASSERT_TRUE(error.isEmpty()) << qPrintable(error);
    for (const QByteArray& line : text.split('\n')) EXPECT_LE(line.trimmed().size(), 99 + 20) << line.data();

    const auto profile = quell::skin::ProfileFile::Parse(std::string_view(text.constData(), text.size()));
    const auto model = quell::skin::ReadSkinModel(profile, quell::skin::SkinLocation{"/media/"});
    EXPECT_EQ(model.frameFile, "Quell1.bmp");
    EXPECT_EQ(model.outlineName, std::optional<std::string>("Quell1.dat"));
    EXPECT_EQ(model.browserRect, (quell::skin::SkinRect{172, 112, 782, 548}));
    EXPECT_EQ(model.startPage, "/media/quellcard.htm");
    EXPECT_EQ(model.addressBarRect.left, kAddressRect.x());
    EXPECT_TRUE(model.progressGradient);
    EXPECT_TRUE(model.missingButtons.empty());
    EXPECT_TRUE(model.missingTexts.empty());
    ASSERT_EQ(model.buttons.size(), buttonSpots().size());
    int withSound = 0;
    for (const auto& b : model.buttons) {
        SCOPED_TRACE(b.tooltip);
        EXPECT_EQ(b.keyColour, -1);
        // The model lists the kinds in its own order; the place finds the spot.
        const auto spot = std::find_if(buttonSpots().begin(), buttonSpots().end(),
                                       [&](const ButtonSpot& s) { return s.rect.topLeft() == QPoint(b.x, b.y); });
        ASSERT_NE(spot, buttonSpots().end());
        EXPECT_EQ(b.sound, spot->sound.isEmpty() ? std::string("NULL") : spot->sound.toStdString());
        withSound += spot->sound.isEmpty() ? 0 : 1;
    }
    EXPECT_GE(withSound, 3) << "a few buttons play the press sound";
    ASSERT_EQ(model.texts.size(), linkSpots().size());
    for (size_t i = 0; i < model.texts.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(model.texts[i].caption, linkSpots()[i].caption.toStdString());
        EXPECT_EQ(model.texts[i].argument, linkSpots()[i].argument.toStdString());
        EXPECT_NE(model.texts[i].action, -1);
    }
    EXPECT_EQ(model.soundFile, "quell1.mid");
    EXPECT_TRUE(model.soundRepeat);
}

TEST(SkinDescription, UnknownPlaceholderIsAnError) {
    QString error;
    fillDescription("[WebBrowser]\nPosition=@BROWSR@\n", error);
    EXPECT_NE(error.indexOf("@BROWSR@"), -1);
}

TEST(SmfWriter, VariableLengthQuantities) {
    const struct {
        uint32_t value;
        std::vector<uint8_t> bytes;
    } cases[] = {{0, {0x00}},
                 {0x7F, {0x7F}},
                 {0x80, {0x81, 0x00}},
                 {0x2000, {0xC0, 0x00}},
                 {0x1FFFFF, {0xFF, 0xFF, 0x7F}},
                 {0x0FFFFFFF, {0xFF, 0xFF, 0xFF, 0x7F}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        std::vector<uint8_t> out;
        appendVarLen(out, c.value);
        EXPECT_EQ(out, c.bytes);
    }
}

TEST(SmfWriter, NotesEndBeforeNotesStartAtTheSameTick) {
    SmfTrack track;
    track.addNote(0, 10, 0, 60, 90);
    track.addNote(10, 10, 0, 60, 90);  // the same key again, right after
    // delta 0 on; delta 10 off (running status); delta 0 on; delta 10 off; end
    const std::vector<uint8_t> expected = {0x00, 0x90, 60, 90, 0x0A, 60,   0,    0x00, 60,
                                           90,   0x0A, 60, 0,  0x00, 0xFF, 0x2F, 0x00};
    EXPECT_EQ(track.encode(), expected);
}

QString runMidicsv(const std::vector<uint8_t>& midi, QTemporaryDir& dir) {
    const QString path = dir.filePath("tune.mid");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return {};
    file.write(reinterpret_cast<const char*>(midi.data()), static_cast<qint64>(midi.size()));
    file.close();
    QProcess process;
    process.start("midicsv", {path});
    if (!process.waitForFinished(10000) || process.exitCode() != 0) return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

TEST(Tune, ParsesAsAFormatOneFileWithBalancedNotes) {
    if (QStandardPaths::findExecutable("midicsv").isEmpty()) GTEST_SKIP() << "midicsv is not installed";
    QTemporaryDir dir;
    const QString csv = runMidicsv(composeTune(), dir);
    ASSERT_FALSE(csv.isEmpty());
    int ons = 0, offs = 0, tracks = 0;
    QSet<QString> ends;
    for (const QString& line : csv.split('\n', Qt::SkipEmptyParts)) {
        const QStringList f = line.split(", ");
        if (f.size() < 3) continue;
        if (f[2] == "Header") {
            EXPECT_EQ(f[3], "1");
        }
        if (f[2] == "Start_track") ++tracks;
        if (f[2] == "End_track") ends.insert(f[1]);
        if (f[2] == "Note_on_c") (f[5].trimmed() == "0" ? offs : ons)++;
        if (f[2] == "Note_off_c") ++offs;
    }
    EXPECT_EQ(tracks, 5);
    EXPECT_GT(ons, 150);
    EXPECT_EQ(ons, offs);
    // Every track ends at sixteen bars, so the loop keeps its beat.
    EXPECT_EQ(ends, QSet<QString>{QString::number(16 * 4 * 480)});
}

QMap<QString, QByteArray> digests(const QString& folder) {
    QMap<QString, QByteArray> out;
    for (const QFileInfo& info : QDir(folder).entryInfoList(QDir::Files)) {
        QFile f(info.filePath());
        if (f.open(QIODevice::ReadOnly))
            out[info.fileName()] = QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
    }
    return out;
}

TEST(ClickSound, IsAShortLoudDecayingToneAboveTheTune) {
    const std::vector<uint8_t> wav = composeClick();
    auto u16 = [&](size_t at) { return static_cast<uint32_t>(wav[at] | (wav[at + 1] << 8)); };
    auto u32 = [&](size_t at) { return u16(at) | (u16(at + 2) << 16); };
    ASSERT_GE(wav.size(), 44u);
    EXPECT_EQ(std::string(wav.begin(), wav.begin() + 4), "RIFF");
    EXPECT_EQ(u32(4), wav.size() - 8);
    EXPECT_EQ(std::string(wav.begin() + 8, wav.begin() + 16), "WAVEfmt ");
    EXPECT_EQ(u16(20), 1u);  // PCM
    EXPECT_EQ(u16(22), 1u);  // mono
    EXPECT_EQ(u32(24), static_cast<uint32_t>(kClickSampleRate));
    EXPECT_EQ(u16(34), 16u);
    EXPECT_EQ(std::string(wav.begin() + 36, wav.begin() + 40), "data");
    ASSERT_EQ(u32(40), wav.size() - 44);

    std::vector<int> samples;
    for (size_t at = 44; at + 1 < wav.size(); at += 2) samples.push_back(static_cast<int16_t>(u16(at)));
    EXPECT_EQ(samples.size(), static_cast<size_t>(kClickSampleRate * kClickMilliseconds / 1000));
    auto peak = [&](size_t from, size_t to) {
        int most = 0;
        for (size_t i = from; i < to; ++i) most = std::max(most, std::abs(samples[i]));
        return most;
    };
    const size_t tenth = samples.size() / 10;
    // Loud enough to stand out of the music, and fading out rather than cut.
    EXPECT_GT(peak(0, tenth), 16000);
    EXPECT_LT(peak(samples.size() - tenth, samples.size()), peak(0, tenth) / 5);
    int crossings = 0;
    for (size_t i = 1; i < samples.size(); ++i) crossings += (samples[i - 1] < 0) != (samples[i] < 0) ? 1 : 0;
    const double expected = 2.0 * kClickFrequency * kClickMilliseconds / 1000.0;
    EXPECT_NEAR(crossings, expected, expected * 0.05);
}

TEST(Generator, WritesTheSameBytesEveryRun) {
    QTemporaryDir first, second;
    for (QTemporaryDir* dir : {&first, &second}) {
        GeneratorOptions options;
        options.outDir = dir->filePath("skin");
        options.iniTemplate = QUELL1_SOURCE_DIR "/Quell1.ini.in";
        options.startCard = QUELL1_SOURCE_DIR "/quellcard.htm";
        options.photoPath = dir->filePath("skin/Photo.bmp");
        ASSERT_EQ(generateSkin(options), QString());
    }
    const auto a = digests(first.filePath("skin"));
    // Three pictures a button; the description, start page, frame, outline,
    // two animations, tune, press sound and Photo.
    EXPECT_EQ(a.size(), static_cast<qsizetype>(3 * buttonSpots().size() + 9));
    EXPECT_EQ(a, digests(second.filePath("skin")));
}

TEST(PhotoPicture, OutlineHas169PointsInsideItsBox) {
    const std::vector<QPoint> outline = photoOutline();
    ASSERT_EQ(outline.size(), 169u);
    QRect box;
    for (const QPoint& p : outline) box = box.united(QRect(p, QSize(1, 1)));
    EXPECT_EQ(box, QRect(QPoint(5, 3), QPoint(124, 379)));
    EXPECT_EQ(paintPhoto().size(), QSize(kPhotoWidth, kPhotoHeight));
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
