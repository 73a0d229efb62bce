#pragma once

#include <QPixmap>

// The eight 16 x 16 status pictures, index = status code. Both file lists and the
// legend on the "Info" page use the same pictures.
namespace ui {

inline constexpr int kStatusImageCount = 8;

const QPixmap& StatusImage(int status);

} // namespace ui
