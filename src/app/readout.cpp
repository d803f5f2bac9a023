// The debug read-out's five lines, from the view centre, the cave, "Vec" and
// the last collision.
#include "app/readout.h"

#include <cstdio>

#include "app/globals.h"
#include "display/display.h"
#include "world/cave.h"

ReadoutText formatReadout() {
    // The world point under the screen centre, which is the view centre.
    int32_t centreX = Quillmere.screenToWorldX(screenWidth / 2);
    int32_t centreY = Quillmere.worldToScreenY(screenHeight / 2);  // the same formula maps back
    int16_t row = Quillmere.rowOf(centreY);
    int16_t column = Quillmere.columnOf(centreX);
    // Only a row of the cave has a span; outside it the line shows zeros.
    int32_t spanLeft = 0;
    int32_t spanRight = 0;
    if (row >= 0 && row < Quillmere.rowCount()) {
        RowSpan span = Quillmere.rowSpan(row);
        spanLeft = span.left;
        spanRight = span.right;
    }

    ReadoutText text{};
    std::snprintf(text.lines[0], READOUT_LINE_SIZE, "R:%-3d C:%-3d (%5d,%5d) - RN:%-3d CN:%-3d", row, column,
                  centreX, centreY, static_cast<int16_t>(Quillmere.rowCount()),
                  static_cast<int16_t>(Quillmere.columnCount()));
    std::snprintf(text.lines[1], READOUT_LINE_SIZE, "curCol:%3d ~ %-3d", spanLeft, spanRight);
    std::snprintf(text.lines[2], READOUT_LINE_SIZE, "Vec:%-3d", vec);
    std::snprintf(text.lines[3], READOUT_LINE_SIZE, "Hit: %3d, %3d,  View: %3d, %3d", static_cast<int>(hitPoint.x),
                  static_cast<int>(hitPoint.y), Quillmere.viewX, Quillmere.viewY);
    std::snprintf(text.lines[4], READOUT_LINE_SIZE, "debugID:%-3d", debugId);
    return text;
}
