#include "ui/app_icon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

QPixmap DrawIcon(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x2b, 0x4a, 0x8c));
    painter.drawEllipse(QRectF(s * 0.03, s * 0.03, s * 0.94, s * 0.94));
    painter.setBrush(QColor(0xf2, 0xc1, 0x4e));
    // Two note heads joined by a beam.
    painter.drawEllipse(QRectF(s * 0.22, s * 0.60, s * 0.22, s * 0.16));
    painter.drawEllipse(QRectF(s * 0.56, s * 0.52, s * 0.22, s * 0.16));
    painter.drawRect(QRectF(s * 0.38, s * 0.24, s * 0.06, s * 0.44));
    painter.drawRect(QRectF(s * 0.72, s * 0.16, s * 0.06, s * 0.44));
    QPainterPath beam;
    beam.moveTo(s * 0.38, s * 0.24);
    beam.lineTo(s * 0.78, s * 0.16);
    beam.lineTo(s * 0.78, s * 0.26);
    beam.lineTo(s * 0.38, s * 0.34);
    beam.closeSubpath();
    painter.drawPath(beam);
    return pixmap;
}

QIcon AppIcon()
{
    static const QIcon icon = [] {
        QIcon built;
        for (int size : {16, 24, 32, 48, 64, 128}) built.addPixmap(DrawIcon(size));
        return built;
    }();
    return icon;
}

QPoint IconOrigin(int clientWidth, int clientHeight, int iconWidth, int iconHeight)
{
    return {(clientWidth - iconWidth + 1) / 2, (clientHeight - iconHeight + 1) / 2};
}
