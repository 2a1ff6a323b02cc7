#include "engine/render/Paint.h"

#include <QLinearGradient>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>

namespace swf {

QTransform ToQt(const Matrix& m) { return QTransform(m.a, m.b, m.c, m.d, m.tx, m.ty); }

QColor ToQColor(Rgba c) { return QColor(c.r, c.g, c.b, c.a); }

namespace {

double ToLinear(double v) { return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); }
double ToSrgb(double v) { return v <= 0.0031308 ? v * 12.92 : 1.055 * std::pow(v, 1 / 2.4) - 0.055; }

QColor MixLinear(const QColor& a, const QColor& b, double t)
{
    auto ch = [&](double x, double y) {
        return std::clamp(ToSrgb(ToLinear(x) * (1 - t) + ToLinear(y) * t), 0.0, 1.0);
    };
    QColor c;
    c.setRgbF(ch(a.redF(), b.redF()), ch(a.greenF(), b.greenF()), ch(a.blueF(), b.blueF()),
              a.alphaF() * (1 - t) + b.alphaF() * t);
    return c;
}

} // namespace

QBrush GradientBrush(const FillStyle& fill, const ColorTransform& cx)
{
    const Gradient& gr = fill.gradient;
    QGradientStops stops;
    // Ratios should rise; where a writer breaks that, a later record cannot go below an earlier one.
    int last = 0;
    for (const GradientRecord& rec : gr.records) {
        int ratio = std::max<int>(rec.ratio, last);
        last = ratio;
        stops.append({ratio / 255.0, ToQColor(cx.Apply(rec.color))});
    }
    if (stops.isEmpty())
        return QBrush(Qt::NoBrush);
    if (gr.interpolation == Gradient::Interpolation::Linear && stops.size() > 1) {
        QGradientStops fine;
        constexpr int Steps = 8; // linear-light mixing approximated by extra stops
        for (int i = 0; i + 1 < stops.size(); ++i) {
            const auto& a = stops[i];
            const auto& b = stops[i + 1];
            fine.append(a);
            if (b.first > a.first)
                for (int k = 1; k < Steps; ++k) {
                    double t = double(k) / Steps;
                    fine.append({a.first + (b.first - a.first) * t, MixLinear(a.second, b.second, t)});
                }
        }
        fine.append(stops.back());
        stops = fine;
    }
    QGradient::Spread spread = gr.spread == Gradient::Spread::Reflect  ? QGradient::ReflectSpread
                               : gr.spread == Gradient::Spread::Repeat ? QGradient::RepeatSpread
                                                                       : QGradient::PadSpread;
    QBrush brush;
    if (fill.type == FillStyle::LinearGradient) {
        QLinearGradient g(-16384, 0, 16384, 0);
        g.setStops(stops);
        g.setSpread(spread);
        brush = QBrush(g);
    } else {
        double focal = fill.type == FillStyle::FocalGradient ? std::clamp(gr.focalPoint, -0.98, 0.98) : 0.0;
        QRadialGradient g(QPointF(0, 0), 16384, QPointF(focal * 16384, 0));
        g.setStops(stops);
        g.setSpread(spread);
        brush = QBrush(g);
    }
    brush.setTransform(ToQt(fill.matrix));
    return brush;
}

} // namespace swf
