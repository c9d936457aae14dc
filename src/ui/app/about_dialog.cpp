#include "ui/app/about_dialog.h"

#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QVBoxLayout>

namespace quell::ui {

QIcon ProgramIcon() {
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        QLinearGradient fill(0, 0, 0, size);
        fill.setColorAt(0, QColor(64, 156, 255));
        fill.setColorAt(1, QColor(18, 74, 168));
        QPainterPath tile;
        tile.addRoundedRect(QRectF(0.5, 0.5, size - 1, size - 1), size * 0.22, size * 0.22);
        p.fillPath(tile, fill);
        QPen pen(Qt::white, size * 0.11, Qt::SolidLine, Qt::RoundCap);
        p.setPen(pen);
        QRectF ring(size * 0.24, size * 0.2, size * 0.52, size * 0.52);
        p.drawEllipse(ring);
        p.drawLine(QPointF(size * 0.56, size * 0.6), QPointF(size * 0.78, size * 0.82));
        icon.addPixmap(pixmap);
    }
    return icon;
}

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("About Quellcore"));
    auto* iconLabel = new QLabel(this);
    iconLabel->setPixmap(ProgramIcon().pixmap(32, 32));
    auto* text = new QLabel(QStringLiteral("Quellcore ver 1.0"), this);
    auto* ok = new QPushButton(QStringLiteral("확인"), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* row = new QHBoxLayout;
    row->addWidget(iconLabel);
    row->addWidget(text, 1);
    row->addWidget(ok);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    setFixedSize(sizeHint());
}

}  // namespace quell::ui
