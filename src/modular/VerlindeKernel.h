// The arithmetic of the Verlinde sums: long dot products over the summation points, written so
// that they run at the throughput of the floating-point units (several accumulators, vector
// registers) rather than at the latency of one chain of additions.
#pragma once

// out[r * count + c] = sum_m x[r * length + m] columns[c][m]: the dot products of `rows`
// consecutive rows with `count` columns, all of `length` doubles.
void dotColumns(const double* x, int rows, const double* const* columns, int count, int length,
                double* out);

// sum_m w[m] Re(a_m b_m conj c_m), where each of a, b, c holds `length` real parts followed by
// `length` imaginary parts.
double tripleProductSum(const double* w, const double* a, const double* b, const double* c,
                        int length);
