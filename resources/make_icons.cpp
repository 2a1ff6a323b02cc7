// Draws the tool bar and tab images into resources/icons/ (run by hand after a change):
//   g++ -std=c++20 -fPIC make_icons.cpp $(pkg-config --cflags --libs Qt6Gui) -o /tmp/make_icons
//   QT_QPA_PLATFORM=offscreen /tmp/make_icons icons
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <functional>

namespace {

const QColor Ink(40, 48, 64);
const QColor Blue(52, 101, 164);
const QColor LightBlue(114, 159, 207);
const QColor Green(78, 154, 6);
const QColor Red(204, 0, 0);
const QColor Orange(245, 121, 0);
const QColor Yellow(237, 212, 0);
const QColor Paper(250, 250, 245);
const QColor Grey(136, 138, 133);

using Draw = std::function<void(QPainter&)>;   // draws in a 32 x 32 box

void Arrow(QPainter& p, double angleDeg, QColor c)
{
    p.save();
    p.translate(16, 16);
    p.rotate(angleDeg);
    QPainterPath a;
    a.moveTo(-11, -4); a.lineTo(1, -4); a.lineTo(1, -11); a.lineTo(12, 0);
    a.lineTo(1, 11); a.lineTo(1, 4); a.lineTo(-11, 4); a.closeSubpath();
    p.setPen(QPen(c.darker(140), 1.5));
    p.setBrush(c);
    p.drawPath(a);
    p.restore();
}

void Folder(QPainter& p, QColor c)
{
    QPainterPath f;
    f.moveTo(3, 8); f.lineTo(12, 8); f.lineTo(15, 11); f.lineTo(29, 11); f.lineTo(29, 26);
    f.lineTo(3, 26); f.closeSubpath();
    p.setPen(QPen(c.darker(150), 1.5));
    p.setBrush(c);
    p.drawPath(f);
}

void Magnifier(QPainter& p)
{
    p.setPen(QPen(Ink, 4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(19, 19), QPointF(28, 28));
    p.setPen(QPen(Ink, 2.5));
    p.setBrush(LightBlue.lighter(130));
    p.drawEllipse(QPointF(13, 13), 9, 9);
}

void Star(QPainter& p, QColor c)
{
    QPainterPath s;
    for (int i = 0; i < 10; ++i) {
        const double r = i % 2 ? 6 : 14;
        const double a = -M_PI / 2 + i * M_PI / 5;
        const QPointF pt(16 + r * std::cos(a), 17 + r * std::sin(a));
        i ? s.lineTo(pt) : s.moveTo(pt);
    }
    s.closeSubpath();
    p.setPen(QPen(c.darker(150), 1.5));
    p.setBrush(c);
    p.drawPath(s);
}

const std::vector<std::pair<QString, Draw>> Icons = {
    {"home", [](QPainter& p) {
        QPainterPath roof; roof.moveTo(2, 16); roof.lineTo(16, 3); roof.lineTo(30, 16); roof.closeSubpath();
        p.setPen(QPen(Red.darker(140), 1.5)); p.setBrush(Red); p.drawPath(roof);
        p.setPen(QPen(Ink, 1.5)); p.setBrush(Paper); p.drawRect(QRectF(7, 15, 18, 14));
        p.setBrush(Orange); p.drawRect(QRectF(13, 20, 6, 9));
    }},
    {"print", [](QPainter& p) {
        p.setPen(QPen(Ink, 1.5)); p.setBrush(Paper); p.drawRect(QRectF(9, 3, 14, 10));
        p.setBrush(Grey); p.drawRoundedRect(QRectF(3, 12, 26, 12), 2, 2);
        p.setBrush(Paper); p.drawRect(QRectF(9, 19, 14, 10));
        p.setPen(QPen(Grey, 1)); p.drawLine(12, 23, 20, 23); p.drawLine(12, 26, 20, 26);
    }},
    {"download", [](QPainter& p) {
        Arrow(p, 90, Green);
        p.setPen(QPen(Ink, 2.5)); p.drawLine(4, 29, 28, 29);
    }},
    {"options", [](QPainter& p) {
        p.save(); p.translate(16, 16);
        p.setPen(QPen(Ink, 1.5)); p.setBrush(Grey.lighter(120));
        for (int i = 0; i < 8; ++i) {
            p.save(); p.rotate(i * 45); p.drawRect(QRectF(-3, -14, 6, 6)); p.restore();
        }
        p.drawEllipse(QPointF(0, 0), 10, 10);
        p.setBrush(Paper); p.drawEllipse(QPointF(0, 0), 4, 4);
        p.restore();
    }},
    {"mail", [](QPainter& p) {
        p.setPen(QPen(Ink, 1.5)); p.setBrush(Paper); p.drawRect(QRectF(3, 8, 26, 17));
        p.drawLine(QPointF(3, 8), QPointF(16, 18)); p.drawLine(QPointF(29, 8), QPointF(16, 18));
    }},
    {"previous", [](QPainter& p) { Arrow(p, 180, Blue); }},
    {"next", [](QPainter& p) { Arrow(p, 0, Blue); }},
    {"search", [](QPainter& p) { Magnifier(p); }},
    {"help", [](QPainter& p) {
        p.setPen(QPen(Blue.darker(140), 1.5)); p.setBrush(Blue); p.drawEllipse(QPointF(16, 16), 13, 13);
        QFont f("DejaVu Sans"); f.setPixelSize(20); f.setBold(true); p.setFont(f);
        p.setPen(Qt::white); p.drawText(QRectF(0, 0, 32, 32), Qt::AlignCenter, "?");
    }},
    {"back", [](QPainter& p) { Arrow(p, 180, Green); }},
    {"forward", [](QPainter& p) { Arrow(p, 0, Green); }},
    {"up", [](QPainter& p) { Folder(p, Yellow); Arrow(p, -90, Green); }},
    {"reload", [](QPainter& p) {
        p.setPen(QPen(Green.darker(120), 4, Qt::SolidLine, Qt::FlatCap)); p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(5, 5, 22, 22), 100 * 16, 280 * 16);
        QPainterPath h; h.moveTo(12, 1); h.lineTo(21, 6); h.lineTo(12, 11); h.closeSubpath();
        p.setPen(Qt::NoPen); p.setBrush(Green.darker(120)); p.drawPath(h);
    }},
    {"mode", [](QPainter& p) {
        p.setPen(QPen(Ink, 1.5)); p.setBrush(LightBlue);
        for (int r = 0; r < 2; ++r)
            for (int c = 0; c < 2; ++c)
                p.drawRect(QRectF(4 + c * 13, 4 + r * 13, 10, 10));
    }},
    {"sort", [](QPainter& p) {
        p.setPen(Qt::NoPen); p.setBrush(Blue);
        for (int i = 0; i < 4; ++i)
            p.drawRect(QRectF(4, 5 + i * 6, 8 + i * 5, 4));
        p.setBrush(Ink);
        QPainterPath a; a.moveTo(27, 28); a.lineTo(22, 20); a.lineTo(32, 20); a.closeSubpath(); p.drawPath(a);
        p.drawRect(QRectF(25.5, 5, 3, 16));
    }},
    {"filter", [](QPainter& p) {
        QPainterPath f; f.moveTo(3, 4); f.lineTo(29, 4); f.lineTo(19, 16); f.lineTo(19, 28);
        f.lineTo(13, 24); f.lineTo(13, 16); f.closeSubpath();
        p.setPen(QPen(Ink, 1.5)); p.setBrush(Orange); p.drawPath(f);
    }},
    {"delete", [](QPainter& p) {
        p.setPen(QPen(Red, 5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(7, 7, 25, 25); p.drawLine(25, 7, 7, 25);
    }},
    {"rename", [](QPainter& p) {
        p.save(); p.translate(16, 16); p.rotate(45);
        p.setPen(QPen(Ink, 1.5)); p.setBrush(Yellow); p.drawRect(QRectF(-4, -14, 8, 20));
        QPainterPath tip; tip.moveTo(-4, 6); tip.lineTo(4, 6); tip.lineTo(0, 13); tip.closeSubpath();
        p.setBrush(Paper); p.drawPath(tip);
        p.restore();
    }},
    {"favorites", [](QPainter& p) { Star(p, Yellow); }},
    {"folder-open", [](QPainter& p) { Folder(p, Yellow.lighter(115)); }},
    {"history", [](QPainter& p) {
        p.setPen(QPen(Ink, 2)); p.setBrush(Paper); p.drawEllipse(QPointF(16, 16), 13, 13);
        p.setPen(QPen(Ink, 2.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(16, 16, 16, 7); p.drawLine(16, 16, 23, 19);
    }},
    {"folders", [](QPainter& p) { Folder(p, Yellow); }},
    {"categories", [](QPainter& p) {
        QPainterPath t; t.moveTo(3, 14); t.lineTo(14, 3); t.lineTo(29, 3); t.lineTo(29, 18);
        t.lineTo(18, 29); t.closeSubpath();
        p.setPen(QPen(Ink, 1.5)); p.setBrush(LightBlue); p.drawPath(t);
        p.setBrush(Paper); p.drawEllipse(QPointF(23, 9), 2.5, 2.5);
    }},
    {"movie", [](QPainter& p) {
        // A film frame with a play mark: the program's own movie icon.
        p.setPen(QPen(Ink, 1.5)); p.setBrush(QColor(60, 60, 70)); p.drawRoundedRect(QRectF(2, 4, 28, 24), 2, 2);
        p.setPen(Qt::NoPen); p.setBrush(Paper);
        for (int i = 0; i < 5; ++i) {
            p.drawRect(QRectF(4 + i * 5.5, 6, 3, 3));
            p.drawRect(QRectF(4 + i * 5.5, 23, 3, 3));
        }
        p.setBrush(Red); p.drawRect(QRectF(4, 11, 24, 10));
        QPainterPath play; play.moveTo(13, 12); play.lineTo(21, 16); play.lineTo(13, 20); play.closeSubpath();
        p.setBrush(Qt::white); p.drawPath(play);
    }},
};

void Save(const Draw& draw, int size, const QString& file)
{
    QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);
    draw(p);
    p.end();
    img.save(file);
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    const QString dir = argc > 1 ? argv[1] : "icons";
    QDir().mkpath(dir);
    for (const auto& [name, draw] : Icons) {
        if (name == "movie") {
            Save(draw, 32, dir + "/movie.png");
            Save(draw, 16, dir + "/movie-16.png");
            continue;
        }
        Save(draw, 32, dir + "/" + name + "-32.png");
        Save(draw, 18, dir + "/" + name + "-18.png");
    }
    return 0;
}
