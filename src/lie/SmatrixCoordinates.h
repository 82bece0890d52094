// The maps from Dynkin labels to orthogonal coordinates, shared by the integer S kernel and the
// S elements at real-valued weights; not for other modules. m_i = a_i + 1 are the labels of
// lambda + rho. For T = double every sum is taken in the order the integer map takes it.
#pragma once

namespace smatrix_internal {

template <class T> void orthogonalA(T* isr, const T* rep, int rank) {
    const int n = rank + 1;
    T last = 0;
    for (int j = 1; j <= rank; j++)
        last -= j * (rep[j - 1] + T{1});
    isr[rank] = last;
    for (int i = rank - 1; i >= 0; i--)
        isr[i] = isr[i + 1] + n * (rep[i] + T{1});
}

template <class T> void orthogonalB(T* isr, const T* rep, int rank) {
    isr[rank - 1] = rep[rank - 1] + T{1};
    for (int i = rank - 2; i >= 0; i--)
        isr[i] = isr[i + 1] + 2 * (rep[i] + T{1});
}

template <class T> void orthogonalC(T* isr, const T* rep, int rank) {
    isr[rank - 1] = rep[rank - 1] + T{1};
    for (int i = rank - 2; i >= 0; i--)
        isr[i] = isr[i + 1] + (rep[i] + T{1});
}

template <class T> void orthogonalD(T* isr, const T* rep, int rank) {
    const T a = rep[rank - 2] + T{1};
    const T b = rep[rank - 1] + T{1};
    isr[rank - 1] = b - a;
    isr[rank - 2] = a + b;
    for (int i = rank - 3; i >= 0; i--)
        isr[i] = isr[i + 1] + 2 * (rep[i] + T{1});
}

template <class T> void orthogonalF(T* sr, const T* rep) {
    const T m0 = rep[0] + T{1}, m1 = rep[1] + T{1}, m2 = rep[2] + T{1}, m3 = rep[3] + T{1};
    sr[0] = 2 * m0 + 2 * m1 + m2;
    sr[1] = 2 * m1 + m2;
    sr[2] = m2;
    sr[3] = -(2 * m0 + 4 * m1 + 3 * m2 + 2 * m3);
}

} // namespace smatrix_internal
