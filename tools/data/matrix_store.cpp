#include "matrix_store.h"

#include <algorithm>
#include <cmath>
#include <climits>
#include <cstddef>
#include <string>

#include "ascii.h"
#include "atomic_file.h"
#include "c_number.h"
#include "engine.h"
#include "stored_number.h"
#include "unicode_text.h"
#include "unreadable_file.h"

namespace {

constexpr int kFirstUserSlot = 2;
constexpr int kLastUserSlot = 27;
// What the writer can produce is far smaller (30 matrices of 30 x 30 values of at most 24
// characters: about 700 KB); anything bigger is not read into memory at all.
constexpr std::uintmax_t kMaxFileBytes = 4u * 1024u * 1024u;

using storedNumber::atofRule;
using storedNumber::isCSpace;

// The file's checks are unsigned comparisons: negative values fail like large ones. The
// difference is taken in unsigned arithmetic, where INT_MIN - 1 is defined.
constexpr bool inRange(int value, int low, int high)
{
    return static_cast<unsigned>(value) - static_cast<unsigned>(low) <=
           static_cast<unsigned>(high) - static_cast<unsigned>(low);
}

// Reads the file the way the stdio calls of the format do: "%d" skips white space and reads
// an integer; a line runs to its line feed, however long: whatever the writer writes on one
// line is read as one line.
class FileReader {
public:
    explicit FileReader(std::string_view text) : text_(text) {}

    // Values beyond the int range saturate, so a huge count or size fails the range checks.
    bool readInt(int& value)
    {
        while (pos_ < text_.size() && isCSpace(text_[pos_]))
            ++pos_;
        std::size_t at = pos_;
        bool negative = false;
        if (at < text_.size() && (text_[at] == '+' || text_[at] == '-')) {
            negative = text_[at] == '-';
            ++at;
        }
        if (at >= text_.size() || !ascii::isDigit(text_[at]))
            return false;
        long long magnitude = 0;
        for (; at < text_.size() && ascii::isDigit(text_[at]); ++at)
            magnitude = std::min<long long>(magnitude * 10 + (text_[at] - '0'), 1LL << 32);
        pos_ = at;
        const long long signedValue = negative ? -magnitude : magnitude;
        value = static_cast<int>(std::clamp<long long>(signedValue, INT_MIN, INT_MAX));
        return true;
    }

    // True when nothing but white space is left.
    bool atEnd()
    {
        while (pos_ < text_.size() && isCSpace(text_[pos_]))
            ++pos_;
        return pos_ >= text_.size();
    }

    bool readLine(std::string_view& line)
    {
        if (pos_ >= text_.size())
            return false;
        const std::size_t newline = text_.find('\n', pos_);
        // The newline belongs to the line.
        const std::size_t end = newline == std::string_view::npos ? text_.size() : newline + 1;
        line = text_.substr(pos_, end - pos_);
        pos_ = end;
        return true;
    }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

// Stores the blank-separated pieces of one data line in one matrix row.
void readRow(std::string_view line, MatrixSlot& matrix, int row)
{
    // A NUL byte ends the text as far as the C string functions are concerned.
    line = line.substr(0, line.find('\0'));
    int col = 0;
    std::size_t pos = 0;
    while (pos < line.size() && col < matrix.columns()) {
        while (pos < line.size() && line[pos] == ' ')
            ++pos;
        if (pos >= line.size())
            break;
        std::size_t end = line.find(' ', pos);
        if (end == std::string_view::npos)
            end = line.size();
        matrix.set(row, col++, atofRule(line.substr(pos, end - pos)));
        pos = end;
    }
}

bool loadable(const MatrixSlot& matrix)
{
    return inRange(matrix.rows(), 1, MatrixSlot::kMaxSize) && inRange(matrix.columns(), 1, MatrixSlot::kMaxSize);
}

}  // namespace

// ---- MatrixSlot ----------------------------------------------------------------------------

MatrixSlot::~MatrixSlot()
{
    release();
}

MatrixSlot::MatrixSlot(MatrixSlot&& other) noexcept : engine_(other.engine_), slot_(other.slot_)
{
    other.slot_ = -1;
}

MatrixSlot& MatrixSlot::operator=(MatrixSlot&& other) noexcept
{
    if (this != &other) {
        release();
        engine_ = other.engine_;
        slot_ = other.slot_;
        other.slot_ = -1;
    }
    return *this;
}

bool MatrixSlot::allocate(int rows, int cols, int slot)
{
    release();
    if (!inRange(slot, 0, VariableSlots::kCount - 1) || !inRange(rows, 1, 0xFFFF) || !inRange(cols, 1, 0xFFFF))
        return false;
    const std::vector<double> zeros(static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols));
    engine_->slots.storeMatrix(slot, static_cast<std::uint16_t>(rows), static_cast<std::uint16_t>(cols), zeros.data());
    slot_ = slot;
    return true;
}

void MatrixSlot::release()
{
    if (slot_ >= 0)
        engine_->slots.clear(slot_);
    slot_ = -1;
}

bool MatrixSlot::holdsMatrix() const
{
    if (slot_ < 0)
        return false;
    const ValueCell& cell = engine_->slots[slot_];
    return cell.isMatrix() && cell.data.size() == static_cast<std::size_t>(cell.rows) * cell.cols;
}

int MatrixSlot::rows() const
{
    return holdsMatrix() ? engine_->slots[slot_].rows : 0;
}

int MatrixSlot::columns() const
{
    return holdsMatrix() ? engine_->slots[slot_].cols : 0;
}

double MatrixSlot::get(int row, int col) const
{
    if (row < 0 || col < 0 || row >= rows() || col >= columns())
        return 0.0;
    return engine_->slots[slot_].at(static_cast<std::size_t>(row), static_cast<std::size_t>(col));
}

void MatrixSlot::set(int row, int col, double value)
{
    if (row < 0 || col < 0 || row >= rows() || col >= columns())
        return;
    ValueCell& cell = engine_->slots[slot_];
    cell.data[static_cast<std::size_t>(row) * cell.cols + static_cast<std::size_t>(col)] = value;
}

void MatrixSlot::zero()
{
    if (holdsMatrix())
        std::fill(engine_->slots[slot_].data.begin(), engine_->slots[slot_].data.end(), 0.0);
}

bool MatrixSlot::copyFrom(const MatrixSlot& other)
{
    if (!holdsMatrix() || !other.holdsMatrix() || rows() != other.rows() || columns() != other.columns())
        return false;
    if (engine_ != other.engine_ || slot_ != other.slot_)
        engine_->slots[slot_].data = other.engine_->slots[other.slot_].data;
    return true;
}

std::string_view MatrixSlot::name() const
{
    return slot_ >= 0 ? VariableSlots::name(slot_) : std::string_view{};
}

// ---- MatrixStore: file -------------------------------------------------------------------

MatrixStore::LoadStatus MatrixStore::load(const std::filesystem::path& path)
{
    deleteAll();
    std::string bytes;
    switch (readDataFile(path, bytes, kMaxFileBytes)) {
    case DataFileRead::Read: break;
    case DataFileRead::Missing: return LoadStatus::NoFile;
    case DataFileRead::Unreadable: return LoadStatus::DataError;
    }
    const std::string text = textAsUtf8(bytes);
    FileReader reader(text);
    if (reader.atEnd())
        return LoadStatus::Loaded;
    int fileCount = 0;
    if (!reader.readInt(fileCount))
        return LoadStatus::DataError;

    // Every header the file holds is read, whatever the count says; a count that disagrees, a
    // header that is refused and text where a header belongs mean a file that was not read in
    // full.
    bool complete = true;
    int headers = 0;
    while (!reader.atEnd()) {
        int slot = 0;
        int rows = 0;
        int cols = 0;
        if (!reader.readInt(slot) || !reader.readInt(rows) || !reader.readInt(cols)) {
            complete = false;
            break;
        }
        ++headers;
        // A rejected header is skipped alone: the next header is read at once.
        if (!inRange(slot, 0, VariableSlots::kCount - 1) || !inRange(rows, 1, MatrixSlot::kMaxSize) ||
            !inRange(cols, 1, MatrixSlot::kMaxSize)) {
            complete = false;
            continue;
        }
        // A second header for a slot already loaded keeps the first matrix: two handles on one
        // slot would free each other's data. Its rows are still read, to stay in step.
        const bool duplicate = slotInUse(slot);
        complete = complete && !duplicate;
        MatrixSlot matrix(*engine_);
        if (!duplicate)
            matrix.allocate(rows, cols, slot);
        std::string_view line;
        reader.readLine(line);  // the rest of the header line
        for (int row = 0; row < rows && reader.readLine(line); ++row) {
            if (!duplicate)
                readRow(line, matrix, row);
        }
        if (!duplicate)
            entries_.push_back(std::move(matrix));
    }
    shown_ = entries_.empty() ? -1 : 0;
    refreshView();
    return complete && headers == fileCount ? LoadStatus::Loaded : LoadStatus::DataError;
}

std::string MatrixStore::fileText(int* omitted) const
{
    // Each entry holds its own slot, so the list never has more entries than the file may hold;
    // only a kept result larger than 30 x 30, which the loader would refuse, is left out.
    static_assert(kMaxFileCount >= VariableSlots::kCount);
    std::vector<const MatrixSlot*> written;
    for (const MatrixSlot& matrix : entries_) {
        if (loadable(matrix))
            written.push_back(&matrix);
    }
    if (omitted)
        *omitted = count() - static_cast<int>(written.size());

    std::string text = std::to_string(written.size()) + "\r\n";
    for (const MatrixSlot* matrix : written) {
        text += std::to_string(matrix->slot()) + ' ' + std::to_string(matrix->rows()) + ' ' +
                std::to_string(matrix->columns()) + "\r\n";
        for (int row = 0; row < matrix->rows(); ++row) {
            for (int col = 0; col < matrix->columns(); ++col)
                text += storedNumber::fileText(matrix->get(row, col)) + ' ';
            text += "\r\n";
        }
    }
    return text;
}

MatrixStore::SaveResult MatrixStore::save(const std::filesystem::path& path) const
{
    SaveResult result;
    const std::string text = fileText(&result.omitted);
    result.written = writeFileAtomically(path, text);
    return result;
}

// ---- MatrixStore: editing ----------------------------------------------------------------

bool MatrixStore::slotInUse(int slot) const
{
    return std::any_of(entries_.begin(), entries_.end(), [slot](const MatrixSlot& m) { return m.slot() == slot; });
}

bool MatrixStore::isFreeUserSlot(int slot) const
{
    return inRange(slot, kFirstUserSlot, kLastUserSlot) && !slotInUse(slot);
}

std::vector<MatrixStore::FreeName> MatrixStore::freeNames() const
{
    std::vector<FreeName> names;
    for (int slot = kFirstUserSlot; slot <= kLastUserSlot; ++slot) {
        if (!slotInUse(slot))
            names.push_back({slot, VariableSlots::name(slot)});
    }
    return names;
}

void MatrixStore::append(MatrixSlot&& data)
{
    entries_.push_back(std::move(data));
    shown_ = count() - 1;
    refreshView();
}

bool MatrixStore::newMatrix(int rows, int cols, int slot)
{
    if (!isFreeUserSlot(slot))
        return false;
    MatrixSlot matrix(*engine_);
    matrix.allocate(std::clamp(rows, 1, MatrixSlot::kMaxSize), std::clamp(cols, 1, MatrixSlot::kMaxSize), slot);
    append(std::move(matrix));
    return true;
}

bool MatrixStore::copyTo(int slot)
{
    if (shown_ < 0 || !isFreeUserSlot(slot))
        return false;
    const MatrixSlot& source = entries_[static_cast<std::size_t>(shown_)];
    MatrixSlot matrix(*engine_);
    if (!matrix.allocate(source.rows(), source.columns(), slot))
        return false;
    matrix.copyFrom(source);
    append(std::move(matrix));
    return true;
}

void MatrixStore::clear()
{
    if (shown_ < 0)
        return;
    entries_[static_cast<std::size_t>(shown_)].zero();
    for (auto& row : gridCells_)
        std::fill(row.begin(), row.end(), cnum::fixed(0.0, 5));
}

void MatrixStore::deleteShown()
{
    if (shown_ < 0)
        return;
    const int removed = shown_;
    entries_.erase(entries_.begin() + removed);
    int next = removed == 0 ? 0 : removed - 1;
    if (next >= count())
        next = 0;
    shown_ = entries_.empty() ? -1 : next;
    refreshView();
}

void MatrixStore::deleteAll()
{
    entries_.clear();
    shown_ = -1;
    refreshView();
}

bool MatrixStore::setElement(int row, int col, std::string_view text)
{
    if (shown_ < 0 || row < 0 || col < 0 || row >= gridRows() || col >= gridColumns())
        return false;
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && isCSpace(text[begin]))
        ++begin;
    while (end > begin && isCSpace(text[end - 1]))
        --end;
    const double value = atofRule(text.substr(begin, std::min(end - begin, kMaxEditChars)));
    // "1e999" would be written as "inf", which reads back as 0: it is refused instead.
    if (!std::isfinite(value))
        return false;
    entries_[static_cast<std::size_t>(shown_)].set(row, col, value);
    gridCells_[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)] = storedNumber::cellText(value);
    return true;
}

std::string MatrixStore::keepResult()
{
    if (entries_.empty())
        return {};
    // The first entry is where a kept result sits; one elsewhere (from a file) goes too, so
    // that no two handles share slot 1.
    std::erase_if(entries_, [](const MatrixSlot& m) { return m.slot() == VariableSlots::kAnswer; });

    const ValueCell& source = engine_->slots[VariableSlots::kResult];
    const bool matrixResult = source.isMatrix() && source.rows > 0 && source.cols > 0 &&
                              source.data.size() == static_cast<std::size_t>(source.rows) * source.cols;
    MatrixSlot kept(*engine_);
    if (matrixResult) {
        kept.allocate(source.rows, source.cols, VariableSlots::kAnswer);
        engine_->slots[VariableSlots::kAnswer].data = source.data;
    } else {
        kept.allocate(1, 1, VariableSlots::kAnswer);
        kept.set(0, 0, source.re);
    }
    entries_.insert(entries_.begin(), std::move(kept));
    shown_ = 0;
    refreshView();
    return "[" + std::string(VariableSlots::name(VariableSlots::kAnswer)) + "]";
}

std::string MatrixStore::insertName() const
{
    if (shown_ < 0)
        return {};
    return "[" + std::string(entries_[static_cast<std::size_t>(shown_)].name()) + "]";
}

// ---- MatrixStore: view -------------------------------------------------------------------

void MatrixStore::show(int index)
{
    if (index < 0 || index >= count())
        return;
    shown_ = index;
    refreshView();
}

void MatrixStore::refreshView()
{
    gridCells_.clear();
    sizeLabel_.clear();
    if (shown_ < 0)
        return;
    const MatrixSlot& matrix = entries_[static_cast<std::size_t>(shown_)];
    sizeLabel_ = "Size: " + std::to_string(matrix.rows()) + "x" + std::to_string(matrix.columns());
    gridCells_.resize(static_cast<std::size_t>(matrix.rows()));
    for (int row = 0; row < matrix.rows(); ++row) {
        auto& cells = gridCells_[static_cast<std::size_t>(row)];
        for (int col = 0; col < matrix.columns(); ++col)
            cells.push_back(storedNumber::cellText(matrix.get(row, col)));
    }
}

std::string MatrixStore::columnHeader(int col)
{
    return std::to_string(col + 1) + "    ";
}

std::string MatrixStore::rowHeader(int row)
{
    std::string text = std::to_string(row + 1);
    if (text.size() < 2)
        text.insert(0, 2 - text.size(), ' ');
    return text;
}

const std::string& MatrixStore::cellText(int row, int col) const
{
    static const std::string kNone;
    if (row < 0 || col < 0 || row >= gridRows() || col >= gridColumns())
        return kNone;
    return gridCells_[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)];
}
