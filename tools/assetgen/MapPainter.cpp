#include "tools/assetgen/MapPainter.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <vector>

#include "keepmap/KeepPos.h"
#include "tools/assetgen/Noise.h"

namespace assetgen {
namespace {

constexpr int kWidth = 448;
constexpr int kHeight = 560;

// Centres the realms grow from: Albion west, Midgard north, Hibernia south-east.
const QPointF kRealmSeeds[3] = {{130, 260}, {300, 150}, {270, 430}};
const QColor kRealmTints[3] = {QColor(236, 84, 64), QColor(70, 120, 240), QColor(70, 176, 70)};

int realmAt(const Noise& noise, double x, double y) {
    // Wobbly borders: distances are bent by noise.
    const double bend = (noise.fractal(x / 60.0, y / 60.0, 3) - 0.5) * 70;
    int best = 0;
    double bestDistance = 1e9;
    for (int r = 0; r < 3; ++r) {
        const double d = std::hypot(x - kRealmSeeds[r].x(), y - kRealmSeeds[r].y()) + (r == 1 ? bend : -bend * 0.5);
        if (d < bestDistance) {
            bestDistance = d;
            best = r;
        }
    }
    return best;
}

double distanceToStructures(double x, double y) {
    double best = 1e9;
    for (const QPoint pos : keepmap::kKeepPos) best = std::min(best, std::hypot(x - pos.x(), y - pos.y()));
    return best;
}

bool inPanel(double x, double y) {
    return x < 112 && y < 224;
}

// Where the realm names are written; kept clear of trees and hills.
struct RealmLabel {
    const char* name;
    QPointF centre;
    int realm;
};
const RealmLabel kRealmLabels[] = {{"ALBION", {72, 300}, 0}, {"MIDGARD", {384, 30}, 1}, {"HIBERNIA", {378, 540}, 2}};

bool isUnderLabel(double x, double y) {
    for (const RealmLabel& label : kRealmLabels) {
        if (std::abs(x - label.centre.x()) < 66 && std::abs(y - label.centre.y()) < 14) return true;
    }
    return false;
}

QPainterPath smooth(const std::vector<QPointF>& points) {
    // Catmull-Rom through the points, as cubic Beziers.
    QPainterPath path(points.front());
    for (size_t i = 0; i + 1 < points.size(); ++i) {
        const QPointF p0 = points[i == 0 ? 0 : i - 1], p1 = points[i], p2 = points[i + 1];
        const QPointF p3 = points[std::min(points.size() - 1, i + 2)];
        path.cubicTo(p1 + (p2 - p0) / 6.0, p2 - (p3 - p1) / 6.0, p2);
    }
    return path;
}

// Sampled at every pixel's centre in map coordinates, so a map drawn at scale 2 has the finer grain.
void paintTerrain(QImage& map, const Noise& noise, int s) {
    const Noise detail(91);
    for (int py = 0; py < map.height(); ++py) {
        for (int px = 0; px < map.width(); ++px) {
            const double x = (px + 0.5) / s - 0.5, y = (py + 0.5) / s - 0.5;
            const double height = noise.fractal(x / 90.0, y / 90.0, 5);
            const double grain = detail.fractal(x / 3.0, y / 3.0, 2);
            // Lowland meadow to upland heath.
            const double h = std::clamp((height - 0.35) / 0.4, 0.0, 1.0);
            double r = 206 - 40 * h, g = 200 - 48 * h, b = 150 - 42 * h;
            const QColor tint = kRealmTints[realmAt(noise, x, y)];
            const double mix = 0.15;
            r = r * (1 - mix) + tint.red() * mix;
            g = g * (1 - mix) + tint.green() * mix;
            b = b * (1 - mix) + tint.blue() * mix;
            const double shade = 0.92 + 0.08 * grain;
            // Darker towards the edges, like an old sheet.
            const double ex = std::min(x, kWidth - 1 - x) / 40.0, ey = std::min(y, kHeight - 1 - y) / 40.0;
            const double vignette = 0.80 + 0.20 * std::min(1.0, std::min(ex, ey));
            map.setPixelColor(
                px, py,
                QColor(std::clamp(int(r * shade * vignette), 0, 255), std::clamp(int(g * shade * vignette), 0, 255),
                       std::clamp(int(b * shade * vignette), 0, 255)));
        }
    }
}

void paintRealmBorders(QPainter& p, const Noise& noise) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(90, 60, 40, 90));
    for (int y = 1; y < kHeight - 1; y += 3) {
        for (int x = 1; x < kWidth - 1; x += 3) {
            const int here = realmAt(noise, x, y);
            if (here != realmAt(noise, x + 3, y) || here != realmAt(noise, x, y + 3))
                p.drawEllipse(QPointF(x, y), 0.9, 0.9);
        }
    }
}

void paintForestsAndHills(QPainter& p, const Noise& noise) {
    const Noise forest(57);
    for (int y = 8; y < kHeight - 8; y += 7) {
        for (int x = 8; x < kWidth - 8; x += 7) {
            const double jx = x + (forest.at(x * 0.7, y * 0.3) - 0.5) * 5,
                         jy = y + (forest.at(x * 0.3, y * 0.7) - 0.5) * 5;
            if (inPanel(jx, jy) || isUnderLabel(jx, jy) || distanceToStructures(jx, jy) < 13) continue;
            const double height = noise.fractal(jx / 90.0, jy / 90.0, 5);
            if (height > 0.66 && (x + y) % 14 == 0) {  // hills: small shaded humps
                QPainterPath hump;
                hump.moveTo(jx - 5, jy + 2);
                hump.quadTo(jx, jy - 5, jx + 5, jy + 2);
                p.setBrush(Qt::NoBrush);
                p.setPen(QPen(QColor(96, 74, 52, 170), 1.1));
                p.drawPath(hump);
                p.setPen(QPen(QColor(96, 74, 52, 90), 0.8));
                p.drawLine(QPointF(jx + 1, jy - 1.5), QPointF(jx + 3.5, jy + 1.5));
            } else if (forest.fractal(jx / 45.0, jy / 45.0, 3) > 0.58) {  // woods: little round trees
                p.setPen(QPen(QColor(38, 70, 36, 200), 0.8));
                p.setBrush(QColor(72, 118, 60, 190));
                p.drawEllipse(QPointF(jx, jy - 1), 2.6, 2.6);
                p.drawLine(QPointF(jx, jy + 1.5), QPointF(jx, jy + 3.5));
            }
        }
    }
}

void paintRivers(QPainter& p) {
    const std::vector<std::vector<QPointF>> rivers = {
        {{212, -4}, {206, 60}, {212, 110}, {220, 160}, {226, 215}, {232, 262}, {238, 288}},
        {{452, 334}, {410, 330}, {372, 326}, {340, 312}, {300, 302}, {265, 296}, {238, 288}},
        {{238, 288}, {228, 330}, {222, 362}, {180, 388}, {168, 440}, {120, 474}, {80, 500}, {40, 540}, {20, 564}},
    };
    for (const auto& river : rivers) {
        const QPainterPath path = smooth(river);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(52, 86, 140), 4.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPath(path);
        p.setPen(QPen(QColor(110, 156, 204), 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPath(path);
    }
    // A lake in the north-west.
    p.setPen(QPen(QColor(52, 86, 140), 1.4));
    p.setBrush(QColor(110, 156, 204));
    QPainterPath lake;
    lake.addEllipse(QPointF(196, 40), 16, 9);
    p.drawPath(lake);
}

void paintRoads(QPainter& p) {
    const QPen road(QColor(118, 84, 50, 210), 1.8, Qt::SolidLine, Qt::RoundCap);
    const QPen track(QColor(118, 84, 50, 150), 1.0, Qt::DashLine, Qt::RoundCap);
    auto at = [](int id) { return QPointF(keepmap::kKeepPos[id]); };
    // Every keep to its two nearest keeps.
    std::vector<std::pair<int, int>> links;
    for (int g = 0; g < 21; ++g) {
        std::vector<std::pair<double, int>> others;
        for (int h = 0; h < 21; ++h) {
            if (h != g) others.push_back({QLineF(at(5 * g), at(5 * h)).length(), h});
        }
        std::sort(others.begin(), others.end());
        for (int k = 0; k < 2; ++k) links.push_back({std::min(g, others[k].second), std::max(g, others[k].second)});
    }
    std::sort(links.begin(), links.end());
    links.erase(std::unique(links.begin(), links.end()), links.end());
    const Noise bend(33);
    for (auto [a, b] : links) {
        const QPointF from = at(5 * a), to = at(5 * b);
        const QPointF mid = (from + to) / 2;
        const QPointF normal(-(to - from).y(), (to - from).x());
        const double wobble = (bend.at(a * 3.1, b * 1.7) - 0.5) * 0.25;
        QPainterPath path(from);
        path.quadTo(mid + normal * wobble, to);
        p.setPen(road);
        p.setBrush(Qt::NoBrush);
        p.drawPath(path);
    }
    // Tracks from each keep out to its towers.
    p.setPen(track);
    for (int id = 0; id < keepmap::kStructures; ++id) {
        if (!feed::isKeep(id)) p.drawLine(at(id - id % 5), at(id));
    }
}

void paintLabels(QPainter& p) {
    QFont font(QStringLiteral("DejaVu Serif"));
    font.setPixelSize(13);
    font.setBold(true);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 3);
    p.setFont(font);
    for (const RealmLabel& label : kRealmLabels) {
        QColor c = kRealmTints[label.realm].darker(170);
        c.setAlpha(150);
        p.setPen(c);
        const QRectF box(label.centre.x() - 60, label.centre.y() - 10, 120, 20);
        p.drawText(box, Qt::AlignCenter, QString::fromLatin1(label.name));
    }
}

void paintCompass(QPainter& p, QPointF c) {
    p.setPen(QPen(QColor(80, 56, 34, 200), 1));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, 15, 15);
    for (int i = 0; i < 4; ++i) {
        const double a = i * M_PI / 2;
        const QPointF tip = c + QPointF(std::sin(a), -std::cos(a)) * 20;
        const QPointF left = c + QPointF(std::sin(a - 0.6), -std::cos(a - 0.6)) * 4;
        const QPointF right = c + QPointF(std::sin(a + 0.6), -std::cos(a + 0.6)) * 4;
        p.setBrush(i == 0 ? QColor(150, 40, 30) : QColor(90, 64, 40));
        p.drawPolygon(QPolygonF({tip, left, c, right}));
    }
    QFont font(QStringLiteral("DejaVu Serif"));
    font.setPixelSize(9);
    font.setBold(true);
    p.setFont(font);
    p.setPen(QColor(80, 56, 34));
    p.drawText(QRectF(c.x() - 6, c.y() - 33, 12, 11), Qt::AlignCenter, QStringLiteral("N"));
}

void paintPanel(QPainter& p) {
    // Where the server list, date and hover text sit: a calm parchment card.
    const QRectF card(3, 3, 104, 218);
    p.setPen(QPen(QColor(110, 80, 48, 200), 1.2));
    p.setBrush(QColor(238, 226, 192, 215));
    p.drawRoundedRect(card, 5, 5);
    p.setPen(QPen(QColor(150, 116, 70, 160), 0.8));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(card.adjusted(2.5, 2.5, -2.5, -2.5), 3.5, 3.5);
    p.drawLine(QPointF(12, 156), QPointF(98, 156));
}

}  // namespace

QImage frontierMap(int scale) {
    QImage map(kWidth * scale, kHeight * scale, QImage::Format_RGB32);
    const Noise noise(2026);
    paintTerrain(map, noise, scale);
    QPainter p(&map);
    p.scale(scale, scale);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    paintRealmBorders(p, noise);
    paintForestsAndHills(p, noise);
    paintRivers(p);
    paintRoads(p);
    paintLabels(p);
    paintCompass(p, QPointF(36, 516));
    paintPanel(p);
    return map;
}

}  // namespace assetgen
