#include "reference_render.h"

#include <cmath>

namespace {

int truncOrZero(double value)
{
    if (!std::isfinite(value))
        return 0;
    if (value > 1e9)
        return 1000000000;
    if (value < -1e9)
        return -1000000000;
    return static_cast<int>(std::trunc(value));
}

int channel(double product)
{
    if (!std::isfinite(product))
        return 0;
    if (std::fabs(product) >= 2147483648.0)
        return 255;
    return static_cast<int>(std::trunc(product));
}

void cap(float& value)
{
    if (value > 255)
        value = 255;
}

// The bilinear interpolation of a at pixel-grid point (x, y).
double interpolate(const Array2D<double>& a, int x, double cw, int y, double ch)
{
    double tx = x / cw;
    int ix = static_cast<int>(std::trunc(tx));
    double fx = tx - ix;
    double ty = y / ch;
    int iy = static_cast<int>(std::trunc(ty));
    double fy = ty - iy;
    return (1 - fy) * ((1 - fx) * a[ix][iy] + fx * a[ix + 1][iy]) +
           fy * ((1 - fx) * a[ix][iy + 1] + fx * a[ix + 1][iy + 1]);
}

}  // namespace

ReferencePicture::ReferencePicture(int width, int height) : W(width), H(height)
{
    for (auto& p : plane)
        p.assign(height, std::vector<float>(width, 0.0f));
}

void ReferencePicture::addPixel(int column, int row, int r, int g, int b)
{
    if (column > W - 2 || row > H - 2 || column < 2 || row < 2)
        return;
    int colour[3] = {r, g, b};
    for (int c = 0; c < 3; ++c) {
        if (colour[c] > 255)
            colour[c] = 255;
        if (colour[c] < 0)
            colour[c] = 0;
        plane[c][row][column] = static_cast<float>(plane[c][row][column] + 0.78 * colour[c]);
    }
    for (int c = 0; c < 3; ++c) {
        cap(plane[c][row][column]);
        cap(plane[c][row + 1][column]);
        cap(plane[c][row - 1][column]);
        cap(plane[c][row][column + 1]);
        cap(plane[c][row][column - 1]);
    }
}

void ReferencePicture::addStreamDot(int column, int row)
{
    if (column > W - 2 || row > H - 2 || column < 2 || row < 2)
        return;
    for (int c = 0; c < 3; ++c) {
        auto& p = plane[c];
        p[row][column] = static_cast<float>(p[row][column] + 1.7800000000000002);
        p[row + 1][column] = static_cast<float>(p[row + 1][column] + 0.17800000000000002);
        p[row][column + 1] = static_cast<float>(p[row][column + 1] + 0.17800000000000002);
        p[row - 1][column] = static_cast<float>(p[row - 1][column] + 0.17800000000000002);
        p[row][column - 1] = static_cast<float>(p[row][column - 1] + 0.17800000000000002);
        cap(p[row][column]);
        cap(p[row + 1][column]);
        cap(p[row - 1][column]);
        cap(p[row][column + 1]);
        cap(p[row][column - 1]);
    }
}

void ReferencePicture::fillRect(int x0, int y0, int x1, int y1, int r, int g, int b)
{
    auto clampTo = [](int v, int last) { return v < 0 ? 0 : (v > last ? last : v); };
    x0 = clampTo(x0, W - 1);
    x1 = clampTo(x1, W - 1);
    y0 = clampTo(y0, H - 1);
    y1 = clampTo(y1, H - 1);
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) {
            plane[0][y][x] = static_cast<float>(r);
            plane[1][y][x] = static_cast<float>(g);
            plane[2][y][x] = static_cast<float>(b);
        }
}

void ReferencePicture::line(int x0, int y0, int x1, int y1, int r, int g, int b)
{
    for (double t = 0; t < 1; t += 0.01)
        addPixel(truncOrZero((1 - t) * x0 + t * x1), truncOrZero((1 - t) * y0 + t * y1), r, g, b);
}

void referenceScalarField(ReferencePicture& picture, int NX, int NY, const Array2D<double>& a, int k,
                          int redFactor, int greenFactor, int blueFactor)
{
    int W = k * NX, H = k * NY;
    double cw = double(W) / NX, ch = double(H) / NY;
    std::vector<std::vector<double>> temp(W, std::vector<double>(H, 0.0));
    for (int x = 0; x < W - cw; ++x)
        for (int y = 0; y < H - ch; ++y)
            temp[x][y] = interpolate(a, x, cw, y, ch);
    double M = -1.0;
    for (int x = 0; x < W - cw; ++x)
        for (int y = 0; y < H - ch; ++y)
            if (temp[x][y] > M)
                M = temp[x][y];
    for (int x = 0; x < W - cw; ++x)
        for (int y = 0; y < H - ch; ++y) {
            double I = std::fabs(temp[x][y] / M);
            picture.addPixel(truncOrZero(x + cw * 0.8333333333333334), H - y,
                             channel(I * (redFactor & 0xFF) * 255),
                             channel(I * (greenFactor & 0xFF) * 255),
                             channel(I * (blueFactor & 0xFF) * 255));
        }
}

void referenceBoundaryCells(ReferencePicture& picture, int NX, int NY, const Array2D<int32_t>& flags, int k)
{
    double cw = double(k * NX) / NX, ch = double(k * NY) / NY;
    for (int j = 0; j < NY; ++j)
        for (int i = 0; i < NX; ++i) {
            int m = NY - j;
            int x0 = truncOrZero((i + 0.5) * cw), x1 = truncOrZero((i + 1.5) * cw);
            int y0 = truncOrZero((m - 0.5) * ch), y1 = truncOrZero((m + 0.5) * ch);
            int word = flags[i][j] & 0xFF;
            if (word & 0x00E)
                picture.fillRect(x0, y0, x1, y1, 90, 90, 90);
            if (word & 0x010)
                picture.fillRect(x0, y0, x1, y1, 50, 255, 50);
            if (word & 0x020)
                picture.fillRect(x0, y0, x1, y1, 255, 50, 50);
        }
}

void referenceVectors(ReferencePicture& picture, int NX, int NY, const Array2D<double>& u,
                      const Array2D<double>& v, int k)
{
    int H = k * NY;
    double cw = double(k * NX) / NX, ch = double(H) / NY;
    for (int j = 1; j <= NY - 2; ++j)
        for (int i = 1; i <= NX - 2; ++i) {
            double uu = u[i][j], vv = v[i][j];
            double s = std::sqrt(vv * vv + uu * uu);
            if (s == 0 || std::isnan(s) || std::isinf(s) || !std::isfinite(uu) || !std::isfinite(vv))
                continue;
            double X0 = cw * (i + 0.5), Y0 = H - ch * (j - 0.5);
            double X1 = X0 + 0.7 * k * uu / s;
            double Y1 = H - (ch * (j - 0.5) + 0.7 * k * vv / s);
            picture.line(truncOrZero(X0), truncOrZero(Y0), truncOrZero(X1), truncOrZero(Y1), 55, 55, 55);
        }
}

void referenceStreamlines(ReferencePicture& picture, int NX, int NY, const SimGrid& grid, int k, int minSeedSpacing)
{
    int W = k * NX, H = k * NY;
    double cw = double(W) / NX, ch = double(H) / NY;
    std::vector<std::vector<double>> U(W, std::vector<double>(H, 0.0)), V = U;
    for (int x = 0; x < W - cw; ++x)
        for (int y = 0; y < H - ch; ++y) {
            U[x][y] = interpolate(grid.u, x, cw, y, ch);
            V[x][y] = interpolate(grid.v, x, cw, y, ch);
        }
    double spacingX = 1.5 * cw, spacingY = 1.5 * ch;
    if (minSeedSpacing > 1.5 * cw) {
        int m = static_cast<int>((minSeedSpacing + cw - 1) / cw);
        spacingX = static_cast<int>(m * cw);
        spacingY = static_cast<int>(m * ch);
    }
    for (int sx = truncOrZero(cw); sx < W - 2 * cw; sx = truncOrZero(sx + spacingX))
        for (int sy = truncOrZero(ch); sy < H - 2 * ch; sy = truncOrZero(sy + spacingY)) {
            double px = sx, py = sy, vx = 0, vy = 0;
            for (int dot = 1; dot <= 2300; ++dot) {
                if (std::isnan(px) || std::isnan(py) || px < 0 || py < 0 || py > H || px > W)
                    break;
                if (0 < px && px < W - 1) {
                    if (py <= 0 || py >= H - 1)
                        break;
                    int x = static_cast<int>(std::trunc(px)), y = static_cast<int>(std::trunc(py));
                    if (x > W - k - 1)
                        x = W - k - 1;
                    if (y > H - k - 1)
                        y = H - k - 1;
                    vx = U[x][y];
                    vy = V[x][y];
                }
                px = px + 0.09 * vx;
                py = py + 0.09 * vy;
                picture.addStreamDot(truncOrZero(px) + k, H - truncOrZero(py));
            }
        }
}

ReferencePicture referenceCompose(const SimGrid& grid, int NX, int NY, int k, const ReferenceElements& elements)
{
    ReferencePicture picture(k * NX, k * NY);
    if (elements.uField)
        referenceScalarField(picture, NX, NY, grid.u, k, 1, 0, 0);
    if (elements.vField)
        referenceScalarField(picture, NX, NY, grid.v, k, 0, 1, 0);
    if (elements.pressure)
        referenceScalarField(picture, NX, NY, grid.p, k, 0, 0, 1);
    if (elements.vectors)
        referenceVectors(picture, NX, NY, grid.u, grid.v, k);
    if (elements.streamlines)
        referenceStreamlines(picture, NX, NY, grid, k);
    if (elements.boundaryCells)
        referenceBoundaryCells(picture, NX, NY, grid.flags, k);
    return picture;
}
