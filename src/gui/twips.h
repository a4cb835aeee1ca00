#pragma once

#include <QRect>
#include <QtGlobal>

class Control;
class QScreen;

// Converts the models' twips (1440 per inch) to pixels at a screen's logical
// resolution.
class TwipsScale {
 public:
  explicit TwipsScale(qreal dotsPerInch = 96) : m_dpi(dotsPerInch) {}
  static TwipsScale forScreen(const QScreen* screen);

  int toPixels(int twips) const { return qRound(twips * m_dpi / kTwipsPerInch); }
  // The control's rectangle in its parent, edges rounded separately so that
  // neighbours neither overlap nor leave gaps.
  QRect toPixels(const Control& c) const;

 private:
  static constexpr qreal kTwipsPerInch = 1440;
  qreal m_dpi;
};
