#pragma once

#include <string_view>

// Engine error codes. 0 means no error; the first code raised in an evaluation wins.
// Several codes share a message on purpose (-1/-8, -11/-53, -50/-51).
namespace ErrorCode {
constexpr int kNone = 0;
constexpr int kSyntax = -1;
constexpr int kArccos = -2;
constexpr int kArcsin = -3;
constexpr int kSquareRoot = -4;
constexpr int kDivision = -5;
constexpr int kLogarithm = -6;
constexpr int kOutOfRange = -7;
constexpr int kCallSyntax = -8;
constexpr int kIntegration = -9;
constexpr int kMatrixAddition = -10;
constexpr int kInvalidTypeGcd = -11;
constexpr int kRootNotFound = -12;
constexpr int kArcsinh = -13;
constexpr int kArccosh = -14;
constexpr int kArctanh = -15;
constexpr int kArccoth = -16;
constexpr int kArctan = -17;
constexpr int kArccot = -18;
constexpr int kSin = -19;
constexpr int kCos = -20;
constexpr int kTan = -21;
constexpr int kCotan = -22;
constexpr int kSinh = -23;
constexpr int kCosh = -24;
constexpr int kTanh = -25;
constexpr int kCotanh = -26;
constexpr int kSec = -27;
constexpr int kCsc = -28;
constexpr int kSech = -29;
constexpr int kCsch = -30;
constexpr int kArcSec = -31;
constexpr int kArcCsc = -32;
constexpr int kArcSech = -33;
constexpr int kArcCsch = -34;
constexpr int kLcm = -35;
constexpr int kMod = -36;
constexpr int kFibonacciIndex = -37;
constexpr int kMatrixMultiplication = -38;
constexpr int kMatrixInversion = -39;
constexpr int kRadixConversion = -40;
constexpr int kSumStep = -41;
constexpr int kNonSymmetricMatrix = -42;
constexpr int kRank = -43;
constexpr int kDeterminant = -44;
constexpr int kMatrixTransformation = -45;
constexpr int kMatrixSubtraction = -46;
constexpr int kEigenvector = -47;
constexpr int kLinearIndependence = -48;
constexpr int kNoList = -49;
constexpr int kInvalidCombination = -50;
constexpr int kInvalidFinance = -51;
constexpr int kInvalidMacro = -52;
constexpr int kInvalidType = -53;
constexpr int kComplexUnsupported = -54;
constexpr int kInfiniteResult = -55;
// fnInt's quadrature ran out of evaluations before its error estimate met the tolerance.
constexpr int kIntegralDiverges = -56;
// Raised when a running calculation is asked to stop (the window's Cancel, a time limit).
constexpr int kCancelled = -57;
// eigl or eigv of a real matrix whose eigenvalues are complex, which a matrix result cannot hold.
constexpr int kComplexEigenvalues = -58;
constexpr int kLowest = -58;
}  // namespace ErrorCode

// The message the display shows for a code: the table text for -58..-1,
// "Unknown error" for any other non-zero code, and an empty text for 0.
std::u16string_view errorMessage(int code);
