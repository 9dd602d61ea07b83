#pragma once

#include <QIcon>
#include <QImage>

namespace pelorin {

// The windows' 64 x 64 icon.
QIcon WindowIcon();
// The info window's 400 x 232 picture of the spacecraft.
QImage InfoPicture();

}  // namespace pelorin
