// The full-screen background's painting: a blue-to-black gradient with the application's name
// near the top and the company near the bottom, all read from setup.tsi at every paint.
#ifndef SETUP_BACKGROUND_BACKGROUND_PAINTER_H
#define SETUP_BACKGROUND_BACKGROUND_PAINTER_H

#include <windows.h>

// Paints update, the area being repainted, of the background window; a band of text that meets
// it is drawn whole.
void PaintBackground(HWND window, RECT update);

#endif
