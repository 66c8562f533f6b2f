#pragma once
#include <qpdf/QPDF.hh>

namespace tessera::pdf {

// Whether pages share resource dictionaries (or keep them on inner page-tree
// nodes). Then every output would carry every page's fonts and images unless
// the unreferenced ones are removed first, as qpdf's own page split does.
bool HasSharedResources(QPDF& pdf);

// Readies a source for page copying once: removes unreferenced page resources
// when resources are shared. Changes the document in memory only.
void PrepareSourceForCopy(QPDF& pdf);

}  // namespace tessera::pdf
