#include "modular/VerlindeKernel.h"

#include <cstring>

namespace {

// Two doubles, the vector width every x86-64 target has. A step of the inner loop multiplies two
// rows into four columns: each load feeds two or four multiply-adds, and the eight partial sums
// are independent, so that neither the loads nor the latency of the additions bound the
// arithmetic. Going through the columns four at a time for all rows keeps those four in the
// first-level cache while every row passes them.
using Vec = double __attribute__((vector_size(16)));
constexpr int Width = 2;

inline Vec load(const double* p) {
    Vec v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

inline double total(Vec v) {
    return v[0] + v[1];
}

// out[r * stride + c] for two rows x0, x1 and four columns.
void twoByFour(const double* x0, const double* x1, const double* const* col, int length,
               double* out, int stride) {
    const double *c0 = col[0], *c1 = col[1], *c2 = col[2], *c3 = col[3];
    Vec s00{}, s01{}, s02{}, s03{}, s10{}, s11{}, s12{}, s13{};
    int m = 0;
    for (; m + Width <= length; m += Width) {
        const Vec a = load(x0 + m), b = load(x1 + m);
        const Vec v0 = load(c0 + m), v1 = load(c1 + m), v2 = load(c2 + m), v3 = load(c3 + m);
        s00 += a * v0;
        s01 += a * v1;
        s02 += a * v2;
        s03 += a * v3;
        s10 += b * v0;
        s11 += b * v1;
        s12 += b * v2;
        s13 += b * v3;
    }
    double r[2][4] = {{total(s00), total(s01), total(s02), total(s03)},
                      {total(s10), total(s11), total(s12), total(s13)}};
    for (; m < length; m++)
        for (int c = 0; c < 4; c++) {
            r[0][c] += x0[m] * col[c][m];
            r[1][c] += x1[m] * col[c][m];
        }
    std::memcpy(out, r[0], sizeof r[0]);
    std::memcpy(out + stride, r[1], sizeof r[1]);
}

void oneByFour(const double* x, const double* const* col, int length, double* out) {
    const double *c0 = col[0], *c1 = col[1], *c2 = col[2], *c3 = col[3];
    Vec s0{}, s1{}, s2{}, s3{}, t0{}, t1{}, t2{}, t3{};
    int m = 0;
    for (; m + 2 * Width <= length; m += 2 * Width) {
        const Vec a = load(x + m), b = load(x + m + Width);
        s0 += a * load(c0 + m);
        t0 += b * load(c0 + m + Width);
        s1 += a * load(c1 + m);
        t1 += b * load(c1 + m + Width);
        s2 += a * load(c2 + m);
        t2 += b * load(c2 + m + Width);
        s3 += a * load(c3 + m);
        t3 += b * load(c3 + m + Width);
    }
    double r[4] = {total(s0 + t0), total(s1 + t1), total(s2 + t2), total(s3 + t3)};
    for (; m < length; m++)
        for (int c = 0; c < 4; c++)
            r[c] += x[m] * col[c][m];
    std::memcpy(out, r, sizeof r);
}

double oneByOne(const double* x, const double* c, int length) {
    Vec s0{}, s1{}, s2{}, s3{};
    int m = 0;
    for (; m + 4 * Width <= length; m += 4 * Width) {
        s0 += load(x + m) * load(c + m);
        s1 += load(x + m + Width) * load(c + m + Width);
        s2 += load(x + m + 2 * Width) * load(c + m + 2 * Width);
        s3 += load(x + m + 3 * Width) * load(c + m + 3 * Width);
    }
    for (; m + Width <= length; m += Width)
        s0 += load(x + m) * load(c + m);
    double t = total((s0 + s1) + (s2 + s3));
    for (; m < length; m++)
        t += x[m] * c[m];
    return t;
}

} // namespace

void dotColumns(const double* x, int rows, const double* const* columns, int count, int length,
                double* out) {
    int c = 0;
    for (; c + 4 <= count; c += 4) {
        int r = 0;
        for (; r + 2 <= rows; r += 2)
            twoByFour(x + static_cast<long>(r) * length, x + static_cast<long>(r + 1) * length,
                      columns + c, length, out + static_cast<long>(r) * count + c, count);
        if (r < rows)
            oneByFour(x + static_cast<long>(r) * length, columns + c, length,
                      out + static_cast<long>(r) * count + c);
    }
    for (; c < count; c++)
        for (int r = 0; r < rows; r++)
            out[static_cast<long>(r) * count + c] =
                oneByOne(x + static_cast<long>(r) * length, columns[c], length);
}

double tripleProductSum(const double* w, const double* a, const double* b, const double* c,
                        int length) {
    const double *ai = a + length, *bi = b + length, *ci = c + length;
    Vec s0{}, s1{};
    int m = 0;
    for (; m + Width <= length; m += Width) {
        const Vec ar = load(a + m), aim = load(ai + m), br = load(b + m), bim = load(bi + m);
        const Vec pr = ar * br - aim * bim, pim = ar * bim + aim * br;
        const Vec wv = load(w + m);
        s0 += wv * (pr * load(c + m));
        s1 += wv * (pim * load(ci + m));
    }
    double t = total(s0 + s1);
    for (; m < length; m++) {
        const double pr = a[m] * b[m] - ai[m] * bi[m], pim = a[m] * bi[m] + ai[m] * b[m];
        t += w[m] * (pr * c[m] + pim * ci[m]);
    }
    return t;
}
