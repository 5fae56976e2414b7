// DrvSendPage: the finished page leaves as one BMP file. Not built yet.
#include "uDriverFunctions.h"

namespace pixmor {

BOOL APIENTRY DrvSendPage(SURFOBJ*) { return kFalse; }

}  // namespace pixmor
