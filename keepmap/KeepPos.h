#pragma once

#include <QPoint>
#include <array>

#include "feed/Frontier.h"

namespace keepmap {

using feed::kStructures;

// Centre of every keep and tower on the 448 x 560 frontier map, in map pixels, by id. Id 5g is the
// keep of group g, 5g+1 .. 5g+4 its towers.
using KeepPosTable = std::array<QPoint, kStructures>;

inline constexpr KeepPosTable kKeepPos = {{
    QPoint(387, 160), QPoint(405, 159), QPoint(363, 176), QPoint(359, 146), QPoint(378, 164),  // group 0
    QPoint(127, 191), QPoint(121, 200), QPoint(158, 202), QPoint(126, 165), QPoint(134, 187),  // group 1
    QPoint(245, 194), QPoint(247, 202), QPoint(209, 199), QPoint(264, 190), QPoint(235, 194),  // group 2
    QPoint(255, 241), QPoint(263, 247), QPoint(257, 274), QPoint(287, 238), QPoint(250, 236),  // group 3
    QPoint(312, 257), QPoint(303, 256), QPoint(317, 290), QPoint(282, 269), QPoint(321, 259),  // group 4
    QPoint(308, 369), QPoint(312, 377), QPoint(275, 342), QPoint(314, 341), QPoint(306, 358),  // group 5
    QPoint(250, 322), QPoint(255, 312), QPoint(268, 293), QPoint(279, 314), QPoint(245, 330),  // group 6
    QPoint(297, 496), QPoint(288, 493), QPoint(263, 482), QPoint(294, 458), QPoint(306, 497),  // group 7
    QPoint(344, 422), QPoint(338, 432), QPoint(317, 425), QPoint(363, 391), QPoint(343, 411),  // group 8
    QPoint(266, 409), QPoint(257, 407), QPoint(236, 414), QPoint(281, 381), QPoint(266, 424),  // group 9
    QPoint(86, 423),  QPoint(89, 436),  QPoint(113, 434), QPoint(56, 415),  QPoint(74, 423),   // group 10
    QPoint(196, 312), QPoint(191, 321), QPoint(186, 349), QPoint(168, 315), QPoint(203, 304),  // group 11
    QPoint(192, 240), QPoint(198, 237), QPoint(187, 274), QPoint(164, 239), QPoint(186, 247),  // group 12
    QPoint(143, 252), QPoint(150, 258), QPoint(169, 254), QPoint(120, 251), QPoint(135, 249),  // group 13
    QPoint(201, 402), QPoint(206, 396), QPoint(193, 427), QPoint(204, 370), QPoint(191, 403),  // group 14
    QPoint(139, 370), QPoint(141, 360), QPoint(158, 381), QPoint(129, 325), QPoint(140, 383),  // group 15
    QPoint(149, 522), QPoint(146, 513), QPoint(151, 492), QPoint(175, 511), QPoint(138, 527),  // group 16
    QPoint(308, 82),  QPoint(318, 83),  QPoint(315, 59),  QPoint(294, 107), QPoint(297, 84),   // group 17
    QPoint(260, 138), QPoint(256, 122), QPoint(236, 118), QPoint(239, 169), QPoint(248, 139),  // group 18
    QPoint(311, 197), QPoint(319, 203), QPoint(285, 172), QPoint(339, 191), QPoint(319, 186),  // group 19
    QPoint(131, 126), QPoint(127, 141), QPoint(163, 121), QPoint(154, 139), QPoint(147, 122),  // group 20
}};

}  // namespace keepmap
