#pragma once
// Pictures the program draws for itself: the tool-button icons, the
// program's icon and the window cursors.
#include <QCursor>
#include <QIcon>
#include <cstdint>

namespace qm::app {

// The picture of a tool button, by its tag in the toolbar layout file.
QIcon ButtonIcon(std::int32_t tag);

// The program's icon (the same drawing as data/quillmar.svg).
QIcon ProgramIcon();

// The window cursors by their registered numbers: 2 "FINGER", 3 "FINGER2",
// 4 "FINGER3", 12 "HAND", 13 "COFFEE" (busy), 14 "APPROVE", 15 "MoveNSEW",
// 16 "DELETE", 17 "ANCHOR"; any other number is the arrow.
QCursor WindowCursor(int number);
inline constexpr int kCursorArrow = 0, kCursorFinger = 2, kCursorFinger2 = 3, kCursorFinger3 = 4, kCursorHand = 12,
                     kCursorBusy = 13, kCursorApprove = 14, kCursorMove = 15, kCursorDelete = 16, kCursorAnchor = 17;

}  // namespace qm::app
