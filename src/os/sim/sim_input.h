// The simulated pointer and screen metrics.
#pragma once

namespace sim {

void SetScreen(int fullScreenWidth, int fullScreenHeight);  // default 1024 x 740
void SetSwapButtons(bool swapped);
void SetCursor(int x, int y);                              // default 512, 384
int CursorX();
int CursorY();

}  // namespace sim
