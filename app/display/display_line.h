#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// One line of the display: its input text, split into tokens that the keys inserted, and a
// cursor counted in tokens. Deleting removes a whole token ("sin(" at once).
//
// The token map keeps one character per token: '0' plus the token's length, so "1" to "9"
// for the usual tokens and characters past '9' for longer ones (a recalled memory).
class DisplayLine {
public:
    const std::u16string& input() const { return input_; }
    const std::u16string& tokenMap() const { return tokenMap_; }
    std::size_t cursor() const { return cursor_; }
    std::size_t tokenCount() const { return tokenMap_.size(); }
    bool empty() const { return input_.empty(); }

    // Character position where token `token` starts (the end of the text for tokenCount()).
    std::size_t characterPosition(std::size_t token) const;
    std::u16string_view token(std::size_t index) const;

    // Inserts text as one token at the cursor and moves the cursor past it. Empty text is
    // ignored; a text longer than a token can describe is split into several tokens.
    void insertToken(std::u16string_view text);
    // Removes the token at the cursor; nothing at the end of the line.
    void deleteAtCursor();
    // Moves the cursor by delta tokens, stopping at the ends.
    void moveCursor(long delta);
    void moveCursorToStart() { cursor_ = 0; }
    void clear();

    // Replaces the content, as read from a file. A token map that does not describe the text
    // (corrupt or foreign file) is replaced by one token per character. The cursor goes to 0.
    void setContent(std::u16string input, std::u16string tokenMap);
    // Replaces the text but keeps the token map when it still fits (the output-format switch
    // exchanges separators character for character).
    void replaceTextKeepingTokens(std::u16string input);

private:
    std::u16string input_;
    std::u16string tokenMap_;
    std::size_t cursor_ = 0;
};
