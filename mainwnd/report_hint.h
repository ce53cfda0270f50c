#pragma once
// The tips painted into the empty file list, a different one every six seconds.
#include <QFont>
#include <QString>
#include <cstdint>

class QPainter;
class QRect;

inline constexpr int kHintCount = 10;
inline constexpr std::uint32_t kHintPeriodMs = 6000;

QString HintText(int index);
// Which tip shows at this tick count.
inline int HintIndex(std::uint32_t tick) { return static_cast<int>((tick / kHintPeriodMs) % kHintCount); }
QFont HintFont();
// Draws the text centred across area, one line above its middle, wrapped at words.
void PaintHint(QPainter& painter, const QRect& area, const QString& text);
