#pragma once
#include <QPixmap>

namespace qm::app {

// The picture of the splash form, drawn at run time.
QPixmap SplashPicture();

}  // namespace qm::app
