#pragma once

#include <optional>
#include <vector>

#include "cancel_flag.h"
#include "dense_matrix.h"

// Eigenvalues by Jacobi rotations (symmetric matrices) or orthogonal iteration (the others), and
// eigenvectors through null spaces. Both require a
// square matrix. Both check the optional cancel flag at every step and give up (empty, or
// kNotConverged) once it is set; the caller tells a cancel from a failure by the flag.
namespace linalg {

constexpr int kEigenSteps = 300;

enum class EigenStatus {
    kOk,
    kNotConverged,  // eigenvalues() failed
    kComplex,       // eigenvalues() met a complex pair, which a real matrix result cannot hold
    kNoVector,      // an eigenvalue whose M - t I keeps full rank under the elimination threshold
    kDependent,     // the collected vectors are linearly dependent
};

struct Eigenvalues {
    EigenStatus status = EigenStatus::kOk;
    std::vector<double> values;
};

// A symmetric M: the diagonal that cyclic Jacobi rotations converge to, which they do for every
// symmetric matrix. Any other M: the diagonal of T = Q^T M Q after kEigenSteps steps of
// orthogonal iteration (Q <- the orthonormal factor of M Q), kNotConverged when T is still far
// from triangular (two real eigenvalues of equal magnitude), kComplex when a diagonal 2 x 2 block
// of T that has not settled has complex eigenvalues.
// Order: largest magnitude first, except that leading columns of the identity that M already
// maps into their own span stay in place (a diagonal or upper triangular M keeps its diagonal
// order).
Eigenvalues eigenvalues(const DenseMatrix& m, const CancelFlag* cancel = nullptr);

struct Eigenvectors {
    EigenStatus status = EigenStatus::kOk;
    DenseMatrix vectors;  // n rows, one column per eigenvector
};

// For each distinct eigenvalue t, in eigenvalue order, a basis of the null space of M - t I.
// A symmetric M gets all vectors orthonormalised together (Gram-Schmidt in column order); any
// other M gets each eigenvalue's vectors orthonormalised among themselves only, because
// eigenvectors of different eigenvalues are then not orthogonal and mixing them would give
// vectors that are no eigenvectors.
Eigenvectors eigenvectors(const DenseMatrix& m, const CancelFlag* cancel = nullptr);

}  // namespace linalg
