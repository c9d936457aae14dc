#include "skin_writer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QRegularExpression>

#include <cstdint>
#include <vector>

#include "animation_painter.h"
#include "button_painter.h"
#include "click_sound.h"
#include "core/skin/outline_file.h"
#include "frame_outline.h"
#include "frame_painter.h"
#include "image_export.h"
#include "preview.h"
#include "resources/desktop/icon_painter.h"
#include "resources/photo/photo_painter.h"
#include "skin_layout.h"
#include "tune.h"

namespace quell1 {
namespace {

// A colour as the description's decimal colour value: red in the low byte.
QString colourValue(const QColor& c) {
    return QString::number(static_cast<uint32_t>(c.red()) | (static_cast<uint32_t>(c.green()) << 8) |
                           (static_cast<uint32_t>(c.blue()) << 16));
}

QString colourTriple(const QColor& c) { return QString("%1,%2,%3").arg(c.red()).arg(c.green()).arg(c.blue()); }

// left,top,right,bottom with right and bottom one past the last pixel.
QString rectText(const QRect& r) {
    return QString("%1,%2,%3,%4").arg(r.left()).arg(r.top()).arg(r.left() + r.width()).arg(r.top() + r.height());
}

QString stateFile(const ButtonSpot& spot, ButtonState state) {
    switch (state) {
    case ButtonState::Normal: return spot.fileStem + "-n.bmp";
    case ButtonState::Hover: return spot.fileStem + "-h.bmp";
    case ButtonState::Pressed: return spot.fileStem + "-p.bmp";
    }
    return {};
}

QString buttonLines() {
    // Counts first, then the entries, in the order the kinds appear here.
    QStringList counts;
    QStringList entries;
    for (const ButtonSpot& spot : buttonSpots()) {
        counts << QString("%1No=1").arg(spot.kind);
        entries << QString("%1%2=%3,%4,%5,%6,%7,%8,%9,-1,%10,%11")
                       .arg(spot.kind)
                       .arg(0)
                       .arg(stateFile(spot, ButtonState::Normal), stateFile(spot, ButtonState::Pressed),
                            stateFile(spot, ButtonState::Hover))
                       .arg(spot.rect.x())
                       .arg(spot.rect.y())
                       .arg(spot.rect.width())
                       .arg(spot.rect.height())
                       .arg(spot.tooltip, spot.sound.isEmpty() ? QString("NULL") : spot.sound);
    }
    return (counts + QStringList{""} + entries).join("\n");
}

QString textLines() {
    QStringList lines;
    lines << QString("TextNo=%1").arg(linkSpots().size());
    int index = 0;
    for (const LinkSpot& link : linkSpots()) {
        QString line = QString("Text%1=DejaVu Sans,%2,%3,0,9,0,0,0,%4,%5,%6,%7,%8,%9")
                           .arg(index++)
                           .arg(colourValue(palette::kText), colourValue(palette::kAccent))
                           .arg(link.rect.x())
                           .arg(link.rect.y())
                           .arg(link.rect.width())
                           .arg(link.rect.height())
                           .arg(link.action, link.caption);
        if (link.action == "direct" || link.action == "execute") line += "," + link.argument;
        lines << line;
    }
    return lines.join("\n");
}

QMap<QString, QString> placeholders() {
    QMap<QString, QString> values;
    values["BROWSER"] = rectText(kBrowserRect);
    values["ADDRESS"] = rectText(kAddressRect);
    values["STATUS"] = rectText(kStatusRect);
    values["STATUS_COLOUR"] = colourTriple(palette::kTextDim);
    values["PROGRESS"] = rectText(kProgressRect);
    values["PROGRESS_START"] = colourTriple(palette::kProgressStart);
    values["PROGRESS_END"] = colourTriple(palette::kProgressEnd);
    values["PROGRESS_BACK"] = colourTriple(palette::kWell);
    values["BUSY"] = rectText(kBusyRect);
    values["EQUALIZER_X"] = QString::number(kEqualizerRect.x());
    values["EQUALIZER_Y"] = QString::number(kEqualizerRect.y());
    values["BUTTONS"] = buttonLines();
    values["TEXTS"] = textLines();
    return values;
}

bool writeBytes(const QString& path, const QByteArray& bytes, QString& error) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size()) {
        error = QString("cannot write %1").arg(path);
        return false;
    }
    return true;
}

bool writeBytes(const QString& path, const std::vector<uint8_t>& bytes, QString& error) {
    return writeBytes(
        path, QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size())), error);
}

std::vector<uint8_t> encodeOutline(const std::vector<QPoint>& points) {
    std::vector<quell::skin::OutlinePoint> outline;
    outline.reserve(points.size());
    for (const QPoint& p : points) outline.push_back({p.x(), p.y()});
    return quell::skin::EncodeOutline(outline);
}

bool writeSkinFolder(const GeneratorOptions& options, const QImage& frame, const std::vector<QPoint>& outline,
                     QString& error) {
    const QDir dir(options.outDir);
    if (!QDir().mkpath(options.outDir)) {
        error = QString("cannot create %1").arg(options.outDir);
        return false;
    }
    QFile templateFile(options.iniTemplate);
    if (!templateFile.open(QIODevice::ReadOnly)) {
        error = QString("cannot read %1").arg(options.iniTemplate);
        return false;
    }
    const QString description = fillDescription(QString::fromUtf8(templateFile.readAll()), error);
    if (!error.isEmpty()) return false;
    QFile card(options.startCard);
    if (!card.open(QIODevice::ReadOnly)) {
        error = QString("cannot read %1").arg(options.startCard);
        return false;
    }

    if (!writeBytes(dir.filePath("Quell1.ini"), description.toUtf8(), error)) return false;
    if (!writeBytes(dir.filePath("quellcard.htm"), card.readAll(), error)) return false;
    if (!writeBytes(dir.filePath("Quell1.bmp"), encodeBmp(frame), error)) return false;
    if (!writeBytes(dir.filePath("Quell1.dat"), encodeOutline(outline), error)) return false;
    for (const ButtonSpot& spot : buttonSpots()) {
        for (ButtonState state : {ButtonState::Normal, ButtonState::Hover, ButtonState::Pressed}) {
            if (!writeBytes(dir.filePath(stateFile(spot, state)), encodeBmp(paintButton(spot, state, frame)), error))
                return false;
        }
    }
    if (!writeBytes(dir.filePath("equalizer.gif"), encodeAnimation(paintEqualizer()), error)) return false;
    if (!writeBytes(dir.filePath("busy.gif"), encodeAnimation(paintSpinner()), error)) return false;
    if (!writeBytes(dir.filePath(kClickSoundFile), composeClick(), error)) return false;
    return writeBytes(dir.filePath("quell1.mid"), composeTune(), error);
}

}  // namespace

QString fillDescription(const QString& templateText, QString& error) {
    const QMap<QString, QString> values = placeholders();
    static const QRegularExpression placeholder("@([A-Z_]+)@");
    QString out;
    qsizetype last = 0;
    for (auto it = placeholder.globalMatch(templateText); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        out += templateText.mid(last, m.capturedStart() - last);
        const auto found = values.find(m.captured(1));
        if (found == values.end()) {
            error = QString("the template names an unknown value @%1@").arg(m.captured(1));
            return {};
        }
        out += *found;
        last = m.capturedEnd();
    }
    out += templateText.mid(last);
    // Windows line ends, as a skin author's editor would leave them.
    out.replace("\r\n", "\n");
    out.replace("\n", "\r\n");
    return out;
}

QString generateSkin(const GeneratorOptions& options) {
    QString error;
    const std::vector<QPoint> outline = frameOutline();
    const QImage frame = paintFrame(outline);
    const QImage photo = paintPhoto();
    if (!options.outDir.isEmpty() && !writeSkinFolder(options, frame, outline, error)) return error;
    if (!options.photoPath.isEmpty()) {
        QDir().mkpath(QFileInfo(options.photoPath).absolutePath());
        if (!writeBytes(options.photoPath, encodeBmp(photo), error)) return error;
    }
    if (!options.photoOutlinePath.isEmpty() &&
        !writeBytes(options.photoOutlinePath, encodeOutline(photoOutline()), error))
        return error;
    if (!options.iconDir.isEmpty()) {
        QDir().mkpath(options.iconDir);
        for (int size : {48, 256}) {
            const QString path = QDir(options.iconDir).filePath(QString("quell1-%1.png").arg(size));
            if (!paintIcon(size).save(path, "PNG")) return QString("cannot write %1").arg(path);
        }
    }
    if (!options.previewPrefix.isEmpty()) {
        const struct {
            ButtonState state;
            const char* name;
        } states[] = {
            {ButtonState::Normal, "normal"}, {ButtonState::Hover, "hover"}, {ButtonState::Pressed, "pressed"}};
        for (const auto& s : states) {
            const QString path = options.previewPrefix + "-" + s.name + ".png";
            if (!composePreview(frame, photo, s.state).save(path)) return QString("cannot write %1").arg(path);
        }
    }
    return {};
}

}  // namespace quell1
