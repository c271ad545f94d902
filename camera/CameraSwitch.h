// Puts the camera chosen in the settings to use at a Connect, and tells the user
// when the chosen camera's frames miss the star templates' scale.
//
// Usage (user-interface thread, in the Connect handler):
//   PrepareCameraForConnect();        // before the camera is looked for
//   if (!wasOpen && g_cameraOpen) ReportCameraImageScale();
//
// PrepareCameraForConnect reads [CAMERA] from the settings file, points the INDI
// camera library at that file (ZORCAM_INDI_CONFIG, unless the environment set it
// before the program did), and when the library or the INDI settings differ from
// those of the camera in use, waits for an ending capture loop, stops, closes and
// releases the camera in use and loads the chosen library, so that the Connect
// finds the camera anew. The command-line override (SetCameraLibraryOverride) wins
// over the settings.
#pragma once

void PrepareCameraForConnect();
void ReportCameraImageScale();

// The scale the star templates are drawn at, arcseconds per pixel, and how far a
// camera may miss it (as a fraction) before the user is told.
inline constexpr double kTemplateArcsecPerPixel = 30.5;
inline constexpr double kTemplateScaleTolerance = 0.10;
