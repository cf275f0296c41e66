#include "shell/pictures.h"

#include "toolkit/twips.h"

#include <QLabel>
#include <QPainter>
#include <QPixmap>

namespace pictures {

namespace {

// A head and shoulders in a rounded frame, scaled to the square side.
QPixmap drawUser(int side) {
    QPixmap pix(side, side);
    pix.fill(Qt::transparent);
    QPainter p(&pix);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = side;
    p.setPen(QPen(QColor(40, 80, 140), s / 40.0));
    p.setBrush(QColor(215, 230, 250));
    p.drawRoundedRect(QRectF(s * 0.04, s * 0.04, s * 0.92, s * 0.92), s * 0.1, s * 0.1);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(60, 110, 180));
    p.drawEllipse(QRectF(s * 0.34, s * 0.16, s * 0.32, s * 0.32));
    p.drawChord(QRectF(s * 0.18, s * 0.52, s * 0.64, s * 0.64), 0, 180 * 16);
    return pix;
}

}  // namespace

QLabel* userPicture(QWidget* parent, const QString& name, int left, int top, int width,
                    int height) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    ui::placeTw(label, left, top, width, height);
    label->setPixmap(drawUser(qMin(label->width(), label->height())));
    label->setAlignment(Qt::AlignCenter);
    return label;
}

}  // namespace pictures
