#include "preview.h"

#include <QPainter>

#include "animation_painter.h"
#include "frame_outline.h"
#include "resources/photo/photo_painter.h"

namespace quell1 {

QImage composePreview(const QImage& frame, const QImage& photo, ButtonState state) {
    QImage out(frame.size(), QImage::Format_ARGB32);
    out.fill(QColor(200, 200, 200));
    QPainter p(&out);
    p.setClipPath(outlinePath(frameOutline()));
    p.drawImage(0, 0, frame);
    for (const ButtonSpot& spot : buttonSpots()) p.drawImage(spot.rect.topLeft(), paintButton(spot, state, frame));
    {
        // The program clips the Photo picture with its own outline; this one
        // is drawn for the same shape.
        QPolygon shape;
        for (const QPoint& pt : photoOutline()) shape << pt + QPoint(kPhotoX, kPhotoY);
        p.save();
        p.setClipRegion(QRegion(shape, Qt::WindingFill), Qt::IntersectClip);
        p.drawImage(kPhotoX, kPhotoY, photo);
        p.restore();
    }
    p.drawImage(kEqualizerRect.topLeft(), paintEqualizer().frames[3]);
    p.drawImage(kBusyRect.topLeft(), paintSpinner().frames[0]);
    p.fillRect(kBrowserRect, QColor(245, 247, 250));
    p.fillRect(QRect(kAddressRect.topLeft(), QSize(kGoButtonWidth, kAddressRect.height())), QColor(90, 110, 150));
    p.fillRect(kAddressRect.adjusted(kGoButtonWidth, 0, 0, 0), QColor(255, 255, 223));
    p.setPen(Qt::black);
    p.drawText(kAddressRect.adjusted(kGoButtonWidth + 4, 0, 0, 0), Qt::AlignVCenter, "file:///…/Media/quellcard.htm");
    p.setPen(palette::kTextDim);
    p.drawText(kStatusRect, Qt::AlignVCenter, "Done");
    QLinearGradient bar(kProgressRect.left(), 0, kProgressRect.right(), 0);
    bar.setColorAt(0, palette::kProgressStart);
    bar.setColorAt(1, palette::kProgressEnd);
    p.fillRect(kProgressRect, QColor(18, 24, 38));
    p.fillRect(QRect(kProgressRect.topLeft(), QSize(kProgressRect.width() * 6 / 10, kProgressRect.height())), bar);
    p.setPen(palette::kText);
    for (const LinkSpot& link : linkSpots()) p.drawText(link.rect, Qt::AlignVCenter, link.caption);
    p.end();
    return out;
}

}  // namespace quell1
