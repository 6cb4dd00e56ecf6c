#pragma once

#include <QPainter>
#include <QPen>
#include <QRectF>

// The maker's mark: a white K on a blue rounded square, drawn into r (square).
void drawKestMark(QPainter &p, const QRectF &r);

// A PWM pulse train whose duty follows one sine period, with that sine drawn over it.
void drawPwmWave(QPainter &p, const QRectF &r, int periods, const QPen &pulsePen,
                 const QPen &sinePen);

void drawBrandPictures();      // window icon, wordmark, logo, splash screen, START, arrows, warning
void drawFeatureButtons();     // the eleven home-page button faces
void drawLoopDiagrams();       // PWM control circuit types V1SI, V2SI, I1SI, I2SI
void drawThreePhasePictures(); // motor windings and the two edit buttons
