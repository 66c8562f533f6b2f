#pragma once
// Tags for assistive technology, carried into an output: the structure tree
// pruned to what the output's pages hold.
#include "pdf/store/PdfDocument.h"

namespace tessera::pdf {

// Gives `out` a structure tree made of the source's elements whose marked
// content, annotations or forms lie on out's pages, with their ancestors, in
// the source's order; /ParentTree, the pages' /StructParents and the
// annotations' /StructParent are numbered anew for the output; /RoleMap and
// /ClassMap keep the entries the kept elements use, /IDTree the kept ids.
// A page taken twice is tagged where it first stands: its later copies have
// no /StructParents, so their content is untagged rather than claimed twice.
// Forms are followed one level deep, in the pages' own resources. Nothing is
// carried when no element lies on out's pages.
void CarryStructure(PdfDocument& out, PdfDocument& source);

// The pages' and annotations' numbers into a tree the output does not have
// lead nowhere: taken off.
void DropStructureNumbers(PdfDocument& out);

}  // namespace tessera::pdf
