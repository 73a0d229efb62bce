#pragma once

#include <QIcon>

// The program's own small pictures: the update button's glyph.
namespace ui {

QIcon UpdateGlyph();

} // namespace ui
