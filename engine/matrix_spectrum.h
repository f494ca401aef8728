#pragma once

#include <optional>
#include <vector>

#include "cancel_flag.h"
#include "dense_matrix.h"

// Eigenvalues by orthogonal iteration and eigenvectors through null spaces. Both require a
// square matrix. Both check the optional cancel flag at every step and give up (empty, or
// kNotConverged) once it is set; the caller tells a cancel from a failure by the flag.
namespace linalg {

constexpr int kEigenSteps = 300;

// The diagonal of T = Q^T M Q after kEigenSteps steps of orthogonal iteration (Q <- the
// orthonormal factor of M Q), in that order: largest magnitude first, except that leading
// columns of the identity that M already maps into their own span stay in place (a diagonal or
// upper triangular M keeps its diagonal order). Empty when T is still far from triangular, as
// for complex eigenvalues or two real ones of equal magnitude, which the iteration cannot part.
std::optional<std::vector<double>> eigenvalues(const DenseMatrix& m, const CancelFlag* cancel = nullptr);

enum class EigenStatus {
    kOk,
    kNotConverged,  // eigenvalues() failed
    kNoVector,      // an eigenvalue whose M - t I keeps full rank under the elimination threshold
    kDependent,     // the collected vectors are linearly dependent
};

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
