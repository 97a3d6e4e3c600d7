#include "browser/ToolbarIcons.h"

#include <QPainter>
#include <QPolygonF>

#include <cmath>
#include <functional>

namespace {

QIcon drawn(const std::function<void(QPainter &)> &draw)
{
    QPixmap pm(24, 24);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    draw(p);
    p.end();
    return QIcon(pm);
}

const QColor kInk(40, 40, 40);

void arrow(QPainter &p, bool left)
{
    QPolygonF shape({QPointF(3, 12), QPointF(12, 3.5), QPointF(12, 8.5), QPointF(21, 8.5), QPointF(21, 15.5),
                     QPointF(12, 15.5), QPointF(12, 20.5)});
    if (!left)
        for (QPointF &pt : shape)
            pt.setX(24 - pt.x());
    p.setPen(QPen(QColor(20, 80, 20), 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(QColor(70, 160, 70));
    p.drawPolygon(shape);
}

void stop(QPainter &p)
{
    QPolygonF octagon;
    for (int i = 0; i < 8; ++i) {
        const double a = (22.5 + 45.0 * i) * 3.14159265358979 / 180.0;
        octagon << QPointF(12 + 10 * std::cos(a), 12 + 10 * std::sin(a));
    }
    p.setPen(QPen(QColor(110, 10, 10), 1.2));
    p.setBrush(QColor(205, 40, 35));
    p.drawPolygon(octagon);
    p.setPen(QPen(Qt::white, 2.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(8.5, 8.5), QPointF(15.5, 15.5));
    p.drawLine(QPointF(15.5, 8.5), QPointF(8.5, 15.5));
}

void refresh(QPainter &p)
{
    p.setPen(QPen(QColor(30, 90, 160), 2.8, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(4.5, 4.5, 15, 15), 60 * 16, 280 * 16);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 90, 160));
    p.drawPolygon(QPolygonF({QPointF(13, 1.5), QPointF(19.5, 5.5), QPointF(13, 9.5)}));
}

void home(QPainter &p)
{
    p.setPen(QPen(QColor(60, 40, 20), 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(QColor(200, 60, 40));
    p.drawPolygon(QPolygonF({QPointF(2, 12), QPointF(12, 3), QPointF(22, 12)}));
    p.setBrush(QColor(245, 225, 180));
    p.drawRect(QRectF(5, 12, 14, 10));
    p.setBrush(QColor(120, 80, 40));
    p.drawRect(QRectF(10, 15, 4, 7));
}

void search(QPainter &p)
{
    p.setPen(QPen(kInk, 2.5));
    p.setBrush(QColor(200, 225, 255));
    p.drawEllipse(QRectF(3, 3, 12, 12));
    p.setPen(QPen(kInk, 3.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(14, 14), QPointF(20.5, 20.5));
}

} // namespace

std::array<QIcon, 6> toolbarIcons()
{
    const std::array<QIcon, 6> own = {drawn([](QPainter &p) { arrow(p, true); }),
                                      drawn([](QPainter &p) { arrow(p, false); }), drawn(stop), drawn(refresh),
                                      drawn(home), drawn(search)};
    // Without a desktop theme only the bare "hicolor" folders would be searched (the
    // style's own pictures search them too), which hold programs' icons, never these:
    // thousands of file probes at each start, for nothing.
    const QString theme = QIcon::themeName();
    if (theme.isEmpty() || theme == QLatin1String("hicolor"))
        return own;
    static const char *const names[] = {"go-previous", "go-next", "process-stop", "view-refresh", "go-home",
                                        "edit-find"};
    std::array<QIcon, 6> icons;
    for (std::size_t i = 0; i < icons.size(); ++i)
        icons[i] = QIcon(QIcon::fromTheme(QString::fromLatin1(names[i]), own[i]).pixmap(24, 24));
    return icons;
}
