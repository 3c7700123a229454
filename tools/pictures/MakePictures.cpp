// SPDX-License-Identifier: GPL-3.0-or-later
// Draws the two pictures of the About window: a betting slip of the numbers 1 to 80 with twenty
// of them marked (about1.jpg, 153 x 169) and a heap of lottery balls (about3.jpg, 180 x 153).
// Everything is drawn from fixed data, so the output is the same on every run.
#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cstdio>

namespace {

constexpr int Marked[20] = {3, 8, 11, 17, 22, 26, 31, 35, 40, 44, 47, 52, 58, 61, 63, 69, 72, 75, 78, 80};

bool IsMarked(int n) {
    for (int m : Marked)
        if (m == n)
            return true;
    return false;
}

QString TwoDigits(int n) {
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

// A shaded ball: light falls from the upper left; a white disc in front carries the number.
void DrawBall(QPainter& p, QPointF centre, qreal r, QColor colour, int number) {
    QRadialGradient shade(centre, r, centre - QPointF(r * 0.45, r * 0.45));
    shade.setColorAt(0.0, colour.lighter(190));
    shade.setColorAt(0.55, colour);
    shade.setColorAt(1.0, colour.darker(260));
    p.setPen(Qt::NoPen);
    p.setBrush(shade);
    p.drawEllipse(centre, r, r);

    const qreal disc = r * 0.52;
    p.setBrush(QColor(250, 250, 245));
    p.drawEllipse(centre, disc, disc);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(true);
    font.setPixelSize(static_cast<int>(disc * 1.05));
    p.setFont(font);
    p.setPen(QColor(20, 20, 40));
    p.drawText(QRectF(centre.x() - disc, centre.y() - disc, 2 * disc, 2 * disc), Qt::AlignCenter, TwoDigits(number));
}

QImage Slip() {
    QImage image(153, 169, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    QLinearGradient sky(0, 0, 0, 169);
    sky.setColorAt(0, QColor(16, 32, 86));
    sky.setColorAt(1, QColor(8, 104, 110));
    p.fillRect(image.rect(), sky);

    const QRectF card(7, 7, 139, 155);
    p.setPen(QPen(QColor(0, 40, 40), 1));
    p.setBrush(QColor(252, 250, 236));
    p.drawRoundedRect(card, 6, 6);

    // Eight columns by ten rows: 1..80 reading across.
    const qreal cellW = (card.width() - 6) / 8.0;
    const qreal cellH = (card.height() - 6) / 10.0;
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(8);
    for (int n = 1; n <= 80; ++n) {
        const int col = (n - 1) % 8;
        const int row = (n - 1) / 8;
        const QRectF cell(card.left() + 3 + col * cellW, card.top() + 3 + row * cellH, cellW, cellH);
        if (IsMarked(n)) {
            const QColor colour = (n % 3 == 0)   ? QColor(200, 30, 30)
                                  : (n % 3 == 1) ? QColor(220, 150, 0)
                                                 : QColor(30, 90, 200);
            QRadialGradient shade(cell.center(), cellH / 2, cell.center() - QPointF(2, 2));
            shade.setColorAt(0, colour.lighter(170));
            shade.setColorAt(1, colour.darker(150));
            p.setPen(Qt::NoPen);
            p.setBrush(shade);
            p.drawEllipse(cell.center(), cellH / 2, cellH / 2);
            font.setBold(true);
            p.setPen(Qt::white);
        } else {
            font.setBold(false);
            p.setPen(QColor(60, 90, 110));
        }
        p.setFont(font);
        p.drawText(cell, Qt::AlignCenter, TwoDigits(n));
    }
    return image;
}

QImage Balls() {
    QImage image(180, 153, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    QRadialGradient glow(QPointF(90, 60), 130);
    glow.setColorAt(0, QColor(40, 120, 140));
    glow.setColorAt(1, QColor(8, 20, 60));
    p.fillRect(image.rect(), glow);

    // A trail of small balls rising across the top, then the heap in front.
    struct Ball {
        qreal x, y, r;
        QColor colour;
        int number;
    };
    const Ball trail[] = {
        {18, 30, 9, QColor(30, 90, 200), 5},     {40, 20, 10, QColor(200, 30, 30), 12},
        {64, 14, 10, QColor(220, 150, 0), 29},   {89, 12, 10, QColor(30, 140, 60), 41},
        {114, 16, 10, QColor(140, 40, 160), 56}, {138, 24, 9, QColor(30, 90, 200), 68},
        {158, 36, 8, QColor(200, 30, 30), 77},
    };
    const Ball heap[] = {
        {40, 118, 24, QColor(220, 150, 0), 7},   {92, 124, 24, QColor(200, 30, 30), 33},
        {144, 118, 24, QColor(30, 90, 200), 80}, {66, 80, 23, QColor(30, 140, 60), 18},
        {118, 80, 23, QColor(140, 40, 160), 64}, {92, 46, 21, QColor(200, 80, 20), 50},
    };
    for (const Ball& b : trail)
        DrawBall(p, {b.x, b.y}, b.r, b.colour, b.number);
    for (const Ball& b : heap)
        DrawBall(p, {b.x, b.y}, b.r, b.colour, b.number);
    return image;
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_pictures <output folder>\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!Slip().save(out.filePath(QStringLiteral("about1.jpg")), "JPEG", 85) ||
        !Balls().save(out.filePath(QStringLiteral("about3.jpg")), "JPEG", 85)) {
        std::fprintf(stderr, "make_pictures: cannot write the pictures\n");
        return 1;
    }
    return 0;
}
