#pragma once

#include <string>

#include "BootloaderEngine.h"

namespace canprog::sim {

// Loads a memory image file into `bytes` (its size must match); false with a reason otherwise.
bool loadImage(const std::string& path, std::uint8_t* bytes, std::size_t size, std::string& error);

// Writes an image file whole, through a temporary file, so a reader never sees half of it.
bool saveImage(const std::string& path, const std::uint8_t* bytes, std::size_t size);

}  // namespace canprog::sim
