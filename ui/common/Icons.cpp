// The program's pictures, drawn in code.

#include "ui/common/Icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace icons {
namespace {

const QColor kInk(0x33, 0x3d, 0x4d);
const QColor kPerson(0x3b, 0x6e, 0xb5);
const QColor kGreen(0x1e, 0x8c, 0x3a);
const QColor kRed(0xc6, 0x28, 0x28);

// Every picture is drawn on a 16 x 16 grid and scaled to the requested size.
using Painter = void (*)(QPainter&);

void person(QPainter& p, QPointF at, const QColor& colour) {
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawEllipse(QPointF(at.x(), at.y() - 3.2), 2.6, 2.6);
    QPainterPath body;
    body.moveTo(at.x() - 5, at.y() + 6);
    body.cubicTo(at.x() - 5, at.y() - 0.5, at.x() + 5, at.y() - 0.5, at.x() + 5, at.y() + 6);
    body.closeSubpath();
    p.drawPath(body);
}

void badge(QPainter& p, const QColor& colour, bool plus) {
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawEllipse(QPointF(12, 11.5), 4, 4);
    p.setPen(QPen(Qt::white, 1.6));
    p.drawLine(QPointF(9.8, 11.5), QPointF(14.2, 11.5));
    if (plus)
        p.drawLine(QPointF(12, 9.3), QPointF(12, 13.7));
}

void newAthlete(QPainter& p) {
    person(p, {6.5, 8}, kPerson);
    badge(p, kGreen, true);
}

void search(QPainter& p) {
    p.setPen(QPen(kInk, 1.8));
    p.setBrush(QColor(0xd8, 0xe8, 0xfb));
    p.drawEllipse(QPointF(6.5, 6.5), 4.5, 4.5);
    p.setPen(QPen(kInk, 2.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(10, 10), QPointF(14.5, 14.5));
}

void deleteAthlete(QPainter& p) {
    person(p, {6.5, 8}, kPerson);
    badge(p, kRed, false);
}

void changeAthlete(QPainter& p) {
    person(p, {6, 8}, kPerson);
    p.save();
    p.translate(11.5, 10);
    p.rotate(45);
    p.setPen(QPen(kInk, 0.8));
    p.setBrush(QColor(0xf2, 0xb1, 0x34));
    p.drawRect(QRectF(-1.4, -6, 2.8, 9));
    p.setBrush(kInk);
    QPainterPath tip;
    tip.moveTo(-1.4, 3);
    tip.lineTo(1.4, 3);
    tip.lineTo(0, 5.5);
    tip.closeSubpath();
    p.drawPath(tip);
    p.restore();
}

void showAll(QPainter& p) {
    person(p, {5, 8}, kPerson.lighter(130));
    person(p, {11, 8.5}, kPerson);
}

void exitProgram(QPainter& p) {
    p.setPen(QPen(kInk, 1.2));
    p.setBrush(QColor(0xc9, 0x9a, 0x6a));
    p.drawRect(QRectF(2, 1.5, 7.5, 13));
    p.setPen(QPen(kRed, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(QPointF(7, 8), QPointF(14.5, 8));
    p.drawLine(QPointF(11.5, 5), QPointF(14.5, 8));
    p.drawLine(QPointF(11.5, 11), QPointF(14.5, 8));
}

void startMeasurement(QPainter& p) {
    p.setPen(QPen(kInk, 1.4));
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(8, 9), 6, 6);
    p.setBrush(kInk);
    p.drawRect(QRectF(6.5, 0.8, 3, 1.6));
    p.setPen(QPen(kGreen, 1.8, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(8, 9), QPointF(8, 5));
    p.drawLine(QPointF(8, 9), QPointF(10.8, 10.6));
}

void settings(QPainter& p) {
    p.setPen(QPen(kInk, 1.4, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 3; ++i) {
        const double y = 3.5 + i * 4.5;
        p.drawLine(QPointF(2, y), QPointF(14, y));
    }
    p.setPen(QPen(kInk, 1));
    p.setBrush(QColor(0x3b, 0x6e, 0xb5));
    p.drawRect(QRectF(9, 2, 3, 3));
    p.drawRect(QRectF(4, 6.5, 3, 3));
    p.drawRect(QRectF(10, 11, 3, 3));
}

void triggerEdge(QPainter& p) {
    p.setPen(QPen(kInk, 1.6, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    QPainterPath wave;
    wave.moveTo(1, 13);
    wave.lineTo(6, 13);
    wave.lineTo(6, 3);
    wave.lineTo(11, 3);
    wave.lineTo(11, 13);
    wave.lineTo(15, 13);
    p.drawPath(wave);
    p.setPen(QPen(kGreen, 1.6));
    p.drawLine(QPointF(6, 9), QPointF(4, 11));
    p.drawLine(QPointF(6, 9), QPointF(8, 11));
}

void exportFile(QPainter& p) {
    p.setPen(QPen(kInk, 1));
    p.setBrush(Qt::white);
    QPainterPath page;
    page.moveTo(2.5, 1.5);
    page.lineTo(9, 1.5);
    page.lineTo(12, 4.5);
    page.lineTo(12, 14.5);
    page.lineTo(2.5, 14.5);
    page.closeSubpath();
    p.drawPath(page);
    p.setPen(QPen(kInk.lighter(160), 1));
    for (int i = 0; i < 3; ++i)
        p.drawLine(QPointF(4.5, 6.5 + i * 2.5), QPointF(9.5, 6.5 + i * 2.5));
    p.setPen(QPen(kGreen, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(QPointF(9, 12), QPointF(15, 12));
    p.drawLine(QPointF(12.5, 9.5), QPointF(15, 12));
    p.drawLine(QPointF(12.5, 14.5), QPointF(15, 12));
}

// A clipboard with the start list: three athletes, the first ticked off.
void testDay(QPainter& p) {
    p.setPen(QPen(kInk, 1));
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(2.5, 2, 11, 13), 1, 1);
    p.setBrush(kInk);
    p.drawRect(QRectF(5.5, 0.8, 5, 2.4));
    p.setPen(Qt::NoPen);
    p.setBrush(kPerson);
    for (int i = 0; i < 3; ++i)
        p.drawEllipse(QPointF(5.2, 6 + i * 3.2), 1.1, 1.1);
    p.setPen(QPen(kInk.lighter(160), 1));
    for (int i = 0; i < 3; ++i)
        p.drawLine(QPointF(7.2, 6 + i * 3.2), QPointF(11.5, 6 + i * 3.2));
    p.setPen(QPen(kGreen, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(QPointF(9.5, 5.8), QPointF(10.6, 7));
    p.drawLine(QPointF(10.6, 7), QPointF(13.5, 3.5));
}

Painter painterOf(Picture picture) {
    switch (picture) {
    case Picture::NewAthlete:
        return newAthlete;
    case Picture::Search:
        return search;
    case Picture::DeleteAthlete:
        return deleteAthlete;
    case Picture::ChangeAthlete:
        return changeAthlete;
    case Picture::ShowAll:
        return showAll;
    case Picture::Exit:
        return exitProgram;
    case Picture::StartMeasurement:
        return startMeasurement;
    case Picture::Settings:
        return settings;
    case Picture::TriggerEdge:
        return triggerEdge;
    case Picture::Export:
        return exportFile;
    case Picture::TestDay:
        return testDay;
    }
    return nullptr;
}

QPixmap render(Painter painter, int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 16.0, size / 16.0);
    painter(p);
    return pixmap;
}

} // namespace

QIcon image(Picture picture) {
    const Painter painter = painterOf(picture);
    if (!painter)
        return {};
    QIcon icon;
    for (int size : {16, 24, 32, 48})
        icon.addPixmap(render(painter, size));
    return icon;
}

} // namespace icons
