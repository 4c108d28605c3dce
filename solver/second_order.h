#pragma once

#include <cmath>

// A value with its gradient and Hessian in D local unknowns, carried
// through + - * sin cos pow by the chain rule. The point-of-collapse rows
// need the second derivatives of the flows and loads, weighted by the left
// null vector; writing each equation once in this form gives them exactly,
// from the same expression as its value, instead of by hand for every
// combination of ratio, shift, voltages and angles.
template <int D>
struct SecondOrder {
    double value = 0.0;
    double gradient[D] = {};
    double hessian[D][D] = {};

    static SecondOrder Constant(double value) {
        SecondOrder x;
        x.value = value;
        return x;
    }
    // Local unknown `index` at `value`.
    static SecondOrder Unknown(int index, double value) {
        SecondOrder x;
        x.value = value;
        x.gradient[index] = 1.0;
        return x;
    }

    // f(x) from f, f' and f'' at x.
    SecondOrder Apply(double f, double f1, double f2) const {
        SecondOrder y;
        y.value = f;
        for (int a = 0; a < D; ++a) {
            y.gradient[a] = f1 * gradient[a];
            for (int b = 0; b < D; ++b) y.hessian[a][b] = f1 * hessian[a][b] + f2 * gradient[a] * gradient[b];
        }
        return y;
    }
};

template <int D>
SecondOrder<D> operator+(const SecondOrder<D>& x, const SecondOrder<D>& y) {
    SecondOrder<D> z;
    z.value = x.value + y.value;
    for (int a = 0; a < D; ++a) {
        z.gradient[a] = x.gradient[a] + y.gradient[a];
        for (int b = 0; b < D; ++b) z.hessian[a][b] = x.hessian[a][b] + y.hessian[a][b];
    }
    return z;
}

template <int D>
SecondOrder<D> operator*(double k, const SecondOrder<D>& x) {
    return x.Apply(k * x.value, k, 0.0);
}

template <int D>
SecondOrder<D> operator-(const SecondOrder<D>& x, const SecondOrder<D>& y) {
    return x + (-1.0) * y;
}

template <int D>
SecondOrder<D> operator*(const SecondOrder<D>& x, const SecondOrder<D>& y) {
    SecondOrder<D> z;
    z.value = x.value * y.value;
    for (int a = 0; a < D; ++a) {
        z.gradient[a] = x.gradient[a] * y.value + x.value * y.gradient[a];
        for (int b = 0; b < D; ++b)
            z.hessian[a][b] = x.hessian[a][b] * y.value + x.value * y.hessian[a][b] + x.gradient[a] * y.gradient[b] +
                              x.gradient[b] * y.gradient[a];
    }
    return z;
}

template <int D>
SecondOrder<D> sin(const SecondOrder<D>& x) {
    const double s = std::sin(x.value), c = std::cos(x.value);
    return x.Apply(s, c, -s);
}

template <int D>
SecondOrder<D> cos(const SecondOrder<D>& x) {
    const double s = std::sin(x.value), c = std::cos(x.value);
    return x.Apply(c, -s, -c);
}

// x^p for a constant exponent; x > 0.
template <int D>
SecondOrder<D> pow(const SecondOrder<D>& x, double p) {
    if (p == 0.0) return SecondOrder<D>::Constant(1.0);
    return x.Apply(std::pow(x.value, p), p * std::pow(x.value, p - 1.0), p * (p - 1.0) * std::pow(x.value, p - 2.0));
}
