#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class Engine;

// A handle to one of the engine's variable slots that holds a matrix. The data lives in the
// engine, so expressions see every change at once. Destroying the handle frees the slot.
// Move-only: two handles that free the same slot would destroy each other's data.
class MatrixSlot {
public:
    static constexpr int kMaxSize = 30;

    explicit MatrixSlot(Engine& engine) : engine_(&engine) {}
    ~MatrixSlot();
    MatrixSlot(MatrixSlot&& other) noexcept;
    MatrixSlot& operator=(MatrixSlot&& other) noexcept;
    MatrixSlot(const MatrixSlot&) = delete;
    MatrixSlot& operator=(const MatrixSlot&) = delete;

    // Frees what the handle held, then gives slot a zero-filled rows x cols matrix. Refuses
    // (returns false, holds nothing) a slot outside 0..29 or a size outside 1..65535.
    bool allocate(int rows, int cols, int slot);
    // Frees the slot; the handle then reads as 0 x 0 with elements 0.
    void release();

    // Outside the matrix, get gives 0 and set does nothing.
    double get(int row, int col) const;
    void set(int row, int col, double value);
    // 0 when the handle holds nothing or the engine replaced the slot by a scalar.
    int rows() const;
    int columns() const;
    void zero();
    // Copies the elements of other when both have the same size; returns whether it did.
    bool copyFrom(const MatrixSlot& other);

    int slot() const { return slot_; }
    // The slot's name from the engine's table; empty without a slot.
    std::string_view name() const;

private:
    bool holdsMatrix() const;

    Engine* engine_;
    int slot_ = -1;
};

// The model of the matrix window: the matrices in tab order, the shown one, its grid texts
// and the file "matrix.dat". The handles own their slots, so destroying the model frees them.
class MatrixStore {
public:
    // One entry per slot: the file can carry every matrix the list can hold (the 26 user
    // matrices, the kept result and any slot an older file named).
    static constexpr int kMaxFileCount = 30;
    static constexpr std::size_t kMaxEditChars = 128;

    // DataError: the file could not be read in full (it cannot be opened, is too large, or is
    // not as the writer writes it); what could be read is in the list.
    enum class LoadStatus { Loaded, NoFile, DataError };
    struct SaveResult {
        bool written = false;
        int omitted = 0;  // kept results larger than 30 x 30, which the loader would refuse
    };
    struct FreeName {
        int slot;
        std::string_view name;
    };

    explicit MatrixStore(Engine& engine) : engine_(&engine) {}

    // Replaces the list by the file's matrices and shows the first. The file may hold up to 30
    // matrices (older files hold at most 25) and rows of any length, in UTF-8 (with or without
    // a byte-order mark) or another Unicode encoding. Every matrix the file holds is read,
    // whatever its count says.
    LoadStatus load(const std::filesystem::path& path);
    // Writes the list in tab order, every value in a text that reads back to the same double,
    // each row on one line however long. Only a kept result larger than 30 x 30 (a copy of an
    // evaluation's result, which the loader refuses) is left out; every matrix the user made
    // is written.
    SaveResult save(const std::filesystem::path& path) const;
    // The exact bytes save writes.
    std::string fileText(int* omitted = nullptr) const;

    // Names for the New Matrix and Copy to dialogs: user slots 2..27 that no entry uses.
    std::vector<FreeName> freeNames() const;
    // Appends a zero-filled matrix (rows and cols clamped to 1..30) in a free user slot and
    // shows it. False when slot is not a free user slot.
    bool newMatrix(int rows, int cols, int slot);
    // Appends a copy of the shown matrix in a free user slot and shows it.
    bool copyTo(int slot);
    // Zeroes the shown matrix; its cells then read "0.00000".
    void clear();
    // Removes the shown entry (the caller has asked for confirmation) and shows the one
    // before it, or the first.
    void deleteShown();
    void deleteAll();
    // In-place edit of element (row, col) of the shown matrix: the text is trimmed, cut to
    // 128 characters and read like C's atof. Returns whether a cell took the value; a number
    // beyond the largest double ("1e999"), which no file could hold, is refused.
    bool setElement(int row, int col, std::string_view text);
    // After a matrix-mode evaluation: keeps slot 0 as "VRE" in the first entry. Returns
    // "[VRE]", or empty when the list is empty and nothing was kept.
    std::string keepResult();
    // "[NAME]" of the shown matrix for the input line; empty with none.
    std::string insertName() const;

    // Shows entry index (a tab click); out-of-range indexes are ignored.
    void show(int index);

    int count() const { return static_cast<int>(entries_.size()); }
    int shownIndex() const { return shown_; }
    const MatrixSlot& entry(int index) const { return entries_[static_cast<std::size_t>(index)]; }
    const std::string& sizeLabel() const { return sizeLabel_; }

    // Grid of the shown matrix. Indexes are 0-based; the headers show them 1-based, the
    // column's as "%d    " and the row's as "%2d".
    int gridRows() const { return static_cast<int>(gridCells_.size()); }
    int gridColumns() const { return gridCells_.empty() ? 0 : static_cast<int>(gridCells_[0].size()); }
    static std::string columnHeader(int col);
    static std::string rowHeader(int row);
    // "%.0f" for a whole number, else "%.8f" without trailing zeros and point; never "-0".
    const std::string& cellText(int row, int col) const;

private:
    bool slotInUse(int slot) const;
    bool isFreeUserSlot(int slot) const;
    void append(MatrixSlot&& data);
    void refreshView();

    Engine* engine_;
    std::vector<MatrixSlot> entries_;
    int shown_ = -1;
    std::string sizeLabel_;
    std::vector<std::vector<std::string>> gridCells_;
};
