#include "polynomial_roots.h"

#include <gtest/gtest.h>

#include <complex>
#include <vector>

namespace {

using Complex = std::complex<double>;

// The reference roots come from numpy.roots (companion-matrix eigenvalues), computed once and
// put in the order polynomialRoots promises.
TEST(PolynomialRoots, MatchTheReferenceRoots)
{
    struct Case {
        std::vector<double> coefficients;
        std::vector<Complex> roots;
    };
    const Case cases[] = {
        {{1, -6, 11, -6}, {{3.0000000000000018, 0}, {1.999999999999998, 0}, {1.0000000000000002, 0}}},
        {{1, 0, 0, -1},
         {{0.99999999999999978, 0},
          {-0.50000000000000044, 0.86602540378443948},
          {-0.50000000000000044, -0.86602540378443948}}},
        {{2, -4, 3, -7},
         {{2.0854813037129261, 0},
          {-0.042740651856463169, 1.294775230450909},
          {-0.042740651856463169, -1.294775230450909}}},
        {{0.5, 1.2, -3.7, 9.1},
         {{-4.7587288151304072, 0},
          {1.1793644075652061, 1.5600161453676942},
          {1.1793644075652061, -1.5600161453676942}}},
        {{1, -3, 3, -1.001},
         {{1.100000000000005, 0},
          {0.94999999999999774, 0.08660254037844331},
          {0.94999999999999774, -0.08660254037844331}}},
        {{1, 0, 0, 0, 1},
         {{0.70710678118654713, 0.70710678118654691},
          {0.70710678118654713, -0.70710678118654691},
          {-0.70710678118654768, 0.70710678118654757},
          {-0.70710678118654768, -0.70710678118654757}}},
        {{1, -10, 35, -50, 24},
         {{3.9999999999999822, 0}, {3.0000000000000386, 0}, {1.9999999999999805, 0}, {1.000000000000002, 0}}},
        {{3, -2, 5, 7, -11},
         {{0.90698935438214001, 0},
          {-1.2681041385892597, 0},
          {0.51389072543689229, 1.7099377239447546},
          {0.51389072543689229, -1.7099377239447546}}},
        {{1, 0, -5, 0, 4}, {{2, 0}, {0.99999999999999989, 0}, {-1, 0}, {-2.0000000000000018, 0}}},
        {{1, 2, 3, 4, 5},
         {{0.28781547955764797, 1.4160930801719085},
          {0.28781547955764797, -1.4160930801719085},
          {-1.287815479557648, 0.85789675832849077},
          {-1.287815479557648, -0.85789675832849077}}},
        {{-2, 0.5, 7, -1, -3},
         {{1.7884595994085759, 0}, {0.78344150458319217, 0}, {-0.63439604303188135, 0}, {-1.6875050609598872, 0}}},
        // Leading zeros lower the degree; trailing zeros are exact roots at 0.
        {{0, 1, -3, 2, 0}, {{2, 0}, {1, 0}, {0, 0}}},
        {{0, 0, 0, 5}, {}},
    };
    for (const Case& c : cases) {
        const std::vector<Complex> roots = polynomialRoots(c.coefficients);
        ASSERT_EQ(roots.size(), c.roots.size()) << c.coefficients.size() << " " << c.coefficients[1];
        for (std::size_t i = 0; i < roots.size(); ++i) {
            EXPECT_NEAR(roots[i].real(), c.roots[i].real(), 1e-9) << c.coefficients[1] << " root " << i;
            EXPECT_NEAR(roots[i].imag(), c.roots[i].imag(), 1e-9) << c.coefficients[1] << " root " << i;
            // A real root is exactly real, a complex pair exactly conjugate.
            if (c.roots[i].imag() == 0.0) {
                EXPECT_EQ(roots[i].imag(), 0.0);
            } else if (c.roots[i].imag() < 0.0) {
                EXPECT_EQ(roots[i], std::conj(roots[i - 1]));
            }
        }
    }
}

}  // namespace
