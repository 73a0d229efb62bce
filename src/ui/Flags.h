#pragma once

#include <QPixmap>

// The flags shown beside the language choices and on the file-list pages.
namespace ui {

QPixmap GermanFlag();
QPixmap BritishFlag();

} // namespace ui
