#pragma once
// The program's own icon: the picture of packaging/orvanta.svg (a display of amber LEDs on
// its cable), drawn here at every size the window system asks for, so it needs no image
// plugin for SVG files.

#include <QIcon>

QIcon programIcon();
