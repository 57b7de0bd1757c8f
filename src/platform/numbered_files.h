#pragma once

#include <cstdint>

// Files named by a small number, each with a 4096-byte buffer: opened read-only or for
// update, measured, positioned, read a byte or eight bytes at a time, written a byte at a
// time. A number names at most one open file; opening a number closes what was open on
// it first, pending bytes written, even when the new open then fails. Files still open
// when the program ends are closed, pending bytes written.
//
// On a number with no open file: fileLength gives -1, readByte, readQuad and writeByte 0,
// and seekTo, syncFile and closeFile do nothing. A failed platform read counts as no bytes
// read; the outcome of platform writes is not reported.

// Opens an existing file for reading only; false when it cannot be opened.
bool openForRead(int32_t number, const char* name);
// Opens a file for reading and writing, creating it empty when missing; false when it
// cannot be opened (read-only, a directory, or held by another opener).
bool openForUpdate(int32_t number, const char* name);

// The size of the open file, pending bytes included.
int64_t fileLength(int32_t number);
// Sets the position of the next read or write; read-ahead is dropped.
void seekTo(int32_t number, int64_t position);
// The byte at the position, sign-extended (0x80..0xFF give -128..-1); 0 at the end.
int32_t readByte(int32_t number);
// The eight bytes at the position, the first the least significant; bytes past the end
// count as 0.
uint64_t readQuad(int32_t number);
// Writes the low eight bits of `value` at the position; returns 1, the count taken.
int32_t writeByte(int32_t number, int32_t value);
// Writes pending bytes and has the system put the file's data on stable storage before it
// returns; a failure of either is not reported.
void syncFile(int32_t number);
// Writes pending bytes and closes the file; the number is free again.
void closeFile(int32_t number);
