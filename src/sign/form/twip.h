// The sign form is laid out as the poster's preview, in twips (1/1440 inch):
// 15 twips to a pixel at 96 dpi. Qt's device-independent pixels keep the
// layout right at any screen scale.
#pragma once

#include <QRect>

namespace twip {

constexpr int px(int twip) { return (twip + 7) / 15; }

inline QRect rettangolo(int x, int y, int larghezza, int altezza) {
    return QRect(px(x), px(y), px(larghezza), px(altezza));
}

}  // namespace twip
