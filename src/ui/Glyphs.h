#pragma once

#include <QIcon>

// The program's own small pictures: the update button's glyph and the icons of
// the context-menu items. Each is drawn at the pixel size asked for, so that it
// stays crisp instead of being scaled.
namespace ui {

QIcon UpdateGlyph(int size = 20);
QIcon StartFileGlyph(int size = 16);
QIcon SaveProfileGlyph(int size = 16);
QIcon DeleteGlyph(int size = 16);
QIcon EditGlyph(int size = 16);

} // namespace ui
