// The parts of the skin preview that keep it from ever blocking, and its
// layout map overlay: where messages go, which Photo is shown, and what the
// overlay draws and lets through.
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>

#include "core/image/bitmap_file.h"
#include "core/image/bitmap_writer.h"
#include "core/image/raster.h"
#include "core/os/file_system.h"
#include "ui/app/layout_map_overlay.h"
#include "ui/app/preview_messages.h"
#include "ui/app/preview_photo.h"

using quell::ui::LayoutMapOverlay;
using quell::ui::PhotoSource;
using quell::ui::PreviewMessages;
using quell::ui::PreviewPhotoFolder;

namespace {

void writePhoto(const QString& folder, int width, int height) {
    const auto bytes = quell::image::EncodeBitmap24(quell::image::MakeFilledImage(width, height, 0xFF204060u));
    QVERIFY(quell::os::writeFile((folder + "/Photo.bmp").toStdString(), bytes));
}

QSize photoSizeIn(const std::string& folder) {
    quell::image::PixelImage photo;
    if (!quell::image::LoadBitmapFile(folder + "Photo.bmp", photo)) return {};
    return QSize(photo.width, photo.height);
}

}  // namespace

class SkinPreviewPartsTest : public QObject {
    Q_OBJECT

private slots:
    void messagesWaitForTheirListenerInOrder() {
        PreviewMessages messages;
        messages.showMessage("first");
        messages.showMessage("");
        QStringList seen;
        messages.setListener([&seen](const QString& text) { seen.append(text); });
        QCOMPARE(seen, QStringList({"first", ""}));
        messages.showMessage("ビットマップ");
        QCOMPARE(seen, QStringList({"first", "", "ビットマップ"}));
        // Without a listener nothing is delivered, and nothing blocks.
        messages.setListener({});
        messages.showMessage("later");
        QCOMPARE(seen.size(), 3);
    }

    void photoComesFromTheFirstFolderWhereItLoads() {
        struct Case {
            const char* name;
            bool skinPhoto, skinPhotoBroken, programPhoto;
            PhotoSource source;
            QSize shown;
        };
        // The placeholder is the sample's own 130x384 picture.
        const Case cases[] = {
            {"in the skin folder", true, false, true, PhotoSource::SkinFolder, {10, 20}},
            {"beside the program", false, false, true, PhotoSource::ProgramFolder, {30, 40}},
            {"broken in the skin folder", true, true, true, PhotoSource::ProgramFolder, {30, 40}},
            {"nowhere", false, false, false, PhotoSource::Placeholder, {130, 384}},
            {"broken and nowhere else", true, true, false, PhotoSource::Placeholder, {130, 384}},
        };
        for (const Case& c : cases) {
            QTemporaryDir skin, program;
            if (c.skinPhoto) writePhoto(skin.path(), 10, 20);
            if (c.skinPhotoBroken) QFile::resize(skin.path() + "/Photo.bmp", 20);
            if (c.programPhoto) writePhoto(program.path(), 30, 40);
            const PreviewPhotoFolder photo(skin.path().toStdString() + "/", program.path().toStdString() + "/");
            QVERIFY2(photo.source() == c.source, c.name);
            QVERIFY2(photoSizeIn(photo.path()) == c.shown, c.name);
            // The picture is shown from a folder of the preview's own: the
            // skin folder is never written to.
            QVERIFY2(photo.path() != skin.path().toStdString() + "/", c.name);
            QVERIFY2(QDir(skin.path()).entryList(QDir::Files).size() == (c.skinPhoto ? 1 : 0), c.name);
        }
    }

    void photoFollowsTheSkinFolderAtEachRefresh() {
        QTemporaryDir skin;
        PreviewPhotoFolder photo(skin.path().toStdString() + "/", std::string());
        QCOMPARE(photo.source(), PhotoSource::Placeholder);
        writePhoto(skin.path(), 10, 20);
        photo.refresh();
        QCOMPARE(photo.source(), PhotoSource::SkinFolder);
        QCOMPARE(photoSizeIn(photo.path()), QSize(10, 20));
        QVERIFY(QFile::remove(skin.path() + "/Photo.bmp"));
        photo.refresh();
        QCOMPARE(photo.source(), PhotoSource::Placeholder);
        QCOMPARE(photoSizeIn(photo.path()), QSize(130, 384));
    }

    void photoFolderGoesWithItsOwner() {
        QTemporaryDir skin;
        std::string folder;
        {
            const PreviewPhotoFolder photo(skin.path().toStdString() + "/", std::string());
            folder = photo.path();
            QVERIFY(quell::os::isRegularFile(folder + "Photo.bmp"));
        }
        QVERIFY(!quell::os::pathExists(folder));
    }

    void overlayDrawsTheMapAndIsShapedToIt() {
        quell::skin::LayoutMap map;
        map.frameWidth = 200;
        map.frameHeight = 100;
        map.outline = {{10, 10}, {190, 10}, {190, 90}, {10, 90}};
        quell::skin::MapElement browser;
        browser.number = 1;
        browser.key = "browser";
        browser.rect = {60, 30, 190, 80};
        map.elements.push_back(browser);

        QWidget window;
        window.resize(300, 200);
        auto* overlay = new LayoutMapOverlay(&window);
        overlay->setMap(map);
        QCOMPARE(overlay->geometry(), QRect(0, 0, 200, 100));
        QVERIFY(overlay->testAttribute(Qt::WA_TransparentForMouseEvents));
        // The window is shaped to the lines and the number: the middle of the
        // browser's rectangle and the outside of the outline are cut away.
        QVERIFY(overlay->mask().contains(QPoint(100, 10)));
        QVERIFY(overlay->mask().contains(QPoint(120, 79)));
        QVERIFY(overlay->mask().contains(QPoint(62, 32)));
        QVERIFY(!overlay->mask().contains(QPoint(120, 50)));
        QVERIFY(!overlay->mask().contains(QPoint(5, 50)));

        // Over the lines and numbers, the pointer still reaches the skin.
        window.show();
        QVERIFY(overlay->windowHandle());
        QVERIFY(overlay->windowHandle()->flags().testFlag(Qt::WindowTransparentForInput));

        const QImage drawn = overlay->grab().toImage();
        QCOMPARE(drawn.pixelColor(100, 10), QColor(255, 255, 0));
        QCOMPARE(drawn.pixelColor(120, 79), QColor(51, 153, 255));
    }
};

QTEST_MAIN(SkinPreviewPartsTest)
#include "skin_preview_parts_test.moc"
