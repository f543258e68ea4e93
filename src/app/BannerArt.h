#pragma once
// The banner's two pictures, drawn by the program itself.

#include <QPixmap>

QPixmap drawBall(QSize size);
QPixmap drawTrophy(QSize size);
