#pragma once

#include <QPalette>

#include "skin.h"

// One look for every window, dialog, message box, menu and list: the Fusion style with a palette
// taken from the skin's frame colours, every text colour made legible on its background. Panels
// that style their own contents still start from this palette, and a dialog or message box that
// a panel opens gets it too instead of the desktop's light theme.
QPalette applicationPalette(const SkinColours& colours);
void applyApplicationStyle(const SkinColours& colours);
