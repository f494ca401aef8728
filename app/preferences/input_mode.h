#pragma once

// How keys reach the engine: "String-Standard" builds a line that "=" evaluates; the two Basic
// modes feed each key at once to the engine's stack calculator, in algebraic or RPN order.
enum class InputMode { StringStandard, BasicStandard, BasicRpn };
