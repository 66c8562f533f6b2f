#pragma once
// Text and page queries in a cabinet, for profiles and batch parameters.
#include "host/Cabinet.h"
#include "model/PageQuery.h"

namespace tessera {

// Empties the cabinet and stores the query; area values as reals in points.
void SaveTextQuery(const TextQuery& query, host::Cabinet& cabinet);
// Missing keys give the initial values; area reals become fixed point,
// rounded half up. Never fails.
void LoadTextQuery(const host::Cabinet& cabinet, TextQuery& query);

void SavePageQuery(const PageQuery& query, host::Cabinet& cabinet);
// False when the element-kind count is above 100, or a nested cabinet it needs
// is missing; fields read before then keep their new values. The found pages
// are never touched.
bool LoadPageQuery(const host::Cabinet& cabinet, PageQuery& query);

}  // namespace tessera
