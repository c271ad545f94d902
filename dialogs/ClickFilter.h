// Makes a plain widget (a picture, a web address) clickable.
//
//   OnClick(ui->Label_website, [] { OpenWebSite(); });
//
// The action runs when the left mouse button is released over the widget; the
// widget gets the hand-point cursor. The filter lives as long as the widget.
#pragma once

#include <QWidget>

#include <functional>

void OnClick(QWidget* widget, std::function<void()> action);
