// CSV dump of a grid's flags and fields.
#include "io/csv_dump.h"

bool writeCsv(std::FILE* out, const Grid& grid)
{
    const bool heat = grid.scalars.heat, dye = grid.scalars.dye;
    bool ok = std::fprintf(out, "i,j,flags,u,v,p%s%s\n", heat ? ",T" : "", dye ? ",c" : "") >= 0;
    for (int32_t i = 0; i < grid.NX && ok; ++i)
        for (int32_t j = 0; j < grid.NY && ok; ++j) {
            ok = std::fprintf(out, "%d,%d,%d,%.17g,%.17g,%.17g", i, j, grid.flags[i][j], grid.u[i][j], grid.v[i][j],
                              grid.p[i][j]) > 0;
            if (ok && heat)
                ok = std::fprintf(out, ",%.17g", grid.scalars.T[i][j]) > 0;
            if (ok && dye)
                ok = std::fprintf(out, ",%.17g", grid.scalars.c[i][j]) > 0;
            ok = ok && std::fputc('\n', out) != EOF;
        }
    return ok && std::fflush(out) == 0 && !std::ferror(out);
}

bool writeCsvFile(const std::string& path, const Grid& grid)
{
    if (path == "-")
        return writeCsv(stdout, grid);
    std::FILE* out = std::fopen(path.c_str(), "w");
    if (!out)
        return false;
    const bool written = writeCsv(out, grid);
    const bool closed = std::fclose(out) == 0;
    return written && closed;
}
