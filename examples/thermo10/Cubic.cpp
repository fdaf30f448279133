#include "Cubic.h"

#include <algorithm>
#include <cmath>

namespace {

// One Newton step or two take the closed-form roots to full precision.
double Polish(double c2, double c1, double c0, double z)
{
    for (int k = 0; k < 3; ++k) {
        double f = ((z + c2) * z + c1) * z + c0;
        double d = (3 * z + 2 * c2) * z + c1;
        if (d == 0) break;
        double step = f / d;
        z -= step;
        if (std::fabs(step) <= 1e-16 * std::fabs(z)) break;
    }
    return z;
}

}  // namespace

int CubicRealRoots(double c2, double c1, double c0, double roots[3])
{
    const double pi = 3.14159265358979323846;
    double q = (c2 * c2 - 3 * c1) / 9;
    double r = (2 * c2 * c2 * c2 - 9 * c2 * c1 + 27 * c0) / 54;
    double shift = c2 / 3;
    int count;
    if (r * r < q * q * q) {
        double theta = std::acos(std::clamp(r / std::sqrt(q * q * q), -1.0, 1.0));
        double scale = -2 * std::sqrt(q);
        roots[0] = scale * std::cos(theta / 3) - shift;
        roots[1] = scale * std::cos((theta + 2 * pi) / 3) - shift;
        roots[2] = scale * std::cos((theta - 2 * pi) / 3) - shift;
        count = 3;
    } else {
        double a = -std::copysign(std::cbrt(std::fabs(r) + std::sqrt(r * r - q * q * q)), r);
        double b = a == 0 ? 0 : q / a;
        roots[0] = a + b - shift;
        count = 1;
    }
    // The closed form is accurate for the root of largest magnitude only: far
    // apart roots (a liquid root near the co-volume at very low pressure) come
    // from the quadratic left after dividing that root out, solved the stable way.
    int largest = 0;
    for (int i = 1; i < count; ++i)
        if (std::fabs(roots[i]) > std::fabs(roots[largest])) largest = i;
    double z = Polish(c2, c1, c0, roots[largest]);
    // z^2 + b1 z + b0 from the sums and products of the roots; where c2 + z
    // cancels (small roots beside one near 1) b1 comes from c1 instead.
    double b0 = z != 0 ? -c0 / z : c1;
    double b1 = c2 + z;
    if (z != 0 && std::fabs(b1) < 1e-6 * std::fmax(1.0, std::fabs(c2))) b1 = (b0 - c1) / z;
    double discriminant = b1 * b1 - 4 * b0;
    roots[0] = z;
    count = 1;
    if (discriminant >= 0) {
        double s = -0.5 * (b1 + std::copysign(std::sqrt(discriminant), b1));
        if (s != 0) {
            roots[count++] = Polish(c2, c1, c0, s);
            roots[count++] = Polish(c2, c1, c0, b0 / s);
        }
    }
    std::sort(roots, roots + count);
    return count;
}
