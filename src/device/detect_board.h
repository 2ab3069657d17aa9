// Finds the installed board among the present devices and installs its
// row's attributes as g_Board.
#pragma once

// 1 when the device list was obtained (matched or not), 0 when it was not.
int DetectBoard();
