#pragma once

#include <QPoint>

#include "tests/support/CellPoints.h"
#include "windows/MainForm.h"

// The main window's pixel over cell (c, r): the board stands below the tool bar.
inline QPoint WindowPoint(int c, int r, int dx = cellpoints::kMiddle, int dy = cellpoints::kMiddle) {
    return {cellpoints::BoardX(c, dx), TMainForm::kToolBarHeight + cellpoints::BoardY(r, dy)};
}
