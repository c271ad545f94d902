// The night look of the whole application, beyond the style books of the three
// styled windows: the application's palette (so the camera window and tool tips are
// dim red on black), the widgets' own style sheets (the About window's among them)
// and fixed pictures turned red, the glow effects, and the widgets the application
// style paints in fixed greys whatever the palette says (dials, size grips), drawn
// through a night-shade effect. Menus follow their window.
//
// Usage (the main window's style switch, after its own style book has loaded):
//   SetNightLook(IsNightStyle(style));   // on: everything red; off: everything as it was
//   if (NightLookOn()) box.setIconPixmap(NightImage(box.iconPixmap().toImage()).scaled(..));
//
// Widgets whose colours the program sets itself for each style (tip texts, preset
// buttons, indicators, icons, the close-up) carry the property kOwnStyledPicture
// or are left alone because their sheets are set after this call.
#pragma once

class QMessageBox;

// A label whose picture the style code draws itself: the night look leaves it alone.
inline constexpr const char* kOwnStyledPicture = "zwStyledPicture";

void SetNightLook(bool on);
bool NightLookOn();

// A message box made while the night look is on: the night style file and its icon
// in red shades.
void DressForNight(QMessageBox& box);
