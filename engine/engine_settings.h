#pragma once

// Angle modes keep the numbers the front end stores and shows.
enum class AngleMode : int { Degrees = 0, Radians = 1, Grads = 2 };

// Display modes that change how results are formatted (the front end's input mode numbers).
constexpr int kDisplayModeBase = 2;
constexpr int kDisplayModeMatrix = 4;

// Settings the front end writes before an evaluation and the operators read.
struct EngineSettings {
    AngleMode angleMode = AngleMode::Degrees;
    int wordSize = 32;  // 8, 16, 32 or 64 bits, for the base operators and base output
    int displayMode = 0;
    // Real part of the right operand of the last binary operator that completed;
    // the basic modes use it to repeat "=".
    double lastRightOperand = 0.0;
};

// Gives the angle mode back as it found it: a calculation that works in radians inside (an
// integral, a derivative, a complex argument) leaves the user's unit as the user set it.
class AngleModeScope {
public:
    explicit AngleModeScope(EngineSettings& settings) : settings_(settings), saved_(settings.angleMode) {}
    ~AngleModeScope() { settings_.angleMode = saved_; }
    AngleModeScope(const AngleModeScope&) = delete;
    AngleModeScope& operator=(const AngleModeScope&) = delete;

private:
    EngineSettings& settings_;
    AngleMode saved_;
};
