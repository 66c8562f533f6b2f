#pragma once
// The plan drawn as a picture (--plan-picture): the pages as small pictures in
// the order the outputs take them, under bands that name the outputs.
#include <functional>
#include <string>

#include "host/PagePixelServices.h"
#include "report/PlanSheetLayout.h"

namespace tessera::app {

// The 1-based page drawn to fit in kSheetPictureWidth × kSheetPictureHeight;
// HostError where it cannot be drawn (the sheet then marks its place).
using PagePicture = std::function<host::PageImage(int page)>;

// Writes the laid-out sheet as a PNG file that appears whole or not at all;
// HostError when it cannot be written.
void WritePlanPicture(const std::string& path, const SheetLayout& layout, const PagePicture& pictureOf);

}  // namespace tessera::app
