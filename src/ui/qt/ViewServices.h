#pragma once
// The plug-in's services as the windows reach them: handed in when the
// windows module is opened (ui/qt/WindowsModule.cpp), or by a program that
// links the windows itself.
#include "ui/WindowFactory.h"

namespace tessera {

ViewServices& TheViewServices();

}  // namespace tessera
