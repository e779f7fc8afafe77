// SPDX-License-Identifier: GPL-2.0-or-later
#include "artwork.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <functional>

namespace artwork {

namespace {

constexpr int CircleFrame = 44;
constexpr int SquareFrame = 16;
constexpr int FrameCount = 4;

const QColor White(255, 255, 255);
const QColor TransparentRed(255, 0, 0);
const QColor Fuchsia(255, 0, 255); // transparent colour of the close strip

// Paints onto a 32-bit canvas with antialiasing; the result is converted to
// the stored format afterwards.
QImage canvas(int width, int height, const QColor& background)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(background);
    return image;
}

void drawBattery(QPainter& p, const QRectF& body)
{
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(White, 2.0, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.drawRoundedRect(body, 1.5, 1.5);
    const qreal nubHeight = body.height() * 0.45;
    p.setPen(Qt::NoPen);
    p.setBrush(White);
    p.drawRect(QRectF(body.right() + 1.0, body.center().y() - nubHeight / 2, 2.5, nubHeight));

    // The spark: a small lightning bolt inside the outline.
    const QPointF c = body.center();
    QPainterPath bolt;
    bolt.moveTo(c + QPointF(1.5, -4.5));
    bolt.lineTo(c + QPointF(-3.0, 0.8));
    bolt.lineTo(c + QPointF(-0.2, 0.8));
    bolt.lineTo(c + QPointF(-1.5, 4.5));
    bolt.lineTo(c + QPointF(3.0, -0.8));
    bolt.lineTo(c + QPointF(0.2, -0.8));
    bolt.closeSubpath();
    p.setBrush(QColor(154, 205, 50));
    p.drawPath(bolt);
}

// One 44 x 44 frame of a circular button; `mark` draws the symbol.
struct CircleLook
{
    QColor faceInner;
    QColor faceOuter;
    QColor ring;
    qreal ringWidth;
    QColor markColour;
    bool glow; // the pressed look: a glowing white disc, no mark
};

void drawCircleFrame(QPainter& p, const QPointF& origin, const CircleLook& look,
                     const std::function<void(QPainter&, const QPointF&, const QColor&)>& mark)
{
    const QPointF centre = origin + QPointF(22.0, 21.5);
    const qreal radius = 17.0;
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    if (look.glow) {
        QRadialGradient halo(centre, radius + 3.0);
        halo.setColorAt(0.0, White);
        halo.setColorAt(0.55, QColor(240, 240, 240));
        halo.setColorAt(0.85, QColor(150, 150, 150));
        halo.setColorAt(1.0, QColor(0, 0, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(halo);
        p.drawEllipse(centre, radius + 3.0, radius + 3.0);
        p.restore();
        return;
    }
    QRadialGradient face(centre - QPointF(4.0, 5.0), radius * 1.3);
    face.setColorAt(0.0, look.faceInner);
    face.setColorAt(1.0, look.faceOuter);
    p.setBrush(face);
    p.setPen(QPen(look.ring, look.ringWidth));
    p.drawEllipse(centre, radius, radius);
    mark(p, centre, look.markColour);
    p.restore();
}

void drawXMark(QPainter& p, const QPointF& c, const QColor& colour)
{
    p.setPen(QPen(colour, 3.0, Qt::SolidLine, Qt::RoundCap));
    const qreal d = 6.5;
    p.drawLine(c + QPointF(-d, -d), c + QPointF(d, d));
    p.drawLine(c + QPointF(-d, d), c + QPointF(d, -d));
}

void drawLaptopMark(QPainter& p, const QPointF& c, const QColor& colour)
{
    // Screen: an outlined rectangle; base: a flat trapezoid below it.
    p.setPen(QPen(colour, 1.8, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(c.x() - 7.0, c.y() - 8.0, 14.0, 10.0));
    QPainterPath base;
    base.moveTo(c + QPointF(-8.0, 4.5));
    base.lineTo(c + QPointF(8.0, 4.5));
    base.lineTo(c + QPointF(11.0, 8.0));
    base.lineTo(c + QPointF(-11.0, 8.0));
    base.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPath(base);
}

QImage circleStrip(const std::function<void(QPainter&, const QPointF&, const QColor&)>& mark)
{
    const CircleLook normal{
        QColor(78, 78, 84), QColor(16, 16, 18), QColor(140, 140, 140), 1.2, White, false};
    const CircleLook disabled{QColor(44, 44, 46),    QColor(10, 10, 10),
                              QColor(80, 80, 80),    1.2,
                              QColor(110, 110, 110), false};
    const CircleLook pressed{{}, {}, {}, 0.0, {}, true};
    const CircleLook latched{QColor(90, 90, 96), QColor(20, 20, 22), White, 2.4, White, false};
    const CircleLook looks[FrameCount] = {normal, disabled, pressed, latched};

    QImage image = canvas(CircleFrame * FrameCount, CircleFrame, Qt::black);
    {
        QPainter p(&image);
        for (int i = 0; i < FrameCount; ++i) {
            drawCircleFrame(p, QPointF(i * CircleFrame, 0), looks[i], mark);
        }
        // The bottom row carries the transparent colour.
        p.setRenderHint(QPainter::Antialiasing, false);
        p.fillRect(QRect(0, CircleFrame - 1, image.width(), 1), TransparentRed);
    }
    return image.convertToFormat(QImage::Format_RGB888);
}

// One 16 x 16 frame of the square close button, inside a one-pixel border of
// the transparent colour so that the button's own face shows around it.
void drawSquareFrame(QPainter& p, int x, bool sunken, const QColor& cross)
{
    const QRect face(x + 1, 1, SquareFrame - 2, SquareFrame - 2);
    p.fillRect(QRect(x, 0, SquareFrame, SquareFrame), Fuchsia);
    if (sunken) {
        p.fillRect(face, QColor(192, 192, 192));
        p.setPen(QColor(64, 64, 64));
        p.drawLine(face.topLeft(), face.topRight());
        p.drawLine(face.topLeft(), face.bottomLeft());
        p.setPen(White);
        p.drawLine(face.bottomLeft() + QPoint(1, 0), face.bottomRight());
        p.drawLine(face.topRight() + QPoint(0, 1), face.bottomRight());
    } else {
        p.fillRect(face, White);
        p.setPen(QColor(128, 128, 128));
        p.drawLine(face.bottomLeft(), face.bottomRight());
        p.drawLine(face.topRight(), face.bottomRight());
    }
    const int shift = sunken ? 1 : 0;
    p.setPen(QPen(cross, 2.0, Qt::SolidLine, Qt::FlatCap));
    const QPoint a(x + 4 + shift, 4 + shift);
    p.drawLine(a, a + QPoint(7, 7));
    p.drawLine(a + QPoint(0, 7), a + QPoint(7, 0));
}

} // namespace

QImage masthead()
{
    QImage image = canvas(520, 38, Qt::black);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing, true);
        // The disc fills columns 439 to 479 over the full height.
        const QRectF disc(439.0, 0.0, 41.0, 38.0);
        QRadialGradient red(disc.center() - QPointF(5.0, 6.0), 24.0);
        red.setColorAt(0.0, QColor(255, 60, 50));
        red.setColorAt(1.0, QColor(190, 0, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(red);
        p.drawEllipse(disc);
        drawBattery(p, QRectF(447.5, 12.5, 21.0, 13.0));
    }
    return image.convertToFormat(QImage::Format_RGB888);
}

QImage closeStrip()
{
    QImage image = canvas(SquareFrame * FrameCount, SquareFrame, Fuchsia);
    {
        QPainter p(&image);
        drawSquareFrame(p, 0 * SquareFrame, false, Qt::black);
        drawSquareFrame(p, 1 * SquareFrame, false, QColor(192, 192, 192));
        drawSquareFrame(p, 2 * SquareFrame, true, Qt::black);
        drawSquareFrame(p, 3 * SquareFrame, true, Qt::black);
    }
    return image.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither | Qt::AvoidDither);
}

QImage closeMarkStrip()
{
    return circleStrip(drawXMark);
}

QImage openPowerManagerStrip()
{
    return circleStrip(drawLaptopMark);
}

std::vector<std::pair<QString, QImage>> all()
{
    return {{QStringLiteral("masthead.png"), masthead()},
            {QStringLiteral("close.png"), closeStrip()},
            {QStringLiteral("closeb.png"), closeMarkStrip()},
            {QStringLiteral("openac.png"), openPowerManagerStrip()}};
}

} // namespace artwork
