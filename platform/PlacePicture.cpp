#include "platform/PlacePicture.h"

#include "platform/Picture.h"
#include "platform/Units.h"

namespace platform {

void PlacePicture(QPainter& painter, const Picture& picture, QPoint at, Mirror mirror) {
    const int x = at.x(), y = at.y();
    using platform::RoundEven;
    const int wh = picture.HiMetricWidth();
    const int hh = picture.HiMetricHeight();
    const double w = picture.Width();
    const double h = picture.Height();
    // The mirrored modes start their source 15 HiMetric units in, each way: the skin was drawn and
    // checked with that offset, which is less than a pixel's 26.
    constexpr double tx = 15;
    constexpr double ty = 15;
    switch (mirror) {
        case Mirror::None:
            picture.Render(painter, x, y, RoundEven(w), RoundEven(h), 0, hh, wh, -hh);
            break;
        case Mirror::LeftRight:
            picture.Render(painter, x, RoundEven(y + h - 1), RoundEven(w), RoundEven(-h), RoundEven(wh - tx),
                           RoundEven(ty), -wh, hh);
            break;
        case Mirror::TopBottom:
            picture.Render(painter, RoundEven(x + w - 1), y, RoundEven(-w), RoundEven(h), RoundEven(wh - tx),
                           RoundEven(ty), -wh, hh);
            break;
        case Mirror::Both:
            picture.Render(painter, x, y, RoundEven(w + 1), RoundEven(h + 1), wh, 0, -wh, hh);
            break;
    }
}

}  // namespace platform
