// Why a picture file cannot be used: what the launcher says on stderr after a
// start-up that failed while reading one. The program itself only shows its
// box; the platform reads the same file again and names what is wrong with it,
// judged by what the program reads: BMP files of 1, 4 or 8 bits per pixel,
// uncompressed (bottom-up or top-down rows) or RLE8/RLE4 compressed, at most
// 16384 pixels on a side.
#pragma once

#include <string>

namespace qmp::pictures {

// One phrase: "not found", "unreadable (permission denied)", "not a BMP (...)",
// "a BMP the program cannot use: ...", "cut short at byte N (...)"; empty when
// nothing is wrong with the file.
std::string problemWith(const std::string& path);

// The same judgement of a file's bytes.
std::string problemWithBytes(const std::string& bytes);

}  // namespace qmp::pictures
