// The library's text files: how their bytes become lines and lines become bytes.
//   Reading: a UTF-8, UTF-16 LE or UTF-16 BE byte-order mark chooses that encoding
//   (the mark is dropped); any other file is Windows-1252. Lines end at CR LF, a lone
//   CR or a lone LF; a line end after the last line adds no empty line.
//   Writing: every line followed by CR LF (the last one too), in the encoding the
//   text was read in, with its mark; text that was not read from a file goes out
//   in Windows-1252 without a mark.
// Bytes that are not UTF-8 in a UTF-8 file survive a read and a write unchanged.
#pragma once

#include <string>
#include <string_view>

#include "core/types.h"

namespace zelmor::text_file {

enum class Encoding { Ansi, Utf8, Utf16LE, Utf16BE };

// The text of a file's bytes, and the encoding they were in.
std::u16string Decode(std::string_view bytes, Encoding& encoding);
// The bytes of `text` in `encoding`, with its byte-order mark.
std::string Encode(std::u16string_view text, Encoding encoding);

// The encoding to write `text` in when it was read in `encoding`: Windows-1252
// text with a character the code page cannot hold goes out as UTF-8 with its mark
// instead (nothing is lost, and the mark makes the next read take it as UTF-8).
Encoding Holding(std::u16string_view text, Encoding encoding);

// Appends the lines of `text` to `lines`.
void SplitLines(std::u16string_view text, TStringList& lines);

// The file's bytes read one by one as Windows-1252 (no byte-order mark looked for),
// as lines each followed by CR LF: UTF-8 "ç" arrives as "Ã§". Raises EFileError
// "Arquivo não encontrado: ..." when there is no such file.
std::u16string ReadAnsiText(std::u16string_view path);
// The same into `text`, whose memory is kept for the next file (a reader loading
// document after document); `text` is unchanged when it raises.
void ReadAnsiText(std::u16string_view path, std::u16string& text);

// Reads a whole text file into `lines` (cleared first). False when there is no
// such file; raises EFileError when it exists but cannot be read.
bool Load(std::u16string_view path, TStringList& lines, Encoding& encoding);
// Replaces the file with `lines` in `encoding` (written beside and renamed into
// place, so a failure leaves the old file). Raises EFileError.
void Save(std::u16string_view path, const TStringList& lines, Encoding encoding);

}  // namespace zelmor::text_file
