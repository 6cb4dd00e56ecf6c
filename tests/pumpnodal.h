#pragma once
// The Howland pump solved as a circuit, for the pump tests to check the engine against: node
// equations written out here and solved numerically, with no use of the engine's closed forms.

#include <cmath>
#include <utility>

namespace pumpnodal {

// The amplifier's linear gain at f from its DC gain (dB) and up to three poles (Hz): each
// pole below f takes 20 dB per decade off, the asymptotic model the pump page uses.
inline double openLoopGain(double aolDcDb, const double (&poles)[3], double f)
{
    double db = aolDcDb;
    for (double p : poles) {
        if (p > 0 && p < f) db -= 20 * std::log10(f / p);
    }
    return std::pow(10, db / 20);
}

// Output impedance at the load node (ohms), without load or damping network: both signal
// inputs grounded, 1 A pushed into the load node, the amplifier a voltage source of gain a
// on (v+ - v-). Unknowns vo (output), vn, vp (inputs), vl (load node); Gaussian elimination
// with partial pivoting. The load node voltage per ampere is the impedance.
inline double outputImpedance(double rin, double rip, double rfn, double rfp, double rs, double a)
{
    double m[4][5] = {
        // columns: vo, vn, vp, vl, then the right-hand side
        {-1 / rfn, 1 / rin + 1 / rfn, 0, 0, 0},      // KCL at the inverting input
        {0, 0, 1 / rip + 1 / rfp, -1 / rfp, 0},      // KCL at the non-inverting input
        {-1 / rs, 0, -1 / rfp, 1 / rs + 1 / rfp, 1}, // KCL at the load node, 1 A in
        {1, a, -a, 0, 0},                            // vo = a (vp - vn)
    };
    for (int c = 0; c < 4; ++c) {
        int pivot = c;
        for (int r = c + 1; r < 4; ++r) {
            if (std::fabs(m[r][c]) > std::fabs(m[pivot][c])) pivot = r;
        }
        for (int k = 0; k < 5; ++k)
            std::swap(m[c][k], m[pivot][k]);
        for (int r = 0; r < 4; ++r) {
            if (r == c) continue;
            const double f = m[r][c] / m[c][c];
            for (int k = c; k < 5; ++k)
                m[r][k] -= f * m[c][k];
        }
    }
    return m[3][4] / m[3][3];
}

} // namespace pumpnodal
