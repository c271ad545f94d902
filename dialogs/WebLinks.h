// The web site and the online manual, and the one way the program opens them.
//
//   OpenWebSite();                     // the logo of either window, the About window's address
//   OpenManual(chineseChecked);        // the Chinese page or the English one
//   SetUrlOpenerForTesting([&](const QUrl& url) { opened << url; return true; });
//
// The addresses open in the user's web browser through the desktop shell. A failure
// to open is logged as a warning; the user sees the browser, or nothing.
#pragma once

#include <QUrl>

#include <functional>

QUrl WebSiteUrl();
QUrl ManualUrl(bool chinese);

bool OpenWebSite();
bool OpenManual(bool chinese);

// Opens any address (through the test opener when one is set).
bool OpenUrl(const QUrl& url);

// Replaces the desktop shell for tests; an empty function restores it.
void SetUrlOpenerForTesting(std::function<bool(const QUrl&)> opener);
