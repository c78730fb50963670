#include "core/field_extremes.h"

FieldExtremes fieldExtremes(const Grid& grid)
{
    FieldExtremes extremes;
    for (int32_t i = 0; i < grid.NX; ++i)
        addColumnExtremes<true>(grid.u[i], grid.v[i], grid.p[i], grid.NY, extremes);
    return extremes;
}
