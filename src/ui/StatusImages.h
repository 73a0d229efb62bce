#pragma once

#include "sync/FileStatus.h"

#include <QPixmap>

// The eight 16 x 16 status pictures, index = status code. Both file lists and the
// legend on the "Info" page use the same pictures.
namespace ui {

inline constexpr int kStatusImageCount = filesync::kStatusCount;

const QPixmap& StatusImage(int status);

} // namespace ui
