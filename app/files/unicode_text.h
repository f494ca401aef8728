#pragma once

#include <string>
#include <string_view>

// The text data files (matrix.dat, statistics.dat, macro files) as a text editor may have saved
// them: in UTF-8, UTF-16 or UTF-32, with or without a byte-order mark. The program writes each
// in one encoding; these read any of them, so that a file the user edited is not lost.
enum class TextEncoding { Utf8, Utf16LE, Utf16BE, Utf32LE, Utf32BE };

// A byte-order mark decides. Without one: text whose zero bytes sit almost all at odd (even)
// positions is UTF-16LE (BE), as ASCII text in UTF-16 is; text without any zero byte is UTF-8;
// anything else is taken as `unmarked`, the encoding the program itself writes.
TextEncoding detectTextEncoding(std::string_view bytes, TextEncoding unmarked);

// The text without its byte-order mark, as UTF-8. UTF-8 bytes are returned as they are, even
// when malformed; a bad sequence of another encoding becomes U+FFFD.
std::string textAsUtf8(std::string_view bytes, TextEncoding unmarked = TextEncoding::Utf8);
// The text without its byte-order mark, as UTF-16. A stray last byte that completes no
// character is dropped.
std::u16string textAsUtf16(std::string_view bytes, TextEncoding unmarked);
// The text read in a given encoding, without guessing; a byte-order mark is dropped.
std::u16string decodedText(std::string_view bytes, TextEncoding encoding);
