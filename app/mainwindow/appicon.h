#pragma once
// The program's icon (window and notification area): a lamp's light on a
// dark square, drawn at the sizes the desktop asks for.

#include <QIcon>

QIcon appIcon();
