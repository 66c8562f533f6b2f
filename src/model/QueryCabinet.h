#pragma once
// Text and page queries in a cabinet, for profiles and batch parameters.
#include "host/Cabinet.h"
#include "model/CabinetReader.h"
#include "model/PageQuery.h"

namespace tessera {

// Empties the cabinet and stores the query; area values as reals in points.
void SaveTextQuery(const TextQuery& query, host::Cabinet& cabinet);
// Missing keys give the initial values; area reals become fixed point,
// rounded half up. A value of the wrong type is a CabinetRefusal.
void LoadTextQuery(const CabinetReader& cabinet, TextQuery& query);

void SavePageQuery(const PageQuery& query, host::Cabinet& cabinet);
// A CabinetRefusal when the element-kind count is above 100, a nested cabinet
// it needs is missing, or a value has the wrong type; fields read before then
// keep their new values. The found pages are never touched.
void LoadPageQuery(const CabinetReader& cabinet, PageQuery& query);

}  // namespace tessera
