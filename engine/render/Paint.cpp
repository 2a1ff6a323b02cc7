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
    const auto& recs = gr.records;
    if (recs.empty())
        return QBrush(Qt::NoBrush);
    const bool linearRgb = gr.interpolation == Gradient::Interpolation::Linear;
    const bool rising = std::is_sorted(recs.begin(), recs.end(),
                                       [](const GradientRecord& a, const GradientRecord& b) { return a.ratio < b.ratio; });
    if (rising && !linearRgb) {
        for (const GradientRecord& rec : recs)
            stops.append({rec.ratio / 255.0, ToQColor(cx.Apply(rec.color))});
    } else {
        // One stop per ratio. Where ratios fall back, the first segment that holds a ratio gives
        // its colour; past the last segment the last record's colour holds.
        for (int t = 0; t < 256; ++t) {
            QColor c = ToQColor(cx.Apply(t < recs.front().ratio ? recs.front().color : recs.back().color));
            for (size_t i = 0; i + 1 < recs.size(); ++i) {
                const int r0 = recs[i].ratio, r1 = recs[i + 1].ratio;
                if (r0 <= t && t <= r1 && r0 < r1) {
                    const double f = double(t - r0) / (r1 - r0);
                    const QColor a = ToQColor(cx.Apply(recs[i].color)), b = ToQColor(cx.Apply(recs[i + 1].color));
                    if (linearRgb) {
                        c = MixLinear(a, b, f);
                    } else {
                        c.setRgbF(a.redF() + (b.redF() - a.redF()) * f, a.greenF() + (b.greenF() - a.greenF()) * f,
                                  a.blueF() + (b.blueF() - a.blueF()) * f, a.alphaF() + (b.alphaF() - a.alphaF()) * f);
                    }
                    break;
                }
                if (t < r0)
                    break;
            }
            stops.append({t / 255.0, c});
        }
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
