#pragma once
#include <QString>

class QPainter;
class QPoint;

// The program's artwork on its splash and About windows: its picture, its name and a line under it.
class Nameplate
{
public:
    // Drawn from `topLeft`, the name `titlePixels` high, `width` pixels wide in all.
    static void draw(QPainter &p, const QPoint &topLeft, int titlePixels, int width, const QString &subtitle);
};
