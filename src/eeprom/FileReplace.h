#pragma once
// Writes a whole file so that the file it replaces survives any failure: the bytes go to a new
// file in the same folder, are flushed to the disk, and only then take the old file's name.

#include <cstddef>
#include <cstdint>
#include <string>

bool WriteFileReplacing(const std::string& path, const uint8_t* data, size_t size);
