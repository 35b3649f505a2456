// Draws the program's icons into PNG files at 16 and 32 pixels (and 48 and 128
// for the application and document icons). Run by hand after changing a
// drawing: tavin-draw-icons <folder>; the PNGs are kept in the source tree.

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <cstdio>
#include <functional>

namespace {

using Drawing = std::function<void(QPainter &)>;  // on a 32 x 32 canvas

const QColor kOutline(40, 48, 60);
const QColor kPaper(250, 250, 246);
const QColor kRadioBody(52, 58, 68);
const QColor kDisplay(255, 176, 46);
const QColor kGreen(46, 160, 67);
const QColor kRed(214, 64, 50);
const QColor kBlue(44, 110, 200);

QPen outline(qreal width = 1.6)
{
    return QPen(kOutline, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void page(QPainter &p, QRectF r)
{
    QPainterPath path;
    const qreal fold = r.width() * 0.32;
    path.moveTo(r.left(), r.top());
    path.lineTo(r.right() - fold, r.top());
    path.lineTo(r.right(), r.top() + fold);
    path.lineTo(r.right(), r.bottom());
    path.lineTo(r.left(), r.bottom());
    path.closeSubpath();
    p.setPen(outline());
    p.setBrush(kPaper);
    p.drawPath(path);
    p.drawLine(QPointF(r.right() - fold, r.top()), QPointF(r.right() - fold, r.top() + fold));
    p.drawLine(QPointF(r.right() - fold, r.top() + fold), QPointF(r.right(), r.top() + fold));
}

void radio(QPainter &p, QRectF body)
{
    p.setPen(outline(1.4));
    p.setBrush(kRadioBody);
    p.drawRect(QRectF(body.left() + body.width() * 0.18, body.top() - body.height() * 0.42, body.width() * 0.2,
                      body.height() * 0.44));
    p.drawRoundedRect(body, 3, 3);
    p.setBrush(kDisplay);
    p.setPen(Qt::NoPen);
    p.drawRect(QRectF(body.left() + body.width() * 0.2, body.top() + body.height() * 0.14, body.width() * 0.6,
                      body.height() * 0.24));
    p.setBrush(QColor(150, 156, 168));
    for (int row = 0; row < 2; ++row)
        for (int col = 0; col < 3; ++col)
            p.drawRect(QRectF(body.left() + body.width() * (0.2 + 0.22 * col), body.top() + body.height() * (0.5 + 0.18 * row),
                              body.width() * 0.16, body.height() * 0.1));
}

void arrow(QPainter &p, QPointF from, QPointF to, QColor color)
{
    p.setPen(QPen(color, 3.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(from, to);
    const QPointF d = (to - from) / std::hypot(to.x() - from.x(), to.y() - from.y());
    const QPointF n(-d.y(), d.x());
    QPolygonF head{to + d * 3.5, to - d * 3 + n * 4.5, to - d * 3 - n * 4.5};
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawPolygon(head);
}

void drawNew(QPainter &p)
{
    page(p, QRectF(6, 2.5, 19, 26));
    p.setPen(QPen(kGreen, 3.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(23, 19), QPointF(23, 29));
    p.drawLine(QPointF(18, 24), QPointF(28, 24));
}

void drawOpen(QPainter &p)
{
    p.setPen(outline());
    p.setBrush(QColor(224, 170, 60));
    QPainterPath back;
    back.moveTo(3, 8);
    back.lineTo(11, 8);
    back.lineTo(13.5, 10.5);
    back.lineTo(26, 10.5);
    back.lineTo(26, 27);
    back.lineTo(3, 27);
    back.closeSubpath();
    p.drawPath(back);
    p.setBrush(QColor(250, 206, 96));
    p.drawPolygon(QPolygonF{QPointF(3, 27), QPointF(8, 15), QPointF(30, 15), QPointF(26, 27)});
}

void drawSave(QPainter &p)
{
    p.setPen(outline());
    p.setBrush(kBlue);
    QPainterPath disk;
    disk.moveTo(4, 4);
    disk.lineTo(24, 4);
    disk.lineTo(28, 8);
    disk.lineTo(28, 28);
    disk.lineTo(4, 28);
    disk.closeSubpath();
    p.drawPath(disk);
    p.setBrush(kPaper);
    p.drawRect(QRectF(8, 17, 16, 11));
    p.setBrush(QColor(210, 216, 226));
    p.drawRect(QRectF(9, 4, 13, 8));
    p.setBrush(kOutline);
    p.drawRect(QRectF(17, 5.5, 3, 5));
}

void drawRead(QPainter &p)
{
    radio(p, QRectF(3, 11, 14, 19));
    arrow(p, QPointF(18, 12), QPointF(26, 20), kGreen);
}

void drawWrite(QPainter &p)
{
    radio(p, QRectF(15, 11, 14, 19));
    arrow(p, QPointF(4, 12), QPointF(11, 19), kRed);
}

void drawPrint(QPainter &p)
{
    p.setPen(outline());
    p.setBrush(kPaper);
    p.drawRect(QRectF(9, 3, 14, 10));
    p.setBrush(QColor(170, 176, 188));
    p.drawRoundedRect(QRectF(3, 12, 26, 12), 2.5, 2.5);
    p.setBrush(kPaper);
    p.drawRect(QRectF(9, 19, 14, 10));
    p.setPen(QPen(kOutline, 1.2));
    p.drawLine(QPointF(11, 23), QPointF(21, 23));
    p.drawLine(QPointF(11, 26), QPointF(19, 26));
    p.setPen(Qt::NoPen);
    p.setBrush(kGreen);
    p.drawEllipse(QPointF(25, 15.5), 1.6, 1.6);
}

void drawAbout(QPainter &p)
{
    p.setPen(outline());
    p.setBrush(kBlue);
    p.drawEllipse(QRectF(3, 3, 26, 26));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(16, 9.5), 2.4, 2.4);
    p.drawRoundedRect(QRectF(13.8, 13.5, 4.4, 11.5), 1.5, 1.5);
}

void drawApplication(QPainter &p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(kBlue);
    p.drawRoundedRect(QRectF(1, 1, 30, 30), 6, 6);
    radio(p, QRectF(9.5, 11, 13, 18.5));
    p.setPen(QPen(Qt::white, 1.6, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(15, 1.5, 12, 12), 0 * 16, 90 * 16);
    p.drawArc(QRectF(18, 4.5, 6, 6), 0 * 16, 90 * 16);
}

void drawDocument(QPainter &p)
{
    page(p, QRectF(4, 2, 24, 28));
    radio(p, QRectF(11, 15, 10, 13));
}

void save(const QString &folder, const QString &name, int size, const Drawing &drawing)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);
    drawing(p);
    p.end();
    QDir().mkpath(QStringLiteral("%1/%2").arg(folder).arg(size));
    const QString path = QStringLiteral("%1/%2/%3.png").arg(folder).arg(size).arg(name);
    if (!image.save(path))
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
}

}  // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    const std::pair<const char *, Drawing> commands[] = {
        {"new", drawNew},   {"open", drawOpen},   {"save", drawSave},   {"read", drawRead},
        {"write", drawWrite}, {"print", drawPrint}, {"about", drawAbout},
    };
    for (const auto &[name, drawing] : commands)
        for (int size : {16, 32})
            save(folder, QString::fromLatin1(name), size, drawing);
    for (int size : {16, 32, 48, 128}) {
        save(folder, QStringLiteral("tavin"), size, drawApplication);
        save(folder, QStringLiteral("tavin-document"), size, drawDocument);
    }
    return 0;
}
