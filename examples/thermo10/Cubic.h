// Real roots of z^3 + c2 z^2 + c1 z + c0 = 0, ascending; returns their count (1 to 3).
#pragma once

int CubicRealRoots(double c2, double c1, double c0, double roots[3]);
