#pragma once

#include "sync/FileStatus.h"

#include <QIcon>
#include <QPixmap>

// The eight 16 x 16 status pictures, index = status code. Both file lists and the
// legend on the "Info" page use the same pictures.
namespace ui {

inline constexpr int kStatusImageCount = filesync::kStatusCount;

const QPixmap& StatusImage(int status);

// The same picture for a list row. A marked row shows it unchanged: the list's
// marking colour tints pictures by default, which would blur the difference
// between the blue and the violet statuses.
const QIcon& StatusIcon(int status);

} // namespace ui
